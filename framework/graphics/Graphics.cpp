#include "framework/graphics/Graphics.h"

#include "framework/app/StringUtil.h"
#include "framework/fonts/Font.h"
#include "framework/graphics/Display3DTarget.h"
#include "framework/graphics/Image.h"

#include <atomic>

namespace Zelk {

bool (*gIsDisplay3DTarget)(const Image*) = nullptr;

Image* Graphics::EmptyImage()
{
    static Image empty;
    return &empty;
}

Graphics::Graphics(Image* destImage)
{
    mDestImage = destImage ? destImage : EmptyImage();
    mClipRect = Rect(0, 0, mDestImage->mWidth, mDestImage->mHeight);
    mIs3D = IsDisplay3DTarget(destImage);
}

Graphics::Graphics(const Graphics& other) : GraphicsState(other) {}

Graphics::~Graphics() = default;

Graphics* Graphics::CreateCopy()
{
    return new Graphics(*this);
}

void Graphics::PushState()
{
    mStateStack.push_back(static_cast<const GraphicsState&>(*this));
}

void Graphics::PopState()
{
    if (mStateStack.empty())
        return;
    static_cast<GraphicsState&>(*this) = mStateStack.back();
    mStateStack.pop_back();
}

void Graphics::Translate(int dx, int dy)
{
    mTransX += float(dx);
    mTransY += float(dy);
}

void Graphics::ClipRect(int x, int y, int w, int h)
{
    mClipRect = mClipRect.Intersection(Rect(DestX(x), DestY(y), w, h));
}

void Graphics::FillRect(int x, int y, int w, int h)
{
    if (mColor.mAlpha == 0)
        return;
    Rect r = Rect(DestX(x), DestY(y), w, h).Intersection(mClipRect);
    mDestImage->FillRect(r, mColor, mDrawMode);
}

void Graphics::DrawRect(int x, int y, int w, int h)
{
    if (mColor.mAlpha == 0)
        return;
    int64_t dx = DestX(x), dy = DestY(y);
    const Rect& c = mClipRect;
    bool inside = dx >= c.mX && dy >= c.mY && dx + w + 1 <= int64_t(c.mX) + c.mWidth &&
                  dy + h + 1 <= int64_t(c.mY) + c.mHeight;
    if (inside) {
        mDestImage->DrawRect(Rect(int(dx), int(dy), w, h), mColor, mDrawMode);
        return;
    }
    FillRect(x, y, w + 1, 1);
    FillRect(x, y + h, w + 1, 1);
    FillRect(x, y + 1, 1, h - 1);
    FillRect(x + w, y + 1, 1, h - 1);
}

void Graphics::DrawString(const std::wstring& text, int x, int y)
{
    if (mFont)
        mFont->DrawString(this, x, y, text, mColor, mClipRect);
}

void Graphics::DrawImage(Image* image, int x, int y)
{
    if (!image)
        return;
    int dx = DestX(x), dy = DestY(y);
    Rect c = Rect(dx, dy, image->mWidth, image->mHeight).Intersection(mClipRect);
    if (c.mWidth >= 1 && c.mHeight >= 1)
        mDestImage->Blit(image, c.mX, c.mY, Rect(c.mX - dx, c.mY - dy, c.mWidth, c.mHeight), ImageColor(),
                         mDrawMode);
}

bool Graphics::SourceInside(const Image* image, const Rect& src) const
{
    return src.mX >= 0 && src.mY >= 0 && int64_t(src.mX) + src.mWidth <= image->mWidth &&
           int64_t(src.mY) + src.mHeight <= image->mHeight;
}

void Graphics::DrawImageRegion(Image* image, int x, int y, const Rect& src)
{
    if (!image || !SourceInside(image, src))
        return;
    int dx = DestX(x), dy = DestY(y);
    Rect c = Rect(dx, dy, src.mWidth, src.mHeight).Intersection(mClipRect);
    if (c.mWidth >= 1 && c.mHeight >= 1)
        mDestImage->Blit(image, c.mX, c.mY, Rect(src.mX + c.mX - dx, src.mY + c.mY - dy, c.mWidth, c.mHeight),
                         ImageColor(), mDrawMode);
}

namespace {

// A source rectangle from data that reaches outside its image is drawn as
// nothing; say so once.
void ReportBadSource(const Image* image, const Rect& src)
{
    static std::atomic<bool> reported{false};
    if (!reported.exchange(true))
        DebugPrint("Scaled draw skipped: source (%d, %d, %d, %d) outside a %d x %d image\n", src.mX, src.mY,
                   src.mWidth, src.mHeight, image->mWidth, image->mHeight);
}

} // namespace

void Graphics::DrawImageScaled(Image* image, int x, int y, int w, int h)
{
    if (!image)
        return;
    mDestImage->BlitStretched(image, Rect(DestX(x), DestY(y), w, h), Rect(0, 0, image->mWidth, image->mHeight),
                              mClipRect, ImageColor(), mDrawMode, mNearestStretch);
}

void Graphics::DrawImageRegionScaled(Image* image, const Rect& dest, const Rect& src)
{
    DrawImageRegionScaledMirror(image, dest, src, false);
}

void Graphics::DrawImageRegionScaledMirror(Image* image, const Rect& dest, const Rect& src, bool mirror)
{
    if (!image)
        return;
    if (!SourceInside(image, src)) {
        ReportBadSource(image, src);
        return;
    }
    Rect d(DestX(dest.mX), DestY(dest.mY), dest.mWidth, dest.mHeight);
    if (mirror)
        mDestImage->BlitStretchedMirrored(image, d, src, mClipRect, ImageColor(), mDrawMode, mNearestStretch);
    else
        mDestImage->BlitStretched(image, d, src, mClipRect, ImageColor(), mDrawMode, mNearestStretch);
}

void Graphics::DrawNineSlice(const Rect& src, const Rect& dest, Image* image)
{
    if (!image || src.mWidth < 1 || src.mHeight < 1)
        return;
    int cw = src.mWidth / 3, ch = src.mHeight / 3;
    int mw = src.mWidth - 2 * cw, mh = src.mHeight - 2 * ch;
    int dx = dest.mX, dy = dest.mY, dw = dest.mWidth, dh = dest.mHeight;
    int sx = src.mX, sy = src.mY;

    DrawImageRegion(image, dx, dy, Rect(sx, sy, cw, ch));
    DrawImageRegion(image, dx + dw - cw, dy, Rect(sx + cw + mw, sy, cw, ch));
    DrawImageRegion(image, dx, dy + dh - ch, Rect(sx, sy + ch + mh, cw, ch));
    DrawImageRegion(image, dx + dw - cw, dy + dh - ch, Rect(sx + cw + mw, sy + ch + mh, cw, ch));

    int across = (dw - 2 * cw + mw - 1) / mw;
    int down = (dh - 2 * ch + mh - 1) / mh;
    {
        Graphics g(*this);
        g.ClipRect(dx + cw, dy, dw - 2 * cw, dh);
        for (int k = 0; k < across; ++k) {
            g.DrawImageRegion(image, dx + cw + k * mw, dy, Rect(sx + cw, sy, mw, ch));
            g.DrawImageRegion(image, dx + cw + k * mw, dy + dh - ch, Rect(sx + cw, sy + ch + mh, mw, ch));
        }
    }
    {
        Graphics g(*this);
        g.ClipRect(dx, dy + ch, dw, dh - 2 * ch);
        for (int k = 0; k < down; ++k) {
            g.DrawImageRegion(image, dx, dy + ch + k * mh, Rect(sx, sy + ch, cw, mh));
            g.DrawImageRegion(image, dx + dw - cw, dy + ch + k * mh, Rect(sx + cw + mw, sy + ch, cw, mh));
        }
    }
    {
        Graphics g(*this);
        g.ClipRect(dx + cw, dy + ch, dw - 2 * cw, dh - 2 * ch);
        for (int i = 0; i < across; ++i)
            for (int j = 0; j < down; ++j)
                g.DrawImageRegion(image, dx + cw + i * mw, dy + ch + j * mh, Rect(sx + cw, sy + ch, mw, mh));
    }
}

void Graphics::DrawNineSliceImage(const Rect& dest, Image* image)
{
    if (image)
        DrawNineSlice(Rect(0, 0, image->mWidth, image->mHeight), dest, image);
}

} // namespace Zelk
