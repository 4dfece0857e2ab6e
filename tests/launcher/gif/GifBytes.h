#pragma once
#include "launcher/gif/GIFException.h"
#include "launcher/gif/MemoryStream.h"
#include "launcher/gif/TGIFImage.h"
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Hand-built GIF streams for the reader's tests.
namespace giftest {

struct Bytes {
    std::string s;
    Bytes& Raw(const std::string& text)
    {
        s += text;
        return *this;
    }
    Bytes& U8(int v)
    {
        s += char(v & 0xFF);
        return *this;
    }
    Bytes& U16(int v)
    {
        return U8(v).U8(v >> 8);
    }
    // Logical screen with an optional global table of 2^bits grey entries.
    Bytes& Screen(int w, int h, int tableBits = 1)
    {
        U16(w).U16(h).U8(tableBits > 0 ? 0x80 | (tableBits - 1) : 0).U8(0).U8(0);
        for (int i = 0; tableBits > 0 && i < (1 << tableBits); ++i)
            U8(i).U8(i).U8(i);
        return *this;
    }
    Bytes& Descriptor(int left, int top, int w, int h, int packed = 0)
    {
        return U8(0x2C).U16(left).U16(top).U16(w).U16(h).U8(packed);
    }
    Bytes& Gce(int packed, int delay, int transparentIndex)
    {
        return U8(0x21).U8(0xF9).U8(4).U8(packed).U16(delay).U8(transparentIndex).U8(0);
    }
    // Data bytes as sub-blocks of at most blockSize bytes, then the terminator.
    Bytes& SubBlocks(const std::string& data, size_t blockSize = 255)
    {
        for (size_t at = 0; at < data.size(); at += blockSize) {
            size_t n = std::min(blockSize, data.size() - at);
            U8(int(n));
            s += data.substr(at, n);
        }
        return U8(0);
    }
};

// Codes packed least significant bit first, each with its own width.
inline std::string PackCodes(const std::vector<std::pair<int, int>>& codes)
{
    std::string out;
    uint32_t bits = 0;
    int count = 0;
    for (auto [code, size] : codes) {
        bits |= uint32_t(code) << count;
        count += size;
        while (count >= 8) {
            out += char(bits & 0xFF);
            bits >>= 8;
            count -= 8;
        }
    }
    if (count > 0)
        out += char(bits & 0xFF);
    return out;
}

struct Loaded {
    std::vector<std::string> warnings;
    std::string error;
};

inline Loaded Load(GIFImage::TGIFImage& image, const std::string& bytes)
{
    Loaded result;
    image.OnWarning = [&](const void*, GIFImage::TGIFSeverity, const std::string& m) {
        result.warnings.push_back(m);
    };
    GIFImage::MemoryStream s(bytes.data(), bytes.size());
    try {
        image.LoadFromStream(s);
    } catch (const GIFImage::GIFException& e) {
        result.error = e.what();
    }
    image.OnWarning = nullptr;
    return result;
}

// The message of the GIFException f raises; empty when it raises none.
inline std::string ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const GIFImage::GIFException& e) {
        return e.what();
    }
    return "";
}

inline std::string Save(GIFImage::TGIFImage& image)
{
    GIFImage::MemoryStream s;
    image.SaveToStream(s);
    return std::string(s.Bytes().begin(), s.Bytes().end());
}

} // namespace giftest
