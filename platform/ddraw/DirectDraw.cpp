#include "platform/ddraw/DirectDraw.h"
#include "platform/Platform.h"
#include "platform/clock/Clock.h"
#include "platform/cpu/CpuFeatures.h"
#include "platform/modules/Modules.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include "platform/cpu/WideIntrinsics.h"
#define ZELK_PRESENT_X86 1
#endif

namespace plat {

namespace {

int LowBit(uint32_t mask)
{
    for (int i = 0; i < 32; ++i)
        if (mask & (1u << i))
            return i;
    return 0;
}

int BitCount(uint32_t mask)
{
    int n = 0;
    for (; mask; mask &= mask - 1)
        ++n;
    return n;
}

// How one channel of a format expands to 8 bits.
struct ChannelExpand {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    explicit ChannelExpand(uint32_t m) : mask(m), shift(m ? LowBit(m) : 0), bits(BitCount(m)) {}
    uint32_t operator()(uint32_t p) const
    {
        if (!mask)
            return 0;
        uint32_t v = (p & mask) >> shift;
        return bits >= 8 ? v >> (bits - 8) : (v << (8 - bits)) | (v >> (2 * bits - 8 > 0 ? 2 * bits - 8 : 0));
    }
};

// Expands pixels of a format to 0xAARRGGBB (opaque unless the format has alpha).
struct ARGBExpand {
    ChannelExpand r, g, b, a;
    explicit ARGBExpand(const DDPixelFormat& f) : r(f.rBitMask), g(f.gBitMask), b(f.bBitMask), a(f.alphaBitMask) {}
    uint32_t operator()(uint32_t p) const
    {
        uint32_t alpha = a.mask ? a(p) : 255;
        return alpha << 24 | r(p) << 16 | g(p) << 8 | b(p);
    }
};

uint32_t ToARGB(uint32_t p, const DDPixelFormat& f) { return ARGBExpand(f)(p); }

// The present's rows. Each takes `n` source pixels to the frame, opaque,
// and with `copy` the same source pixels unchanged there too, in the same
// pass, so the source is read once for both. Plain stores: the frame stays in
// the caches for the window system, which reads it next. The wide forms
// return how many pixels they did; the plain loop finishes the row.

#if ZELK_PRESENT_X86
__attribute__((target("avx2"))) int OpaqueRow32Avx2(uint32_t* out, const uint32_t* p, int n, uint32_t* copy)
{
    const __m256i opaque = _mm256_set1_epi32(int32_t(0xFF000000u));
    int x = 0;
    for (; x + 8 <= n; x += 8) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + x));
        if (copy)
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(copy + x), a);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), _mm256_or_si256(a, opaque));
    }
    return x;
}

// Sixteen 5-6-5 (or 5-5-5) pixels as two rows of eight opaque ARGB words:
// each channel's bits repeated from the top to fill eight.
template <bool k555>
__attribute__((target("avx2"))) int ExpandRow16Avx2(uint32_t* out, const uint16_t* p, int n, uint16_t* copy)
{
    const __m256i five = _mm256_set1_epi16(0x1F), green = _mm256_set1_epi16(k555 ? 0x1F : 0x3F);
    const __m256i opaque = _mm256_set1_epi16(int16_t(0xFF00));
    int x = 0;
    for (; x + 16 <= n; x += 16) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + x));
        if (copy)
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(copy + x), v);
        const __m256i r = _mm256_and_si256(_mm256_srli_epi16(v, k555 ? 10 : 11), five);
        const __m256i g = _mm256_and_si256(_mm256_srli_epi16(v, 5), green);
        const __m256i b = _mm256_and_si256(v, five);
        const __m256i r8 = _mm256_or_si256(_mm256_slli_epi16(r, 3), _mm256_srli_epi16(r, 2));
        const __m256i g8 = k555 ? _mm256_or_si256(_mm256_slli_epi16(g, 3), _mm256_srli_epi16(g, 2))
                                : _mm256_or_si256(_mm256_slli_epi16(g, 2), _mm256_srli_epi16(g, 4));
        const __m256i b8 = _mm256_or_si256(_mm256_slli_epi16(b, 3), _mm256_srli_epi16(b, 2));
        const __m256i gb = _mm256_or_si256(_mm256_slli_epi16(g8, 8), b8), ar = _mm256_or_si256(opaque, r8);
        // The unpacks work in 128-bit halves: pixels 0-3 and 8-11, 4-7 and 12-15.
        const __m256i lo = _mm256_unpacklo_epi16(gb, ar), hi = _mm256_unpackhi_epi16(gb, ar);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), _mm256_permute2x128_si256(lo, hi, 0x20));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x + 8), _mm256_permute2x128_si256(lo, hi, 0x31));
    }
    return x;
}
#endif

template <bool k555> void ExpandRow16(uint32_t* out, const uint16_t* p, int n, uint16_t* copy = nullptr)
{
    int x = 0;
#if ZELK_PRESENT_X86
    if (CpuHasAvx2())
        x = ExpandRow16Avx2<k555>(out, p, n, copy);
#endif
#if defined(__SSE2__)
    const __m128i five = _mm_set1_epi16(0x1F), green = _mm_set1_epi16(k555 ? 0x1F : 0x3F);
    const __m128i opaque = _mm_set1_epi16(int16_t(0xFF00));
    for (; x + 8 <= n; x += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + x));
        if (copy)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(copy + x), v);
        const __m128i r = _mm_and_si128(_mm_srli_epi16(v, k555 ? 10 : 11), five);
        const __m128i g = _mm_and_si128(_mm_srli_epi16(v, 5), green);
        const __m128i b = _mm_and_si128(v, five);
        const __m128i r8 = _mm_or_si128(_mm_slli_epi16(r, 3), _mm_srli_epi16(r, 2));
        const __m128i g8 = k555 ? _mm_or_si128(_mm_slli_epi16(g, 3), _mm_srli_epi16(g, 2))
                                : _mm_or_si128(_mm_slli_epi16(g, 2), _mm_srli_epi16(g, 4));
        const __m128i b8 = _mm_or_si128(_mm_slli_epi16(b, 3), _mm_srli_epi16(b, 2));
        // Low halves green and blue, high halves alpha and red.
        const __m128i gb = _mm_or_si128(_mm_slli_epi16(g8, 8), b8), ar = _mm_or_si128(opaque, r8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_unpacklo_epi16(gb, ar));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 4), _mm_unpackhi_epi16(gb, ar));
    }
#endif
    for (; x < n; ++x) {
        const uint32_t v = p[x];
        if (copy)
            copy[x] = uint16_t(v);
        const uint32_t r = (v >> (k555 ? 10 : 11)) & 0x1F, g = (v >> 5) & (k555 ? 0x1F : 0x3F), b = v & 0x1F;
        const uint32_t g8 = k555 ? (g << 3 | g >> 2) : (g << 2 | g >> 4);
        out[x] = 0xFF000000u | (r << 3 | r >> 2) << 16 | g8 << 8 | (b << 3 | b >> 2);
    }
}

// 8-8-8 pixels with the alpha byte set.
void OpaqueRow32(uint32_t* out, const uint32_t* p, int n, uint32_t* copy = nullptr)
{
    int x = 0;
#if ZELK_PRESENT_X86
    if (CpuHasAvx2())
        x = OpaqueRow32Avx2(out, p, n, copy);
#endif
#if defined(__SSE2__)
    const __m128i opaque = _mm_set1_epi32(int32_t(0xFF000000u));
    for (; x + 4 <= n; x += 4) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + x));
        if (copy)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(copy + x), a);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_or_si128(a, opaque));
    }
#endif
    for (; x < n; ++x) {
        if (copy)
            copy[x] = p[x];
        out[x] = p[x] | 0xFF000000u;
    }
}

uint32_t ReadPixel(const uint8_t* row, int x, uint32_t bits)
{
    switch (bits) {
    case 8: return row[x];
    case 16: return uint32_t(row[2 * x]) | uint32_t(row[2 * x + 1]) << 8;
    case 24: return uint32_t(row[3 * x]) | uint32_t(row[3 * x + 1]) << 8 | uint32_t(row[3 * x + 2]) << 16;
    default: {
        uint32_t v;
        memcpy(&v, row + 4 * x, 4);
        return v;
    }
    }
}

void WritePixel(uint8_t* row, int x, uint32_t bits, uint32_t v)
{
    switch (bits) {
    case 8: row[x] = uint8_t(v); break;
    case 16: row[2 * x] = uint8_t(v); row[2 * x + 1] = uint8_t(v >> 8); break;
    case 24: row[3 * x] = uint8_t(v); row[3 * x + 1] = uint8_t(v >> 8); row[3 * x + 2] = uint8_t(v >> 16); break;
    default: memcpy(row + 4 * x, &v, 4); break;
    }
}

std::atomic<uint64_t> gNextVersion{1};

uint64_t NewVersion() { return gNextVersion++; }

} // namespace

// ---- palettes ----

DDPalette::DDPalette(uint32_t caps, const PaletteEntry* entries) : mCaps(caps), mVersion(NewVersion())
{
    if (entries)
        std::copy(entries, entries + 256, mEntries);
}

void DDPalette::Release()
{
    if (--mRefs <= 0)
        delete this;
}

int32_t DDPalette::GetEntries(uint32_t flags, int start, int count, PaletteEntry* out) const
{
    if (int32_t f = DirectDrawDevice::Get().TakeFailure("GetEntries"))
        return f;
    if (start < 0 || count < 0 || start + count > 256 || !out)
        return DDERR_INVALIDPARAMS;
    std::copy(mEntries + start, mEntries + start + count, out);
    return DD_OK;
}

int32_t DDPalette::SetEntries(uint32_t flags, int start, int count, const PaletteEntry* entries)
{
    if (int32_t f = DirectDrawDevice::Get().TakeFailure("SetEntries"))
        return f;
    if (start < 0 || count < 0 || start + count > 256 || !entries)
        return DDERR_INVALIDPARAMS;
    std::copy(entries, entries + count, mEntries + start);
    mVersion = NewVersion();
    return DD_OK;
}

// ---- device ----

DirectDrawDevice& DirectDrawDevice::Get()
{
    static DirectDrawDevice device;
    return device;
}

void DirectDrawDevice::FailNext(const std::string& operation, int32_t code, int count)
{
    std::lock_guard<std::mutex> g(mutex);
    mFailures[operation] = {code, count};
    mFailuresArmed = true;
}

int32_t DirectDrawDevice::TakeFailure(std::string_view operation)
{
    if (!mFailuresArmed.load(std::memory_order_acquire))
        return DD_OK;
    std::lock_guard<std::mutex> g(mutex);
    auto it = mFailures.find(operation);
    if (it == mFailures.end() || it->second.second <= 0)
        return DD_OK;
    int32_t code = it->second.first;
    if (--it->second.second <= 0)
        mFailures.erase(it);
    mFailuresArmed = !mFailures.empty();
    return code;
}

void DirectDrawDevice::LoseSurfaces()
{
    std::lock_guard<std::mutex> g(mutex);
    for (DDSurface* s : mSurfaces)
        if (s->mDesc.caps & (DDSCAPS_VIDEOMEMORY | DDSCAPS_PRIMARYSURFACE | DDSCAPS_BACKBUFFER))
            s->mLost = true;
}

void DirectDrawDevice::Reset()
{
    std::lock_guard<std::mutex> g(mutex);
    mFailures.clear();
    mFailuresArmed = false;
    config = DesktopConfig();
    modeWidth = modeHeight = modeDepth = 0;
    cooperativeLevel = 0;
    cooperativeWindow = 0;
    presents = 0;
    blts = 0;
    lastBltSource = lastBltDest = DDRect();
    lastBltFlags = 0;
}

DDPixelFormat DirectDrawDevice::DesktopFormat() const
{
    DDPixelFormat f;
    f.flags = DDPF_RGB;
    int depth = modeDepth ? modeDepth : config.bitDepth;
    f.rgbBitCount = uint32_t(depth);
    switch (depth) {
    case 8:
        f.flags = DDPF_RGB | DDPF_PALETTEINDEXED8;
        break;
    case 16:
        if (config.rgb555) {
            f.rBitMask = 0x7C00; f.gBitMask = 0x03E0; f.bBitMask = 0x001F;
        } else {
            f.rBitMask = 0xF800; f.gBitMask = 0x07E0; f.bBitMask = 0x001F;
        }
        break;
    default:
        f.rBitMask = 0xFF0000; f.gBitMask = 0x00FF00; f.bBitMask = 0x0000FF;
        break;
    }
    return f;
}

void DirectDrawDevice::PrimaryChanged(DDSurface* primary, const PrimaryCopy* copy)
{
    const int bytes = int(primary->mDesc.pixelFormat.rgbBitCount + 7) / 8;
    // Columns [from, to) of row r of the primary take their part of the copy
    // (if it has one).
    auto copyPart = [&](int r, int from, int to) {
        if (!copy || r < copy->to.top || r >= copy->to.bottom || from >= to)
            return;
        const DDSurface& source = *copy->source;
        memcpy(primary->mMemory.data() + size_t(r) * size_t(primary->Pitch()) + size_t(from) * size_t(bytes),
               source.mMemory.data() + size_t(copy->from.top + r - copy->to.top) * size_t(source.Pitch()) +
                   size_t(copy->from.left + from - copy->to.left) * size_t(bytes),
               size_t(to - from) * size_t(bytes));
    };
    auto copyRow = [&](int r) {
        if (copy)
            copyPart(r, copy->to.left, copy->to.right);
    };
    auto copyRows = [&](int from, int to) {
        for (int r = from; r < to; ++r)
            copyRow(r);
    };
    WindowSystem* windows = Get().config.width ? plat::Get().windows : nullptr;
    WindowHandle window = cooperativeWindow;
    if (!windows || !window) {
        copyRows(0, primary->Height());
        return;
    }
    int x0 = 0, y0 = 0, w = primary->Width(), h = primary->Height();
    if (!(cooperativeLevel & DDSCL_EXCLUSIVE)) {
        windows->ClientOrigin(window, x0, y0);
        windows->ClientSize(window, w, h);
    }
    w = std::max(0, std::min(w, primary->Width() - x0));
    h = std::max(0, std::min(h, primary->Height() - y0));
    if (w <= 0 || h <= 0) {
        copyRows(0, primary->Height());
        return;
    }
    copyRows(0, y0);
    copyRows(y0 + h, primary->Height());
    // Every pixel of the frame is written below: its buffer is kept.
    mFrame.resize(size_t(w) * size_t(h));
    std::vector<uint32_t>& frame = mFrame;
    const DDPixelFormat& f = primary->mDesc.pixelFormat;
    const ARGBExpand expand(f);
    const bool plain32 = f.rgbBitCount == 32 && f.rBitMask == 0xFF0000 && f.gBitMask == 0xFF00 && f.bBitMask == 0xFF;
    const bool plain16 = f.rgbBitCount == 16 && f.alphaBitMask == 0 && f.bBitMask == 0x001F &&
                         ((f.rBitMask == 0xF800 && f.gBitMask == 0x07E0) || (f.rBitMask == 0x7C00 && f.gBitMask == 0x03E0));
    // Other 16-bit pixels through a table of all 65536 values, made once per layout.
    if (f.rgbBitCount == 16 && !plain16 && (mTable16.empty() || mTable16Masks[0] != f.rBitMask ||
                                mTable16Masks[1] != f.gBitMask || mTable16Masks[2] != f.bBitMask)) {
        mTable16.resize(65536);
        for (uint32_t v = 0; v < 65536; ++v)
            mTable16[v] = expand(v) | 0xFF000000u;
        mTable16Masks[0] = f.rBitMask;
        mTable16Masks[1] = f.gBitMask;
        mTable16Masks[2] = f.bBitMask;
    }
    // Where the copy covers a visible row, the row is read from the source;
    // a 32-bit row is copied into the primary and the frame in one pass.
    const bool fromSource = copy && copy->to.left <= x0 && copy->to.right >= x0 + w;
    for (int y = 0; y < h; ++y) {
        const int r = y0 + y;
        const uint8_t* row = primary->mMemory.data() + size_t(r) * size_t(primary->Pitch());
        int rowX0 = x0;
        const bool copied = fromSource && r >= copy->to.top && r < copy->to.bottom;
        if (copied) {
            row = copy->source->mMemory.data() + size_t(copy->from.top + r - copy->to.top) * size_t(copy->source->Pitch());
            rowX0 = copy->from.left + x0 - copy->to.left;
        }
        uint32_t* out = frame.data() + size_t(y) * size_t(w);
        if ((plain32 || plain16) && copied) {
            copyPart(r, copy->to.left, x0);
            copyPart(r, x0 + w, copy->to.right);
            uint8_t* to = primary->mMemory.data() + size_t(r) * size_t(primary->Pitch());
            if (plain32)
                OpaqueRow32(out, reinterpret_cast<const uint32_t*>(row) + rowX0, w, reinterpret_cast<uint32_t*>(to) + x0);
            else if (f.gBitMask == 0x07E0)
                ExpandRow16<false>(out, reinterpret_cast<const uint16_t*>(row) + rowX0, w, reinterpret_cast<uint16_t*>(to) + x0);
            else
                ExpandRow16<true>(out, reinterpret_cast<const uint16_t*>(row) + rowX0, w, reinterpret_cast<uint16_t*>(to) + x0);
            continue;
        }
        copyRow(r);
        if (plain32) {
            OpaqueRow32(out, reinterpret_cast<const uint32_t*>(row) + rowX0, w);
            continue;
        }
        if (plain16) {
            const uint16_t* p = reinterpret_cast<const uint16_t*>(row) + rowX0;
            if (f.gBitMask == 0x07E0)
                ExpandRow16<false>(out, p, w);
            else
                ExpandRow16<true>(out, p, w);
            continue;
        }
        if (f.rgbBitCount == 16) {
            const uint16_t* p = reinterpret_cast<const uint16_t*>(row) + rowX0;
            for (int x = 0; x < w; ++x)
                out[x] = mTable16[p[x]];
            continue;
        }
        for (int x = 0; x < w; ++x)
            out[x] = expand(ReadPixel(row, rowX0 + x, f.rgbBitCount)) | 0xFF000000u;
    }
    ++presents;
    // The window takes the frame's buffer and hands back one of its own.
    windows->PresentFrame(window, mFrame, w, h);
}

// ---- surfaces ----

DDSurface::DDSurface(DirectDrawDevice* device, const DDSurfaceDesc& desc) : mDevice(device), mDesc(desc)
{
    const int bytes = int(mDesc.pixelFormat.rgbBitCount + 7) / 8;
    // Rows are padded beyond their pixels on purpose: nothing may assume packed rows.
    mDesc.pitch = ((mDesc.width * bytes + 15) & ~15) + 16;
    mMemory.assign(size_t(mDesc.pitch) * size_t(std::max(mDesc.height, 0)), 0);
    mDesc.surface = nullptr;
    mDesc.flags |= DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_CAPS;
    Touch();
}

void DDSurface::Touch() { mVersion = NewVersion(); }

void DDSurface::Release()
{
    if (--mRefs > 0)
        return;
    {
        std::lock_guard<std::mutex> g(mDevice->mutex);
        auto& list = mDevice->mSurfaces;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        --mDevice->liveSurfaces;
    }
    if (mBackBuffer)
        mBackBuffer->Release();
    if (mPalette)
        mPalette->Release();
    delete this;
}

int32_t DDSurface::GetSurfaceDesc(DDSurfaceDesc& desc) const
{
    desc = mDesc;
    desc.surface = nullptr;
    return DD_OK;
}

bool DDSurface::Inside(const DDRect& r) const
{
    return r.left >= 0 && r.top >= 0 && r.right <= mDesc.width && r.bottom <= mDesc.height && r.left <= r.right &&
           r.top <= r.bottom;
}

int32_t DDSurface::IsLost() const { return mLost ? DDERR_SURFACELOST : DD_OK; }

int32_t DDSurface::Restore()
{
    if (int32_t f = mDevice->TakeFailure("Restore"))
        return f;
    if (mLost) {
        mLost = false;
        // The pixels of a restored surface are whatever the device had there.
        std::fill(mMemory.begin(), mMemory.end(), uint8_t(0xCD));
        Touch();
    }
    return DD_OK;
}

int32_t DDSurface::Lock(const DDRect* rect, DDSurfaceDesc& desc, uint32_t flags)
{
    if (int32_t f = mDevice->TakeFailure("Lock"))
        return f;
    if (mLost)
        return DDERR_SURFACELOST;
    DDRect r = rect ? *rect : DDRect{0, 0, mDesc.width, mDesc.height};
    if (!Inside(r))
        return DDERR_INVALIDRECT;
    if (mLocks > 0)
        return DDERR_SURFACEBUSY;
    ++mLocks;
    desc = mDesc;
    const int bytes = int(mDesc.pixelFormat.rgbBitCount + 7) / 8;
    desc.surface = mMemory.data() + size_t(r.top) * size_t(mDesc.pitch) + size_t(r.left) * size_t(bytes);
    desc.flags |= DDSD_LPSURFACE;
    return DD_OK;
}

int32_t DDSurface::Unlock()
{
    if (int32_t f = mDevice->TakeFailure("Unlock"))
        return f;
    if (mLocks <= 0)
        return DDERR_NOTLOCKED;
    --mLocks;
    Touch();
    if (mLocks == 0 && IsPrimary())
        mDevice->PrimaryChanged(this);
    return DD_OK;
}

int32_t DDSurface::GetDC(TextTarget& target)
{
    if (int32_t f = mDevice->TakeFailure("GetDC"))
        return f;
    if (mLost)
        return DDERR_SURFACELOST;
    if (mDCOut)
        return DDERR_DCALREADYCREATED;
    if (mLocks > 0)
        return DDERR_SURFACEBUSY;
    const uint32_t bits = mDesc.pixelFormat.rgbBitCount;
    if (bits != 16 && bits != 32)
        return DDERR_CANTCREATEDC;
    ++mLocks;
    mDCOut = true;
    target = TextTarget();
    target.pixels = mMemory.data();
    target.pitch = mDesc.pitch;
    target.width = mDesc.width;
    target.height = mDesc.height;
    target.bitDepth = int(bits);
    target.redMask = mDesc.pixelFormat.rBitMask;
    target.greenMask = mDesc.pixelFormat.gBitMask;
    target.blueMask = mDesc.pixelFormat.bBitMask;
    target.clipLeft = target.clipTop = 0;
    target.clipRight = mDesc.width;
    target.clipBottom = mDesc.height;
    return DD_OK;
}

int32_t DDSurface::ReleaseDC()
{
    if (!mDCOut)
        return DDERR_NODC;
    mDCOut = false;
    return Unlock();
}

int32_t DDSurface::Blt(const DDRect* dstIn, DDSurface* src, const DDRect* srcIn, uint32_t flags, const DDBltFx* fx)
{
    if (int32_t f = mDevice->TakeFailure("Blt"))
        return f;
    if (mLost || (src && src->mLost))
        return DDERR_SURFACELOST;
    if (mLocks > 0 || (src && src->mLocks > 0))
        return DDERR_SURFACEBUSY;
    DDRect dst = dstIn ? *dstIn : DDRect{0, 0, mDesc.width, mDesc.height};
    if (!Inside(dst))
        return DDERR_INVALIDRECT;
    const uint32_t bits = mDesc.pixelFormat.rgbBitCount;
    if (flags & DDBLT_COLORFILL) {
        const uint32_t color = fx ? fx->fillColor : 0;
        for (int y = dst.top; y < dst.bottom; ++y) {
            uint8_t* row = mMemory.data() + size_t(y) * size_t(mDesc.pitch);
            for (int x = dst.left; x < dst.right; ++x)
                WritePixel(row, x, bits, color);
        }
    } else {
        if (!src)
            return DDERR_INVALIDPARAMS;
        DDRect s = srcIn ? *srcIn : DDRect{0, 0, src->mDesc.width, src->mDesc.height};
        if (!src->Inside(s))
            return DDERR_INVALIDRECT;
        if (src->mDesc.pixelFormat.rgbBitCount != bits)
            return DDERR_INVALIDPIXELFORMAT;
        const int dw = dst.Width(), dh = dst.Height(), sw = s.Width(), sh = s.Height();
        ++mDevice->blts;
        mDevice->lastBltSource = s;
        mDevice->lastBltDest = dst;
        mDevice->lastBltFlags = flags;
        const bool keyed = (flags & DDBLT_KEYSRC) && src->mHasColorKey;
        const int bytes = int(bits + 7) / 8;
        if (dw > 0 && dh > 0 && dw == sw && dh == sh && !keyed && IsPrimary() && src != this) {
            // The present: the copy is made as the rows are handed to the window.
            const DirectDrawDevice::PrimaryCopy copy{src, s, dst};
            Touch();
            mDevice->PrimaryChanged(this, &copy);
            return DD_OK;
        }
        if (dw > 0 && dh > 0 && dw == sw && dh == sh && !keyed) {
            // A plain copy, row by row (memmove: a blit within one surface may overlap).
            const bool upwards = src == this && dst.top > s.top;
            for (int i = 0; i < dh; ++i) {
                const int y = upwards ? dh - 1 - i : i;
                memmove(mMemory.data() + size_t(dst.top + y) * size_t(mDesc.pitch) + size_t(dst.left) * size_t(bytes),
                        src->mMemory.data() + size_t(s.top + y) * size_t(src->mDesc.pitch) + size_t(s.left) * size_t(bytes),
                        size_t(dw) * size_t(bytes));
            }
        } else if (dw > 0 && dh > 0 && sw > 0 && sh > 0) {
            // Only the colour bits take part in the key comparison.
            const DDPixelFormat& sf = src->mDesc.pixelFormat;
            const uint32_t colorBits = sf.rBitMask | sf.gBitMask | sf.bBitMask;
            const uint32_t keyLow = src->mColorKey.low & colorBits, keyHigh = src->mColorKey.high & colorBits;
            // Copy through a temporary so a blit within one surface reads the old pixels.
            std::vector<uint32_t> pixels(size_t(dw) * size_t(dh));
            for (int y = 0; y < dh; ++y) {
                const int sy = s.top + int(int64_t(y) * sh / dh);
                const uint8_t* srow = src->mMemory.data() + size_t(sy) * size_t(src->mDesc.pitch);
                for (int x = 0; x < dw; ++x)
                    pixels[size_t(y) * size_t(dw) + size_t(x)] = ReadPixel(srow, s.left + int(int64_t(x) * sw / dw), bits);
            }
            for (int y = 0; y < dh; ++y) {
                uint8_t* row = mMemory.data() + size_t(dst.top + y) * size_t(mDesc.pitch);
                for (int x = 0; x < dw; ++x) {
                    const uint32_t p = pixels[size_t(y) * size_t(dw) + size_t(x)];
                    if (keyed && (p & colorBits) >= keyLow && (p & colorBits) <= keyHigh)
                        continue;
                    WritePixel(row, dst.left + x, bits, p);
                }
            }
        }
    }
    Touch();
    if (IsPrimary() && mLocks == 0)
        mDevice->PrimaryChanged(this);
    return DD_OK;
}

int32_t DDSurface::Flip(DDSurface* override, uint32_t flags)
{
    if (int32_t f = mDevice->TakeFailure("Flip"))
        return f;
    if (mLost)
        return DDERR_SURFACELOST;
    DDSurface* back = override ? override : mBackBuffer;
    if (!back)
        return DDERR_NOTFLIPPABLE;
    if (back->mLost)
        return DDERR_SURFACELOST;
    // The swap shows at the next refresh.
    mDevice->WaitForRefresh();
    std::swap(mMemory, back->mMemory);
    Touch();
    back->Touch();
    mDevice->PrimaryChanged(this);
    return DD_OK;
}

int32_t DDSurface::GetAttachedSurface(uint32_t caps, DDSurface** out)
{
    if (int32_t f = mDevice->TakeFailure("GetAttachedSurface"))
        return f;
    if (!(caps & DDSCAPS_BACKBUFFER) || !mBackBuffer)
        return DDERR_NOTFOUND;
    mBackBuffer->AddRef();
    *out = mBackBuffer;
    return DD_OK;
}

int32_t DDSurface::SetColorKey(uint32_t flags, const DDColorKey& key)
{
    if (!(flags & DDCKEY_SRCBLT))
        return DDERR_INVALIDPARAMS;
    mHasColorKey = true;
    mColorKey = key;
    return DD_OK;
}

int32_t DDSurface::GetColorKey(uint32_t flags, DDColorKey& key) const
{
    if (!(flags & DDCKEY_SRCBLT))
        return DDERR_INVALIDPARAMS;
    if (!mHasColorKey)
        return DDERR_NOCOLORKEY;
    key = mColorKey;
    return DD_OK;
}

int32_t DDSurface::SetClipper(DDClipper* clipper)
{
    mClipper = clipper;
    return DD_OK;
}

int32_t DDSurface::SetPalette(DDPalette* palette)
{
    if (int32_t f = mDevice->TakeFailure("SetPalette"))
        return f;
    if (palette && mDesc.pixelFormat.rgbBitCount != 8)
        return DDERR_NOTPALETTIZED;
    if (palette)
        palette->AddRef();
    if (mPalette)
        mPalette->Release();
    mPalette = palette;
    Touch();
    return DD_OK;
}

int32_t DDSurface::GetPalette(DDPalette** out)
{
    *out = nullptr;
    if (!mPalette)
        return DDERR_NOPALETTEATTACHED;
    mPalette->AddRef();
    *out = mPalette;
    return DD_OK;
}

bool DDSurface::Opaque()
{
    const DDPixelFormat& f = mDesc.pixelFormat;
    if (f.rgbBitCount != 8 && f.alphaBitMask == 0)
        return true;
    const uint64_t paletteVersion = mPalette ? mPalette->Version() : 0;
    if (mOpaqueKnown && mOpaqueVersion == mVersion && mOpaquePaletteVersion == paletteVersion)
        return mOpaque;
    int pitch = 0;
    const uint32_t* view = ARGBView(pitch);
    uint32_t all = 0xFF000000u;
    for (int y = 0; y < mDesc.height && all == 0xFF000000u; ++y) {
        const uint32_t* row = view + size_t(y) * size_t(pitch);
        for (int x = 0; x < mDesc.width; ++x)
            all &= row[x];
        all &= 0xFF000000u;
    }
    mOpaque = all == 0xFF000000u;
    mOpaqueKnown = true;
    mOpaqueVersion = mVersion;
    mOpaquePaletteVersion = paletteVersion;
    return mOpaque;
}

const uint32_t* DDSurface::ARGBView(int& pitchPixels)
{
    const DDPixelFormat& f = mDesc.pixelFormat;
    const uint64_t paletteVersion = mPalette ? mPalette->Version() : 0;
    pitchPixels = mDesc.width;
    if (f.rgbBitCount == 32 && f.alphaBitMask == 0xFF000000u && f.rBitMask == 0xFF0000u && f.gBitMask == 0xFF00u &&
        f.bBitMask == 0xFFu) {
        pitchPixels = mDesc.pitch / 4;
        return reinterpret_cast<const uint32_t*>(mMemory.data());
    }
    if (mViewVersion == mVersion && mViewPaletteVersion == paletteVersion && !mView.empty())
        return mView.data();
    const int w = mDesc.width, h = mDesc.height;
    mView.resize(size_t(std::max(w, 1)) * size_t(std::max(h, 1)));
    // Channels of fewer than 8 bits widen by repeating their top bits, as
    // the 3D hardware does.
    auto widen = [](uint32_t v, int bits) -> uint32_t {
        if (bits >= 8)
            return v >> (bits - 8);
        uint32_t out = 0;
        for (int filled = 0; filled < 8; filled += bits)
            out |= (v << 8 >> bits) >> filled;
        return out & 0xFF;
    };
    auto channel = [&](uint32_t p, uint32_t mask) -> uint32_t {
        return mask ? widen((p & mask) >> LowBit(mask), plat::BitCount(mask)) : 0;
    };
    PaletteEntry entries[256];
    const bool indexed = f.rgbBitCount == 8;
    if (indexed && mPalette)
        std::copy(mPalette->mEntries, mPalette->mEntries + 256, entries);
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = mMemory.data() + size_t(y) * size_t(mDesc.pitch);
        uint32_t* out = mView.data() + size_t(y) * size_t(w);
        for (int x = 0; x < w; ++x) {
            uint32_t p = ReadPixel(row, x, f.rgbBitCount);
            if (indexed) {
                const PaletteEntry& e = entries[p & 0xFF];
                const uint32_t a = mPalette && (mPalette->Caps() & DDPCAPS_ALPHA) ? e.flags : 255;
                out[x] = mPalette ? a << 24 | uint32_t(e.red) << 16 | uint32_t(e.green) << 8 | e.blue : 0;
            } else {
                const uint32_t a = f.alphaBitMask ? channel(p, f.alphaBitMask) : 255;
                out[x] = a << 24 | channel(p, f.rBitMask) << 16 | channel(p, f.gBitMask) << 8 | channel(p, f.bBitMask);
            }
        }
    }
    mViewVersion = mVersion;
    mViewPaletteVersion = paletteVersion;
    return mView.data();
}

uint32_t DDSurface::PixelARGB(int x, int y) const
{
    if (x < 0 || y < 0 || x >= mDesc.width || y >= mDesc.height)
        return 0;
    const uint8_t* row = mMemory.data() + size_t(y) * size_t(mDesc.pitch);
    return ToARGB(ReadPixel(row, x, mDesc.pixelFormat.rgbBitCount), mDesc.pixelFormat);
}

int32_t DDClipper::SetHWnd(uint32_t flags, WindowHandle window)
{
    if (int32_t f = DirectDrawDevice::Get().TakeFailure("SetHWnd"))
        return f;
    mWindow = window;
    return DD_OK;
}

// ---- DirectDraw objects ----

bool HasDirectDrawCreate()
{
    Modules* m = plat::Get().modules;
    return DirectDrawDevice::Get().config.hasCreate && (!m || m->Load("ddraw.dll"));
}

bool HasDirectDrawCreateEx()
{
    Modules* m = plat::Get().modules;
    return DirectDrawDevice::Get().config.hasCreateEx && (!m || m->Load("ddraw.dll"));
}

int32_t DirectDrawCreate(DirectDraw** out)
{
    *out = nullptr;
    if (int32_t f = DirectDrawDevice::Get().TakeFailure("DirectDrawCreate"))
        return f;
    *out = new DirectDraw();
    return DD_OK;
}

int32_t DirectDrawCreateEx(DirectDraw** out)
{
    *out = nullptr;
    if (int32_t f = DirectDrawDevice::Get().TakeFailure("DirectDrawCreateEx"))
        return f;
    *out = new DirectDraw();
    return DD_OK;
}

void DirectDraw::Release()
{
    if (--mRefs <= 0)
        delete this;
}

int32_t DirectDraw::SetCooperativeLevel(WindowHandle window, uint32_t flags)
{
    DirectDrawDevice& d = DirectDrawDevice::Get();
    if (int32_t f = d.TakeFailure("SetCooperativeLevel"))
        return f;
    d.cooperativeLevel = flags;
    d.cooperativeWindow = window;
    if (!(flags & DDSCL_EXCLUSIVE))
        d.modeWidth = d.modeHeight = d.modeDepth = 0;
    return DD_OK;
}

int32_t DirectDraw::SetDisplayMode(int width, int height, int bitDepth)
{
    DirectDrawDevice& d = DirectDrawDevice::Get();
    if (int32_t f = d.TakeFailure("SetDisplayMode"))
        return f;
    if (!(d.cooperativeLevel & DDSCL_EXCLUSIVE))
        return DDERR_NOEXCLUSIVEMODE;
    if (width <= 0 || height <= 0 || (bitDepth != 16 && bitDepth != 32))
        return DDERR_INVALIDMODE;
    d.modeWidth = width;
    d.modeHeight = height;
    d.modeDepth = bitDepth;
    return DD_OK;
}

int32_t DirectDraw::RestoreDisplayMode()
{
    DirectDrawDevice& d = DirectDrawDevice::Get();
    d.modeWidth = d.modeHeight = d.modeDepth = 0;
    return DD_OK;
}

int32_t DirectDraw::CreateSurface(const DDSurfaceDesc& in, DDSurface** out)
{
    DirectDrawDevice& d = DirectDrawDevice::Get();
    *out = nullptr;
    if (int32_t f = d.TakeFailure("CreateSurface"))
        return f;
    DDSurfaceDesc desc = in;
    const DDPixelFormat desktop = d.DesktopFormat();
    if (desktop.rgbBitCount != 16 && desktop.rgbBitCount != 32)
        return DDERR_INVALIDPIXELFORMAT;
    if (desc.caps & DDSCAPS_PRIMARYSURFACE) {
        const bool exclusive = (d.cooperativeLevel & DDSCL_EXCLUSIVE) != 0;
        desc.width = exclusive && d.modeWidth ? d.modeWidth : d.config.width;
        desc.height = exclusive && d.modeHeight ? d.modeHeight : d.config.height;
        desc.pixelFormat = desktop;
    } else {
        if (!(desc.flags & DDSD_WIDTH) || !(desc.flags & DDSD_HEIGHT) || desc.width <= 0 || desc.height <= 0)
            return DDERR_INVALIDPARAMS;
        if (desc.width > 16384 || desc.height > 16384)
            return DDERR_TOOBIGSIZE;
        if (!(desc.flags & DDSD_PIXELFORMAT))
            desc.pixelFormat = desktop;
        const uint32_t bits = desc.pixelFormat.rgbBitCount;
        if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
            return DDERR_INVALIDPIXELFORMAT;
    }
    // Managed textures are kept by the runtime in system memory and survive
    // a lost device; everything else defaults to video memory.
    if (!(desc.caps & (DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY)))
        desc.caps |= (desc.caps2 & DDSCAPS2_D3DTEXTUREMANAGE) ? DDSCAPS_SYSTEMMEMORY : DDSCAPS_VIDEOMEMORY;
    DDSurface* s = new DDSurface(&d, desc);
    DDSurface* back = nullptr;
    if ((desc.caps & DDSCAPS_FLIP) && (desc.flags & DDSD_BACKBUFFERCOUNT) && desc.backBufferCount > 0) {
        DDSurfaceDesc bd = s->mDesc;
        bd.caps = (desc.caps & ~(DDSCAPS_PRIMARYSURFACE | DDSCAPS_FRONTBUFFER)) | DDSCAPS_BACKBUFFER;
        back = new DDSurface(&d, bd);
        s->mBackBuffer = back;
        back->mFrontBuffer = s;
    }
    {
        std::lock_guard<std::mutex> g(d.mutex);
        d.mSurfaces.push_back(s);
        ++d.liveSurfaces;
        if (back) {
            d.mSurfaces.push_back(back);
            ++d.liveSurfaces;
        }
    }
    *out = s;
    return DD_OK;
}

int32_t DirectDraw::CreateClipper(uint32_t flags, DDClipper** out)
{
    *out = nullptr;
    if (int32_t f = DirectDrawDevice::Get().TakeFailure("CreateClipper"))
        return f;
    *out = new DDClipper();
    return DD_OK;
}

int32_t DirectDraw::GetMonitorFrequency(uint32_t* hz)
{
    DirectDrawDevice& d = DirectDrawDevice::Get();
    if (int32_t f = d.TakeFailure("GetMonitorFrequency"))
        return f;
    if (d.config.refreshRate <= 0)
        return DDERR_UNSUPPORTED;
    *hz = uint32_t(d.config.refreshRate);
    return DD_OK;
}

int32_t DirectDraw::GetScanLine(uint32_t* line)
{
    // Not known on this desktop: the split present falls back to waiting.
    return DDERR_UNSUPPORTED;
}

int32_t DirectDraw::WaitForVerticalBlank(uint32_t flags)
{
    DirectDrawDevice& d = DirectDrawDevice::Get();
    if (int32_t f = d.TakeFailure("WaitForVerticalBlank"))
        return f;
    d.WaitForRefresh();
    return DD_OK;
}

void DirectDrawDevice::WaitForRefresh()
{
    const int rate = config.refreshRate;
    if (rate <= 0)
        return;
    const uint64_t now = plat::TimeGetTime();
    const uint64_t next = now * uint64_t(rate) / 1000 + 1;
    const uint64_t boundary = (next * 1000 + uint64_t(rate) - 1) / uint64_t(rate);
    if (boundary > now)
        plat::Sleep(uint32_t(boundary - now));
}

int32_t DirectDraw::FlipToGDISurface() { return DD_OK; }

int32_t DirectDraw::QueryInterface(DirectDraw** out)
{
    *out = nullptr;
    if (int32_t f = DirectDrawDevice::Get().TakeFailure("QueryInterface"))
        return f;
    AddRef();
    *out = this;
    return DD_OK;
}

int32_t DirectDraw::GetAvailableVidMem(uint32_t caps, uint32_t* total, uint32_t* free)
{
    DirectDrawDevice& d = DirectDrawDevice::Get();
    if (int32_t f = d.TakeFailure("GetAvailableVidMem"))
        return f;
    if (total)
        *total = d.config.videoMemory;
    if (free)
        *free = d.config.videoMemory;
    return DD_OK;
}

int32_t DirectDraw::CreatePalette(uint32_t flags, const PaletteEntry* entries, DDPalette** out)
{
    *out = nullptr;
    if (int32_t f = DirectDrawDevice::Get().TakeFailure("CreatePalette"))
        return f;
    if (!(flags & DDPCAPS_8BIT) || !entries)
        return DDERR_INVALIDPARAMS;
    *out = new DDPalette(flags, entries);
    return DD_OK;
}

int32_t DirectDraw::GetDeviceIdentifier(uint32_t flags, DeviceIdentifier& out)
{
    DirectDrawDevice& d = DirectDrawDevice::Get();
    if (int32_t f = d.TakeFailure("GetDeviceIdentifier"))
        return f;
    out.driver = d.config.adapter.driver;
    out.description = d.config.adapter.description;
    std::copy(d.config.adapter.guid, d.config.adapter.guid + 16, out.guid);
    return DD_OK;
}

void GetScreenDeviceCaps(int& width, int& height, int& bitsPerPixel)
{
    DirectDrawDevice& d = DirectDrawDevice::Get();
    const bool exclusive = (d.cooperativeLevel & DDSCL_EXCLUSIVE) != 0;
    width = exclusive && d.modeWidth ? d.modeWidth : d.config.width;
    height = exclusive && d.modeHeight ? d.modeHeight : d.config.height;
    bitsPerPixel = d.modeDepth ? d.modeDepth : d.config.bitDepth;
}

std::string GetSystemDirectory() { return DirectDrawDevice::Get().config.systemFolder; }

} // namespace plat
