#pragma once
// Row kernels with a 256-bit form chosen at run time on processors that have
// it; every form gives the bytes of the scalar definition.
#include <cstdint>

namespace Zelk {
namespace BlendRow {

// Saturating add of n colours whose alpha bytes are 0 (an image's additive
// form) to the destination pixels; the destination alpha stays.
void AddColors(uint32_t* d, const uint32_t* s, int n);

// Native premultiplied words over a 32-bit row: a word of alpha 0 leaves its
// pixel as it is, any other gives its colour plus the pixel's colour times
// (256 - alpha) / 256, and its own top byte.
void OverNativeSkip(uint32_t* d, const uint32_t* s, int n);

// The same onto a 5-6-5 row: the words hold the premultiplied 5-6-5 colour
// in their low half. Each channel of the pixel keeps floor(channel x
// ((256 - alpha) >> 3) / 32), then the colour is added as a 16-bit number.
void OverNativeSkip565(uint16_t* d, const uint32_t* s, int n);

// out[i] = row[index[i]] for each i below n; every index lies in the row of
// width pixels, and nothing outside it is read.
void Gather(uint32_t* out, const uint32_t* row, int width, const int* index, int n);

// Blend::OverSeparate of each s[i] onto d[i]. Groups of pixels that are all
// opaque blend at once; any others one at a time.
void OverSeparate(uint32_t* d, const uint32_t* s, int n);

// Native words added to a 32-bit row with the 8-8-8 layout: a word whose
// colour is 0 leaves its pixel as it is (its top byte too); any other adds
// its colour channel by channel, each ending at 255, and clears the top byte.
void AddNativeSkip(uint32_t* d, const uint32_t* s, int n);

// The low halves of native words (5-6-5 colours) added to a 5-6-5 row, each
// channel ending at its largest value.
void AddNative565(uint16_t* d, const uint32_t* s, int n);

// Each pixel blended with its own alpha onto an opaque destination:
// D x (256 - sa) >> 8 plus S x sa >> 8, red and green truncated once, blue
// twice, alpha 255 (Blend::OverPacked with w = sa, n = 255). The run-length
// blit's translucent runs.
void OverOwnAlphaOpaque(uint32_t* d, const uint32_t* s, int n);

// The unmodulated blit onto a destination of any alpha: a source alpha of 0
// leaves the pixel; any other gives Blend::OverPacked(d, s, w, n) with
// n = Blend::OverAlpha(da, sa) and w = sa x 255 / n (so w = sa, n = 255 onto
// an opaque pixel).
void OverAnyAlpha(uint32_t* d, const uint32_t* s, int n);

// The smooth stretch's blend of unpremultiplied pixels: a source alpha a of
// 0 leaves the pixel; any other gives per channel
// min((D x (256 - a) >> 8) + (a x S >> 8), 255) and alpha
// Blend::OverAlpha(da, a).
void SmoothOver(uint32_t* d, const uint32_t* s, int n);

// A translucent fill over opaque pixels, eight at a time where the processor
// has 256-bit vectors: per channel (D x inv + add) >> 8, alpha 255 (inv and
// the adds as FillOverRow in BlendRow.h takes them). Stops before the first
// group of eight that holds a pixel that is not opaque, or fewer than eight
// pixels, and returns how many pixels it filled; the rest is the caller's.
// Without 256-bit vectors it fills nothing.
int FillOverOpaque(uint32_t* d, int n, uint32_t inv, uint32_t addR, uint32_t addG, uint32_t addB);

} // namespace BlendRow
} // namespace Zelk
