#pragma once
// pref.dat in the null platform's documents folder, and the fixtures the
// fixture tool made.
#include "game/core/PrefFile.h"
#include "platform/NullPlatform.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
}

// A fixture file of tests/fixtures/prefs.
inline std::string Fixture(const std::string& name) { return ReadBytes(std::string(ZELK_FIXTURES) + "/prefs/" + name); }

class PrefFolder {
public:
    std::string Folder() const { return platform.folders.documents + "/Tarnwick Games/Quillmore"; }
    std::string Path() const { return Folder() + "/pref.dat"; }
    std::string Bytes() const { return ReadBytes(Path()); }
    void Install(const std::string& bytes) const { WriteBytes(Path(), bytes); }
    bool Exists(const std::string& name) const { return std::filesystem::exists(Folder() + "/" + name); }
    // The names in the folder.
    std::set<std::string> Entries() const
    {
        std::set<std::string> names;
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(Folder(), ec))
            names.insert(e.path().filename().string());
        return names;
    }
    // Removes every kept-aside copy.
    void RemoveBad() const
    {
        for (const std::string& name : Entries()) {
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".bad") == 0)
                std::filesystem::remove(Folder() + "/" + name);
        }
    }

    plat::NullPlatform platform;
};
