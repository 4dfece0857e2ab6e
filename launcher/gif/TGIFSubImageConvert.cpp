// Conversion of other pictures into a frame.
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/MemoryStream.h"
#include "launcher/gif/ReduceBitmapColors.h"
#include "launcher/gif/TGIFGraphicControlExtension.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFSubImage.h"

namespace GIFImage {

namespace {

Bitmap Drawn(const VectorPicture& picture, TGIFColor background)
{
    Bitmap canvas(picture.Width(), picture.Height(), pf24bit);
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            canvas.SetPixelColor(x, y, background);
    picture.Draw(canvas);
    return canvas;
}

} // namespace

void TGIFSubImage::Assign(const TGIFSubImage& source)
{
    FreeBitmap();
    if (&source == this)
        return;
    Clear();
    if (source.Empty())
        return;
    fDescriptor = source.fDescriptor;
    fData = source.fData;
    fColorMap.Assign(source.fColorMap);
    MemoryStream s;
    const_cast<TGIFExtensionList&>(source.fExtensions).SaveToStream(s);
    s.Seek(0);
    fExtensions.LoadFromStream(s, this);
    fTransparent = source.fTransparent;
}

void TGIFSubImage::Assign(const Bitmap& source)
{
    Clear();
    if (source.Empty())
        return;
    TPixelFormat format = source.PixelFormat();
    Bitmap kept;
    const Bitmap* picture = &source;
    if (format != pf1bit && format != pf4bit && format != pf8bit) {
        TColorReduction reduction = fGIFImage ? fGIFImage->ColorReduction() : TColorReduction::rmNetscape;
        TDitherMode mode = fGIFImage ? fGIFImage->DitherMode() : TDitherMode::dmNearest;
        int bits = fGIFImage ? fGIFImage->ReductionBits() : 8;
        // The palette a reduction to a given palette maps to is the image's.
        std::shared_ptr<const Palette> given;
        if (reduction == TColorReduction::rmPalette) {
            given = fGIFImage->GetPalette();
            if (!given || given->Count() == 0)
                throw GIFException(Msg::kNoColorTable);
        }
        kept = ReduceBitmapColors(source, reduction, mode, given ? *given : Palette{}, bits);
        // A reduction that gives no picture adds no empty frame.
        if (kept.Empty())
            throw GIFException(Msg::kInvalidReduction);
        picture = &kept;
    }
    SetBounds(Left(), Top(), picture->Width(), picture->Height());
    if (fGIFImage)
        fGIFImage->Progress(psStarting, 0, Msg::kConverting);
    try {
        const int w = Width(), h = Height();
        if (picture->PixelFormat() == pf1bit || picture->PixelFormat() == pf4bit
            || picture->PixelFormat() == pf8bit) {
            const Palette& p = picture->GetPalette();
            fColorMap.ImportColorMap(p.Entries.data(), p.Count());
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    fData[size_t(y) * size_t(w) + size_t(x)] = uint8_t(picture->PixelIndex(x, y));
        } else {
            // True colour unreduced: every colour gets an entry, the last
            // eight met answered from a ring.
            TGIFColor ring[8];
            int ringIndex[8], ringCount = 0, ringNext = 0;
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    TGIFColor c = picture->PixelColor(x, y);
                    int index = -1;
                    for (int k = 0; k < ringCount && index < 0; ++k) {
                        int at = (ringNext - 1 - k + 8) % 8;
                        if (ring[at] == c)
                            index = ringIndex[at];
                    }
                    if (index < 0) {
                        index = fColorMap.AddUnique(c);
                        ring[ringNext] = c;
                        ringIndex[ringNext] = index;
                        ringNext = (ringNext + 1) % 8;
                        ringCount = ringCount < 8 ? ringCount + 1 : 8;
                    }
                    fData[size_t(y) * size_t(w) + size_t(x)] = uint8_t(index);
                }
                if (fGIFImage && y % 32 == 31)
                    fGIFImage->Progress(psRunning, (y + 1) * 100 / h, Msg::kConverting);
            }
        }
        if (source.Transparent && source.Mask.size() == fData.size())
            ApplyMask(source.Mask);
    } catch (...) {
        if (fGIFImage)
            fGIFImage->Progress(psEnding, 0, Msg::kConverting);
        throw;
    }
    if (fGIFImage)
        fGIFImage->Progress(psEnding, 100, Msg::kConverting);
}

void TGIFSubImage::Assign(const Icon& source)
{
    Clear();
    if (source.Empty())
        return;
    const int w = source.Image.Width(), h = source.Image.Height();
    Bitmap canvas(w, h, pf24bit);
    std::vector<uint8_t> mask(size_t(w) * size_t(h), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bool clear = y < source.Mask.Height() && x < source.Mask.Width() && source.Mask.PixelIndex(x, y) != 0;
            mask[size_t(y) * size_t(w) + size_t(x)] = clear;
            if (!clear)
                canvas.SetPixelColor(x, y, source.Image.PixelColor(x, y));
        }
    Assign(canvas);
    ApplyMask(mask);
}

void TGIFSubImage::Assign(const VectorPicture& source)
{
    Clear();
    if (source.Width() <= 0 || source.Height() <= 0)
        return;
    Bitmap white = Drawn(source, TGIFColor{255, 255, 255});
    Bitmap black = Drawn(source, TGIFColor{0, 0, 0});
    std::vector<uint8_t> mask(size_t(white.Width()) * size_t(white.Height()), 0);
    for (int y = 0; y < white.Height(); ++y)
        for (int x = 0; x < white.Width(); ++x)
            mask[size_t(y) * size_t(white.Width()) + size_t(x)] = white.PixelColor(x, y) != black.PixelColor(x, y);
    Assign(white);
    ApplyMask(mask);
}

void TGIFSubImage::ApplyMask(const std::vector<uint8_t>& mask)
{
    FreeBitmap();
    if (mask.size() != fData.size())
        return;
    fColorMap.Optimize();
    int count = fColorMap.Count();
    if (count < 1 || count > 255)
        return;
    int index = fColorMap.Add(TGIFColor{});
    bool changed = false;
    for (size_t i = 0; i < fData.size(); ++i)
        if (mask[i]) {
            fData[i] = uint8_t(index);
            changed = true;
        }
    if (!changed) {
        fColorMap.Delete(index);
        return;
    }
    auto gce = std::make_unique<TGIFGraphicControlExtension>(this);
    TGIFGraphicControlExtension* g = gce.get();
    fExtensions.Add(std::move(gce));
    g->SetTransparentColorIndexRaw(uint8_t(index));
    g->SetTransparent(true);
}

} // namespace GIFImage
