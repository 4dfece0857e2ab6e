// The smooth stretch against a plain two-pass model of it: full-size
// buffers, every tap applied, no shortcut for whole-pixel runs. The blit
// must give the same bytes for every scale, clip and pixel form.
#include "GraphicsFixtures.h"

#include "framework/graphics/StretchMapping.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <random>

using namespace Zelk;
using namespace Zelk::test;

namespace {

struct Tap {
    int src, dst, weight;
};

std::vector<Tap> ModelTaps(double pos, double len, int start, int count, int dstLen, int scale)
{
    std::vector<Tap> taps;
    auto inArea = [&](int i) { return std::min(std::max(i, start), start + count - 1); };
    if (dstLen >= len) {
        double step = dstLen == 1 ? len : (len - 1) / (dstLen - 1);
        for (int i = 0; i < dstLen; ++i) {
            double p = pos + i * step;
            int ip = int(std::floor(p));
            int w0 = int((1.0 - (p - ip)) * scale);
            taps.push_back({inArea(ip), i + 1, w0});
            taps.push_back({inArea(ip + 1), i + 1, scale - w0});
        }
    } else {
        double s = dstLen / len;
        for (int c = 0; c < count; ++c) {
            double p = (c + start - pos) * s + 1;
            int lo = int(std::floor(p)), hi = int(std::floor(p + s));
            if (lo == hi)
                taps.push_back({start + c, lo, int(s * scale)});
            else {
                taps.push_back({start + c, lo, int((hi - p) * scale)});
                taps.push_back({start + c, hi, int((p + s - hi) * scale)});
            }
        }
    }
    for (Tap& t : taps)
        t.dst = std::min(std::max(t.dst, 0), dstLen + 3);
    return taps;
}

// Channel k of v is (sum of source channel x horizontal x vertical weight)
// >> 16, capped at 255; the result is blended with a = alpha:
// channel = (D x (256 - a)) >> 8 + (a x v) >> 8, alpha = da + (255 - da) a / 255.
void ModelStretch(std::vector<uint32_t>& dst, int dstWidth, const std::vector<uint32_t>& src, int srcWidth,
                  int srcHeight, const Rect& destRect, const Rect& srcRect, const Rect& clip, int dstHeight)
{
    Rect sr = srcRect.Intersection(Rect(0, 0, srcWidth, srcHeight));
    Rect cd;
    DoubleRect cs;
    if (!StretchSourceRect(destRect, sr, clip.Intersection(Rect(0, 0, dstWidth, dstHeight)), false, cd, cs))
        return;
    int ax = std::max(0, int(std::floor(cs.mX))), ay = std::max(0, int(std::floor(cs.mY)));
    int aw = std::min(int(std::ceil(cs.mX - std::floor(cs.mX) + cs.mWidth)), srcWidth - ax);
    int ah = std::min(int(std::ceil(cs.mY - std::floor(cs.mY) + cs.mHeight)), srcHeight - ay);
    if (aw <= 0 || ah <= 0)
        return;
    int bw = cd.mWidth + 4, bh = cd.mHeight + 4;
    auto h = ModelTaps(cs.mX, cs.mWidth, ax, aw, cd.mWidth, 257);
    auto v = ModelTaps(cs.mY, cs.mHeight, ay, ah, cd.mHeight, 256);
    std::vector<int64_t> rows(size_t(ah) * bw * 4), out(size_t(bh) * bw * 4);
    for (int r = 0; r < ah; ++r)
        for (const Tap& t : h)
            for (int k = 0; k < 4; ++k)
                rows[(size_t(r) * bw + t.dst) * 4 + k] +=
                    int64_t((src[size_t(ay + r) * srcWidth + t.src] >> (8 * k)) & 0xFF) * t.weight;
    for (const Tap& t : v)
        for (int i = 0; i < bw * 4; ++i)
            out[size_t(t.dst) * bw * 4 + i] += rows[size_t(t.src - ay) * bw * 4 + i] * t.weight;
    for (int j = 0; j < cd.mHeight; ++j)
        for (int i = 0; i < cd.mWidth; ++i) {
            uint32_t c[4];
            for (int k = 0; k < 4; ++k)
                c[k] = uint32_t(std::min<int64_t>(out[(size_t(j + 1) * bw + i + 1) * 4 + k] >> 16, 255));
            uint32_t a = c[3];
            uint32_t& d = dst[size_t(cd.mY + j) * dstWidth + cd.mX + i];
            if (a == 0)
                continue;
            uint32_t da = d >> 24, result = (da + (255 - da) * a / 255) << 24;
            for (int k = 0; k < 3; ++k)
                result |= std::min<uint32_t>(((((d >> (8 * k)) & 0xFF) * (256 - a)) >> 8) + ((a * c[k]) >> 8), 255)
                          << (8 * k);
            d = result;
        }
}

// Alphas 0 and 255 in about a third of the pixels each, any other value
// in the rest; colours at random.
uint32_t RandomPixel(std::mt19937& rng)
{
    uint32_t rgb = rng() & 0x00FFFFFF;
    switch (rng() % 3) {
    case 0:
        return rgb;
    case 1:
        return rgb | 0xFF000000u;
    default:
        return rgb | (rng() & 0xFF000000u);
    }
}

} // namespace

TEST(SmoothStretch, MatchesTheTwoPassModel)
{
    std::mt19937 rng(21);
    enum Kind { Unscaled, UnscaledClipped, Enlarge, Shrink, Mixed, OutsideSource, Kinds };
    for (int round = 0; round < 600; ++round) {
        const Kind kind = Kind(round % Kinds);
        const bool palette = round % 7 == 3;
        // Text-like sources: pixels of 0 in every byte, whole rows of them and
        // the rest around a run of others, wider than the stretch's groups of
        // eight (pixels of 0 add nothing and are skipped).
        const bool sparse = !palette && round % 3 == 1;
        int sw = 1 + int(rng() % (sparse ? 60 : 24)), sh = 1 + int(rng() % 24);
        std::vector<uint32_t> src(size_t(sw) * sh);
        std::vector<uint32_t> colors(1 + rng() % 16);
        for (auto& c : colors)
            c = RandomPixel(rng);
        for (auto& p : src)
            p = palette ? colors[rng() % colors.size()] : RandomPixel(rng);
        if (sparse)
            for (int y = 0; y < sh; ++y) {
                const int from = rng() % 2 ? sw : int(rng() % sw), to = from + int(rng() % (sw - from + 1));
                for (int x = 0; x < sw; ++x)
                    if (x < from || x >= to)
                        src[size_t(y) * sw + x] = 0;
            }
        int dw = 1 + int(rng() % 40), dh = 1 + int(rng() % 40);
        std::vector<uint32_t> dst(size_t(dw) * dh);
        for (auto& p : dst)
            p = RandomPixel(rng);

        Rect srcRect(int(rng() % sw), int(rng() % sh), 0, 0);
        srcRect.mWidth = 1 + int(rng() % (sw - srcRect.mX));
        srcRect.mHeight = 1 + int(rng() % (sh - srcRect.mY));
        Rect destRect(int(rng() % dw) - 3, int(rng() % dh) - 3, srcRect.mWidth, srcRect.mHeight);
        Rect clip(-5, -5, 100, 100);
        switch (kind) {
        case Unscaled:
            break;
        case UnscaledClipped:
            clip = Rect(int(rng() % dw), int(rng() % dh), 1 + int(rng() % dw), 1 + int(rng() % dh));
            break;
        case Enlarge:
            destRect.mWidth = srcRect.mWidth * (1 + int(rng() % 4)) + int(rng() % 3);
            destRect.mHeight = srcRect.mHeight * (1 + int(rng() % 4)) + int(rng() % 3);
            break;
        case Shrink:
            destRect.mWidth = 1 + int(rng() % srcRect.mWidth);
            destRect.mHeight = 1 + int(rng() % srcRect.mHeight);
            break;
        case Mixed: // one axis grows, the other shrinks, clipped to sub-pixel source edges
            destRect.mWidth = srcRect.mWidth * 3 + 1;
            destRect.mHeight = 1 + int(rng() % srcRect.mHeight);
            clip = Rect(destRect.mX + 1, destRect.mY, destRect.mWidth - 2, destRect.mHeight);
            break;
        case OutsideSource: // a source rectangle reaching past the image is cut to it
            srcRect = Rect(int(rng() % sw) - 2, int(rng() % sh) - 2, sw, sh);
            destRect.mWidth = sw;
            destRect.mHeight = sh;
            break;
        default:
            break;
        }

        std::vector<uint32_t> want = dst;
        ModelStretch(want, dw, src, sw, sh, destRect, srcRect, clip, dh);
        auto s = MakeImage(sw, sh, src);
        if (palette) {
            ASSERT_TRUE(s->Palettize());
        }
        auto d = MakeImage(dw, dh, dst);
        d->BlitStretched(s.get(), destRect, srcRect, clip, Color::White, DRAWMODE_NORMAL, false);
        ASSERT_EQ(Pixels(*d), want) << "round " << round << " kind " << kind << " src " << sw << "x" << sh << " "
                                    << srcRect.mX << "," << srcRect.mY << " " << srcRect.mWidth << "x"
                                    << srcRect.mHeight << " dest " << destRect.mX << "," << destRect.mY << " "
                                    << destRect.mWidth << "x" << destRect.mHeight;
    }
}
