// File operations for Windows: msvcrt's rename will not replace an existing file.
#include "fileops.h"

#include <io.h>
#include <windows.h>

bool ReplaceFileByName(const char *from, const char *to)
{
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool SyncStream(std::FILE *f)
{
    return _commit(_fileno(f)) == 0;
}

bool TruncateStream(std::FILE *f, long size)
{
    return _chsize(_fileno(f), size) == 0;
}
