#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Whole-file reading and writing for the unit's file operations.
namespace GIFImage::FileBytes {

// Raises GIFException "Invalid stream operation" when the file cannot be read.
std::vector<uint8_t> Read(const std::string& filename);
void Write(const std::string& filename, const std::vector<uint8_t>& bytes);

} // namespace GIFImage::FileBytes
