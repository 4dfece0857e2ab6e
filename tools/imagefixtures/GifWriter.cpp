#include "tools/imagefixtures/GifWriter.h"

#include <map>
#include <utility>

namespace fixtures {

namespace {

void Put16(std::string& out, int v)
{
    out += char(v & 0xFF);
    out += char(v >> 8 & 0xFF);
}

int SizeBits(size_t entries)
{
    int bits = 1;
    while ((size_t(1) << bits) < entries)
        ++bits;
    return bits;
}

void PutPalette(std::string& out, const std::vector<uint32_t>& palette)
{
    size_t n = size_t(1) << SizeBits(palette.size());
    for (size_t i = 0; i < n; ++i) {
        uint32_t c = i < palette.size() ? palette[i] : 0;
        out += char(c >> 16 & 0xFF);
        out += char(c >> 8 & 0xFF);
        out += char(c & 0xFF);
    }
}

class BitWriter {
public:
    void Put(int code, int size)
    {
        mBits |= uint32_t(code) << mCount;
        mCount += size;
        while (mCount >= 8) {
            mBytes += char(mBits & 0xFF);
            mBits >>= 8;
            mCount -= 8;
        }
    }
    std::string Finish()
    {
        if (mCount > 0)
            mBytes += char(mBits & 0xFF);
        return mBytes;
    }

private:
    uint32_t mBits = 0;
    int mCount = 0;
    std::string mBytes;
};

std::string Lzw(const std::vector<uint8_t>& pixels, int m, bool deferredClear)
{
    const int clear = 1 << m, end = clear + 1;
    BitWriter out;
    std::map<std::pair<int, int>, int> table;
    int freeCode = clear + 2, size = m + 1;
    out.Put(clear, size);
    int prefix = -1;
    for (uint8_t p : pixels) {
        if (prefix < 0) {
            prefix = p;
            continue;
        }
        auto it = table.find({prefix, p});
        if (it != table.end()) {
            prefix = it->second;
            continue;
        }
        out.Put(prefix, size);
        if (freeCode < 4096) {
            table[{prefix, p}] = freeCode++;
            if (freeCode > (1 << size) && size < 12)
                ++size;
        } else if (!deferredClear) {
            out.Put(clear, size);
            table.clear();
            freeCode = clear + 2;
            size = m + 1;
        }
        prefix = p;
    }
    if (prefix >= 0)
        out.Put(prefix, size);
    out.Put(end, size);
    return out.Finish();
}

std::vector<uint8_t> InStoredOrder(const GifFrame& f)
{
    if (!f.interlaced)
        return f.indices;
    std::vector<uint8_t> out;
    static const int kPasses[4][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
    for (const auto& pass : kPasses)
        for (int y = pass[0]; y < f.height; y += pass[1])
            out.insert(out.end(), f.indices.begin() + y * f.width, f.indices.begin() + (y + 1) * f.width);
    return out;
}

} // namespace

std::string EncodeGif(const GifFile& gif)
{
    std::string out = "GIF89a";
    Put16(out, gif.screenWidth);
    Put16(out, gif.screenHeight);
    out += char(0x80 | (SizeBits(gif.palette.size()) - 1));
    out += '\0';
    out += '\0';
    PutPalette(out, gif.palette);
    if (gif.extras) {
        out += "\x21\xFE\x05hello";
        out += '\0';
        out += "\x21\xFF\x0BNETSCAPE2.0\x03\x01";
        Put16(out, 0);
        out += '\0';
    }
    if (gif.loopCount >= 0) {
        out += "\x21\xFF\x0BNETSCAPE2.0\x03\x01";
        Put16(out, gif.loopCount);
        out += '\0';
    }
    for (const GifFrame& f : gif.frames) {
        out += "\x21\xF9\x04";
        out += char((f.disposal & 7) << 2 | (f.transparent >= 0 ? 1 : 0));
        Put16(out, f.delay);
        out += char(f.transparent >= 0 ? f.transparent : 0);
        out += '\0';
        out += '\x2C';
        Put16(out, f.left);
        Put16(out, f.top);
        Put16(out, f.width);
        Put16(out, f.height);
        int packed = f.interlaced ? 0x40 : 0;
        if (!f.localPalette.empty())
            packed |= 0x80 | (SizeBits(f.localPalette.size()) - 1);
        out += char(packed);
        if (!f.localPalette.empty())
            PutPalette(out, f.localPalette);
        out += char(gif.minCodeSize);
        std::string data = Lzw(InStoredOrder(f), gif.minCodeSize, gif.deferredClear);
        for (size_t at = 0; at < data.size(); at += 255) {
            size_t n = std::min<size_t>(255, data.size() - at);
            out += char(n);
            out += data.substr(at, n);
        }
        out += '\0';
    }
    out += '\x3B';
    return out;
}

} // namespace fixtures
