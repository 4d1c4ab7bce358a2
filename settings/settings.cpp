// The settings record's defaults, its derived field, and reading and writing "gvn.dat".
#include "settings.h"

#include <cerrno>
#include <cstdio>

#include "fileops.h"

void ApplyDefaults(SystemSettings *s)
{
    s->reserved = 0;
    s->lowResModeX = 0;
    s->hiResVariant = 2;
    s->translucencyOff = 0;
    s->renderFlags = 2; // not what ComputeRenderFlags gives; the game accepts it
    s->simpleBackground = 0;
    s->drawRate = 1;
    s->soundOff = 0;
    s->highScore = 0xFFFF;
}

void ComputeRenderFlags(SystemSettings *s)
{
    // Unsigned arithmetic wraps like the 32-bit registers the game was written for,
    // so values outside the offered ones cannot overflow.
    std::uint32_t v = 4u * static_cast<std::uint32_t>(s->drawRate) +
                      8u * static_cast<std::uint32_t>(s->translucencyOff) +
                      2u * static_cast<std::uint32_t>(s->simpleBackground) - 4u;
    s->renderFlags = static_cast<std::int32_t>(v);
}

// Overwrites the settings file where it lies, for when it cannot be replaced: the old
// bytes are never cut off before the new ones are written.
static bool WriteInPlace(const SystemSettings *s)
{
    bool created = false;
    std::FILE *f = std::fopen(SETTINGS_FILE_NAME, "r+b");
    if (f == nullptr) {
        if (errno != ENOENT)
            return false;
        f = std::fopen(SETTINGS_FILE_NAME, "wb"); // nothing there to lose
        if (f == nullptr)
            return false;
        created = true;
    }
    bool ok = std::fwrite(s, 1, sizeof *s, f) == sizeof *s && std::fflush(f) == 0 &&
              TruncateStream(f, sizeof *s);
    ok = std::fclose(f) == 0 && ok;
    if (!ok && created)
        std::remove(SETTINGS_FILE_NAME);
    return ok;
}

// Writes the whole record to the new file `name`; if any step fails, removes it again.
static bool WriteNewFile(const char *name, const SystemSettings *s)
{
    std::FILE *f = std::fopen(name, "wb");
    if (f == nullptr)
        return false;
    bool ok = std::fwrite(s, 1, sizeof *s, f) == sizeof *s && std::fflush(f) == 0 && SyncStream(f);
    ok = std::fclose(f) == 0 && ok;
    if (!ok)
        std::remove(name);
    return ok;
}

// Writes the whole record beside the settings file, then moves it over the old one, so
// that a failure at any step leaves the old file as it was.
static bool WriteSettingsFile(const SystemSettings *s)
{
    if (WriteNewFile(SETTINGS_TEMP_NAME, s)) {
        if (ReplaceFileByName(SETTINGS_TEMP_NAME, SETTINGS_FILE_NAME))
            return true;
        std::remove(SETTINGS_TEMP_NAME);
    }
    // No second copy could be made (the directory takes no new file, or the disk is full),
    // or the old file could not be replaced (another program holds it open): overwrite it.
    return WriteInPlace(s);
}

void LoadOrRepairSettings(SystemSettings *s)
{
    std::FILE *f = std::fopen(SETTINGS_FILE_NAME, "rb");
    if (f == nullptr) {
        if (errno == ENOENT) {
            SystemSettings defaults;
            ApplyDefaults(&defaults);
            if (WriteSettingsFile(&defaults))
                *s = defaults;
        } else {
            // There but unreadable: show sensible choices and leave the file alone.
            ApplyDefaults(s);
        }
        return;
    }
    std::size_t got = std::fread(s, 1, sizeof *s, f);
    bool readError = std::ferror(f) != 0;
    std::fclose(f);
    if (got == sizeof *s)
        return; // bytes after the record stay until the next save
    ApplyDefaults(s);
    if (!readError)
        WriteSettingsFile(s); // too short: repair
}

void SaveSettings(const SystemSettings *s)
{
    WriteSettingsFile(s);
}
