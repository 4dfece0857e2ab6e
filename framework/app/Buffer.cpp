#include "framework/app/Buffer.h"

#include <algorithm>

namespace Zelk {

void Buffer::Clear()
{
    std::vector<uint8_t>().swap(mData);
    mBitSize = 0;
    mReadPos = 0;
    mWritePos = 0;
}

bool Buffer::SetData(const uint8_t* data, size_t count)
{
    if (count > kMaxBytes || (count > 0 && data == nullptr))
        return false;
    mData.assign(data, data + count);
    mBitSize = int32_t(count * 8);
    // Writing goes on after the data, bits and bytes alike.
    mWritePos = mBitSize;
    return true;
}

void Buffer::WriteByte(uint8_t value)
{
    // Past the largest addressable position nothing more is stored.
    if (mWritePos > kMaxBits - 8)
        return;
    const int k = mWritePos & 7;
    if (k == 0) {
        mData.push_back(value);
    } else {
        if (!mData.empty()) // empty only after SetData without Clear
            mData.back() |= uint8_t(value << k);
        mData.push_back(uint8_t(value >> (8 - k)));
    }
    mWritePos += 8;
    if (mWritePos > mBitSize)
        mBitSize = mWritePos;
}

void Buffer::WriteBits(uint32_t value, int count)
{
    count = std::clamp(count, 0, 32);
    for (int i = 0; i < count && mWritePos < kMaxBits; ++i) {
        if ((mWritePos & 7) == 0)
            mData.push_back(0);
        const size_t j = size_t(mWritePos) >> 3;
        if ((value & (1u << i)) && j < mData.size())
            mData[j] |= uint8_t(1u << (mWritePos & 7));
        ++mWritePos;
    }
    if (mWritePos > mBitSize)
        mBitSize = mWritePos;
}

void Buffer::WriteLong(int32_t value)
{
    const uint32_t v = uint32_t(value);
    WriteByte(uint8_t(v));
    WriteByte(uint8_t(v >> 8));
    WriteByte(uint8_t(v >> 16));
    WriteByte(uint8_t(v >> 24));
}

void Buffer::WriteString(const std::string& text)
{
    // A longer text would not fit the 16-bit length and would corrupt every
    // record after it: cut it.
    const size_t len = std::min(text.size(), size_t(kMaxStringLength));
    WriteByte(uint8_t(len));
    WriteByte(uint8_t(len >> 8));
    for (size_t i = 0; i < len; ++i)
        WriteByte(uint8_t(text[i]));
}

void Buffer::WriteBytes(const uint8_t* data, int count)
{
    for (int i = 0; i < count; ++i)
        WriteByte(data[i]);
}

uint8_t Buffer::ReadByte()
{
    // The test is against whole bytes held, not the bit size: the unwritten
    // tail bits of the last byte read as zeros.
    const size_t n = mData.size();
    if (size_t((int64_t(mReadPos) + 7) / 8) >= n)
        return 0;
    const int k = mReadPos & 7;
    const size_t j = size_t(mReadPos) >> 3;
    uint8_t result;
    if (k == 0)
        result = mData[j];
    else
        result = uint8_t((mData[j] >> k) | (mData[j + 1] << (8 - k)));
    mReadPos += 8;
    return result;
}

int32_t Buffer::ReadBits(int count, bool signExtend)
{
    count = std::clamp(count, 0, 32);
    uint32_t result = 0;
    bool lastBit = false;
    for (int i = 0; i < count; ++i) {
        const size_t j = size_t(mReadPos) >> 3;
        if (j >= mData.size())
            break;
        lastBit = (mData[j] >> (mReadPos & 7)) & 1;
        if (lastBit)
            result |= 1u << i;
        ++mReadPos;
    }
    if (signExtend && lastBit && count < 32)
        result |= ~0u << count;
    return int32_t(result);
}

int32_t Buffer::ReadLong()
{
    uint32_t v = ReadByte();
    v |= uint32_t(ReadByte()) << 8;
    v |= uint32_t(ReadByte()) << 16;
    v |= uint32_t(ReadByte()) << 24;
    return int32_t(v);
}

std::string Buffer::ReadString()
{
    uint16_t raw = ReadByte();
    raw = uint16_t(raw | (ReadByte() << 8));
    const int16_t len = int16_t(raw);
    std::string text;
    if (len <= 0)
        return text;
    text.resize(size_t(len));
    for (int16_t i = 0; i < len; ++i)
        text[size_t(i)] = char(ReadByte());
    return text;
}

void Buffer::ReadBytes(uint8_t* dest, int count)
{
    for (int i = 0; i < count; ++i)
        dest[i] = ReadByte();
}

} // namespace Zelk
