// Drawing of a frame onto a canvas.
#include "launcher/gif/DitherFactory.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/Palettes.h"
#include "launcher/gif/TGIFGraphicControlExtension.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFSubImage.h"
#include "launcher/gif/TNetscapeColorLookup.h"
#include <algorithm>

namespace GIFImage {

TRect TGIFSubImage::PlaceIn(const TRect& rect) const
{
    const int iw = fGIFImage && fGIFImage->Width() > 0 ? fGIFImage->Width() : Width();
    const int ih = fGIFImage && fGIFImage->Height() > 0 ? fGIFImage->Height() : Height();
    return TRect{rect.Left + MulDiv(Left(), rect.Width(), iw), rect.Top + MulDiv(Top(), rect.Height(), ih),
        rect.Left + MulDiv(Left() + Width(), rect.Width(), iw), rect.Top + MulDiv(Top() + Height(), rect.Height(), ih)};
}

std::unique_ptr<Bitmap> TGIFSubImage::BuildBitmap() const
{
    auto progress = [this](TProgressStage stage, int percent) {
        if (fGIFImage)
            fGIFImage->Progress(stage, percent, Msg::kRendering);
    };
    progress(psStarting, 0);
    auto bitmap = std::make_unique<Bitmap>(Width(), Height(), pf8bit);
    try {
        const TGIFColorMap& map = ActiveColorMap();
        const bool dither = fGIFImage && fGIFImage->Dithers();
        bitmap->SetPalette(dither ? Palettes::Web() : map.ExportPalette());
        if (!Empty()) {
            const int transparentIndex = fTransparent && fGraphicControlExtension
                ? fGraphicControlExtension->TransparentColorIndex() : -1;
            std::vector<uint8_t> mask(size_t(Width()) * size_t(Height()), 0);
            bool masked = false;
            TNetscapeColorLookup web;
            std::unique_ptr<TDitherEngine> ditherer;
            int fill = 0;
            if (dither) {
                ditherer = CreateDitherer(TDitherMode::dmFloydSteinberg, Width(), &web);
                if (transparentIndex >= 0) {
                    const TGIFColor t = map.ColorAt(transparentIndex);
                    int r, g, b;
                    fill = web.Lookup(t.Red, t.Green, t.Blue, r, g, b);
                }
            }
            TGIFColor colours[256] = {};
            for (int i = 0; i < map.Count(); ++i)
                colours[i] = map.Data()[i];
            for (int y = 0; y < Height(); ++y) {
                const uint8_t* in = fData.data() + size_t(y) * size_t(Width());
                uint8_t* out = bitmap->ScanLine(y);
                uint8_t* maskRow = mask.data() + size_t(y) * size_t(Width());
                for (int i = 0; i < Width(); ++i) {
                    // The ditherer walks in serpentine order; plain copies go left to right.
                    const int x = ditherer ? ditherer->Column() : i;
                    const uint8_t p = in[x];
                    if (p == transparentIndex) {
                        maskRow[x] = 1;
                        masked = true;
                        if (ditherer) {
                            ditherer->Skip();
                            out[x] = uint8_t(fill);
                            continue;
                        }
                    }
                    if (ditherer) {
                        int r, g, b;
                        out[x] = uint8_t(ditherer->Dither(colours[p].Red, colours[p].Green, colours[p].Blue, r, g, b));
                    } else {
                        out[x] = p;
                    }
                }
                if (ditherer)
                    ditherer->NextLine();
                if (y % 32 == 31)
                    progress(psRunning, (y + 1) * 100 / Height());
            }
            if (masked) {
                bitmap->Transparent = true;
                bitmap->Mask = std::move(mask);
            }
        }
    } catch (...) {
        progress(psEnding, 0);
        throw;
    }
    progress(psEnding, 100);
    return bitmap;
}

const Bitmap& TGIFSubImage::GetBitmap() const
{
    std::lock_guard<std::mutex> guard(fBitmapLock);
    if (!fBitmap)
        fBitmap = BuildBitmap();
    return *fBitmap;
}

void TGIFSubImage::AssignTo(Bitmap& dest) const
{
    dest = GetBitmap();
    dest.OnChange = nullptr;
}

bool TGIFSubImage::HasBitmap() const
{
    std::lock_guard<std::mutex> guard(fBitmapLock);
    return fBitmap != nullptr;
}

void TGIFSubImage::FreeBitmap()
{
    std::lock_guard<std::mutex> guard(fBitmapLock);
    fBitmap.reset();
    fPalette.reset();
}

std::shared_ptr<const Palette> TGIFSubImage::GetPalette()
{
    {
        std::lock_guard<std::mutex> guard(fBitmapLock);
        if (fBitmap && fBitmap->GetPalette().Count() > 0)
            return std::make_shared<Palette>(fBitmap->GetPalette());
        if (fPalette)
            return fPalette;
        if (fGIFImage && fGIFImage->Dithers())
            return fPalette = std::make_shared<Palette>(Palettes::Web());
        if (fColorMap.Count() > 0)
            return fPalette = std::make_shared<Palette>(fColorMap.ExportPalette());
    }
    return fGIFImage ? fGIFImage->GetPalette() : nullptr;
}

void TGIFSubImage::Draw(Bitmap& canvas, const TRect& rect, bool transparent, bool tile) const
{
    if (Empty())
        return;
    const TRect whole{0, 0, canvas.Width(), canvas.Height()};
    if (!tile) {
        DrawAt(canvas, PlaceIn(rect), whole, transparent);
        return;
    }
    // Copies of the frame at its size, at steps of the image's size, inside rect.
    const int iw = fGIFImage && fGIFImage->Width() > 0 ? fGIFImage->Width() : Width();
    const int ih = fGIFImage && fGIFImage->Height() > 0 ? fGIFImage->Height() : Height();
    const TRect clip{std::max(rect.Left, 0), std::max(rect.Top, 0), std::min(rect.Right, whole.Right),
        std::min(rect.Bottom, whole.Bottom)};
    for (int64_t y = int64_t(rect.Top) + Top(); y < clip.Bottom; y += ih)
        for (int64_t x = int64_t(rect.Left) + Left(); x < clip.Right; x += iw)
            if (x + Width() > clip.Left && y + Height() > clip.Top)
                DrawAt(canvas, TRect{int(x), int(y), int(x) + Width(), int(y) + Height()}, clip, transparent);
}

void TGIFSubImage::DrawAt(Bitmap& canvas, const TRect& place, const TRect& clip, bool transparent) const
{
    if (place.Width() <= 0 || place.Height() <= 0)
        return;
    // The frame's bitmap gives the colours (entries past its palette are
    // black); the transparent index, as it stands now, leaves the canvas.
    const Bitmap& bitmap = GetBitmap();
    uint32_t colours[256] = {};
    const Palette& palette = bitmap.GetPalette();
    for (int i = 0; i < palette.Count() && i < 256; ++i)
        colours[i] = RGB2Color(palette.Entries[size_t(i)]);
    const int skip = transparent && fTransparent && fGraphicControlExtension
        ? fGraphicControlExtension->TransparentColorIndex() : -1;
    const int x0 = std::max({place.Left, clip.Left, 0}), x1 = std::min({place.Right, clip.Right, canvas.Width()});
    const int y0 = std::max({place.Top, clip.Top, 0}), y1 = std::min({place.Bottom, clip.Bottom, canvas.Height()});
    for (int y = y0; y < y1; ++y) {
        const int sy = int(int64_t(y - place.Top) * Height() / place.Height());
        const uint8_t* row = fData.data() + size_t(sy) * size_t(Width());
        const uint8_t* shown = bitmap.ScanLine(sy);
        for (int x = x0; x < x1; ++x) {
            const int64_t sx = int64_t(x - place.Left) * Width() / place.Width();
            if (row[sx] == skip)
                continue;
            canvas.SetPixelColor(x, y, Color2RGB(colours[shown[sx]]));
        }
    }
}

} // namespace GIFImage
