#pragma once
#include <cstddef>
#include <string>

namespace plat {

// How reading a whole file went.
enum class WholeFileRead { Ok, Missing, Failed };

// Reads every byte of a regular file. Missing when there is no file at the
// path; Failed for any other error (a folder, a failed read), with bytes empty.
WholeFileRead ReadWholeFile(const std::string& path, std::string& bytes);

// Keeps a copy of a damaged file's bytes beside it, never over an older copy:
// "<path>.bad", else the first free "<path>.1.bad", "<path>.2.bad", ...
// The copy and its folder are synced. Returns the copy's path, empty on failure.
std::string KeepFileAside(const std::string& path, const void* data, size_t size);

// Writes every byte to the descriptor (retrying short writes); false on error.
bool WriteAll(int fd, const void* data, size_t size);

// Syncs the folder that holds the path, so a file made or renamed there is
// kept; a folder that cannot be opened or synced is left as it is.
void SyncFolderOf(const std::string& path);

} // namespace plat
