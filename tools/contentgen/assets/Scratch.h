#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Files the tool hands to writers and programs that only work on paths: a
// private temporary folder made on first use and removed at exit. The
// names inside are unique per call, so threads may use it at once; nothing
// of the folder's name reaches the data.
namespace contentgen {

// A fresh path inside the folder ending in suffix (e.g. ".png").
std::string ScratchPath(const std::string& suffix);
// Reads the file and removes it; throws when it cannot be read.
std::vector<uint8_t> TakeScratchFile(const std::string& path);

} // namespace contentgen
