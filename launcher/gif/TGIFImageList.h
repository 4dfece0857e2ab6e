#pragma once
#include "launcher/gif/TGIFList.h"

namespace GIFImage {

class TGIFSubImage;

// The frames of an image.
class TGIFImageList : public TGIFList {
public:
    using TGIFList::TGIFList;
    TGIFSubImage* SubImage(int index) const;
    void LoadFromStream(Stream& s, TGIFItem* parent) override;
};

} // namespace GIFImage
