#pragma once
#include "launcher/gif/TGIFItem.h"

namespace GIFImage {

// The ";" that ends a GIF stream.
class TGIFTrailer : public TGIFItem {
public:
    using TGIFItem::TGIFItem;
    void LoadFromStream(Stream& s) override;
    void SaveToStream(Stream& s) override;
};

} // namespace GIFImage
