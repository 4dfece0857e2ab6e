#pragma once
// A temporary folder for a fuzz target's files, made once and removed when
// the process ends.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fuzzsupport {

inline std::string TempFolder(const std::string& prefix)
{
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        abort();
    static std::string root = pattern;
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    });
    return root;
}

} // namespace fuzzsupport
