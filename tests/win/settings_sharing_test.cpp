// The settings store while another program holds gvn.dat open, with the real runtime's
// streams and Windows' sharing rules.
#include <gtest/gtest.h>
#include <windows.h>

#include "settings/settings.h"
#include "support/scratch_dir.h"

namespace
{

const SystemSettings kOld = {1, 1, 1, 1, 14, 1, 2, 1, 500};
const SystemSettings kNew = {2, 0, 2, 0, 0, 0, 1, 0, 0xFFFF};

using SettingsSharingTest = ScratchDirTest;

TEST_F(SettingsSharingTest, LoadAndSaveWhileAnotherProgramHoldsTheFile)
{
    struct Case {
        const char *name;
        DWORD share;
        bool readable; // load sees the file, not the defaults
        bool saved;
    };
    const Case cases[] = {
        {"read and write shared", FILE_SHARE_READ | FILE_SHARE_WRITE, true, true},
        {"everything shared", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, true, true},
        {"only reading shared", FILE_SHARE_READ, true, false},
        {"only writing shared", FILE_SHARE_WRITE, false, false},
        {"nothing shared", 0, false, false},
    };
    // 40 bytes, so that the 36-byte save shows whether it reached the file.
    Bytes old = RecordBytes(kOld);
    old.insert(old.end(), {0xAA, 0xBB, 0xCC, 0xDD});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(SETTINGS_FILE_NAME, old);
        HANDLE h = CreateFileA(SETTINGS_FILE_NAME, GENERIC_READ | GENERIC_WRITE, c.share, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);

        SystemSettings s{};
        LoadOrRepairSettings(&s);
        EXPECT_EQ(RecordBytes(s), RecordBytes(c.readable ? kOld : Defaults()));

        SaveSettings(&kNew);
        // Written in place, the holder sees it; a replaced file would leave it the old one.
        if (!(c.share & FILE_SHARE_DELETE)) {
            EXPECT_EQ(GetFileSize(h, nullptr), c.saved ? 36u : 40u);
        }
        CloseHandle(h);
        EXPECT_EQ(ReadFileBytes(SETTINGS_FILE_NAME), c.saved ? RecordBytes(kNew) : old);
        EXPECT_EQ(DirNames(), std::vector<std::string>{SETTINGS_FILE_NAME});
    }
}

} // namespace
