// The few file operations the standard C library lacks, one implementation per platform.
#ifndef GVNCFG_FILEOPS_H
#define GVNCFG_FILEOPS_H

#include <cstdio>

// Moves `from` over an existing `to` in one step; false if the system refuses.
bool ReplaceFileByName(const char *from, const char *to);
// Forces the stream's written data to the disk; false on failure.
bool SyncStream(std::FILE *f);
// Cuts the stream's file to `size` bytes; false on failure.
bool TruncateStream(std::FILE *f, long size);

#endif
