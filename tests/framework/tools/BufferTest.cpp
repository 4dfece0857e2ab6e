#include "framework/app/Buffer.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using Zelk::Buffer;

namespace {

std::vector<uint8_t> Bytes(const Buffer& b)
{
    const uint8_t* p = b.GetDataPtr();
    return p ? std::vector<uint8_t>(p, p + b.GetDataLen()) : std::vector<uint8_t>();
}

} // namespace

// What each sequence of writes leaves in memory: the stream layout of demo files.
TEST(Buffer, WriteLayout)
{
    struct Case {
        const char* name;
        std::function<void(Buffer&)> write;
        std::vector<uint8_t> bytes;
        int bits;
    } cases[] = {
        {"bits then a split byte", [](Buffer& b) { b.WriteBits(5, 3); b.WriteByte(0xFF); }, {0xFD, 0x07}, 11},
        {"long low byte first", [](Buffer& b) { b.WriteLong(258); }, {2, 1, 0, 0}, 32},
        {"negative long", [](Buffer& b) { b.WriteLong(-2); }, {0xFE, 0xFF, 0xFF, 0xFF}, 32},
        {"empty string", [](Buffer& b) { b.WriteString(""); }, {0, 0}, 16},
        {"string", [](Buffer& b) { b.WriteString("ab"); }, {2, 0, 'a', 'b'}, 32},
        {"bool", [](Buffer& b) { b.WriteBool(true); b.WriteBool(false); }, {1, 0}, 16},
        {"bit count clamped to 32", [](Buffer& b) { b.WriteBits(0xFFFFFFFF, 40); }, {0xFF, 0xFF, 0xFF, 0xFF}, 32},
        {"negative bit count", [](Buffer& b) { b.WriteBits(1, -3); }, {}, 0},
        {"long at bit 1", [](Buffer& b) { b.WriteBits(1, 1); b.WriteLong(0x7F); }, {0xFF, 0, 0, 0, 0}, 33},
        {"bytes", [](Buffer& b) { const uint8_t d[] = {9, 8, 7}; b.WriteBytes(d, 3); }, {9, 8, 7}, 24},
    };
    for (auto& c : cases) {
        Buffer b;
        c.write(b);
        EXPECT_EQ(Bytes(b), c.bytes) << c.name;
        EXPECT_EQ(b.GetBitSize(), c.bits) << c.name;
        EXPECT_EQ(b.GetWritePos(), c.bits) << c.name;
    }
}

TEST(Buffer, ReadBitsAndBytes)
{
    Buffer b;
    b.WriteBits(1, 1);
    EXPECT_EQ(b.ReadBits(1, false), 1);
    // Fewer than 8 bits remain in the bytes: 0 and the position stays.
    EXPECT_EQ(b.ReadByte(), 0);
    EXPECT_EQ(b.GetReadPos(), 1);

    Buffer s;
    s.WriteBits(0x9, 4); // bits 1, 0, 0, 1
    EXPECT_EQ(s.ReadBits(4, true), -7);
    s.SeekFront();
    EXPECT_EQ(s.ReadBits(4, false), 9);
    s.SeekFront();
    EXPECT_EQ(s.ReadBits(3, true), 1); // last bit read is 0: no extension

    Buffer w;
    w.WriteLong(-123456);
    EXPECT_EQ(w.ReadBits(40, false), -123456); // clamped to 32
    EXPECT_EQ(w.GetReadPos(), 32);
}

TEST(Buffer, AnyNonZeroByteIsTrue)
{
    const uint8_t data[] = {0x01, 0x80, 0xFF, 0x00};
    Buffer b;
    ASSERT_TRUE(b.SetData(data, sizeof data));
    EXPECT_TRUE(b.ReadBool());
    EXPECT_TRUE(b.ReadBool());
    EXPECT_TRUE(b.ReadBool());
    EXPECT_FALSE(b.ReadBool());
}

TEST(Buffer, ReadingPastTheEndYieldsZeros)
{
    Buffer empty;
    EXPECT_EQ(empty.ReadLong(), 0);
    EXPECT_EQ(empty.ReadString(), "");
    EXPECT_EQ(empty.ReadBits(8, true), 0);
    EXPECT_EQ(empty.GetReadPos(), 0);
    EXPECT_EQ(empty.GetDataPtr(), nullptr);

    // Only the bits that are there are read, then the position stops.
    Buffer b;
    b.WriteBits(0x3, 2); // one byte held: bits 2..7 are unwritten zeros
    EXPECT_EQ(b.ReadBits(12, false), 0x3);
    EXPECT_EQ(b.GetReadPos(), 8);
    EXPECT_TRUE(b.AtEnd());

    // A string whose length runs past the end reads zeros for the missing bytes.
    Buffer t;
    const uint8_t cut[] = {3, 0, 'x'};
    t.SetData(cut, sizeof cut);
    EXPECT_EQ(t.ReadString(), std::string("x\0\0", 3));
}

// Writes after SetData append to the data: bits and whole bytes land in one
// stream that reads back in order.
TEST(Buffer, WritesAfterSetDataAppend)
{
    const uint8_t data[] = {1, 2};
    Buffer b;
    ASSERT_TRUE(b.SetData(data, sizeof data));
    b.WriteBits(1, 1);
    b.WriteByte(0xAB);
    b.WriteLong(-5);
    EXPECT_EQ(b.GetWritePos(), 16 + 1 + 8 + 32);
    EXPECT_EQ(b.GetBitSize(), 16 + 1 + 8 + 32);
    EXPECT_EQ(b.ReadByte(), 1);
    EXPECT_EQ(b.ReadByte(), 2);
    EXPECT_EQ(b.ReadBits(1, false), 1);
    EXPECT_EQ(b.ReadByte(), 0xAB);
    EXPECT_EQ(b.ReadLong(), -5);
}

TEST(Buffer, DataAccess)
{
    Buffer b;
    b.WriteBits(0x1FF, 9);
    EXPECT_EQ(b.GetDataLen(), 2);

    const uint8_t data[] = {1, 2, 3};
    Buffer s;
    ASSERT_TRUE(s.SetData(data, 3));
    EXPECT_EQ(s.GetBitSize(), 24);
    EXPECT_EQ(s.GetDataLen(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(s.AtEnd());
        EXPECT_EQ(s.ReadByte(), data[i]);
    }
    EXPECT_TRUE(s.AtEnd());

    s.Clear();
    EXPECT_EQ(s.GetDataPtr(), nullptr);
    EXPECT_EQ(s.GetBitSize(), 0);
    EXPECT_EQ(s.GetReadPos(), 0);
    EXPECT_TRUE(s.AtEnd());
}

// The property the demo format depends on: every kind of value survives
// being written at an odd bit offset.
TEST(Buffer, UnalignedRoundTrip)
{
    const std::string text = "office \xE9t\xE9";
    const uint8_t raw[] = {0x00, 0xFF, 0x5A};
    Buffer b;
    b.WriteBits(0x5, 3);
    b.WriteByte(0xA7);
    b.WriteBool(true);
    b.WriteLong(int32_t(0x80000001));
    b.WriteString(text);
    b.WriteBits(0x2AB, 10);
    b.WriteBytes(raw, 3);
    b.WriteBits(1, 1);

    EXPECT_EQ(b.ReadBits(3, false), 5);
    EXPECT_EQ(b.ReadByte(), 0xA7);
    EXPECT_TRUE(b.ReadBool());
    EXPECT_EQ(b.ReadLong(), int32_t(0x80000001));
    EXPECT_EQ(b.ReadString(), text);
    EXPECT_EQ(b.ReadBits(10, false), 0x2AB);
    uint8_t back[3] = {};
    b.ReadBytes(back, 3);
    EXPECT_EQ(std::vector<uint8_t>(back, back + 3), std::vector<uint8_t>(raw, raw + 3));
    EXPECT_EQ(b.ReadBits(1, false), 1);
    EXPECT_TRUE(b.AtEnd());
}

TEST(Buffer, Limits)
{
    // A string too long for its 16-bit length is cut, and the record after
    // it is still found.
    Buffer b;
    b.WriteString(std::string(40000, 'q'));
    b.WriteLong(77);
    EXPECT_EQ(b.ReadString(), std::string(Buffer::kMaxStringLength, 'q'));
    EXPECT_EQ(b.ReadLong(), 77);

    // A length with the top bit set reads as nothing.
    const uint8_t negative[] = {0xFF, 0xFF, 'a'};
    Buffer n;
    n.SetData(negative, sizeof negative);
    EXPECT_EQ(n.ReadString(), "");
    EXPECT_EQ(n.GetReadPos(), 16);

    // Data whose bit positions would not fit is refused and changes nothing.
    Buffer big;
    big.WriteByte(42);
    const uint8_t one = 1;
    EXPECT_FALSE(big.SetData(&one, Buffer::kMaxBytes + 1));
    EXPECT_EQ(Bytes(big), std::vector<uint8_t>{42});
    EXPECT_EQ(big.GetBitSize(), 8);
}
