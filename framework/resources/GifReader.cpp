#include "framework/resources/ImageFile.h"
#include "framework/resources/ImageLib.h"

#include <memory>
#include <vector>

namespace ImageLib {

namespace {

const size_t kMaxGifFile = size_t(64) << 20;
const int kTableSize = 4096;
const int kStackSize = 4097;

// Bytes of the file with a read position; reads past the end fail.
class ByteReader {
public:
    explicit ByteReader(const std::vector<uint8_t>& data) : mData(data) {}
    bool Byte(int* value)
    {
        if (mPos >= mData.size())
            return false;
        *value = mData[mPos++];
        return true;
    }
    bool Bytes(uint8_t* out, size_t n)
    {
        if (mData.size() - mPos < n)
            return false;
        for (size_t i = 0; i < n; ++i)
            out[i] = mData[mPos++];
        return true;
    }
    size_t Left() const { return mData.size() - mPos; }

private:
    const std::vector<uint8_t>& mData;
    size_t mPos = 0;
};

bool ReadColourTable(ByteReader& in, int packed, uint32_t* table, int* size)
{
    int n = 1 << ((packed & 7) + 1);
    for (int i = 0; i < n; ++i) {
        uint8_t rgb[3];
        if (!in.Bytes(rgb, 3))
            return false;
        table[i] = 0xFF000000u | uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | rgb[2];
    }
    *size = n;
    return true;
}

// The codes of the image data: least significant bit first, taken from the
// data sub-blocks one byte at a time.
class CodeReader {
public:
    explicit CodeReader(ByteReader& in) : mIn(in) {}
    // False when the data ends (a sub-block count below 1, or the file).
    bool Next(int codeSize, int mask, int* code)
    {
        while (mBitCount < codeSize) {
            if (mBlockLeft == 0) {
                int count;
                if (!mIn.Byte(&count) || count < 1)
                    return false;
                mBlockLeft = count;
            }
            int byte;
            if (!mIn.Byte(&byte))
                return false;
            --mBlockLeft;
            mBits |= uint32_t(byte) << mBitCount;
            mBitCount += 8;
        }
        *code = int(mBits & uint32_t(mask));
        mBits >>= codeSize;
        mBitCount -= codeSize;
        return true;
    }

private:
    ByteReader& mIn;
    uint32_t mBits = 0;
    int mBitCount = 0;
    int mBlockLeft = 0;
};

// The rows in the order the frame stores them: top to bottom, or the four
// passes of an interlaced frame.
std::vector<int> RowOrder(int height, bool interlaced)
{
    std::vector<int> rows;
    rows.reserve(size_t(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            rows.push_back(y);
        return rows;
    }
    static const int kPasses[4][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
    for (const auto& pass : kPasses)
        for (int y = pass[0]; y < height; y += pass[1])
            rows.push_back(y);
    return rows;
}

} // namespace

// The first image of a GIF file, at the frame's own size, decoded by our own
// LZW decoder. Data that ends early leaves the rest of the image zero.
Image* ReadGifImage(const std::string& path)
{
    std::vector<uint8_t> data;
    {
        ImageFile file(path);
        if (!file || !file.ReadAll(&data, kMaxGifFile))
            return nullptr;
    }
    ByteReader in(data);
    uint8_t header[13];
    if (!in.Bytes(header, sizeof header))
        return nullptr;
    if (header[0] != 'G' || header[1] != 'I' || header[2] != 'F' || header[3] != '8' ||
        (header[4] != '7' && header[4] != '9'))
        return nullptr;
    uint32_t globalTable[256] = {};
    int globalSize = 0;
    if ((header[10] & 0x80) && !ReadColourTable(in, header[10], globalTable, &globalSize))
        return nullptr;

    int transparent = -1;
    for (;;) {
        int block;
        if (!in.Byte(&block) || block == 0x3B)
            return nullptr;
        if (block == 0x2C)
            break;
        if (block != 0x21)
            continue;
        int label;
        if (!in.Byte(&label))
            return nullptr;
        bool first = true;
        for (;;) {
            int count;
            uint8_t sub[256];
            if (!in.Byte(&count) || count == 0)
                break;
            if (!in.Bytes(sub, size_t(count)))
                break;
            if (label == 0xF9 && first && count >= 4 && (sub[0] & 1))
                transparent = sub[3];
            first = false;
        }
    }

    uint8_t desc[9];
    if (!in.Bytes(desc, sizeof desc))
        return nullptr;
    int width = int16_t(desc[4] | desc[5] << 8);
    int height = int16_t(desc[6] | desc[7] << 8);
    int packed = desc[8];
    bool interlaced = (packed & 0x40) != 0;
    uint32_t palette[256] = {};
    if (packed & 0x80) {
        int localSize;
        if (!ReadColourTable(in, packed, palette, &localSize))
            return nullptr;
    } else {
        std::copy(globalTable, globalTable + 256, palette);
    }
    if (transparent >= 0)
        palette[transparent] = 0;

    int minCodeSize;
    if (!in.Byte(&minCodeSize) || minCodeSize > 11)
        return nullptr;
    // No code can give more than kStackSize pixels, and a byte holds at most
    // eight codes: a frame larger than that bound cannot come from the data.
    if (!SizeIsSane(width, height, int64_t(in.Left()) * 8 * kStackSize))
        return nullptr;
    std::unique_ptr<Image> image(new Image);
    if (!image->Create(width, height))
        return nullptr;

    std::vector<uint16_t> prefix(kTableSize, 0);
    std::vector<uint8_t> suffix(kTableSize, 0);
    std::vector<uint8_t> stack(kStackSize);
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    for (int i = 0; i < clearCode; ++i)
        suffix[size_t(i)] = uint8_t(i);
    int freeCode = clearCode + 2;
    int codeSize = minCodeSize + 1;
    int readMask = (1 << codeSize) - 1;
    int oldCode = -1;
    uint8_t finChar = 0;
    size_t depth = 0;
    CodeReader codes(in);

    // Fills the stack with the pixels of the next code; false when decoding
    // stops.
    auto decodeNext = [&]() -> bool {
        while (depth == 0) {
            int code;
            if (!codes.Next(codeSize, readMask, &code))
                return false;
            if (code > freeCode || code == endCode)
                return false;
            if (code == clearCode) {
                codeSize = minCodeSize + 1;
                readMask = (1 << codeSize) - 1;
                freeCode = clearCode + 2;
                oldCode = -1;
                continue;
            }
            if (oldCode < 0) {
                stack[depth++] = suffix[size_t(code)];
                oldCode = code;
                finChar = uint8_t(code);
                continue;
            }
            int inCode = code;
            if (code == freeCode) {
                stack[depth++] = finChar;
                code = oldCode;
            }
            while (code >= clearCode) {
                // A corrupt stream can chain entries into a loop.
                if (depth >= size_t(kStackSize) - 1)
                    return false;
                stack[depth++] = suffix[size_t(code)];
                code = prefix[size_t(code)];
            }
            finChar = suffix[size_t(code)];
            stack[depth++] = finChar;
            // A full table stays as it is until the next clear code.
            if (freeCode < kTableSize) {
                prefix[size_t(freeCode)] = uint16_t(oldCode);
                suffix[size_t(freeCode)] = finChar;
                ++freeCode;
                if ((freeCode & readMask) == 0 && freeCode < kTableSize) {
                    ++codeSize;
                    readMask += freeCode;
                }
            }
            oldCode = inCode;
        }
        return true;
    };

    for (int y : RowOrder(height, interlaced)) {
        uint32_t* row = image->mBits + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x) {
            if (!decodeNext())
                return image.release();
            row[x] = palette[stack[--depth]];
        }
    }
    return image.release();
}

} // namespace ImageLib
