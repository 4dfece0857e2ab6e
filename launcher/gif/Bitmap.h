#pragma once
#include "launcher/gif/GIFTypes.h"
#include "launcher/gif/Palette.h"
#include <functional>
#include <memory>
#include <vector>

namespace GIFImage {

enum TPixelFormat { pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit };

// A canvas's device context as a painter sees it: it lives as long as its
// bitmap or until released; a copied bitmap gets a context of its own.
class CanvasHandle {
public:
    CanvasHandle() : fToken(std::make_shared<char>()) {}
    CanvasHandle(const CanvasHandle&) : CanvasHandle() {}
    CanvasHandle& operator=(const CanvasHandle&) { return *this; }
    std::weak_ptr<char> Watch() const { return fToken; }
    // The context goes away (a new one is made for later drawing).
    void Release() { fToken = std::make_shared<char>(); }

private:
    std::shared_ptr<char> fToken;
};

// A bitmap in memory: rows from the top, 1, 4 or 8 bits of palette index
// (most significant bits first), or 24 bits (blue, green, red) or 32 bits
// (blue, green, red, unused) of colour. Indexed pixels read through a full
// 256-entry table, black past the palette, so every index is safe.
class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height, TPixelFormat format);

    int Width() const { return fWidth; }
    int Height() const { return fHeight; }
    bool Empty() const { return fWidth == 0 || fHeight == 0; }
    TPixelFormat PixelFormat() const { return fFormat; }
    static int BitsOf(TPixelFormat format);
    int RowBytes() const { return fRowBytes; }
    uint8_t* ScanLine(int y) { return fBits.data() + size_t(y) * size_t(fRowBytes); }
    const uint8_t* ScanLine(int y) const { return fBits.data() + size_t(y) * size_t(fRowBytes); }
    Palette& GetPalette() { return fPalette; }
    const Palette& GetPalette() const { return fPalette; }
    void SetPalette(const Palette& p) { fPalette = p; }

    // The colour of a pixel in any format.
    TGIFColor PixelColor(int x, int y) const;
    void SetPixelColor(int x, int y, TGIFColor c); // 24 and 32 bits
    int PixelIndex(int x, int y) const;            // 1, 4 and 8 bits
    void SetPixelIndex(int x, int y, int index);
    // Copies a w x h block of a bitmap to (dx, dy), clipped to both.
    void CopyRect(int dx, int dy, const Bitmap& source, int sx, int sy, int w, int h);
    // Copies the block src of a bitmap into dest, stretched (nearest pixel,
    // the source column of x is (x - dest.Left) x src width / dest width),
    // clipped to both.
    void StretchRect(const TRect& dest, const Bitmap& source, const TRect& src);
    // Fills a rectangle (clipped) with a colour.
    void FillRect(const TRect& rect, TGIFColor color);
    // Converts the pixels to another format; to an indexed format only from
    // an indexed one of the same palette.
    void SetPixelFormat(TPixelFormat format);

    // Reports a change of the pixels (called by whoever drew on it).
    void Changed() const
    {
        if (OnChange)
            OnChange();
    }
    std::function<void()> OnChange;
    CanvasHandle Handle;

    bool Transparent = false;
    // 1-bit mask (a set bit marks a transparent pixel), used when Transparent.
    std::vector<uint8_t> Mask; // Width x Height, one byte per pixel, 0 or 1

private:
    int fWidth = 0, fHeight = 0, fRowBytes = 0;
    TPixelFormat fFormat = pf24bit;
    std::vector<uint8_t> fBits;
    Palette fPalette;
};

} // namespace GIFImage
