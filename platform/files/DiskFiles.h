#pragma once
#include <cstdio>
#include <string>

namespace plat {

// Disk files under the system's naming rules: names may use "\" as the
// separator and are matched without regard to letter case, as the original
// file system did.

// The native path of an existing file or folder: "\" becomes "/", the name is
// tried as it stands first, then each component is matched case-insensitively
// (ASCII letters) against the folder's entries. Empty when nothing matches.
// With forCreate the last component may be missing; it is then kept as given
// (an existing entry that differs only in case is still preferred).
std::string ResolvePath(const std::string& name, bool forCreate = false);

// fopen with the system's names and modes. A read-only mode without "b"
// ("r", "rt") is text mode: a carriage return directly before a line feed is
// dropped. Positions (seek, tell) count the bytes of the file itself. The "t"
// letter is accepted in any mode. Null when the file cannot be opened.
FILE* OpenFile(const std::string& name, const char* mode);

// The next 16-bit little-endian unit of a stream, read as two bytes with
// nothing skipped; 0xFFFF when fewer than two bytes are left.
int ReadWideChar(FILE* file);

// The calendar year (local time) of the file's last write; 0 when the file
// cannot be found or is not a regular file.
int FileModificationYear(const std::string& name);

} // namespace plat
