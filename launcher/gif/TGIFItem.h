#pragma once
#include "launcher/gif/GIFTypes.h"
#include "launcher/gif/Stream.h"
#include <string>

namespace GIFImage {

class TGIFImage;

// A part of a GIF file: header, frame, extension or trailer.
class TGIFItem {
public:
    explicit TGIFItem(TGIFImage* image) : fGIFImage(image) {}
    virtual ~TGIFItem() = default;
    TGIFItem(const TGIFItem&) = delete;
    TGIFItem& operator=(const TGIFItem&) = delete;

    TGIFImage* Image() const { return fGIFImage; }
    virtual TGIFVersion Version() const { return gv87a; }
    // Forwards to the owning image with this item as sender.
    virtual void Warning(TGIFSeverity severity, const std::string& message) const;
    virtual void SaveToStream(Stream& s) = 0;
    virtual void LoadFromStream(Stream& s) = 0;
    void SaveToFile(const std::string& filename);
    void LoadFromFile(const std::string& filename);

protected:
    TGIFImage* fGIFImage;
};

} // namespace GIFImage
