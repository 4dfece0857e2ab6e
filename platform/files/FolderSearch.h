#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plat {

// File attributes of a search match.
constexpr uint32_t kFileAttributeDirectory = 0x10;
constexpr uint32_t kFileAttributeNormal = 0x80;

// One match of a file search.
struct FindData {
    uint32_t attributes = 0;
    uint64_t creationTime = 0;   // FILETIME: 100 ns units since 1601-01-01 (UTC)
    uint64_t lastAccessTime = 0;
    uint64_t lastWriteTime = 0;
    uint32_t sizeHigh = 0;
    uint32_t sizeLow = 0;
    std::string fileName; // the name alone, without its folder
};

// A search of one folder for names matching a pattern. The pattern's folder
// part uses "\" or "/" and is resolved without regard to case (DiskFiles.h);
// its last component may hold "*" (any run) and "?" (one character), matched
// without regard to ASCII case. "." and ".." are never matches. Matches come
// in byte-wise order of their names.
class FolderSearch {
public:
    // The first match, or null when nothing matches.
    static std::unique_ptr<FolderSearch> First(const std::string& pattern, FindData& data);
    // The next match; false when there are no more.
    bool Next(FindData& data);
    // A search with no (more) matches.
    FolderSearch() = default;

private:
    std::string mFolder;
    std::vector<std::string> mNames;
    size_t mNext = 0;
    bool Fill(FindData& data);
};

// A file time in FILETIME units from a POSIX time.
uint64_t FileTimeFromPosix(int64_t seconds, long nanoseconds);

// Whether name matches a pattern of "*" and "?" without regard to ASCII case.
bool WildcardMatch(const std::string& pattern, const std::string& name);

} // namespace plat
