#pragma once
#include "launcher/gif/TGIFExtensionClass.h"
#include <array>
#include <vector>

namespace GIFImage {

// The registry of application identifiers (8 + 3 bytes), made on first use.
class TAppExtensionList {
public:
    using Ident = std::array<char, 11>;
    static TAppExtensionList& Instance();
    void Add(const Ident& ident, const TGIFExtensionClass& cls);
    // Compares all 11 bytes, from the last entry backwards.
    const TGIFExtensionClass* FindExt(const Ident& ident) const;

private:
    TAppExtensionList();
    struct Entry {
        Ident Identifier;
        const TGIFExtensionClass* Class;
    };
    std::vector<Entry> fEntries;
};

} // namespace GIFImage
