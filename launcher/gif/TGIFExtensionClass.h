#pragma once
#include "launcher/gif/Stream.h"
#include <memory>

namespace GIFImage {

class TGIFExtension;
class TGIFSubImage;

// What the registries keep of an extension class: its parent, how to make
// one, and how to find the more specific class of the data that follows.
struct TGIFExtensionClass {
    const char* Name;
    const TGIFExtensionClass* Parent;
    std::unique_ptr<TGIFExtension> (*Create)(TGIFSubImage* subImage);
    // Null: the class answers itself.
    const TGIFExtensionClass* (*FindSubExtension)(const TGIFExtensionClass& self, Stream& s);

    bool InheritsFrom(const TGIFExtensionClass& other) const
    {
        for (const TGIFExtensionClass* c = this; c; c = c->Parent)
            if (c == &other)
                return true;
        return false;
    }
    const TGIFExtensionClass* FindSub(Stream& s) const
    {
        return FindSubExtension ? FindSubExtension(*this, s) : this;
    }
};

} // namespace GIFImage
