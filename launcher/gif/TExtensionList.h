#pragma once
#include "launcher/gif/TGIFExtensionClass.h"
#include <cstdint>
#include <vector>

namespace GIFImage {

// The registry of extension labels, made on first use.
class TExtensionList {
public:
    static TExtensionList& Instance();
    void Add(uint8_t label, const TGIFExtensionClass& cls);
    // Searches from the last entry backwards; null when none matches.
    const TGIFExtensionClass* FindExt(uint8_t label) const;
    // Removes every entry whose class inherits from cls.
    void Remove(const TGIFExtensionClass& cls);

private:
    TExtensionList();
    struct Entry {
        uint8_t Label;
        const TGIFExtensionClass* Class;
    };
    std::vector<Entry> fEntries;
};

} // namespace GIFImage
