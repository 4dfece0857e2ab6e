#pragma once
#include "launcher/gif/GIFTypes.h"
#include <vector>

namespace GIFImage {

// A palette: at most 256 colours, each with its flags (the no-collapse flag
// of a system palette has no effect here but is kept).
struct Palette {
    static constexpr uint8_t kNoCollapse = 0x04;
    std::vector<TGIFColor> Entries;
    std::vector<uint8_t> Flags;

    int Count() const { return int(Entries.size()); }
    void Add(TGIFColor c, uint8_t flags = 0)
    {
        Entries.push_back(c);
        Flags.push_back(flags);
    }
    bool operator==(const Palette& o) const { return Entries == o.Entries; }
};

} // namespace GIFImage
