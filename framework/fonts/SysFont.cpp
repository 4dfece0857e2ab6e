#include "framework/fonts/SysFont.h"

#include "framework/app/ZelkAppBase.h"
#include "framework/fonts/TextAlphaRecovery.h"
#include "framework/fonts/TextSurface.h"
#include "framework/graphics/Display3DTarget.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/SysFontMaker.h"
#include "platform/Platform.h"
#include "platform/text/TextDevice.h"

#include <vector>

namespace Zelk {

SysFont::SysFont(const std::string& face, int pointSize, bool bold, bool italic, bool underline) : mApp(gAppBase)
{
    Create(face, pointSize, 96, 0, bold, italic, underline);
}

SysFont::SysFont(ZelkAppBase* app, const std::string& face, int pointSize, int charset, bool bold, bool italic,
                 bool underline)
    : mApp(app)
{
    plat::TextDevice* device = plat::Get().text;
    Create(face, pointSize, device ? device->LogPixelsY() : 96, charset, bold, italic, underline);
}

SysFont::SysFont(const SysFont& other) : Font(other), mApp(other.mApp)
{
    plat::TextDevice* device = plat::Get().text;
    if (other.mFont && device)
        mFont = device->CreateFont(other.mFont->Desc());
    mAscent = other.mAscent;
    mHeight = other.mHeight;
}

SysFont::~SysFont() = default;

void SysFont::Create(const std::string& face, int pointSize, int dpi, int charset, bool bold, bool italic,
                     bool underline)
{
    plat::TextDevice* device = plat::Get().text;
    if (!device)
        return;
    plat::TextFontDesc desc;
    desc.face = face;
    desc.height = plat::MulDiv(pointSize, dpi, 72);
    desc.weight = bold ? 700 : 400;
    desc.italic = italic;
    desc.underline = underline;
    desc.charset = charset;
    mFont = device->CreateFont(desc);
    TakeMetrics();
}

void SysFont::TakeMetrics()
{
    mAscent = mFont ? mFont->Metrics().ascent : 0;
    mHeight = mFont ? mFont->Metrics().height : 0;
}

Font* SysFont::Duplicate()
{
    return new SysFont(*this);
}

int SysFont::StringWidth(const std::wstring& text)
{
    return mFont ? mFont->Extent(text) : 0;
}

void SysFont::DrawPasses(const plat::TextTarget& target, int left, int top, const std::wstring& text, uint32_t rgb)
{
    if (mDrawShadow) {
        mFont->Draw(target, left + 1, top + 1, text, 0);
        if (mSimulateBold)
            mFont->Draw(target, left + 2, top + 1, text, 0);
    }
    mFont->Draw(target, left, top, text, rgb);
    if (mSimulateBold)
        mFont->Draw(target, left + 1, top, text, rgb);
}

void SysFont::DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color, const Rect& clip)
{
    if (!mFont || !g || text.empty())
        return;
    if (TextSurface* surface = dynamic_cast<TextSurface*>(g->mDestImage))
        DrawOnSurface(g, surface, x, y, text, color, clip);
    else
        DrawThroughImage(g, x, y, text, color);
}

void SysFont::DrawOnSurface(Graphics* g, TextSurface* surface, int x, int y, const std::wstring& text,
                            const Color& color, const Rect& clip)
{
    if (!surface->EnsureTextSurface())
        return;
    bool relock = surface->TextSurfaceLockCount() > 0;
    if (relock)
        surface->SuspendSurfaceLock();
    if (IsDisplay3DTarget(g->mDestImage) && mApp && mApp->Is3DAccelerated())
        surface->EndRendererScene();
    plat::TextTarget dc;
    if (surface->GetTextDC(dc)) {
        dc.IntersectClip(clip.mX, clip.mY, int(int64_t(clip.mX) + clip.mWidth), int(int64_t(clip.mY) + clip.mHeight));
        int left = int(float(x) + g->mTransX);
        int top = int(float(y - mAscent + 1) + g->mTransY);
        uint32_t rgb = uint32_t(color.mRed & 0xFF) << 16 | uint32_t(color.mGreen & 0xFF) << 8 |
                       uint32_t(color.mBlue & 0xFF);
        DrawPasses(dc, left, top, text, rgb);
        surface->ReleaseTextDC();
        surface->DropMemoryCopies();
    }
    if (relock && !surface->ResumeSurfaceLock())
        surface->ResetSurfaceLock();
}

void SysFont::DrawThroughImage(Graphics* g, int x, int y, const std::wstring& text, const Color& color)
{
    if (g->mDestImage == Graphics::EmptyImage())
        return;
    if (StringWidth(text) <= 0 || mHeight <= 0)
        return;
    // The bitmap covers the cells and all ink of the text, which may reach
    // beyond the cells (accents above capitals), plus the shadow and bold
    // passes one and two pixels further.
    plat::TextFont::Box ink = mFont->InkBox(text);
    int w = ink.right - ink.left + 2, h = ink.bottom - ink.top + 1;
    size_t count = 0;
    if (!MemoryImage::CheckedPixelCount(w, h, count))
        return;
    std::vector<uint32_t> onWhite(count, 0xFFFFFF), onBlack(count, 0);
    uint32_t rgb = uint32_t(color.mRed & 0xFF) << 16 | uint32_t(color.mGreen & 0xFF) << 8 |
                   uint32_t(color.mBlue & 0xFF);
    DrawPasses(plat::TextTarget::Bitmap32(onWhite.data(), w, h), -ink.left, -ink.top, text, rgb);
    DrawPasses(plat::TextTarget::Bitmap32(onBlack.data(), w, h), -ink.left, -ink.top, text, rgb);
    for (size_t i = 0; i < count; ++i)
        onWhite[i] = RecoverTextPixel(onWhite[i], onBlack[i]);
    MemoryImage image(mApp);
    image.SetBits(onWhite.data(), w, h);
    g->DrawImage(&image, x + ink.left, y - mAscent + ink.top);
}

namespace {

Font* MakeWidgetSysFont(ZelkAppBase* app, const std::string& face, int pointSize, int charset)
{
    return new SysFont(app, face, pointSize, charset);
}

} // namespace

void InstallSysFontMaker()
{
    if (!gSysFontMaker)
        gSysFontMaker = &MakeWidgetSysFont;
}

void RemoveSysFontMaker()
{
    if (gSysFontMaker == &MakeWidgetSysFont)
        gSysFontMaker = nullptr;
}

} // namespace Zelk
