#include "scratch_dir.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

namespace fs = std::filesystem;

std::optional<Bytes> ReadFileBytes(const fs::path &p)
{
    std::error_code ec;
    if (!fs::is_regular_file(p, ec))
        return std::nullopt;
    std::ifstream in(p, std::ios::binary);
    if (!in)
        return std::nullopt;
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const fs::path &p, const Bytes &b)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(b.data()), static_cast<std::streamsize>(b.size()));
    ASSERT_TRUE(out.good()) << p;
}

Bytes RecordBytes(const SystemSettings &s)
{
    Bytes b(sizeof s);
    std::memcpy(b.data(), &s, sizeof s);
    return b;
}

SystemSettings Defaults()
{
    SystemSettings s;
    ApplyDefaults(&s);
    return s;
}

std::vector<std::string> DirNames()
{
    std::vector<std::string> names;
    for (const auto &e : fs::directory_iterator(fs::current_path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void ScratchDirTest::SetUp()
{
    std::random_device rd;
    previous_ = fs::current_path();
    dir_ = fs::temp_directory_path() / ("gvncfg-test-" + std::to_string(rd()));
    fs::create_directories(dir_);
    fs::current_path(dir_);
}

void ScratchDirTest::TearDown()
{
    fs::current_path(previous_);
    std::error_code ec;
    fs::remove_all(dir_, ec);
}
