#include "framework/resources/PakFileAccess.h"
#include "platform/NullPlatform.h"
#include "tests/framework/resources/FakePakInterface.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

class PakFileAccessTest : public ::testing::Test {
protected:
    plat::NullPlatform platform;
    testsupport::TempDir dir;
};

// 16 bytes whose values are their offsets, with a CR at offset 13.
const std::string kCounting = [] {
    std::string s;
    for (int i = 0; i < 16; ++i)
        s += char(i);
    return s;
}();

TEST_F(PakFileAccessTest, ArchiveReadsCopyWhatIsLeftAndCountWholeItems)
{
    FakePakInterface pak(0xA7);
    pak.Add("data\\block.bin", kCounting);
    ASSERT_TRUE(pak.Publish());

    struct Case {
        size_t size, count;
        size_t items, copied;
    } cases[] = {
        {1, 20, 10, 10},
        {2, 3, 3, 6},
        {2, 20, 5, 10},
        {4, 3, 2, 10}, // the partial trailing item is copied too
        {0, 5, 0, 0},
        {4, 0, 0, 0},
        {size_t(1) << 33, size_t(1) << 33, 0, 10}, // size x count beyond 64 bits
    };
    for (const Case& c : cases) {
        PakFile* f = PakFOpen("DATA/Block.bin", "rb");
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(PakFSeek(f, 6, SEEK_SET), 0);
        uint8_t buf[32] = {};
        EXPECT_EQ(PakFRead(buf, c.size, c.count, f), c.items) << c.size << "x" << c.count;
        EXPECT_EQ(PakFTell(f), long(6 + c.copied)) << c.size << "x" << c.count;
        for (size_t i = 0; i < c.copied; ++i)
            EXPECT_EQ(buf[i], 6 + i);
        EXPECT_EQ(PakFEof(f), c.copied == 10);
        PakFClose(f);
    }
}

TEST_F(PakFileAccessTest, ArchiveSeeksClampToTheEntry)
{
    FakePakInterface pak;
    pak.Add("a.bin", kCounting);
    ASSERT_TRUE(pak.Publish());

    struct Case {
        long start, offset;
        int origin;
        long expect;
    } cases[] = {
        {0, 0, SEEK_END, 16}, {0, -4, SEEK_END, 12}, {0, 5, SEEK_END, 16},
        {0, -5, SEEK_SET, 0},  {0, 100, SEEK_SET, 16}, {3, 2, SEEK_CUR, 5},
        {3, -100, SEEK_CUR, 0},
    };
    for (const Case& c : cases) {
        PakFile* f = PakFOpen("a.bin", "r");
        PakFSeekSet(f, c.start);
        EXPECT_EQ(PakFSeek(f, c.offset, c.origin), 0);
        EXPECT_EQ(PakFTell(f), c.expect) << c.offset << "/" << c.origin;
        PakFClose(f);
    }
}

TEST_F(PakFileAccessTest, CharacterReadsOnEntriesAndOnDisk)
{
    const std::string bytes("A\r\nB\r\x01", 6);
    dir.Write("disk.txt", bytes);
    FakePakInterface pak;
    pak.Add("entry.txt", bytes);
    ASSERT_TRUE(pak.Publish());

    // Entries skip every CR in FGetC; a disk file opened "rb" keeps them.
    PakFile* e = PakFOpen("entry.txt", "rb");
    PakFile* d = PakFOpen(dir / "disk.txt", "rb");
    ASSERT_TRUE(e && d && e->record && !d->record);
    std::string fromEntry, fromDisk;
    for (int c; (c = PakFGetC(e)) != -1;)
        fromEntry += char(c);
    for (int c; (c = PakFGetC(d)) != -1;)
        fromDisk += char(c);
    EXPECT_EQ(fromEntry, std::string("A\nB\x01"));
    EXPECT_EQ(fromDisk, bytes);

    // Three pushes back on an entry step back three bytes, never below 0.
    EXPECT_EQ(PakUnGetC('x', e), 'x');
    PakUnGetC('y', e);
    PakUnGetC('z', e);
    EXPECT_EQ(PakFTell(e), 3);
    EXPECT_EQ(PakFGetC(e), 'B');
    PakFSeekSet(e, 1);
    for (int i = 0; i < 3; ++i)
        PakUnGetC('q', e);
    EXPECT_EQ(PakFTell(e), 0);

    // Wide characters: 0xFFFF at the end and with one odd byte left.
    PakFSeekSet(e, 2);
    EXPECT_EQ(PakFGetWC(e), 0x420A);
    EXPECT_EQ(PakFGetWC(e), 0x010D);
    EXPECT_EQ(PakFGetWC(e), 0xFFFF);
    PakFSeekSet(e, 5);
    EXPECT_EQ(PakFGetWC(e), 0xFFFF);
    PakFSeekSet(d, 1);
    EXPECT_EQ(PakFGetWC(d), 0x0A0D); // on disk: a plain two-byte read
    PakFClose(e);
    PakFClose(d);
}

TEST_F(PakFileAccessTest, ReadModesLookInTheArchiveOthersGoToDisk)
{
    FakePakInterface pak;
    pak.Add("shot.png", "archived");
    ASSERT_TRUE(pak.Publish());
    FakePakInterface second;
    EXPECT_FALSE(second.Publish());
    EXPECT_EQ(GetPakInterface(), &pak);

    for (const char* mode : {"r", "rb", "rt", "RB"}) {
        PakFile* f = PakFOpen("SHOT.PNG", mode);
        ASSERT_NE(f, nullptr) << mode;
        EXPECT_NE(f->record, nullptr) << mode;
        PakFClose(f);
    }
    const std::string path = dir / "shot.png";
    PakFile* w = PakFOpen(path, "wb");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->record, nullptr);
    PakFClose(w);
    EXPECT_TRUE(dir.Exists("shot.png"));
    EXPECT_EQ(second.operations, 0);
    EXPECT_EQ(pak.openHandles, 0);
}

TEST_F(PakFileAccessTest, WithoutALayerFilesComeFromDiskUntilOneIsPublished)
{
    ASSERT_EQ(GetPakInterface(), nullptr);
    dir.Write("Properties/Resources.xml", "<a>\r\n</a>");
    const std::string name = dir.Path() + "\\properties\\RESOURCES.XML";

    PakFile* text = PakFOpen(name, "r");
    ASSERT_NE(text, nullptr);
    char buf[16] = {};
    EXPECT_EQ(PakFRead(buf, 1, sizeof buf, text), 8u); // CR LF read as LF
    EXPECT_EQ(std::string(buf), "<a>\n</a>");
    EXPECT_TRUE(PakFEof(text));

    // A layer published now serves the next open, but never sees the handle
    // made before it.
    FakePakInterface pak;
    pak.Add(name, "from the archive");
    ASSERT_TRUE(pak.Publish());
    EXPECT_EQ(PakFSeek(text, 0, SEEK_END), 0);
    EXPECT_EQ(PakFTell(text), 9);
    EXPECT_EQ(PakFClose(text), 0);
    EXPECT_EQ(pak.operations, 0);

    PakFile* f = PakFOpen(name, "rb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(PakFReadBytes(buf, 4, f), 4u);
    EXPECT_EQ(std::string(buf, 4), "from");
    PakFClose(f);
    EXPECT_EQ(pak.operations, 3);
    EXPECT_EQ(pak.openHandles, 0);
}

TEST_F(PakFileAccessTest, MissingFilesAndNullHandlesFailCleanly)
{
    EXPECT_EQ(PakFOpen(dir / "none.bin", "rb"), nullptr);
    EXPECT_EQ(PakFRead(nullptr, 1, 1, nullptr), 0u);
    EXPECT_EQ(PakFGetC(nullptr), -1);
    EXPECT_EQ(PakFGetWC(nullptr), 0xFFFF);
    EXPECT_TRUE(PakFEof(nullptr));
    EXPECT_EQ(PakOggSeek(nullptr, 0, SEEK_SET), -1);

    FakePakInterface pak;
    ASSERT_TRUE(pak.Publish());
    EXPECT_EQ(PakFOpen("none.bin", "rb"), nullptr);
    EXPECT_EQ(pak.opened, std::vector<std::string>{"none.bin"});
}

} // namespace
