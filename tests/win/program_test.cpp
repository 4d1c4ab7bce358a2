// The real gvncfg.exe, started in a fresh directory and driven through its controls.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "program_path.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "support/scratch_dir.h"

namespace
{

const wchar_t kCaption[] = L"GALVORN Ver1.90 システム設定メニュー";
const DWORD kPatienceMs = 60000; // a fresh Wine prefix is slow to show its first window

// Settings files to start from: the defaults with a high score, and every second choice.
const SystemSettings kBaseD = {0, 0, 2, 0, 2, 0, 1, 0, 1234};
const SystemSettings kBaseS = {7, 1, 1, 1, 2, 1, 2, 1, 1234};

const int kRadios[] = {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1011, 1012};

struct Found {
    DWORD pid;
    const wchar_t *title; // or null for any
    HWND owner;           // or null for any
    HWND hwnd;
};

BOOL CALLBACK Match(HWND w, LPARAM lp)
{
    Found *f = reinterpret_cast<Found *>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    wchar_t cls[64] = L"", title[128] = L"";
    GetClassNameW(w, cls, 64);
    GetWindowTextW(w, title, 128);
    if (pid == f->pid && IsWindowVisible(w) && wcscmp(cls, L"#32770") == 0 &&
        (f->title == nullptr || wcscmp(title, f->title) == 0) &&
        (f->owner == nullptr || GetWindow(w, GW_OWNER) == f->owner)) {
        f->hwnd = w;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog window of the process; null after kPatienceMs.
HWND WaitForDialog(DWORD pid, const wchar_t *title, HWND owner)
{
    for (DWORD waited = 0; waited < kPatienceMs; waited += 10) {
        Found f{pid, title, owner, nullptr};
        EnumWindows(Match, reinterpret_cast<LPARAM>(&f));
        if (f.hwnd != nullptr)
            return f.hwnd;
        Sleep(10);
    }
    return nullptr;
}

std::wstring Text(HWND w)
{
    wchar_t buf[256] = L"";
    GetWindowTextW(w, buf, 256);
    return buf;
}

class ProgramTest : public ScratchDirTest
{
  protected:
    void TearDown() override
    {
        if (pi_.hProcess != nullptr) { // left running by a failed assertion
            TerminateProcess(pi_.hProcess, 99);
            Finish();
        }
        ScratchDirTest::TearDown();
    }

    // Starts gvncfg.exe in the current directory and waits for its dialog.
    void Start(const std::string &args = "")
    {
        std::string cmd = "\"" + gProgramPath + "\"" + (args.empty() ? "" : " " + args);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &si, &pi_))
            << cmd;
        dlg_ = WaitForDialog(pi_.dwProcessId, kCaption, nullptr);
        ASSERT_NE(dlg_, nullptr) << "no settings dialog";
    }

    // Waits for the program to end; its exit code, or -1 if it did not end.
    long Finish()
    {
        DWORD code = 0;
        bool ended = WaitForSingleObject(pi_.hProcess, kPatienceMs) == WAIT_OBJECT_0;
        if (ended)
            GetExitCodeProcess(pi_.hProcess, &code);
        else
            TerminateProcess(pi_.hProcess, 99);
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
        pi_ = {};
        return ended ? static_cast<long>(code) : -1;
    }

    // BM_CLICK: what a mouse click does, handled before this returns.
    static void Click(HWND button)
    {
        ASSERT_NE(button, nullptr);
        DWORD_PTR result;
        ASSERT_TRUE(SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 10000, &result));
    }

    void ClickId(int id) { Click(GetDlgItem(dlg_, id)); }

    HWND Focus()
    {
        GUITHREADINFO gti{};
        gti.cbSize = sizeof gti;
        GetGUIThreadInfo(pi_.dwThreadId, &gti);
        return gti.hwndFocus;
    }

    // A key pressed on the focused control, as the dialog's message loop receives it.
    void Key(UINT vk)
    {
        HWND focus = Focus();
        ASSERT_NE(focus, nullptr);
        PostMessageW(focus, WM_KEYDOWN, vk, 1);
        PostMessageW(focus, WM_KEYUP, vk, MAKELPARAM(1, 0xC000)); // released after being down
    }

    // Waits until the focus moves away from `from`; the new focus.
    HWND FocusAfter(HWND from)
    {
        for (int i = 0; i < 500 && Focus() == from; i++)
            Sleep(10);
        return Focus();
    }

    std::set<int> Checked()
    {
        std::set<int> ids;
        for (int id : kRadios)
            if (SendMessageW(GetDlgItem(dlg_, id), BM_GETCHECK, 0, 0) == BST_CHECKED)
                ids.insert(id);
        return ids;
    }

    PROCESS_INFORMATION pi_{};
    HWND dlg_ = nullptr;
};

SystemSettings With(SystemSettings s, std::int32_t SystemSettings::*field, std::int32_t v)
{
    s.*field = v;
    return s;
}

TEST_F(ProgramTest, InitialCheckMarksFollowTheFile)
{
    Bytes longFile = RecordBytes(kBaseS);
    longFile.insert(longFile.end(), {1, 2, 3, 4});
    struct Case {
        const char *name;
        Bytes file;
        std::set<int> checked;
    };
    const Case cases[] = {
        {"defaults", RecordBytes(kBaseD), {1001, 1003, 1005, 1007, 1011}},
        {"every second choice", RecordBytes(kBaseS), {1000, 1004, 1006, 1008, 1012}},
        {"640x480 no effect",
         RecordBytes(With(kBaseD, &SystemSettings::hiResVariant, 1)),
         {1002, 1003, 1005, 1007, 1011}},
        {"values never offered", RecordBytes({0, 0, 3, 5, 0, 2, 0, 7, 0}), {1004}},
        {"40 bytes", longFile, {1000, 1004, 1006, 1008, 1012}},
        {"35 bytes, repaired", Bytes(35, 1), {1001, 1003, 1005, 1007, 1011}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(SETTINGS_FILE_NAME, c.file);
        Start();
        EXPECT_EQ(Checked(), c.checked);
        ClickId(IDCANCEL);
        EXPECT_EQ(Finish(), 0);
        EXPECT_EQ(ReadFileBytes(SETTINGS_FILE_NAME),
                  c.file.size() < 36 ? RecordBytes(Defaults()) : c.file);
    }
}

TEST_F(ProgramTest, EachRadioButtonIsSavedOnOk)
{
    struct Case {
        int id;
        SystemSettings base, saved;
    };
    const Case cases[] = {
        {1000, kBaseD, {0, 1, 2, 0, 0, 0, 1, 0, 1234}},
        {1002, kBaseD, {0, 0, 1, 0, 0, 0, 1, 0, 1234}},
        {1004, kBaseD, {0, 0, 2, 1, 8, 0, 1, 0, 1234}},
        {1006, kBaseD, {0, 0, 2, 0, 4, 0, 2, 0, 1234}},
        {1008, kBaseD, {0, 0, 2, 0, 2, 1, 1, 0, 1234}},
        {1012, kBaseD, {0, 0, 2, 0, 0, 0, 1, 1, 1234}},
        {1001, kBaseS, {7, 0, 2, 1, 14, 1, 2, 1, 1234}},
        {1003, kBaseS, {7, 1, 1, 0, 6, 1, 2, 1, 1234}},
        {1005, kBaseS, {7, 1, 1, 1, 10, 1, 1, 1, 1234}},
        {1007, kBaseS, {7, 1, 1, 1, 12, 0, 2, 1, 1234}},
        {1011, kBaseS, {7, 1, 1, 1, 14, 1, 2, 0, 1234}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.id);
        WriteFileBytes(SETTINGS_FILE_NAME, RecordBytes(c.base));
        Start();
        std::set<int> before = Checked();
        ClickId(c.id);
        // The clicked button is checked and its group's other button no longer is.
        std::set<int> after = Checked();
        EXPECT_TRUE(after.count(c.id));
        EXPECT_EQ(after.size(), before.size());
        EXPECT_EQ(ReadFileBytes(SETTINGS_FILE_NAME), RecordBytes(c.base)) << "saved before OK";
        ClickId(IDOK);
        EXPECT_EQ(Finish(), 0);
        EXPECT_EQ(ReadFileBytes(SETTINGS_FILE_NAME), RecordBytes(c.saved));
    }
}

TEST_F(ProgramTest, EveryWayOutEndsWithExitCodeZero)
{
    const SystemSettings chosen = {0, 0, 2, 0, 0, 0, 1, 1, 1234}; // sound off, derived
    struct Case {
        const char *name;
        const char *args;
        int how; // 0: button, 1: key, 2: close box
        int which;
        bool saved;
    };
    const Case cases[] = {
        {"OK button", "", 0, IDOK, true},
        {"Enter", "", 1, VK_RETURN, true},
        {"Cancel button", "", 0, IDCANCEL, false},
        {"Esc", "", 1, VK_ESCAPE, false},
        {"close box", "", 2, 0, false},
        {"OK with arguments", "/x -y gvn.dat \"two words\"", 0, IDOK, true},
        {"Cancel with arguments", "--help", 0, IDCANCEL, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(SETTINGS_FILE_NAME, RecordBytes(kBaseD));
        Start(c.args);
        ClickId(IDC_SOUND_OFF);
        if (c.how == 1) {
            // Clicking moved the focus; Enter and Esc act from OK, where the dialog starts.
            SendMessageW(dlg_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dlg_, IDOK)),
                         TRUE);
            Key(c.which);
        } else if (c.how == 2) {
            PostMessageW(dlg_, WM_SYSCOMMAND, SC_CLOSE, 0);
        } else {
            ClickId(c.which);
        }
        EXPECT_EQ(Finish(), 0);
        EXPECT_EQ(ReadFileBytes(SETTINGS_FILE_NAME), RecordBytes(c.saved ? chosen : kBaseD));
    }
}

TEST_F(ProgramTest, MissingFileIsCreatedAtStartEvenWhenCancelled)
{
    Start();
    EXPECT_EQ(ReadFileBytes(SETTINGS_FILE_NAME), RecordBytes(Defaults()));
    EXPECT_EQ(Checked(), (std::set<int>{1001, 1003, 1005, 1007, 1011}));
    ClickId(IDCANCEL);
    EXPECT_EQ(Finish(), 0);
    EXPECT_EQ(ReadFileBytes(SETTINGS_FILE_NAME), RecordBytes(Defaults()));
    EXPECT_EQ(DirNames(), std::vector<std::string>{SETTINGS_FILE_NAME});
}

TEST_F(ProgramTest, WindowsFocusAndTabOrder)
{
    Start();
    // The hidden owner window owns the dialog, which sits at its client area's origin.
    HWND owner = GetWindow(dlg_, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    char cls[64] = "";
    GetClassNameA(owner, cls, sizeof cls);
    EXPECT_STREQ(cls, "GALVORN SETUP Ver 1.90");
    EXPECT_EQ(Text(owner), L"GALVORN SETUP Ver 1.90");
    EXPECT_FALSE(IsWindowVisible(owner));
    // Style 0, to which the system adds a caption and sibling clipping; the modal dialog
    // disables it while it runs.
    EXPECT_EQ(GetWindowLongW(owner, GWL_STYLE), WS_CAPTION | WS_CLIPSIBLINGS | WS_DISABLED);
    EXPECT_EQ(GetWindowLongW(owner, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    EXPECT_EQ(GetClassLongW(owner, GCL_STYLE), 0u);
    EXPECT_EQ(GetClassLongW(owner, GCL_CBCLSEXTRA), 0u);
    EXPECT_EQ(GetClassLongW(owner, GCL_CBWNDEXTRA), 0u);
    EXPECT_EQ(GetParent(dlg_), owner);
    // Not centred but at the owner's top left: on Windows at its client area's origin; Wine
    // has not yet laid out the frame of a window in creation, and puts it at the window's.
    RECT r, o;
    GetWindowRect(dlg_, &r);
    GetWindowRect(owner, &o);
    POINT origin = {0, 0};
    ClientToScreen(owner, &origin);
    EXPECT_TRUE(r.left >= o.left && r.left <= origin.x) << r.left;
    EXPECT_TRUE(r.top >= o.top && r.top <= origin.y) << r.top;
    EXPECT_EQ(WaitForDialog(pi_.dwProcessId, nullptr, nullptr), dlg_) << "another window shows";

    // OK has the focus and is the default button.
    HWND ok = GetDlgItem(dlg_, IDOK);
    EXPECT_EQ(Focus(), ok);
    EXPECT_EQ(SendMessageW(dlg_, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
    EXPECT_EQ(GetWindowLongW(ok, GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);

    // The high-score button is there but hidden, and out of the Tab order. Tab goes from OK
    // to Cancel, then through the checked radio buttons: checking a radio button gives it
    // WS_TABSTOP, which is how the platform lets the keyboard into a group.
    HWND clear = GetDlgItem(dlg_, IDC_CLEAR_HISCORE);
    ASSERT_NE(clear, nullptr);
    EXPECT_FALSE(IsWindowVisible(clear));
    EXPECT_EQ(GetWindowLongW(clear, GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_EQ(Text(clear), L"ハイスコアクリア");
    std::vector<int> cycle = {GetDlgCtrlID(ok)};
    HWND at = ok;
    for (int i = 0; i < 20; i++) {
        Key(VK_TAB);
        at = FocusAfter(at);
        if (at == ok || at == nullptr)
            break;
        cycle.push_back(GetDlgCtrlID(at));
    }
    EXPECT_EQ(at, ok) << "Tab does not come back to OK";
    EXPECT_EQ(cycle, (std::vector<int>{IDOK, IDCANCEL, 1001, 1003, 1005, 1007, 1011}));
    EXPECT_FALSE(IsWindowVisible(clear));

    ClickId(IDCANCEL);
    EXPECT_EQ(Finish(), 0);
}

TEST_F(ProgramTest, HighScoreClearAsksFirst)
{
    struct Case {
        const char *name;
        int answer;
        int close;
        std::int32_t saved;
    };
    const Case cases[] = {
        {"confirmed, then OK", IDOK, IDOK, 0xFFFF},
        {"declined, then OK", IDCANCEL, IDOK, 1234},
        {"confirmed, then Cancel", IDOK, IDCANCEL, 1234},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(SETTINGS_FILE_NAME, RecordBytes(kBaseD));
        Start();
        // The button is hidden; the command still works when it arrives.
        PostMessageW(dlg_, WM_COMMAND, IDC_CLEAR_HISCORE, 0);
        HWND box = WaitForDialog(pi_.dwProcessId, nullptr, dlg_);
        ASSERT_NE(box, nullptr) << "no message box";
        EXPECT_EQ(Text(box), L"GALVORN SETUP Ver 1.90");

        std::set<int> buttons;
        std::vector<std::wstring> texts;
        bool icon = false;
        for (HWND w = GetWindow(box, GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
            if (!IsWindowVisible(w))
                continue;
            wchar_t cls[32] = L"";
            GetClassNameW(w, cls, 32);
            LONG style = GetWindowLongW(w, GWL_STYLE);
            if (_wcsicmp(cls, L"Button") == 0)
                buttons.insert(GetDlgCtrlID(w));
            else if ((style & SS_TYPEMASK) == SS_ICON)
                icon = icon || SendMessageW(w, STM_GETICON, 0, 0) != 0;
            else
                texts.push_back(Text(w));
        }
        EXPECT_EQ(buttons, (std::set<int>{IDOK, IDCANCEL}));
        EXPECT_FALSE(icon);
        EXPECT_EQ(texts, std::vector<std::wstring>{L"ハイスコアを消去します、よろしいですか？"});
        EXPECT_EQ(SendMessageW(box, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));

        Click(GetDlgItem(box, c.answer));
        for (int i = 0; i < 500 && IsWindow(box); i++)
            Sleep(10);
        EXPECT_FALSE(IsWindow(box));
        EXPECT_TRUE(IsWindowVisible(dlg_)) << "the dialog stays open";
        ClickId(c.close);
        EXPECT_EQ(Finish(), 0);
        SystemSettings expected = kBaseD;
        if (c.close == IDOK)
            expected.renderFlags = 0;
        expected.highScore = c.saved;
        EXPECT_EQ(ReadFileBytes(SETTINGS_FILE_NAME), RecordBytes(expected));
    }
}

TEST_F(ProgramTest, FileHeldOpenBySharingReaderIsStillSaved)
{
    WriteFileBytes(SETTINGS_FILE_NAME, RecordBytes(kBaseD));
    HANDLE h = CreateFileA(SETTINGS_FILE_NAME, GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    Start();
    EXPECT_EQ(Checked(), (std::set<int>{1001, 1003, 1005, 1007, 1011}));
    ClickId(IDC_SOUND_OFF);
    ClickId(IDOK);
    EXPECT_EQ(Finish(), 0);
    CloseHandle(h);
    EXPECT_EQ(ReadFileBytes(SETTINGS_FILE_NAME),
              RecordBytes(With(With(kBaseD, &SystemSettings::soundOff, 1),
                               &SystemSettings::renderFlags, 0)));
    EXPECT_EQ(DirNames(), std::vector<std::string>{SETTINGS_FILE_NAME});
}

TEST_F(ProgramTest, UnreadableFileIsLeftUntouched)
{
    for (bool directory : {false, true}) {
        SCOPED_TRACE(directory ? "a directory" : "held without sharing");
        HANDLE h = INVALID_HANDLE_VALUE;
        if (directory) {
            std::filesystem::remove(SETTINGS_FILE_NAME);
            std::filesystem::create_directory(SETTINGS_FILE_NAME);
        } else {
            WriteFileBytes(SETTINGS_FILE_NAME, RecordBytes(kBaseS));
            h = CreateFileA(SETTINGS_FILE_NAME, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                            nullptr);
            ASSERT_NE(h, INVALID_HANDLE_VALUE);
        }
        Start();
        // The defaults are shown, since the file's own choices cannot be read.
        EXPECT_EQ(Checked(), (std::set<int>{1001, 1003, 1005, 1007, 1011}));
        ClickId(IDOK);
        EXPECT_EQ(Finish(), 0);
        if (directory) {
            EXPECT_TRUE(std::filesystem::is_directory(SETTINGS_FILE_NAME));
        } else {
            CloseHandle(h);
            EXPECT_EQ(ReadFileBytes(SETTINGS_FILE_NAME), RecordBytes(kBaseS));
        }
        EXPECT_EQ(DirNames(), std::vector<std::string>{SETTINGS_FILE_NAME});
    }
}

} // namespace
