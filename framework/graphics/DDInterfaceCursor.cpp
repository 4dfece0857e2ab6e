// The program-drawn cursor. It is drawn centred in a 64 x 64 area centred on
// the cursor position; what lies under it is kept in the old cursor area, and
// the new cursor area composes the cursor over its background before it goes
// onto the surface. A move touches only the two areas, never the frame.
#include "framework/graphics/DDImage.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/Graphics.h"

namespace Zelk {

namespace {

bool Empty(const plat::DDRect& r) { return r.right <= r.left || r.bottom <= r.top; }

plat::DDRect Intersect(const plat::DDRect& a, const plat::DDRect& b)
{
    plat::DDRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                   std::min(a.bottom, b.bottom)};
    if (Empty(r))
        return plat::DDRect{};
    return r;
}

plat::DDRect Offset(const plat::DDRect& r, int dx, int dy)
{
    return plat::DDRect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

} // namespace

void DDInterface::PrepareCursorImage()
{
    // The cursor thread draws the image: build what drawing it reads now,
    // under the lock, so no two threads build it at once.
    MemoryImage* image = dynamic_cast<MemoryImage*>(mCursorImage);
    if (!image || mBitDepth == 0)
        return;
    image->AnalyzeBits();
    image->GetNativeBits(this);
    image->GetAlphaRunLengths();
    image->GetAdditiveRunLengths(this);
}

bool DDInterface::SetCursorImage(Image* image)
{
    CritSectGuard g(mCritSect);
    if (image == mCursorImage)
        return false;
    mCursorImage = image;
    PrepareCursorImage();
    return true;
}

void DDInterface::SetCursorPosition(int x, int y)
{
    mCursorX = x;
    mCursorY = y;
    // A frame being presented draws the cursor at the newest position itself.
    if (mInRedraw)
        return;
    CritSectGuard g(mCritSect);
    if (mHasOldCursorArea) {
        MoveCursor(mPrimarySurface, true, x, y);
    } else {
        mCursorDrawnX = x;
        mCursorDrawnY = y;
        DrawCursor(mPrimarySurface, true);
    }
}

DDInterface::CursorRect DDInterface::CursorRectAt(int x, int y, const Rect& bounds, bool toScreen) const
{
    const Rect area(x - mCursorWidth / 2, y - mCursorHeight / 2, mCursorWidth, mCursorHeight);
    const Rect c = area.Intersection(bounds);
    CursorRect r;
    r.inArea = plat::DDRect{c.mX - area.mX, c.mY - area.mY, c.mX - area.mX + c.mWidth, c.mY - area.mY + c.mHeight};
    r.onSurface = plat::DDRect{c.mX, c.mY, c.mX + c.mWidth, c.mY + c.mHeight};
    if (toScreen) {
        int ox, oy;
        ClientOrigin(ox, oy);
        r.onSurface = Offset(r.onSurface, ox, oy);
    }
    return r;
}

bool DDInterface::SaveUnderCursor(plat::DDSurface* surface, plat::DDSurface* area, CursorRect& r)
{
    if (area->Blt(&r.inArea, surface, &r.onSurface, plat::DDBLT_WAIT, nullptr) >= 0)
        return true;
    // Partly off the primary: keep the part that is on it and try once more.
    const plat::DDRect screen{0, 0, mPrimarySurface->Width(), mPrimarySurface->Height()};
    const plat::DDRect clipped = Intersect(r.onSurface, screen);
    r.inArea = plat::DDRect{r.inArea.left + clipped.left - r.onSurface.left, r.inArea.top + clipped.top - r.onSurface.top,
                            r.inArea.left + clipped.right - r.onSurface.left,
                            r.inArea.top + clipped.bottom - r.onSurface.top};
    r.onSurface = clipped;
    return area->Blt(&r.inArea, surface, &r.onSurface, plat::DDBLT_WAIT, nullptr) >= 0;
}

void DDInterface::DrawCursorInto(DDImage* target, int x, int y)
{
    Graphics g(target);
    g.DrawImage(mCursorImage, x, y);
}

void DDInterface::DrawCursor(plat::DDSurface* surface, bool toScreen)
{
    if (!mCursorImage || !mPrimarySurface || !surface) {
        mHasOldCursorArea = false;
        return;
    }
    const int x = mCursorDrawnX, y = mCursorDrawnY;
    CursorRect r = CursorRectAt(x, y, mPresentationRect, toScreen);
    mHasOldCursorArea = SaveUnderCursor(surface, mOldCursorArea, r);
    const int imageX = (mCursorWidth - mCursorImage->mWidth) / 2;
    const int imageY = (mCursorHeight - mCursorImage->mHeight) / 2;
    if (surface == mDrawSurface && !mIs3D && mScreenImage) {
        DrawCursorInto(mScreenImage, x - mCursorWidth / 2 + imageX, y - mCursorHeight / 2 + imageY);
        return;
    }
    mNewCursorArea->Blt(nullptr, mOldCursorArea, nullptr, plat::DDBLT_WAIT, nullptr);
    DrawCursorInto(mNewCursorAreaImage, imageX, imageY);
    surface->Blt(&r.onSurface, mNewCursorArea, &r.inArea, plat::DDBLT_WAIT, nullptr);
}

void DDInterface::RestoreCursorArea(plat::DDSurface* surface, bool toScreen)
{
    if (!mHasOldCursorArea || !mPrimarySurface || !surface)
        return;
    CursorRect r = CursorRectAt(mCursorDrawnX, mCursorDrawnY, Rect(0, 0, mWidth, mHeight), toScreen);
    surface->Blt(&r.onSurface, mOldCursorArea, &r.inArea, plat::DDBLT_WAIT, nullptr);
    mHasOldCursorArea = false;
}

void DDInterface::MoveCursor(plat::DDSurface* surface, bool toScreen, int x, int y)
{
    if (!mCursorImage || !mPrimarySurface || !surface) {
        mHasOldCursorArea = false;
        return;
    }
    const int oldX = mCursorDrawnX, oldY = mCursorDrawnY;
    CursorRect oldR = CursorRectAt(oldX, oldY, mPresentationRect, toScreen);
    CursorRect newR = CursorRectAt(x, y, mPresentationRect, toScreen);
    SaveUnderCursor(surface, mNewCursorArea, newR);

    const int imageX = (mCursorWidth - mCursorImage->mWidth) / 2;
    const int imageY = (mCursorHeight - mCursorImage->mHeight) / 2;
    const plat::DDRect overlap = Intersect(oldR.onSurface, newR.onSurface);
    if (!Empty(overlap)) {
        // Under the overlap the surface shows the old cursor: its background
        // is in the old area. And the old area, put back, must not wipe out
        // the new cursor: draw the new cursor into it.
        const plat::DDRect from = Offset(overlap, oldR.inArea.left - oldR.onSurface.left,
                                         oldR.inArea.top - oldR.onSurface.top);
        const plat::DDRect to = Offset(overlap, newR.inArea.left - newR.onSurface.left,
                                       newR.inArea.top - newR.onSurface.top);
        mNewCursorArea->Blt(&to, mOldCursorArea, &from, plat::DDBLT_WAIT, nullptr);
        DrawCursorInto(mOldCursorAreaImage, x - oldX + imageX, y - oldY + imageY);
    }
    surface->Blt(&oldR.onSurface, mOldCursorArea, &oldR.inArea, plat::DDBLT_WAIT, nullptr);
    mOldCursorArea->Blt(nullptr, mNewCursorArea, nullptr, plat::DDBLT_WAIT, nullptr);
    DrawCursorInto(mNewCursorAreaImage, imageX, imageY);
    surface->Blt(&newR.onSurface, mNewCursorArea, &newR.inArea, plat::DDBLT_WAIT, nullptr);
    mCursorDrawnX = x;
    mCursorDrawnY = y;
}

} // namespace Zelk
