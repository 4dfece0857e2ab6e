#pragma once
#include "launcher/BusyPicture.h"
#include "launcher/LoopPainterHost.h"
#include "launcher/gif/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace plat {
class Clock;
class EventLoop;
}

namespace GIFImage {
class TGIFImage;
}

namespace vorsel {

// Image1's animated picture: a GIF read from the form's picture data and
// drawn by the GIF unit. Its first drawing starts the painter thread, which
// paints each frame into the image's off-screen bitmap on the loop's thread;
// every frame is reported there as a change, and each drawing copies the
// off-screen bitmap into the rectangle.
class GIFBusyPicture : public BusyPicture {
public:
    // formData: a length byte and the class name "TGIFImage", then the GIF
    // stream. Bad data raises the GIF unit's GraphicError.
    GIFBusyPicture(plat::EventLoop& loop, plat::Clock& clock, const uint8_t* formData, size_t size);
    // Stops the painter and waits for its thread.
    ~GIFBusyPicture() override;
    GIFBusyPicture(const GIFBusyPicture&) = delete;
    GIFBusyPicture& operator=(const GIFBusyPicture&) = delete;

    void Draw(const Canvas& canvas, int x, int y, int width, int height) override;

    // The frame painted last (-1 before the first) and how many were painted.
    int Frame() const { return mFrame; }
    int PaintCount() const { return mPaintCount; }
    const GIFImage::TGIFImage& Image() const { return *mImage; }

private:
    LoopPainterHost mHost;
    std::unique_ptr<GIFImage::TGIFImage> mImage;
    // The control's own canvas: the image draws into it, it goes to the form's.
    GIFImage::Bitmap mTarget;
    std::vector<uint32_t> mPixels;
    bool mDrawing = false;
    int mFrame = -1;
    int mPaintCount = 0;
};

} // namespace vorsel
