// The frame-rate overlay of the debug keys: small images with the frame rate
// (or the mouse position) and, while a demo plays back, the time left, drawn
// over the finished frame.
#include "framework/app/DebugOverlay.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/fonts/SysFont.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/Graphics.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/clock/Clock.h"

namespace Zelk {

void ZelkAppBase::RedrawOverlayImage(DDImage*& image, const std::wstring& text)
{
    DDInterface* dd = mDDInterface;
    if (!dd)
        return;
    if (!mOverlayFont)
        mOverlayFont = new SysFont(this, "Tahoma", 8, 0);
    if (!image) {
        image = new DDImage(dd);
        image->Create(DebugOverlay::kWidth, mOverlayFont->GetHeight() + 4);
        image->SetAlphaKind(false, false); // an opaque box: copied as it is
    }
    {
        Graphics g(image);
        g.SetColor(Color(DebugOverlay::kBackColor));
        g.FillRect(0, 0, image->mWidth, image->mHeight);
        g.SetFont(mOverlayFont);
        g.SetColor(Color(DebugOverlay::kTextColor));
        g.DrawString(text, 2, mOverlayFont->GetAscent());
    }
    // The drawing operations of the surface image keep its forms and its
    // change count current themselves.
}

void ZelkAppBase::PrepareOverlay()
{
    if (!mShowFPS)
        return;
    std::wstring text;
    if (mShowFPSMode == 0) {
        if (gDebugOverlay.UpdateFPS(plat::TimeGetTime(), text) || !mOverlayImage)
            RedrawOverlayImage(mOverlayImage, text.empty() ? L"FPS: 0" : text);
    } else {
        RedrawOverlayImage(mOverlayImage, DebugOverlay::MousePosText(mWidgetManager->mLastMouseX,
                                                                     mWidgetManager->mLastMouseY));
    }
    if (mPlayingDemo && gDebugOverlay.UpdateDemoTime(plat::GetTickCount(), mUpdateMultiplier, mDemoRecordedEnd,
                                                     mUpdateCount, mUpdatePeriod, text))
        RedrawOverlayImage(mDemoTimeImage, text);
}

void ZelkAppBase::DrawOverlayImages()
{
    DDInterface* dd = mDDInterface;
    if (!mShowFPS || !mOverlayImage || !dd || !dd->GetScreenImage())
        return;
    Graphics g(dd->GetScreenImage());
    const int x = mWidth - mOverlayImage->mWidth - 10;
    const int y = mHeight - mOverlayImage->mHeight - 10;
    g.DrawImage(mOverlayImage, x, y);
    if (mPlayingDemo && mDemoTimeImage)
        g.DrawImage(mDemoTimeImage, mWidth - mDemoTimeImage->mWidth - 10,
                    mHeight - mOverlayImage->mHeight - mDemoTimeImage->mHeight - 15);
}

void ZelkAppBase::DeleteOverlay()
{
    delete mOverlayImage;
    mOverlayImage = nullptr;
    delete mDemoTimeImage;
    mDemoTimeImage = nullptr;
    delete mOverlayFont;
    mOverlayFont = nullptr;
}

} // namespace Zelk
