// The settings dialog procedure against the recording fake and real files.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>

#include "dialog/settings_dlg.h"
#include "fake_winapi.h"
#include "resources/resource.h"
#include "support/scratch_dir.h"

namespace fs = std::filesystem;

namespace
{

HWND const kDlg = reinterpret_cast<HWND>(0x1234);

// All fields 9, so that every assignment a command makes shows.
const SystemSettings kNines = {9, 9, 9, 9, 9, 9, 9, 9, 9};

class SettingsDlgTest : public ScratchDirTest
{
  protected:
    void SetUp() override
    {
        ScratchDirTest::SetUp();
        std::memset(&g_settings, 0, sizeof g_settings);
        gFakeCalls.clear();
        gMessageBoxAnswer = IDOK;
    }

    // Opens the dialog on a settings file holding `s`, then forgets the calls it made.
    void OpenOn(const SystemSettings &s)
    {
        WriteFileBytes(SETTINGS_FILE_NAME, RecordBytes(s));
        ASSERT_EQ(SettingsDlgProc(kDlg, WM_INITDIALOG, 0, 0), TRUE);
        gFakeCalls.clear();
    }

    static INT_PTR Command(WPARAM w) { return SettingsDlgProc(kDlg, WM_COMMAND, w, 0); }
};

FakeCall EndCall()
{
    return FakeCall{"EndDialog", kDlg, 1, 0, 0, "", ""};
}

std::vector<FakeCall> Checks(std::initializer_list<int> ids)
{
    std::vector<FakeCall> calls;
    for (int id : ids) {
        int first = id <= IDC_MODE_HIRES_PLAIN   ? IDC_MODE_LOWRES_X
                    : id <= IDC_TRANSLUCENCY_OFF ? IDC_TRANSLUCENCY_ON
                    : id <= IDC_RATE_HALF        ? IDC_RATE_FULL
                    : id <= IDC_BG_SIMPLE        ? IDC_BG_FULL
                                                 : IDC_SOUND_ON;
        int last = first == IDC_MODE_LOWRES_X     ? IDC_MODE_HIRES_PLAIN
                   : first == IDC_TRANSLUCENCY_ON ? IDC_TRANSLUCENCY_OFF
                   : first == IDC_RATE_FULL       ? IDC_RATE_HALF
                   : first == IDC_BG_FULL         ? IDC_BG_SIMPLE
                                                  : IDC_SOUND_OFF;
        calls.push_back(CheckCall(kDlg, first, last, id));
    }
    return calls;
}

SystemSettings FileRecord()
{
    SystemSettings s{};
    std::optional<Bytes> b = ReadFileBytes(SETTINGS_FILE_NAME);
    EXPECT_TRUE(b && b->size() == sizeof s);
    if (b && b->size() == sizeof s)
        std::memcpy(&s, b->data(), sizeof s);
    return s;
}

TEST_F(SettingsDlgTest, InitialCheckMarksFollowTheFile)
{
    struct Case {
        const char *name;
        SystemSettings file;
        std::vector<FakeCall> checks;
    };
    const Case cases[] = {
        {"defaults", Defaults(), Checks({1001, 1003, 1005, 1007, 1011})},
        {"every second choice",
         {0, 1, 2, 1, 14, 1, 2, 1, 0},
         Checks({1000, 1004, 1006, 1008, 1012})},
        {"640x480 no effect", {0, 0, 1, 0, 0, 0, 1, 0, 0}, Checks({1002, 1003, 1005, 1007, 1011})},
        {"320x240 keeps any variant",
         {0, 1, 7, 0, 0, 0, 1, 0, 0},
         Checks({1000, 1003, 1005, 1007, 1011})},
        {"values never offered", {0, 0, 3, 5, 0, 2, 0, 7, 0}, Checks({1004})},
        {"negative values", {0, -1, 2, -1, 0, -1, -1, -1, 0}, Checks({1004})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(SETTINGS_FILE_NAME, RecordBytes(c.file));
        gFakeCalls.clear();
        EXPECT_EQ(SettingsDlgProc(kDlg, WM_INITDIALOG, 0, 0), TRUE);
        EXPECT_EQ(gFakeCalls, c.checks);
        EXPECT_EQ(RecordBytes(g_settings), RecordBytes(c.file));
    }
}

TEST_F(SettingsDlgTest, InitialCheckMarksWhenNoFileCanBeMade)
{
    fs::current_path(GVNCFG_REFUSING_DIR);
    EXPECT_EQ(SettingsDlgProc(kDlg, WM_INITDIALOG, 0, 0), TRUE);
    EXPECT_EQ(gFakeCalls, Checks({1003, 1007, 1011}));
    EXPECT_EQ(RecordBytes(g_settings), Bytes(36, 0));
}

TEST_F(SettingsDlgTest, OpeningOnAMissingFileCreatesTheDefaults)
{
    EXPECT_EQ(SettingsDlgProc(kDlg, WM_INITDIALOG, 0, 0), TRUE);
    EXPECT_EQ(ReadFileBytes(SETTINGS_FILE_NAME), RecordBytes(Defaults()));
    EXPECT_EQ(gFakeCalls, Checks({1001, 1003, 1005, 1007, 1011}));
}

TEST_F(SettingsDlgTest, EachRadioCommandSetsItsFieldAndMovesTheCheckMark)
{
    using Field = std::int32_t SystemSettings::*;
    struct Case {
        int id;
        Field field;
        std::int32_t value;
        std::int32_t hiResVariant; // after the command
    };
    const Case cases[] = {
        {1000, &SystemSettings::lowResModeX, 1, 9},
        {1001, &SystemSettings::lowResModeX, 0, 2},
        {1002, &SystemSettings::lowResModeX, 0, 1},
        {1003, &SystemSettings::translucencyOff, 0, 9},
        {1004, &SystemSettings::translucencyOff, 1, 9},
        {1005, &SystemSettings::drawRate, 1, 9},
        {1006, &SystemSettings::drawRate, 2, 9},
        {1007, &SystemSettings::simpleBackground, 0, 9},
        {1008, &SystemSettings::simpleBackground, 1, 9},
        {1011, &SystemSettings::soundOff, 0, 9},
        {1012, &SystemSettings::soundOff, 1, 9},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.id);
        OpenOn(kNines);
        SystemSettings expected = kNines;
        expected.*c.field = c.value;
        expected.hiResVariant = c.hiResVariant;
        EXPECT_EQ(Command(c.id), TRUE);
        EXPECT_EQ(gFakeCalls, Checks({c.id}));
        EXPECT_EQ(RecordBytes(g_settings), RecordBytes(expected));
        EXPECT_EQ(ReadFileBytes(SETTINGS_FILE_NAME), RecordBytes(kNines)) << "saved before OK";
    }
}

TEST_F(SettingsDlgTest, OkDerivesSavesAndEnds)
{
    struct Case {
        const char *name;
        SystemSettings file;
        std::vector<int> clicks;
        SystemSettings saved;
    };
    SystemSettings defaultsDerived = Defaults();
    defaultsDerived.renderFlags = 0;
    const Case cases[] = {
        {"no change replaces the default flags of 2", Defaults(), {}, defaultsDerived},
        {"every bit", Defaults(), {1004, 1006, 1008, 1012}, {0, 0, 2, 1, 14, 1, 2, 1, 0xFFFF}},
        {"640x480 no effect, then 320x240",
         Defaults(),
         {1002, 1000},
         {0, 1, 1, 0, 0, 0, 1, 0, 0xFFFF}},
        {"values never offered survive",
         {-5, 3, 3, 5, 0, 2, 0, 7, 42},
         {},
         {-5, 3, 3, 5, 40, 2, 0, 7, 42}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        OpenOn(c.file);
        for (int id : c.clicks)
            Command(id);
        gFakeCalls.clear();
        EXPECT_EQ(Command(IDOK), TRUE);
        EXPECT_EQ(gFakeCalls, std::vector<FakeCall>{EndCall()});
        EXPECT_EQ(ReadFileBytes(SETTINGS_FILE_NAME), RecordBytes(c.saved));
    }
}

TEST_F(SettingsDlgTest, ScreenModeChosenBeforeSurvivesTheNextStart)
{
    OpenOn(Defaults());
    Command(IDC_MODE_HIRES_PLAIN);
    Command(IDC_MODE_LOWRES_X);
    Command(IDOK);
    std::memset(&g_settings, 0, sizeof g_settings);
    gFakeCalls.clear();
    SettingsDlgProc(kDlg, WM_INITDIALOG, 0, 0);
    EXPECT_EQ(gFakeCalls.at(0), Checks({1000}).at(0));
    EXPECT_EQ(g_settings.hiResVariant, 1);
}

TEST_F(SettingsDlgTest, CancelEndsWithoutSavingOrDeriving)
{
    OpenOn(Defaults());
    Command(IDC_SOUND_OFF);
    Command(IDC_RATE_HALF);
    gFakeCalls.clear();
    EXPECT_EQ(Command(IDCANCEL), TRUE);
    EXPECT_EQ(gFakeCalls, std::vector<FakeCall>{EndCall()});
    EXPECT_EQ(ReadFileBytes(SETTINGS_FILE_NAME), RecordBytes(Defaults()));
    EXPECT_EQ(g_settings.renderFlags, 2);
}

TEST_F(SettingsDlgTest, CommandsWithANotificationCodeOrUnknownIdsAreIgnored)
{
    OpenOn(kNines);
    const int ids[] = {1,    2,    1000, 1001, 1002, 1003, 1004,
                       1005, 1006, 1007, 1008, 1010, 1011, 1012};
    for (int id : ids) {
        for (WPARAM code : {WPARAM{1}, WPARAM{5}, WPARAM{0xFFFF}}) {
            SCOPED_TRACE(testing::Message() << id << " code " << code);
            EXPECT_EQ(Command(code << 16 | static_cast<WPARAM>(id)), TRUE);
        }
    }
    for (WPARAM unknown :
         {WPARAM{0}, WPARAM{3}, WPARAM{999}, WPARAM{1009}, WPARAM{1013}, WPARAM{0xFFFF}}) {
        SCOPED_TRACE(unknown);
        EXPECT_EQ(Command(unknown), TRUE);
    }
    EXPECT_TRUE(gFakeCalls.empty());
    EXPECT_EQ(RecordBytes(g_settings), RecordBytes(kNines));
    EXPECT_EQ(ReadFileBytes(SETTINGS_FILE_NAME), RecordBytes(kNines));
}

TEST_F(SettingsDlgTest, HighScoreClearAsksFirst)
{
    // "ハイスコアを消去します、よろしいですか？" in code page 932.
    const std::string text =
        "\x83\x6e\x83\x43\x83\x58\x83\x52\x83\x41\x82\xf0\x8f\xc1\x8b\x8e\x82\xb5\x82\xdc"
        "\x82\xb7\x81\x41\x82\xe6\x82\xeb\x82\xb5\x82\xa2\x82\xc5\x82\xb7\x82\xa9\x81\x48";
    const FakeCall ask{"MessageBoxA", kDlg, MB_OKCANCEL, 0, 0, text, "GALVORN SETUP Ver 1.90"};
    struct Case {
        const char *name;
        int answer;
        int times;
        std::int32_t highScore;
    };
    const Case cases[] = {
        {"confirmed", IDOK, 1, 0xFFFF},
        {"confirmed twice", IDOK, 2, 0xFFFF},
        {"declined", IDCANCEL, 1, 1234},
        {"message box failed", 0, 1, 1234},
    };
    SystemSettings file = Defaults();
    file.highScore = 1234;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        OpenOn(file);
        gMessageBoxAnswer = c.answer;
        for (int i = 0; i < c.times; i++)
            EXPECT_EQ(Command(IDC_CLEAR_HISCORE), TRUE);
        EXPECT_EQ(gFakeCalls, std::vector<FakeCall>(c.times, ask)) << "the dialog stays open";
        SystemSettings expected = file;
        expected.highScore = c.highScore;
        EXPECT_EQ(RecordBytes(g_settings), RecordBytes(expected));
        EXPECT_EQ(ReadFileBytes(SETTINGS_FILE_NAME), RecordBytes(file)) << "saved before OK";
    }

    // Confirmed, then left with Cancel: the file keeps its high score.
    OpenOn(file);
    gMessageBoxAnswer = IDOK;
    Command(IDC_CLEAR_HISCORE);
    Command(IDCANCEL);
    EXPECT_EQ(ReadFileBytes(SETTINGS_FILE_NAME), RecordBytes(file));

    // Confirmed, then OK: cleared in the file.
    OpenOn(file);
    Command(IDC_CLEAR_HISCORE);
    Command(IDOK);
    EXPECT_EQ(FileRecord().highScore, 0xFFFF);
}

TEST_F(SettingsDlgTest, OtherMessagesAreLeftToThePlatform)
{
    OpenOn(kNines);
    const UINT messages[] = {0x0000 /* WM_NULL */,       0x0002 /* WM_DESTROY */,
                             0x000F /* WM_PAINT */,      0x0010 /* WM_CLOSE */,
                             0x0112 /* WM_SYSCOMMAND */, 0x0400 /* WM_USER */};
    for (UINT m : messages) {
        SCOPED_TRACE(m);
        EXPECT_EQ(SettingsDlgProc(kDlg, m, IDOK, 0), FALSE);
    }
    EXPECT_TRUE(gFakeCalls.empty());
    EXPECT_EQ(RecordBytes(g_settings), RecordBytes(kNines));
}

} // namespace
