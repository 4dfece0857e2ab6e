#include "platform/folders/Folders.h"

#include <filesystem>
#include <system_error>

namespace plat {

bool MakeFolder(const std::string& path)
{
    if (path.empty())
        return false;
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return std::filesystem::is_directory(path, ec);
}

} // namespace plat
