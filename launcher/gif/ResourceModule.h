#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace GIFImage {

// The raw-data resources of a module: named blocks of bytes embedded in the
// program at build time. Names match without regard to case, as resource
// names do. The bytes are not copied: they live as long as the program.
class ResourceModule {
public:
    void Add(const std::string& name, const uint8_t* data, size_t size);
    // False when the module has no resource of that name.
    bool Find(const std::string& name, const uint8_t*& data, size_t& size) const;

private:
    struct Block {
        const uint8_t* data;
        size_t size;
    };
    std::map<std::string, Block> fBlocks;
};

} // namespace GIFImage
