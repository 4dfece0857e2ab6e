#include "tests/support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace testsupport {

TempDir::TempDir()
{
    std::string tmpl = std::filesystem::temp_directory_path().string() + "/zelk-test-XXXXXX";
    if (!mkdtemp(tmpl.data()))
        abort();
    mPath = tmpl;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(mPath, ec);
}

void TempDir::Write(const std::string& name, const std::string& content) const
{
    std::filesystem::path p = std::filesystem::path(mPath) / name;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << content;
}

std::string TempDir::Read(const std::string& name) const
{
    std::ifstream in(std::filesystem::path(mPath) / name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool TempDir::Exists(const std::string& name) const
{
    return std::filesystem::exists(std::filesystem::path(mPath) / name);
}

} // namespace testsupport
