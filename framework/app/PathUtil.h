#pragma once
#include <string>

namespace Zelk {

// Path helpers: "\" and "/" both count as separators.
std::string GetFileName(const std::string& path, bool noExtension = false);
std::string GetFileNameNoExt(const std::string& path, bool noExtension = true);
std::string RemoveTrailingSlash(const std::string& path);
std::string AddTrailingSlash(const std::string& path, bool backslash = true);
std::string GetFileDir(const std::string& path, bool keepSeparator = false);
// Creates every folder along the path; failures are ignored.
void CreateDirectories(const std::string& path);
std::string GetAppDataFolder();
void SetAppDataFolder(const std::string& path);
// Removes a folder and everything below it. Links are removed, never followed.
// False when the path is shorter than 2 characters or anything could not be removed.
bool DeleteDirectoryTree(const std::string& path);
// The native form of a path the system spells with "\" separators.
std::string NativePath(const std::string& path);
// Whether a relative name stays inside the folder it is taken from: not
// empty, not rooted ("\", "/" or a drive letter first) and no ".." component.
bool IsPathInsideFolder(const std::string& name);

extern std::string gAppDataFolder;

// Test seam: when set, DeleteDirectoryTree asks it before removing each entry
// (full native path); returning false makes that removal fail.
extern bool (*gDeleteEntryHook)(const std::string& path);

} // namespace Zelk
