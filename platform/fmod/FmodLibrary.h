#pragma once
#include <map>
#include <string>

namespace plat {

// The outside sound library "fmod.dll". This system has no such library, so it
// is absent unless something installs a table of its exports by their exact
// names (a test's recording fake does).
using FmodExports = std::map<std::string, void*>;

// Null makes the library absent again. The caller keeps the table.
void InstallFmodLibrary(const FmodExports* exports);

// Loading by name: false when the library is absent (or the module table
// reports "fmod.dll" absent).
bool LoadFmodLibrary();
void FreeFmodLibrary();
// Null when the loaded library has no export of that name.
void* GetFmodExport(const std::string& name);
// How many times the library is loaded right now.
int FmodLibraryLoads();

} // namespace plat
