#include "assets/Scratch.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <stdexcept>

namespace contentgen {

namespace {

struct Folder {
    std::string path;
    Folder()
    {
        std::string base = std::filesystem::temp_directory_path().string() + "/contentgen-XXXXXX";
        std::vector<char> name(base.begin(), base.end());
        name.push_back('\0');
        if (!mkdtemp(name.data()))
            throw std::runtime_error("cannot make a temporary folder in " + base);
        path = name.data();
    }
    ~Folder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

} // namespace

std::string ScratchPath(const std::string& suffix)
{
    static Folder folder;
    static std::atomic<unsigned> counter{0};
    return folder.path + "/" + std::to_string(counter++) + suffix;
}

std::vector<uint8_t> TakeScratchFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read back the temporary file " + path);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::remove(path.c_str());
    return bytes;
}

} // namespace contentgen
