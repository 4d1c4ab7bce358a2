// Failures injected into the C library's file calls (linked with --wrap) at each step of a
// load and a save: the old settings file must survive every one of them whole.
#include <gtest/gtest.h>

#include <stdio_ext.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>

#include "settings/settings.h"
#include "support/scratch_dir.h"

namespace
{

struct Fault {
    std::string call; // "" for none
    std::string path;
    int error = EIO;
    std::string call2; // a second failure in the same run, or ""
    std::string path2;
};

Fault Fail(std::string call, std::string path, int error, std::string call2 = "",
           std::string path2 = "")
{
    return Fault{std::move(call), std::move(path), error, std::move(call2), std::move(path2)};
}

Fault gFault;
std::map<std::FILE *, std::string> gStreamPaths;
std::map<int, std::string> gFdPaths;

bool Hit(const char *call, const std::string &path)
{
    if ((gFault.call == call && gFault.path == path) ||
        (gFault.call2 == call && gFault.path2 == path)) {
        errno = gFault.error;
        return true;
    }
    return false;
}

std::string PathOf(std::FILE *f)
{
    auto it = gStreamPaths.find(f);
    return it == gStreamPaths.end() ? std::string() : it->second;
}

std::string PathOfFd(int fd)
{
    auto it = gFdPaths.find(fd);
    return it == gFdPaths.end() ? std::string() : it->second;
}

} // namespace

extern "C" {
std::FILE *__real_fopen(const char *path, const char *mode);
std::size_t __real_fwrite(const void *p, std::size_t size, std::size_t n, std::FILE *f);
std::size_t __real_fread(void *p, std::size_t size, std::size_t n, std::FILE *f);
int __real_fflush(std::FILE *f);
int __real_fclose(std::FILE *f);
int __real_rename(const char *from, const char *to);
int __real_fsync(int fd);
int __real_ftruncate(int fd, off_t size);

std::FILE *__wrap_fopen(const char *path, const char *mode)
{
    if (Hit("fopen", std::string(path) + ":" + mode))
        return nullptr;
    std::FILE *f = __real_fopen(path, mode);
    if (f != nullptr) {
        gStreamPaths[f] = path;
        gFdPaths[fileno(f)] = path;
    }
    return f;
}

std::size_t __wrap_fwrite(const void *p, std::size_t size, std::size_t n, std::FILE *f)
{
    if (Hit("fwrite", PathOf(f)))
        return 0;
    return __real_fwrite(p, size, n, f);
}

std::size_t __wrap_fread(void *p, std::size_t size, std::size_t n, std::FILE *f)
{
    if (Hit("fread", PathOf(f))) {
        // Part of the record arrives before the error, as with a real I/O fault.
        std::size_t got = __real_fread(p, size, n / 2, f);
        f->_flags |= _IO_ERR_SEEN;
        return got;
    }
    return __real_fread(p, size, n, f);
}

int __wrap_fflush(std::FILE *f)
{
    if (f != nullptr && Hit("fflush", PathOf(f))) {
        __fpurge(f); // the buffered bytes never reach the file
        return EOF;
    }
    return __real_fflush(f);
}

int __wrap_fclose(std::FILE *f)
{
    std::string path = PathOf(f);
    gStreamPaths.erase(f);
    gFdPaths.erase(fileno(f));
    bool fail = Hit("fclose", path);
    if (fail)
        __fpurge(f);
    int rc = __real_fclose(f);
    if (fail) {
        errno = gFault.error;
        return EOF;
    }
    return rc;
}

int __wrap_rename(const char *from, const char *to)
{
    if (Hit("rename", to))
        return -1;
    return __real_rename(from, to);
}

int __wrap_fsync(int fd)
{
    if (Hit("fsync", PathOfFd(fd)))
        return -1;
    return __real_fsync(fd);
}

int __wrap_ftruncate(int fd, off_t size)
{
    if (Hit("ftruncate", PathOfFd(fd)))
        return -1;
    return __real_ftruncate(fd, size);
}
}

namespace
{

const SystemSettings kNew = {7, 1, 1, 1, 14, 1, 2, 1, 0xFFFF};
const char *const kFile = SETTINGS_FILE_NAME;
const char *const kTemp = SETTINGS_TEMP_NAME;
// fopen faults name the path and the mode.
const char *const kOpenTemp = SETTINGS_TEMP_NAME ":wb";
const char *const kOpenRead = SETTINGS_FILE_NAME ":rb";
const char *const kOpenInPlace = SETTINGS_FILE_NAME ":r+b";
const char *const kCreate = SETTINGS_FILE_NAME ":wb";

class SettingsFaultTest : public ScratchDirTest
{
  protected:
    void TearDown() override
    {
        gFault = Fault();
        ScratchDirTest::TearDown();
    }
};

TEST_F(SettingsFaultTest, SaveSucceedsOrKeepsTheOldFileAtEveryStep)
{
    // 40 bytes, so that a stray truncation to 36 would show too.
    const Bytes old(40, 0x77);
    struct Case {
        const char *name;
        Fault fault;
        bool saved; // whether another way still saves
    };
    const Case cases[] = {
        {"no fault", {}, true},
        // No second copy can be made, or it cannot replace the old file: written in place.
        {"temporary file refused", Fail("fopen", kOpenTemp, EACCES), true},
        {"temporary file: write (disk full)", Fail("fwrite", kTemp, ENOSPC), true},
        {"temporary file: flush (disk full)", Fail("fflush", kTemp, ENOSPC), true},
        {"temporary file: sync", Fail("fsync", kTemp, EIO), true},
        {"temporary file: close", Fail("fclose", kTemp, EIO), true},
        {"replace refused", Fail("rename", kFile, EACCES), true},
        // And where writing in place fails too, the old file stays whole.
        {"temporary file refused, open in place refused",
         Fail("fopen", kOpenTemp, EACCES, "fopen", kOpenInPlace), false},
        {"write, then write in place", Fail("fwrite", kTemp, ENOSPC, "fwrite", kFile), false},
        {"flush, then flush in place", Fail("fflush", kTemp, ENOSPC, "fflush", kFile), false},
        {"close, then open in place refused", Fail("fclose", kTemp, EIO, "fopen", kOpenInPlace),
         false},
        {"replace refused, open in place refused",
         Fail("rename", kFile, EACCES, "fopen", kOpenInPlace), false},
        {"replace refused, write in place", Fail("rename", kFile, EACCES, "fwrite", kFile), false},
        {"replace refused, flush in place", Fail("rename", kFile, EACCES, "fflush", kFile), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(kFile, old);
        gFault = c.fault;
        SaveSettings(&kNew);
        gFault = Fault();
        EXPECT_EQ(ReadFileBytes(kFile), c.saved ? RecordBytes(kNew) : old);
        EXPECT_EQ(DirNames(), std::vector<std::string>{kFile});
    }
}

TEST_F(SettingsFaultTest, FailedCreationLeavesNoFileAndNoDefaults)
{
    const Fault faults[] = {
        Fail("fwrite", kTemp, ENOSPC, "fwrite", kFile),
        Fail("fopen", kOpenTemp, EACCES, "fflush", kFile),
        Fail("fopen", kOpenTemp, EACCES, "fopen", kCreate),
    };
    for (const Fault &f : faults) {
        SCOPED_TRACE(f.call + " " + f.path + " / " + f.call2 + " " + f.path2);
        gFault = f;
        SystemSettings s{};
        LoadOrRepairSettings(&s);
        gFault = Fault();
        EXPECT_TRUE(DirNames().empty());
        EXPECT_EQ(RecordBytes(s), Bytes(36, 0));
    }
}

TEST_F(SettingsFaultTest, LoadNeverWritesAFileItCouldNotRead)
{
    const Bytes shortFile(10, 0x33);
    const Bytes fullFile = RecordBytes(kNew);
    struct Case {
        const char *name;
        Bytes before;
        Fault fault;
    };
    const Case cases[] = {
        {"open refused (no read permission, sharing)", fullFile, Fail("fopen", kOpenRead, EACCES)},
        {"read error", fullFile, Fail("fread", kFile, EIO)},
        {"read error on a short file", shortFile, Fail("fread", kFile, EIO)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(kFile, c.before);
        gFault = c.fault;
        SystemSettings s{};
        LoadOrRepairSettings(&s);
        gFault = Fault();
        EXPECT_EQ(RecordBytes(s), RecordBytes(Defaults()));
        EXPECT_EQ(ReadFileBytes(kFile), c.before);
        EXPECT_EQ(DirNames(), std::vector<std::string>{kFile});
    }
}

} // namespace
