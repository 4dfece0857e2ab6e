#pragma once
#include "DataSet.h"

#include <cstdint>
#include <string>

namespace contentgen {

// How a data set is laid out in a game folder: the three archives (loc.pak
// for the language data, data.pak for the rest, mod.pak with the one
// override) or the same tree unpacked, plus the files that live on disk
// beside the program (website.url, about.html, z_order.dat).
struct FolderLayout {
    bool loose = false;
    uint64_t fileTime = 0;  // of every archive entry
};

// The entry time of the archives: 2021-01-01 00:00 UTC as a FILETIME, or
// the time SOURCE_DATE_EPOCH gives.
uint64_t ArchiveFileTime();

// The archive a data path belongs to: "loc.pak" or "data.pak"; empty for
// the files that stay on disk.
std::string ArchiveOf(const std::string& path);

// The files of the game folder (names relative to it, "/"-separated) with
// their bytes: archives or loose files, and the on-disk files.
bool LayOut(const DataSet& data, const FolderLayout& layout, std::map<std::string, std::string>& files,
            std::string& error);

// Writes the files into folder: all into a temporary folder inside it
// first, then each renamed into place, so a failure leaves the folder as it
// was; a file that already holds its bytes is not written again. Data of
// the other layout (loose folders or archives) is removed.
bool WriteGameFolder(const std::string& folder, const std::map<std::string, std::string>& files, bool loose,
                     std::string& error);

// The splash version page of mod.pak: the page with the content version
// drawn on it, so a player sees which archive it came from.
std::vector<uint8_t> VersionPageOverride(int contentVersion);

} // namespace contentgen
