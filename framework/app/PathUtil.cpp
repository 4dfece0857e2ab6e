#include "framework/app/PathUtil.h"
#include "framework/app/SystemInfo.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Zelk {

std::string gAppDataFolder;
bool (*gDeleteEntryHook)(const std::string& path) = nullptr;

namespace {
bool IsSep(char c) { return c == '\\' || c == '/'; }

size_t LastSep(const std::string& path)
{
    size_t a = path.rfind('\\'), b = path.rfind('/');
    if (a == std::string::npos)
        return b;
    if (b == std::string::npos)
        return a;
    return a > b ? a : b;
}
} // namespace

std::string NativePath(const std::string& path)
{
    std::string out(path);
    for (char& c : out)
        if (c == '\\')
            c = '/';
    return out;
}

std::string GetFileName(const std::string& path, bool noExtension)
{
    size_t sep = LastSep(path);
    std::string name = sep == std::string::npos ? path : path.substr(sep + 1);
    if (noExtension) {
        size_t dot = name.rfind('.');
        if (dot != std::string::npos)
            name = name.substr(0, dot);
    }
    return name;
}

std::string GetFileNameNoExt(const std::string& path, bool noExtension)
{
    return GetFileName(path, noExtension);
}

std::string RemoveTrailingSlash(const std::string& path)
{
    if (!path.empty() && IsSep(path.back()))
        return path.substr(0, path.size() - 1);
    return path;
}

std::string AddTrailingSlash(const std::string& path, bool backslash)
{
    if (path.empty())
        return path;
    if (IsSep(path.back()))
        return path;
    return path + (backslash ? '\\' : '/');
}

std::string GetFileDir(const std::string& path, bool keepSeparator)
{
    size_t sep = LastSep(path);
    if (sep == std::string::npos)
        return std::string();
    return path.substr(0, keepSeparator ? sep + 1 : sep);
}

void CreateDirectories(const std::string& path)
{
    std::string native = NativePath(path);
    for (size_t i = 0; i < native.size(); ++i) {
        if (native[i] == '/' && i > 0)
            mkdir(native.substr(0, i).c_str(), 0777);
    }
    if (!native.empty())
        mkdir(native.c_str(), 0777);
}

std::string GetAppDataFolder() { return gAppDataFolder; }

void SetAppDataFolder(const std::string& path)
{
    if (!IsWindowsVistaOrLater())
        return;
    gAppDataFolder = path;
    if (!gAppDataFolder.empty() && !IsSep(gAppDataFolder.back()))
        gAppDataFolder += '\\';
}

bool DeleteDirectoryTree(const std::string& pathIn)
{
    if (pathIn.size() < 2)
        return false;
    std::string path = NativePath(pathIn);
    if (path.back() != '/')
        path += '/';
    DIR* dir = opendir(path.c_str());
    if (!dir)
        return false;
    bool ok = true;
    while (dirent* e = readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        std::string full = path + name;
        if (gDeleteEntryHook && !gDeleteEntryHook(full)) {
            ok = false;
            continue;
        }
        struct stat st;
        if (lstat(full.c_str(), &st) != 0) {
            ok = false;
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            if (!DeleteDirectoryTree(full))
                ok = false;
        } else if (unlink(full.c_str()) != 0) {
            ok = false; // files and links alike: a link is removed, its target is left alone
        }
    }
    closedir(dir);
    path.pop_back();
    if (rmdir(path.c_str()) != 0)
        return false;
    return ok;
}

bool IsPathInsideFolder(const std::string& name)
{
    if (name.empty() || name[0] == '\\' || name[0] == '/' || (name.size() > 1 && name[1] == ':'))
        return false;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = name.size();
        if (end - start == 2 && name.compare(start, 2, "..") == 0)
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace Zelk
