// A fresh directory per test, made the current one, with helpers for the files in it.
#ifndef GVNCFG_TESTS_SCRATCH_DIR_H
#define GVNCFG_TESTS_SCRATCH_DIR_H

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings.h"

using Bytes = std::vector<std::uint8_t>;

// The file's bytes, or nothing if it is not a readable regular file.
std::optional<Bytes> ReadFileBytes(const std::filesystem::path &p);
void WriteFileBytes(const std::filesystem::path &p, const Bytes &b);
// The record as the 36 bytes of the file.
Bytes RecordBytes(const SystemSettings &s);
SystemSettings Defaults();
// The names in the current directory, sorted.
std::vector<std::string> DirNames();

class ScratchDirTest : public ::testing::Test
{
  protected:
    void SetUp() override;
    void TearDown() override;
    std::filesystem::path dir_;
    std::filesystem::path previous_;
};

#endif
