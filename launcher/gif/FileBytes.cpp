#include "launcher/gif/FileBytes.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFMessages.h"
#include <fstream>
#include <iterator>

namespace GIFImage::FileBytes {

std::vector<uint8_t> Read(const std::string& filename)
{
    std::ifstream in(filename, std::ios::binary);
    if (!in)
        throw GIFException(Msg::kInvalidStream);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Write(const std::string& filename, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(filename, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out)
        throw GIFException(Msg::kInvalidStream);
}

} // namespace GIFImage::FileBytes
