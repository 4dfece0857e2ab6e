#pragma once
#include "launcher/gif/TGIFExtensionClass.h"
#include "launcher/gif/TGIFItem.h"

namespace GIFImage {

class TGIFSubImage;

// A block introduced by "!" and a label, belonging to one frame.
class TGIFExtension : public TGIFItem {
public:
    explicit TGIFExtension(TGIFSubImage* subImage);
    TGIFSubImage* SubImage() const { return fSubImage; }
    virtual uint8_t ExtensionType() const = 0;
    virtual const TGIFExtensionClass& ClassOf() const = 0;
    TGIFVersion Version() const override { return gv89a; }

protected:
    // Reads "!" and checks the label against ExtensionType.
    void ReadIntroducer(Stream& s) const;
    void WriteIntroducer(Stream& s) const;

    TGIFSubImage* fSubImage;
};

} // namespace GIFImage
