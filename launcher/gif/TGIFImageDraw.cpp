// Drawing and the painters of TGIFImage.
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/Palettes.h"
#include "launcher/gif/PainterHost.h"
#include "launcher/gif/ScreenIsPaletted.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFPainter.h"
#include "launcher/gif/TGIFSubImage.h"
#include <algorithm>
#include <thread>

namespace GIFImage {

TColor TGIFImage::DrawBackgroundColor() const
{
    if (fDrawBackgroundColor != kNoColor)
        return fDrawBackgroundColor;
    if (GlobalColorMap().Count() == 0)
        return 0xFFFFFF; // the system's window colour
    return BackgroundColor();
}

void TGIFImage::SetDrawOptions(unsigned options)
{
    if (options == fDrawOptions)
        return;
    StopDraw();
    fDrawOptions = options;
    FreeBitmaps(); // dithering may have changed
    Changed();
}

bool TGIFImage::Dithers() const
{
    return (fDrawOptions & goDither) && (!(fDrawOptions & goAutoDither) || ScreenIsPaletted());
}

void TGIFImage::FreeBitmaps()
{
    for (int i = 0; i < fImages.Count(); ++i)
        fImages.SubImage(i)->FreeBitmap();
    fPalette.reset();
}

std::shared_ptr<const Palette> TGIFImage::GetPalette()
{
    if (fInsideGetPalette)
        throw GIFException(Msg::kNoColorTable);
    fInsideGetPalette = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{fInsideGetPalette};
    if (fBitmap && fBitmap->GetPalette().Count() > 0)
        return std::make_shared<Palette>(fBitmap->GetPalette());
    if (fPalette)
        return fPalette;
    if (Dithers())
        return fPalette = std::make_shared<Palette>(Palettes::Web());
    if (GlobalColorMap().Count() > 0)
        return fPalette = std::make_shared<Palette>(GlobalColorMap().ExportPalette());
    if (!Empty())
        return fImages.SubImage(0)->GetPalette();
    return nullptr;
}

void TGIFImage::SetPalette(std::shared_ptr<const Palette> palette)
{
    const bool same = palette == fPalette || (palette && fPalette && *palette == *fPalette);
    if (same)
        return;
    fPalette = std::move(palette);
    if (fBitmap && !(fPalette && fBitmap->GetPalette() == *fPalette)) {
        StopDraw();
        fPaletteModified = true;
        Changed();
    }
}

void TGIFImage::SetAnimationSpeed(int value)
{
    value = std::clamp(value, 0, 1000);
    if (value == fAnimationSpeed)
        return;
    fAnimationSpeed = value;
    std::lock_guard<std::recursive_mutex> guard(fPaintersLock);
    for (auto& p : fPainters)
        p->SetAnimationSpeed(value);
}

std::shared_ptr<TGIFPainter> TGIFImage::Paint(Bitmap& canvas, const TRect& rect, unsigned options)
{
    if (Empty() || rect.Width() <= 0 || rect.Height() <= 0)
        return nullptr;
    if (fImages.Count() == 1 || !fHost)
        options &= ~(fImages.Count() == 1 ? goAsync | goAnimate : goAsync);
    auto painter = std::make_shared<TGIFPainter>(this, fHost, &canvas, rect, options);
    painter->OnStartPaint = OnStartPaint;
    painter->OnPaint = OnPaint;
    painter->OnAfterPaint = OnAfterPaint;
    painter->OnLoop = OnLoop;
    painter->OnEndPaint = OnEndPaint;
    if (!painter->Async()) {
        if (!fHost) {
            // Without a host a synchronous animation cannot wait: one frame.
            TGIFSubImage* frame = fImages.SubImage(StillFrame());
            frame->Draw(canvas, rect, options & goTransparent);
            return nullptr;
        }
        painter->Execute();
        return nullptr;
    }
    std::lock_guard<std::recursive_mutex> guard(fPaintersLock);
    fPainters.erase(std::remove_if(fPainters.begin(), fPainters.end(), [](auto& p) { return p->Ended(); }),
        fPainters.end());
    fPainters.push_back(painter);
    painter->Start();
    return painter;
}

Bitmap& TGIFImage::MakeBitmap()
{
    // The screen may be 65535 x 65535 whatever the frames are: it is held to
    // the frame limit too.
    if (uint64_t(Width()) * uint64_t(Height()) > fMaxFramePixels)
        throw GIFException(Msg::kInvalidDimensions);
    fBitmap = std::make_unique<Bitmap>(Width(), Height(), pf32bit);
    fBitmap->OnChange = [this] { Changed(); };
    return *fBitmap;
}

Bitmap* TGIFImage::GetBitmap()
{
    if (Empty())
        return nullptr;
    if (!fBitmap) {
        Bitmap& bitmap = MakeBitmap();
        bitmap.FillRect(TRect{0, 0, Width(), Height()}, Color2RGB(DrawBackgroundColor()));
        fImages.SubImage(0)->Draw(bitmap, TRect{0, 0, Width(), Height()}, false);
    }
    return fBitmap.get();
}

void TGIFImage::DrawBitmap(Bitmap& canvas, const TRect& rect)
{
    const int w = fBitmap->Width(), h = fBitmap->Height();
    if (w <= 0 || h <= 0)
        return;
    if (!(fDrawOptions & goTile)) {
        canvas.StretchRect(rect, *fBitmap, TRect{0, 0, w, h});
        return;
    }
    for (int64_t y = rect.Top; y < rect.Bottom; y += h)
        for (int64_t x = rect.Left; x < rect.Right; x += w) {
            const int cw = int(std::min<int64_t>(w, rect.Right - x)), ch = int(std::min<int64_t>(h, rect.Bottom - y));
            canvas.CopyRect(int(x), int(y), *fBitmap, 0, 0, cw, ch);
        }
}

void TGIFImage::Draw(Bitmap& canvas, const TRect& rect)
{
    if (fIsDrawing || Empty())
        return;
    fIsDrawing = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{fIsDrawing};
    if (fImages.Count() == 1 || !(fDrawOptions & goAnimate)) {
        TGIFSubImage* frame = fImages.SubImage(StillFrame());
        frame->Draw(canvas, rect, fDrawOptions & goTransparent, fDrawOptions & goTile);
        return;
    }
    const bool direct = fDrawOptions & goDirectDraw;
    if (fBitmap && !direct) {
        DrawBitmap(canvas, rect);
        return;
    }
    std::lock_guard<std::recursive_mutex> guard(fPaintersLock);
    if (fDrawPainter && fDrawCanvas == &canvas && fDrawRect == rect)
        return; // it goes on
    StopDraw();
    Bitmap* target = &canvas;
    TRect area = rect;
    if (!direct) {
        // What lies behind shows through transparent parts.
        target = &MakeBitmap();
        area = TRect{0, 0, Width(), Height()};
        target->StretchRect(area, canvas, rect);
    }
    fDrawCanvas = &canvas;
    fDrawRect = rect;
    fDrawPainter = Paint(*target, area, fDrawOptions);
    if (direct || !fBitmap)
        return;
    if (fDrawPainter) {
        while (!fDrawPainter->Started() && !fDrawPainter->Ended()) {
            if (fHost && fHost->IsGuiThread())
                fHost->ProcessPending();
            std::this_thread::yield();
        }
    }
    DrawBitmap(canvas, rect);
}

void TGIFImage::WaitForEnd(TGIFPainter& painter)
{
    while (!painter.Ended()) {
        if (fHost && fHost->IsGuiThread())
            fHost->ProcessPending();
        std::this_thread::yield();
    }
    painter.Join();
}

void TGIFImage::StopDraw()
{
    std::shared_ptr<TGIFPainter> painter;
    {
        std::lock_guard<std::recursive_mutex> guard(fPaintersLock);
        painter = std::move(fDrawPainter);
        fDrawPainter.reset();
    }
    if (painter) {
        painter->Stop();
        WaitForEnd(*painter);
    }
    fBitmap.reset();
    fDrawCanvas = nullptr;
}

void TGIFImage::PaintStart()
{
    std::lock_guard<std::recursive_mutex> guard(fPaintersLock);
    for (auto& p : fPainters)
        p->Resume();
}

void TGIFImage::PaintPause()
{
    std::lock_guard<std::recursive_mutex> guard(fPaintersLock);
    for (auto& p : fPainters)
        p->Pause();
}

void TGIFImage::PaintResume()
{
    PaintStart();
}

void TGIFImage::PaintRestart()
{
    std::lock_guard<std::recursive_mutex> guard(fPaintersLock);
    for (auto& p : fPainters)
        p->Restart();
}

int TGIFImage::PainterCount()
{
    std::lock_guard<std::recursive_mutex> guard(fPaintersLock);
    return int(std::count_if(fPainters.begin(), fPainters.end(), [](auto& p) { return !p->Ended(); }));
}

void TGIFImage::PaintStop()
{
    std::vector<std::shared_ptr<TGIFPainter>> painters;
    {
        std::lock_guard<std::recursive_mutex> guard(fPaintersLock);
        painters.swap(fPainters);
        fDrawPainter.reset();
    }
    for (auto it = painters.rbegin(); it != painters.rend(); ++it)
        (*it)->Stop();
    // A painter may be waiting for the GUI thread: keep its closures running.
    for (auto& p : painters) {
        WaitForEnd(*p);
        p->DetachImage();
    }
    fBitmap.reset();
    fDrawCanvas = nullptr;
}

} // namespace GIFImage
