// The settings store against real files, on the host and under Wine alike.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>

#include "settings/settings.h"
#include "support/scratch_dir.h"

namespace fs = std::filesystem;

namespace
{

const SystemSettings kCustom = {0x11223344, 1, 1, 1, 14, 1, 2, 1, 1234};
const SystemSettings kOutOfRange = {-1, 5, -7, 5, INT_MIN, 2, 0, 7, INT_MAX};

bool Same(const SystemSettings &a, const SystemSettings &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

Bytes Concat(Bytes a, const Bytes &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

using SettingsFileTest = ScratchDirTest;

TEST(SettingsRecord, DefaultsAreTheGamesDefaultFile)
{
    const Bytes expected = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,
                            0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                            0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00};
    SystemSettings s;
    std::memset(&s, 0x5A, sizeof s);
    ApplyDefaults(&s);
    EXPECT_EQ(RecordBytes(s), expected);
}

TEST(SettingsRecord, RenderFlagsWrapAroundIn32Bits)
{
    struct Case {
        std::int32_t translucencyOff, drawRate, simpleBackground, expected;
    };
    const Case cases[] = {
        {0, 1, 0, 0},
        {0, 1, 1, 2},
        {0, 2, 0, 4},
        {1, 1, 0, 8},
        {1, 2, 1, 14},
        {0, 0, 0, -4},
        {0, -1, 0, -8},
        {0, INT_MIN, 0, -4},
        {INT_MIN, 1, 0, 0},
        {0, 1, INT_MAX, -2},
        {INT_MAX, INT_MAX, INT_MAX, -18},
        {INT_MIN, INT_MIN, INT_MIN, -4},
    };
    for (const Case &c : cases) {
        SystemSettings s = kCustom;
        s.translucencyOff = c.translucencyOff;
        s.drawRate = c.drawRate;
        s.simpleBackground = c.simpleBackground;
        SystemSettings expected = s;
        expected.renderFlags = c.expected;
        ComputeRenderFlags(&s);
        EXPECT_TRUE(Same(s, expected))
            << "translucencyOff " << c.translucencyOff << ", drawRate " << c.drawRate
            << ", simpleBackground " << c.simpleBackground << ": got " << s.renderFlags;
    }
}

TEST_F(SettingsFileTest, LoadByFileState)
{
    const Bytes defaults = RecordBytes(Defaults());
    const Bytes custom = RecordBytes(kCustom);
    struct Case {
        const char *name;
        std::optional<Bytes> before;
        SystemSettings record;
        Bytes after;
    };
    const Case cases[] = {
        {"missing", std::nullopt, Defaults(), defaults},
        {"empty", Bytes{}, Defaults(), defaults},
        {"35 bytes", Bytes(custom.begin(), custom.end() - 1), Defaults(), defaults},
        {"36 bytes", custom, kCustom, custom},
        {"40 bytes", Concat(custom, {0xDE, 0xAD, 0xBE, 0xEF}), kCustom,
         Concat(custom, {0xDE, 0xAD, 0xBE, 0xEF})},
        {"values out of range", RecordBytes(kOutOfRange), kOutOfRange, RecordBytes(kOutOfRange)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(SETTINGS_FILE_NAME);
        if (c.before)
            WriteFileBytes(SETTINGS_FILE_NAME, *c.before);
        SystemSettings s{};
        LoadOrRepairSettings(&s);
        EXPECT_TRUE(Same(s, c.record));
        EXPECT_EQ(ReadFileBytes(SETTINGS_FILE_NAME), c.after);
        EXPECT_EQ(DirNames(), std::vector<std::string>{SETTINGS_FILE_NAME});
    }
}

// A directory of the file's name stands for any file that exists but cannot be read.
TEST_F(SettingsFileTest, LoadLeavesAnUnreadableFileAloneAndShowsDefaults)
{
    fs::create_directory(SETTINGS_FILE_NAME);
    SystemSettings s{};
    LoadOrRepairSettings(&s);
    EXPECT_TRUE(Same(s, Defaults()));
    EXPECT_TRUE(fs::is_directory(SETTINGS_FILE_NAME));
    EXPECT_TRUE(fs::is_empty(SETTINGS_FILE_NAME));
    EXPECT_EQ(DirNames(), std::vector<std::string>{SETTINGS_FILE_NAME});
}

TEST_F(SettingsFileTest, MissingAndUncreatableKeepsTheRecordAndCreatesNothing)
{
    fs::current_path(GVNCFG_REFUSING_DIR);
    ASSERT_FALSE(fs::exists(SETTINGS_FILE_NAME));
    SystemSettings s;
    std::memset(&s, 0x5A, sizeof s);
    const SystemSettings before = s;
    LoadOrRepairSettings(&s);
    EXPECT_TRUE(Same(s, before));
    EXPECT_FALSE(fs::exists(SETTINGS_FILE_NAME));
    EXPECT_FALSE(fs::exists(SETTINGS_TEMP_NAME));
    SaveSettings(&kCustom);
    EXPECT_FALSE(fs::exists(SETTINGS_FILE_NAME));
    EXPECT_FALSE(fs::exists(SETTINGS_TEMP_NAME));
}

TEST_F(SettingsFileTest, SaveWritesExactlyTheRecord)
{
    struct Case {
        const char *name;
        std::optional<Bytes> before;
        bool staleTemp; // left by a save that was cut short
    };
    const Case cases[] = {
        {"missing", std::nullopt, false},
        {"40 bytes", Bytes(40, 0x77), false},
        {"36 bytes with a stale temporary file", RecordBytes(Defaults()), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(SETTINGS_FILE_NAME);
        if (c.before)
            WriteFileBytes(SETTINGS_FILE_NAME, *c.before);
        if (c.staleTemp)
            WriteFileBytes(SETTINGS_TEMP_NAME, Bytes(3, 0x01));
        SaveSettings(&kOutOfRange);
        EXPECT_EQ(ReadFileBytes(SETTINGS_FILE_NAME), RecordBytes(kOutOfRange));
        EXPECT_EQ(DirNames(), std::vector<std::string>{SETTINGS_FILE_NAME});
    }
}

// A directory in the temporary file's place: the directory takes no new file of that name.
TEST_F(SettingsFileTest, SaveWritesInPlaceWhenNoNewFileCanBeMade)
{
    fs::create_directory(SETTINGS_TEMP_NAME);
    for (const std::optional<Bytes> &before :
         {std::optional<Bytes>(Bytes(40, 0x77)), std::optional<Bytes>(std::nullopt)}) {
        SCOPED_TRACE(before ? "40 bytes" : "missing");
        fs::remove(SETTINGS_FILE_NAME);
        if (before)
            WriteFileBytes(SETTINGS_FILE_NAME, *before);
        SaveSettings(&kCustom);
        EXPECT_EQ(ReadFileBytes(SETTINGS_FILE_NAME), RecordBytes(kCustom));
        EXPECT_TRUE(fs::is_directory(SETTINGS_TEMP_NAME));
        EXPECT_EQ(DirNames(), (std::vector<std::string>{SETTINGS_FILE_NAME, SETTINGS_TEMP_NAME}));
    }
}

TEST_F(SettingsFileTest, SaveOverADirectoryChangesNothing)
{
    fs::create_directory(SETTINGS_FILE_NAME);
    SaveSettings(&kCustom);
    EXPECT_TRUE(fs::is_directory(SETTINGS_FILE_NAME));
    EXPECT_TRUE(fs::is_empty(SETTINGS_FILE_NAME));
    EXPECT_EQ(DirNames(), std::vector<std::string>{SETTINGS_FILE_NAME});
}

} // namespace
