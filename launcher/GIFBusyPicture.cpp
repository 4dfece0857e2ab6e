#include "launcher/GIFBusyPicture.h"

#include "launcher/gif/GIFException.h"
#include "launcher/gif/GraphicRegistry.h"
#include "launcher/gif/MemoryStream.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFPainter.h"

namespace vorsel {

using namespace GIFImage;

GIFBusyPicture::GIFBusyPicture(plat::EventLoop& loop, plat::Clock& clock, const uint8_t* formData, size_t size)
    : mHost(loop, clock)
{
    MemoryStream stream(formData, size);
    std::unique_ptr<Graphic> graphic = GraphicRegistry::LoadFromFormData(stream);
    mImage.reset(dynamic_cast<TGIFImage*>(graphic.get()));
    if (!mImage)
        throw GraphicError("The busy picture is not a GIF image");
    graphic.release();
    if (mImage->Empty() || mImage->Width() <= 0 || mImage->Height() <= 0)
        throw GraphicError("The busy picture is empty");
    mImage->SetDrawBackgroundColor(0xFFFFFF); // the form's background
    mImage->SetPainterHost(&mHost);
    mImage->OnPaint = [this](TGIFPainter* painter) { mFrame = painter->ActiveImage(); };
    mImage->OnAfterPaint = [this](TGIFPainter*) { ++mPaintCount; };
    // A frame painted into the off-screen bitmap; not while this draws.
    mImage->OnChange = [this] {
        if (!mDrawing)
            Changed();
    };
}

GIFBusyPicture::~GIFBusyPicture()
{
    mImage.reset();
}

void GIFBusyPicture::Draw(const Canvas& canvas, int x, int y, int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    if (mTarget.Width() != width || mTarget.Height() != height)
        mTarget = Bitmap(width, height, pf32bit);
    // What lies behind, for the transparent parts.
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col) {
            const int cx = x + col, cy = y + row;
            const uint32_t c = cx >= 0 && cy >= 0 && cx < canvas.width && cy < canvas.height
                ? canvas.pixels[int64_t(cy) * canvas.stride + cx] : 0xFFFFFFFFu;
            mTarget.SetPixelColor(col, row, TGIFColor{uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
        }
    mDrawing = true;
    mImage->Draw(mTarget, TRect{0, 0, width, height});
    mDrawing = false;
    mPixels.resize(size_t(width) * size_t(height));
    for (int row = 0; row < height; ++row) {
        const uint8_t* p = mTarget.ScanLine(row);
        for (int col = 0; col < width; ++col, p += 4)
            mPixels[size_t(row) * size_t(width) + size_t(col)] =
                0xFF000000u | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
    canvas.Blit(x, y, mPixels.data(), width, height, width);
}

} // namespace vorsel
