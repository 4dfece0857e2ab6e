#include "platform/files/FolderSearch.h"

#include "platform/files/DiskFiles.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace plat {

namespace {

char Fold(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

uint64_t FileTimeOf(const struct timespec& t)
{
    return FileTimeFromPosix(t.tv_sec, t.tv_nsec);
}

} // namespace

uint64_t FileTimeFromPosix(int64_t seconds, long nanoseconds)
{
    // Seconds from 1601-01-01 to 1970-01-01.
    constexpr int64_t kEpochDelta = 11644473600LL;
    int64_t units = (seconds + kEpochDelta) * 10000000LL + nanoseconds / 100;
    return units < 0 ? 0 : uint64_t(units);
}

bool WildcardMatch(const std::string& pattern, const std::string& name)
{
    // Iterative match with one backtrack point (the last "*").
    size_t p = 0, n = 0, star = std::string::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Fold(pattern[p]) == Fold(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::unique_ptr<FolderSearch> FolderSearch::First(const std::string& patternIn, FindData& data)
{
    std::string pattern(patternIn);
    std::replace(pattern.begin(), pattern.end(), '\\', '/');
    size_t slash = pattern.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : pattern.substr(0, slash + 1);
    std::string wildcard = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
    if (wildcard.empty())
        return nullptr;
    std::string native = folder.empty() ? std::string(".") : ResolvePath(folder);
    if (native.empty())
        return nullptr;
    DIR* dir = opendir(native.c_str());
    if (!dir)
        return nullptr;
    auto search = std::make_unique<FolderSearch>();
    while (dirent* e = readdir(dir)) {
        std::string name = e->d_name;
        if (name != "." && name != ".." && WildcardMatch(wildcard, name))
            search->mNames.push_back(name);
    }
    closedir(dir);
    std::sort(search->mNames.begin(), search->mNames.end());
    search->mFolder = native.back() == '/' ? native : native + "/";
    if (!search->Next(data))
        return nullptr;
    return search;
}

bool FolderSearch::Next(FindData& data)
{
    while (mNext < mNames.size()) {
        if (Fill(data))
            return true;
    }
    return false;
}

bool FolderSearch::Fill(FindData& data)
{
    const std::string& name = mNames[mNext++];
    struct stat st;
    if (::stat((mFolder + name).c_str(), &st) != 0)
        return false; // gone since the folder was read
    data = FindData();
    data.attributes = S_ISDIR(st.st_mode) ? kFileAttributeDirectory : kFileAttributeNormal;
    data.creationTime = FileTimeOf(st.st_ctim);
    data.lastAccessTime = FileTimeOf(st.st_atim);
    data.lastWriteTime = FileTimeOf(st.st_mtim);
    uint64_t size = S_ISDIR(st.st_mode) ? 0 : uint64_t(st.st_size);
    data.sizeHigh = uint32_t(size >> 32);
    data.sizeLow = uint32_t(size);
    data.fileName = name;
    return true;
}

} // namespace plat
