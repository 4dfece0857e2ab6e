// Fills and the plain blit of memory images, normal and additive.
#include "framework/graphics/BlendRow.h"
#include "framework/graphics/ImageSource.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/PixelBlend.h"
#include "framework/graphics/SaturationTable.h"
#include "framework/graphics/WideRows.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace Zelk {

namespace {

Rect ImageBounds(const Image* image)
{
    return Rect(0, 0, image->mWidth, image->mHeight);
}

// Case 1: unmodulated source onto an opaque destination, by the source's
// alpha runs: opaque runs are copied, transparent runs skipped.
template <typename Rows>
void BlitRuns(uint32_t* dst, int dstStride, int x, int y, Rows rows, const uint8_t* runs, int srcStride,
              const Rect& sr)
{
    for (int j = 0; j < sr.mHeight; ++j) {
        rows.SetRow(sr.mY + j, sr.mX);
        const uint8_t* run = runs + size_t(sr.mY + j) * size_t(srcStride) + sr.mX;
        uint32_t* d = dst + size_t(y + j) * size_t(dstStride) + x;
        int i = 0;
        while (i < sr.mWidth) {
            int n = std::min<int>(run[i], sr.mWidth - i);
            uint32_t first = rows[i];
            uint32_t a = first >> 24;
            if constexpr (std::is_same_v<Rows, DirectRows>) {
                // Runs of one kind split only by their length limit go to the
                // row kernels as one.
                auto kind = [](uint32_t alpha) { return alpha == 0 ? 0 : alpha == 255 ? 2 : 1; };
                while (i + n < sr.mWidth && kind(rows[i + n] >> 24) == kind(a))
                    n += std::min<int>(run[i + n], sr.mWidth - i - n);
                if (a == 255)
                    BlendRow::Copy(d + i, rows.row + i, n);
                else if (a != 0)
                    BlendRow::OverOwnAlphaOpaque(d + i, rows.row + i, n);
            } else if (a == 255) {
                for (int k = i; k < i + n; ++k)
                    d[k] = rows[k];
            } else if (a != 0) {
                for (int k = i; k < i + n; ++k) {
                    uint32_t s = rows[k];
                    d[k] = Blend::OverPacked(d[k], s, s >> 24, 255);
                }
            }
            i += n;
        }
    }
}

// Case 2: unmodulated source, general destination. wide: whole rows go
// through the row kernel (not for an image drawn onto itself, where the pixel
// by pixel order decides what each read sees).
template <typename Rows>
void BlitWhite(uint32_t* dst, int dstStride, int x, int y, Rows rows, const Rect& sr, bool wide)
{
    for (int j = 0; j < sr.mHeight; ++j) {
        rows.SetRow(sr.mY + j, sr.mX);
        uint32_t* d = dst + size_t(y + j) * size_t(dstStride) + x;
        if constexpr (std::is_same_v<Rows, DirectRows>) {
            if (wide) {
                BlendRow::OverAnyAlpha(d, rows.row, sr.mWidth);
                continue;
            }
        }
        for (int i = 0; i < sr.mWidth; ++i) {
            const uint32_t s = rows[i];
            BlendRow::OverAnyAlpha(d + i, &s, 1);
        }
    }
}

// Cases 3 and 4: modulated by a grey level or a colour.
template <bool Grey, typename Rows>
void BlitModulated(uint32_t* dst, int dstStride, int x, int y, Rows rows, const Rect& sr, const Color& color)
{
    uint32_t ca = uint32_t(color.mAlpha);
    uint32_t cr = uint32_t(color.mRed), cg = uint32_t(color.mGreen), cb = uint32_t(color.mBlue);
    for (int j = 0; j < sr.mHeight; ++j) {
        rows.SetRow(sr.mY + j, sr.mX);
        uint32_t* d = dst + size_t(y + j) * size_t(dstStride) + x;
        for (int i = 0; i < sr.mWidth; ++i) {
            uint32_t s = rows[i];
            uint32_t a = (s >> 24) * ca / 255;
            if (a == 0)
                continue;
            uint32_t dp = d[i];
            uint32_t n = Blend::OverAlpha(dp >> 24, a);
            uint32_t w = a * 255 / n;
            d[i] = Grey ? Blend::OverPackedGrey(dp, s, w, n, cr) : Blend::OverPackedColor(dp, s, w, n, cr, cg, cb);
        }
    }
}

// addend: the source's alpha-weighted colours (null: weigh them here).
template <typename Rows>
void BlitAdd(uint32_t* dst, int dstStride, int x, int y, Rows rows, const Rect& sr, const Color& color,
             bool srcHasAlpha, const uint32_t* addend, int srcStride)
{
    const uint8_t* t = GetSaturationTable();
    bool white = color == Color::White;
    uint32_t ca = uint32_t(color.mAlpha);
    uint32_t mr = uint32_t(color.mRed) * ca / 255, mg = uint32_t(color.mGreen) * ca / 255,
             mb = uint32_t(color.mBlue) * ca / 255;
    for (int j = 0; j < sr.mHeight; ++j) {
        rows.SetRow(sr.mY + j, sr.mX);
        uint32_t* d = dst + size_t(y + j) * size_t(dstStride) + x;
        if constexpr (std::is_same_v<Rows, DirectRows>) {
            if (white && addend) {
                BlendRow::AddColors(d, addend + size_t(sr.mY + j) * size_t(srcStride) + sr.mX, sr.mWidth);
                continue;
            }
            if (white) {
                BlendRow::AddWhite(d, rows.row, sr.mWidth, srcHasAlpha, t);
                continue;
            }
        }
        for (int i = 0; i < sr.mWidth; ++i) {
            uint32_t s = rows[i];
            uint32_t sr8 = (s >> 16) & 0xFF, sg8 = (s >> 8) & 0xFF, sb8 = s & 0xFF, sa = s >> 24;
            uint32_t ar, ag, ab;
            if (white) {
                if (srcHasAlpha) {
                    ar = (sr8 * sa) >> 8;
                    ag = (sg8 * sa) >> 8;
                    ab = (sb8 * sa) >> 8;
                } else {
                    ar = sr8;
                    ag = sg8;
                    ab = sb8;
                }
            } else if (srcHasAlpha) {
                ar = (sr8 * mr * sa) >> 16;
                ag = (sg8 * mg * sa) >> 16;
                ab = (((sb8 * mb) >> 8) * sa) >> 8;
            } else {
                ar = (sr8 * mr) >> 8;
                ag = (sg8 * mg) >> 8;
                ab = (sb8 * mb) >> 8;
            }
            uint32_t dp = d[i];
            d[i] = (dp & 0xFF000000) | (uint32_t(t[((dp >> 16) & 0xFF) + ar]) << 16) |
                   (uint32_t(t[((dp >> 8) & 0xFF) + ag]) << 8) | t[(dp & 0xFF) + ab];
        }
    }
}

} // namespace

void MemoryImage::FillRect(const Rect& rect, const Color& color, int)
{
    Rect r = rect.Intersection(ImageBounds(this));
    uint32_t* bits = GetBits();
    if (!bits)
        return;
    uint32_t packed = color.ToInt();
    uint32_t a = packed >> 24;
    if (a == 255) {
        for (int j = 0; j < r.mHeight; ++j) {
            uint32_t* d = bits + size_t(r.mY + j) * size_t(mWidth) + r.mX;
            std::fill(d, d + r.mWidth, packed);
        }
        MarkBitsChanged();
        return;
    }
    // The blend depends on the destination alpha only: one entry per alpha,
    // each giving the new alpha and the colour's share of every channel. The
    // table of the last translucent colour is kept, so runs of fills with one
    // colour build it once.
    struct Entry {
        uint32_t alpha, inv, r, g, b;
        bool keep;
    };
    thread_local Entry table[256];
    thread_local uint32_t tableColor = 0xFF000000; // opaque: never a translucent colour
    if (tableColor != packed) {
        tableColor = packed;
        uint32_t sr = (packed >> 16) & 0xFF, sg = (packed >> 8) & 0xFF, sb = packed & 0xFF;
        for (uint32_t da = 0; da < 256; ++da) {
            uint32_t n = Blend::OverAlpha(da, a);
            Entry& e = table[da];
            e.keep = n == 0;
            uint32_t w = e.keep ? 0 : a * 255 / n;
            e.alpha = n << 24;
            e.inv = 256 - w;
            e.r = sr * w;
            e.g = sg * w;
            e.b = sb * w;
        }
    }
    auto blendOne = [](uint32_t p) {
        const Entry& e = table[p >> 24];
        if (e.keep)
            return p;
        return e.alpha | ((((p >> 16) & 0xFF) * e.inv + e.r) >> 8) << 16 | ((((p >> 8) & 0xFF) * e.inv + e.g) >> 8) << 8 |
               (((p & 0xFF) * e.inv + e.b) >> 8);
    };
    const Entry& opaque = table[255];
    for (int j = 0; j < r.mHeight; ++j) {
        uint32_t* d = bits + size_t(r.mY + j) * size_t(mWidth) + r.mX;
        // Wide steps over opaque pixels; a group holding any other pixel,
        // and the end of the row, go through the narrow kernel.
        for (int i = 0; i < r.mWidth;) {
            i += BlendRow::FillOverOpaque(d + i, r.mWidth - i, opaque.inv, opaque.r, opaque.g, opaque.b);
            const int k = std::min(8, r.mWidth - i);
            BlendRow::FillOverRow(d + i, k, opaque.inv, opaque.r, opaque.g, opaque.b, blendOne);
            i += k;
        }
    }
    MarkBitsChanged();
}

void MemoryImage::ClearRect(const Rect& rect)
{
    Rect r = rect.Intersection(ImageBounds(this));
    uint32_t* bits = GetBits();
    if (!bits)
        return;
    for (int j = 0; j < r.mHeight; ++j)
        std::memset(bits + size_t(r.mY + j) * size_t(mWidth) + r.mX, 0, size_t(r.mWidth) * sizeof(uint32_t));
    MarkBitsChanged();
}

void MemoryImage::Blit(Image* image, int x, int y, const Rect& srcRect, const Color& anyColor, int drawMode)
{
    const Color color = anyColor.Masked();
    if (drawMode != DRAWMODE_NORMAL && drawMode != DRAWMODE_ADDITIVE)
        return;
    MemoryImage* src = BlitSource(image);
    if (!src)
        return;

    // Keep every read and write inside the two images; the offsets are
    // worked out in 64 bits, so no position or size can wrap.
    Rect sr = srcRect.Intersection(ImageBounds(src));
    int64_t left = int64_t(x) + sr.mX - srcRect.mX, top = int64_t(y) + sr.mY - srcRect.mY;
    int64_t clipLeft = std::max<int64_t>(left, 0), clipTop = std::max<int64_t>(top, 0);
    int64_t clipRight = std::min<int64_t>(left + sr.mWidth, mWidth);
    int64_t clipBottom = std::min<int64_t>(top + sr.mHeight, mHeight);
    if (clipRight <= clipLeft || clipBottom <= clipTop) {
        sr = Rect(0, 0, 0, 0);
        clipLeft = clipTop = 0;
    } else {
        sr = Rect(int(sr.mX + clipLeft - left), int(sr.mY + clipTop - top), int(clipRight - clipLeft),
                  int(clipBottom - clipTop));
    }
    x = int(clipLeft);
    y = int(clipTop);

    ImageSource source;
    uint32_t* dst = source.OpenPair(src, this);
    if (!dst)
        return;
    if (sr.mWidth > 0 && sr.mHeight > 0) {
        if (drawMode == DRAWMODE_ADDITIVE) {
            src->AnalyzeBits();
            bool hasAlpha = src->mHasAlpha;
            const uint32_t* addend = color == Color::White && src != this ? src->GetAdditiveColors() : nullptr;
            source.WithRows(
                [&](auto rows) { BlitAdd(dst, mWidth, x, y, rows, sr, color, hasAlpha, addend, src->mWidth); });
        } else if (color == Color::White && !mHasAlpha && !mHasTransparency) {
            const uint8_t* runs = src->GetAlphaRunLengths();
            if (runs)
                source.WithRows([&](auto rows) { BlitRuns(dst, mWidth, x, y, rows, runs, src->mWidth, sr); });
        } else if (color == Color::White) {
            source.WithRows([&](auto rows) { BlitWhite(dst, mWidth, x, y, rows, sr, src != this); });
        } else if (color.mRed == color.mGreen && color.mGreen == color.mBlue) {
            source.WithRows([&](auto rows) { BlitModulated<true>(dst, mWidth, x, y, rows, sr, color); });
        } else {
            source.WithRows([&](auto rows) { BlitModulated<false>(dst, mWidth, x, y, rows, sr, color); });
        }
    }
    MarkBitsChanged();
}

} // namespace Zelk
