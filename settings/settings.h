// The settings record that the game reads from "gvn.dat", and its file operations.
#ifndef GVNCFG_SETTINGS_H
#define GVNCFG_SETTINGS_H

#include <bit>
#include <cstddef>
#include <cstdint>

// Written to the file byte for byte: field order, sizes and byte order are the file format.
struct SystemSettings {
    std::int32_t reserved;         // not interpreted; written back as read
    std::int32_t lowResModeX;      // 1: 320x240 Mode X; 0: 640x480, see hiResVariant
    std::int32_t hiResVariant;     // 2: Mode X emulation; 1: no effect
    std::int32_t translucencyOff;  // 0: semi-transparency used; 1: not used
    std::int32_t renderFlags;      // derived by ComputeRenderFlags on OK
    std::int32_t simpleBackground; // 0: full background; 1: simplified
    std::int32_t drawRate;         // 1: every frame; 2: every second frame
    std::int32_t soundOff;         // 0: sound used; 1: not used
    std::int32_t highScore;        // 0xFFFF: cleared
};

static_assert(std::endian::native == std::endian::little, "the file is little-endian");
static_assert(sizeof(SystemSettings) == 36, "the settings file is 36 bytes");
static_assert(offsetof(SystemSettings, reserved) == 0);
static_assert(offsetof(SystemSettings, lowResModeX) == 4);
static_assert(offsetof(SystemSettings, hiResVariant) == 8);
static_assert(offsetof(SystemSettings, translucencyOff) == 12);
static_assert(offsetof(SystemSettings, renderFlags) == 16);
static_assert(offsetof(SystemSettings, simpleBackground) == 20);
static_assert(offsetof(SystemSettings, drawRate) == 24);
static_assert(offsetof(SystemSettings, soundOff) == 28);
static_assert(offsetof(SystemSettings, highScore) == 32);

#define SETTINGS_FILE_NAME "gvn.dat"
// The complete record is written here first, then moved over SETTINGS_FILE_NAME.
#define SETTINGS_TEMP_NAME "gvn.dat.new"

void ApplyDefaults(SystemSettings *s);
void ComputeRenderFlags(SystemSettings *s);
void LoadOrRepairSettings(SystemSettings *s);
void SaveSettings(const SystemSettings *s);

#endif
