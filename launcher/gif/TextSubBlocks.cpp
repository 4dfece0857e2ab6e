#include "launcher/gif/TextSubBlocks.h"
#include "launcher/gif/StreamIO.h"
#include <algorithm>

namespace GIFImage::TextSubBlocks {

std::vector<std::string> Read(Stream& s)
{
    std::vector<std::string> lines;
    std::vector<uint8_t> block;
    while (StreamIO::ReadSubBlock(s, block))
        lines.emplace_back(block.begin(), block.end());
    return lines;
}

void Write(Stream& s, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines) {
        for (size_t at = 0; at < line.size(); at += 255) {
            size_t n = std::min<size_t>(255, line.size() - at);
            StreamIO::WriteUInt8(s, uint8_t(n));
            StreamIO::WriteBytes(s, line.data() + at, n);
        }
    }
    StreamIO::WriteUInt8(s, 0);
}

} // namespace GIFImage::TextSubBlocks
