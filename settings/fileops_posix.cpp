// File operations for the host build (POSIX).
#include "fileops.h"

#include <unistd.h>

bool ReplaceFileByName(const char *from, const char *to)
{
    return std::rename(from, to) == 0;
}

bool SyncStream(std::FILE *f)
{
    return fsync(fileno(f)) == 0;
}

bool TruncateStream(std::FILE *f, long size)
{
    return ftruncate(fileno(f), size) == 0;
}
