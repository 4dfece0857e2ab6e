#pragma once
#include "launcher/gif/Bitmap.h"
#include "launcher/gif/GIFTypes.h"
#include "launcher/gif/Stream.h"

namespace GIFImage {

// A picture format as the toolkit's picture class sees it: read from and
// written to a stream, drawn into a rectangle of a canvas. Formats register
// themselves with the GraphicRegistry under a file extension and their
// class name.
class Graphic {
public:
    virtual ~Graphic() = default;
    virtual void LoadFromStream(Stream& s) = 0;
    virtual void SaveToStream(Stream& s) = 0;
    virtual void Draw(Bitmap& canvas, const TRect& rect) = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;
};

} // namespace GIFImage
