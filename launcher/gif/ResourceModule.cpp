#include "launcher/gif/ResourceModule.h"
#include <algorithm>

namespace GIFImage {

namespace {

std::string Upper(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(),
        [](unsigned char c) { return char(c >= 'a' && c <= 'z' ? c - 32 : c); });
    return name;
}

} // namespace

void ResourceModule::Add(const std::string& name, const uint8_t* data, size_t size)
{
    fBlocks[Upper(name)] = Block{data, size};
}

bool ResourceModule::Find(const std::string& name, const uint8_t*& data, size_t& size) const
{
    auto it = fBlocks.find(Upper(name));
    if (it == fBlocks.end())
        return false;
    data = it->second.data;
    size = it->second.size;
    return true;
}

} // namespace GIFImage
