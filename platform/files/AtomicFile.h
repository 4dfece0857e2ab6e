#pragma once
#include <cstddef>
#include <string>

namespace plat {

// Writes a whole file so that a reader sees either the old or the new content:
// a temporary file in the same folder, fsync, rename. Missing folders along the
// path are created. Returns false (and leaves the old file) on any failure.
bool WriteFileAtomically(const std::string& path, const void* data, size_t size);

} // namespace plat
