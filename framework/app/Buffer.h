#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Zelk {

// A growable array of bytes written and read as a stream of bits.
//
// Bit k of the stream is bit (k mod 8) of byte k / 8: the first bit written is
// the least significant bit of the first byte. Bytes, 32-bit numbers and
// strings may start at any bit; numbers are written low byte first. A string
// is a 16-bit length (low byte first) followed by its bytes, no terminator.
// Writing only appends (the write position moves forward); the read position
// is independent of it. Reading never fails: past the end it yields zeros.
//
// This is the demo file's stream format: keep the layout exactly.
class Buffer {
public:
    // Longest string a buffer can hold; longer ones are cut when written.
    static constexpr int kMaxStringLength = 32767;
    // Most bytes a buffer can hold so that every bit position fits an i32.
    static constexpr size_t kMaxBytes = 0x0FFFFFFF;

    Buffer() = default;
    virtual ~Buffer() = default;

    // Frees the bytes; bit size and both positions become 0.
    void Clear();
    // Replaces the bytes by a copy of the given ones; the bit size becomes
    // 8 x count and the write position its end, so later writes append. The
    // read position is not moved (callers clear first). Data too large for
    // the bit positions is refused: false, nothing changed.
    bool SetData(const uint8_t* data, size_t count);

    void WriteByte(uint8_t value);
    // The low count bits of value, least significant first (count clamped to 0..32).
    void WriteBits(uint32_t value, int count);
    void WriteBool(bool value) { WriteByte(value ? 1 : 0); }
    void WriteLong(int32_t value);
    // 16-bit length then the bytes; text longer than kMaxStringLength is cut.
    void WriteString(const std::string& text);
    void WriteBytes(const uint8_t* data, int count);

    // 0 without moving when fewer than the 8 bits lie inside the bytes.
    uint8_t ReadByte();
    // Up to count bits (clamped to 0..32), least significant first; stops at
    // the end of the bytes. With signExtend, a last bit of 1 fills the bits
    // above count.
    int32_t ReadBits(int count, bool signExtend);
    bool ReadBool() { return ReadByte() != 0; }
    int32_t ReadLong();
    // A negative length reads as an empty string.
    std::string ReadString();
    void ReadBytes(uint8_t* dest, int count);

    // The first byte, or null when there are none.
    uint8_t* GetDataPtr() { return mData.empty() ? nullptr : mData.data(); }
    const uint8_t* GetDataPtr() const { return mData.empty() ? nullptr : mData.data(); }
    int32_t GetDataLen() const { return int32_t((int64_t(mBitSize) + 7) / 8); }
    void SeekFront() { mReadPos = 0; }
    bool AtEnd() const { return mReadPos >= mBitSize; }

    int32_t GetBitSize() const { return mBitSize; }
    int32_t GetReadPos() const { return mReadPos; }
    int32_t GetWritePos() const { return mWritePos; }
    // Moves the read position (a demo reader steps back over a record it
    // does not own).
    void SetReadPos(int32_t bitPos) { mReadPos = bitPos < 0 ? 0 : bitPos; }

private:
    static constexpr int32_t kMaxBits = int32_t(kMaxBytes * 8);

    std::vector<uint8_t> mData;
    int32_t mBitSize = 0;
    int32_t mReadPos = 0;
    int32_t mWritePos = 0;
};

} // namespace Zelk
