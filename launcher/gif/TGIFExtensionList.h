#pragma once
#include "launcher/gif/TGIFList.h"

namespace GIFImage {

class TGIFExtension;

// The extensions that precede one frame.
class TGIFExtensionList : public TGIFList {
public:
    using TGIFList::TGIFList;
    TGIFExtension* Extension(int index) const;
    void LoadFromStream(Stream& s, TGIFItem* parent) override;
};

} // namespace GIFImage
