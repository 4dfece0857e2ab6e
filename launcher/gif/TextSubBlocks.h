#pragma once
#include "launcher/gif/Stream.h"
#include <string>
#include <vector>

// Text carried in data sub-blocks (plain text and comment blocks): one line
// per sub-block when read; each line in sub-blocks of at most 255 bytes and
// one terminator after all lines when written.
namespace GIFImage::TextSubBlocks {

std::vector<std::string> Read(Stream& s);
// An empty line writes nothing: a zero-length sub-block would end the data.
void Write(Stream& s, const std::vector<std::string>& lines);

} // namespace GIFImage::TextSubBlocks
