#include "framework/resources/PakFileAccess.h"
#include "game/core/PakDirectory.h"
#include "game/core/PakInterface.h"
#include "tests/support/TempDir.h"
#include "tools/makepak/PakWriter.h"
#include "tests/support/CurrentFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <fcntl.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

std::string BuildPak(const Entries& entries)
{
    PakWriter writer;
    for (const auto& [name, data] : entries)
        writer.Add(name, data, 0x01D0000012345678ULL);
    std::string archive, error;
    EXPECT_TRUE(writer.Build(archive, error)) << error;
    return archive;
}

std::string Scramble(std::string bytes)
{
    for (char& c : bytes)
        c = char(c ^ kPakKey);
    return bytes;
}

// A layer in a fresh current folder; the folder and the old current folder
// come back afterwards.
class PakInterfaceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(mFolder.Enter(mDir.Path())); }
    void TearDown() override { mFolder.Restore(); }

    void WritePak(const std::string& name, const Entries& entries) { mDir.Write(name, BuildPak(entries)); }

    // The whole entry or disk file, read through the layer.
    std::string ReadAll(const std::string& name, const char* mode = "rb")
    {
        PakFile* f = pak.FOpen(name.c_str(), mode);
        if (!f)
            return "<none>";
        std::string out;
        char buffer[7];
        size_t n;
        while ((n = pak.FRead(buffer, 1, sizeof buffer, f)) > 0)
            out.append(buffer, n);
        pak.FClose(f);
        return out;
    }

    testsupport::TempDir mDir;
    testsupport::CurrentFolder mFolder;
    PakInterface pak;
};

TEST_F(PakInterfaceTest, EveryFormOfANameOpensTheOneEntry)
{
    WritePak("data.pak", {{"cfg\\ui.xml", "from archive"}});
    ASSERT_TRUE(pak.AddPakFile("data.pak"));
    std::string upperFolder = mDir.Path();
    for (char& c : upperFolder)
        c = char(toupper((unsigned char)c));
    for (const std::string& name : {std::string("cfg/ui.xml"), std::string("cfg\\\\ui.xml"), std::string("CFG/UI.XML"),
                                    std::string("anm\\..\\cfg\\ui.xml"), mDir.Path() + "/cfg/ui.xml",
                                    upperFolder + "\\cfg//ui.xml"}) {
        PakFile* f = pak.FOpen(name.c_str(), "rb");
        ASSERT_NE(f, nullptr) << name;
        EXPECT_NE(f->record, nullptr) << name;
        pak.FClose(f);
        EXPECT_EQ(ReadAll(name), "from archive") << name;
    }
}

TEST(PakNameTest, NormalisationTable)
{
    const std::pair<const char*, const char*> cases[] = {
        {"cfg/ui.xml", "CFG\\UI.XML"},     {"cfg\\\\ui.xml", "CFG\\UI.XML"}, {"a//\\/b", "A\\B"},
        {"anm\\..\\cfg\\ui.xml", "CFG\\UI.XML"}, {"a\\b\\..\\c", "A\\C"}, {"..\\x", "..\\X"},
        {"a..b", "A..B"},                    {"", ""},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(PakInterface::NormaliseName(in), out) << in;
    // No fixed buffer: long names stay whole.
    std::string longName(5000, 'x');
    EXPECT_EQ(PakInterface::NormaliseName(longName), std::string(5000, 'X'));
}

TEST_F(PakInterfaceTest, ReadModesHitTheArchiveAndWriteModesGoToDisk)
{
    WritePak("data.pak", {{"a.txt", "packed"}});
    ASSERT_TRUE(pak.AddPakFile("data.pak"));
    for (const char* mode : {"r", "rb", "rt", "RB"}) {
        PakFile* f = pak.FOpen("a.txt", mode);
        ASSERT_NE(f, nullptr) << mode;
        EXPECT_NE(f->record, nullptr) << mode;
        pak.FClose(f);
    }
    PakFile* w = pak.FOpen("a.txt", "w");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->record, nullptr);
    pak.FClose(w);
    EXPECT_TRUE(mDir.Exists("a.txt"));
    EXPECT_EQ(ReadAll("a.txt"), "packed");
    EXPECT_EQ(pak.FOpen("missing.txt", "rb"), nullptr);
}

TEST_F(PakInterfaceTest, LaterArchivesAndLaterRecordsWin)
{
    WritePak("loc.pak", {{"x.txt", "loc"}, {"only-loc.txt", "L"}});
    WritePak("data.pak", {{"X.TXT", "data"}});
    WritePak("mod.pak", {{"x.txt", "mod"}, {"dup.txt", "first"}, {"dup.txt", "second"}});
    for (const char* name : {"loc.pak", "data.pak", "mod.pak"})
        ASSERT_TRUE(pak.AddPakFile(name)) << name;
    EXPECT_EQ(ReadAll("x.txt"), "mod");
    EXPECT_EQ(ReadAll("dup.txt"), "second");
    EXPECT_EQ(ReadAll("only-loc.txt"), "L");
    // The archives themselves are never entries.
    EXPECT_EQ(pak.Records().count("DATA.PAK"), 0u);
    EXPECT_EQ(pak.Records().size(), 3u);
}

TEST_F(PakInterfaceTest, MalformedArchivesRegisterNothingAndTheDiskServes)
{
    mDir.Write("cfg/ui.xml", "from disk");
    const std::string good = Scramble(BuildPak({{"cfg\\ui.xml", "from archive"}, {"b.txt", "0123456789"}}));
    auto withByte = [&](size_t at, char value) {
        std::string plain = good;
        plain[at] = value;
        return plain;
    };
    const size_t directoryEnd = good.size() - std::strlen("from archive") - 10;
    const std::pair<const char*, std::string> cases[] = {
        {"wrong magic", withByte(0, 0x11)},
        {"version 1", withByte(4, 1)},
        {"empty file", ""},
        {"header only", good.substr(0, 8)},
        {"cut in a name", good.substr(0, 14)},
        {"cut before the end byte", good.substr(0, directoryEnd - 1)},
        {"data past the end", good.substr(0, good.size() - 1)},
        {"name length past the end", withByte(9, char(0xFF))},
    };
    for (const auto& [what, plain] : cases) {
        mDir.Write("bad.pak", Scramble(plain));
        PakInterface layer;
        EXPECT_FALSE(layer.AddPakFile("bad.pak")) << what;
        EXPECT_TRUE(layer.Records().empty()) << what;
        PakFile* f = layer.FOpen("cfg\\ui.xml", "rb");
        ASSERT_NE(f, nullptr) << what;
        EXPECT_EQ(f->record, nullptr) << what;
        layer.FClose(f);
    }
    mDir.Write("good.pak", Scramble(good));
    EXPECT_TRUE(pak.AddPakFile("good.pak"));
    EXPECT_EQ(ReadAll("cfg\\ui.xml"), "from archive");
    EXPECT_FALSE(pak.AddPakFile("missing.pak"));
}

TEST_F(PakInterfaceTest, ArchivesOf2GiBAreRefused)
{
    // A sparse file: a valid start, then holes up to 2 GiB.
    mDir.Write("big.pak", BuildPak({{"a.txt", "abc"}}));
    int fd = open("big.pak", O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, off_t(1) << 31), 0);
    close(fd);
    EXPECT_FALSE(pak.AddPakFile("big.pak"));
    EXPECT_TRUE(pak.Records().empty());
}

TEST_F(PakInterfaceTest, SeekClampsAndReadCopiesWhatIsLeft)
{
    WritePak("data.pak", {{"ten.bin", "0123456789"}});
    ASSERT_TRUE(pak.AddPakFile("data.pak"));
    PakFile* f = pak.FOpen("ten.bin", "rb");
    ASSERT_NE(f, nullptr);
    struct Seek {
        long offset;
        int origin;
        long expected;
    };
    const Seek seeks[] = {{0, SEEK_END, 10}, {-5, SEEK_SET, 0}, {100, SEEK_SET, 10}, {3, SEEK_SET, 3},
                          {2, SEEK_CUR, 5},  {7, 9, 5},         {LONG_MAX, SEEK_CUR, 10}, {LONG_MIN, SEEK_END, 0},
                          {-3, SEEK_END, 7}};
    for (const Seek& s : seeks) {
        EXPECT_EQ(pak.FSeek(f, s.offset, s.origin), 0);
        EXPECT_EQ(pak.FTell(f), s.expected) << s.offset << " from " << s.origin;
    }
    pak.FSeek(f, 4, SEEK_SET);
    char buffer[16] = {};
    EXPECT_EQ(pak.FRead(buffer, 4, 2, f), 1u); // 6 bytes left: 6 copied, one whole item
    EXPECT_EQ(std::string(buffer, 6), "456789");
    EXPECT_TRUE(pak.FEof(f));
    pak.FSeek(f, 0, SEEK_SET);
    EXPECT_EQ(pak.FRead(buffer, 0, 4, f), 0u);
    EXPECT_EQ(pak.FRead(buffer, 4, 0, f), 0u);
    EXPECT_EQ(pak.FTell(f), 0);
    EXPECT_EQ(pak.FRead(buffer, 2, SIZE_MAX, f), 5u); // the product overflows 64 bits: all that is left
    EXPECT_EQ(std::string(buffer, 10), "0123456789");
    pak.FClose(f);
}

TEST_F(PakInterfaceTest, CharacterAndLineReads)
{
    const std::string wide = std::string("A\0\r\0B\0C", 7);
    WritePak("data.pak", {{"text.txt", "a\rb\r\nc"}, {"wide.bin", wide}, {"lines.txt", "abc\nxy\r\nz"}});
    ASSERT_TRUE(pak.AddPakFile("data.pak"));

    PakFile* f = pak.FOpen("text.txt", "rb");
    std::string got;
    for (int c; (c = pak.FGetC(f)) != -1;)
        got += char(c);
    EXPECT_EQ(got, "ab\nc");
    EXPECT_EQ(pak.UngetC('q', f), 'q');
    EXPECT_EQ(pak.FGetC(f), 'c');
    pak.FClose(f);

    f = pak.FOpen("wide.bin", "rb");
    EXPECT_EQ(pak.FGetWC(f), 'A');
    EXPECT_EQ(pak.FGetWC(f), 'B'); // the carriage return unit is skipped
    EXPECT_EQ(pak.FGetWC(f), 0xFFFF); // an odd last byte is no unit
    pak.FClose(f);

    f = pak.FOpen("lines.txt", "rb");
    char line[8];
    std::memset(line, '#', sizeof line);
    EXPECT_EQ(pak.FGetS(line, 0, f), nullptr);
    EXPECT_EQ(line[0], '#'); // nothing written
    EXPECT_EQ(pak.FGetS(line, 4, f), line); // exactly n-1 characters before the line feed
    EXPECT_STREQ(line, "abc");
    EXPECT_STREQ(pak.FGetS(line, 8, f), "\n");
    EXPECT_STREQ(pak.FGetS(line, 8, f), "xy\n");
    EXPECT_STREQ(pak.FGetS(line, 1, f), "");
    EXPECT_STREQ(pak.FGetS(line, 8, f), "z");
    EXPECT_EQ(pak.FGetS(line, 8, f), nullptr);
    pak.FClose(f);
}

TEST_F(PakInterfaceTest, WideLinesFromAnEntryAndFromDisk)
{
    const std::string units = std::string("h\0i\0\r\0\n\0z\0", 10);
    WritePak("data.pak", {{"w.txt", units}});
    mDir.Write("disk.txt", units);
    ASSERT_TRUE(pak.AddPakFile("data.pak"));
    for (const char* name : {"w.txt", "disk.txt"}) {
        PakFile* f = pak.FOpen(name, "rb");
        ASSERT_NE(f, nullptr);
        wchar_t line[8];
        EXPECT_EQ(pak.FGetWS(line, 0, f), nullptr);
        EXPECT_STREQ(pak.FGetWS(line, 8, f), L"hi\n") << name;
        EXPECT_STREQ(pak.FGetWS(line, 8, f), L"z") << name;
        EXPECT_EQ(pak.FGetWS(line, 8, f), nullptr) << name;
        pak.FClose(f);
    }
}

TEST_F(PakInterfaceTest, FindListsArchiveKeysOnceInOrderThenTheDisk)
{
    WritePak("data.pak", {{"cfg\\sub\\a.xml", "1"}, {"cfg\\b.xml", "22"}, {"cfg\\c.txt", "3"}, {"other\\d.xml", "4"}});
    mDir.Write("cfg/disk.xml", "x");
    ASSERT_TRUE(pak.AddPakFile("data.pak"));

    plat::FindData data;
    PakFindData* find = pak.FindFirstFile("cfg\\*.xml", &data);
    ASSERT_NE(find, nullptr);
    std::vector<std::string> names{data.fileName};
    EXPECT_EQ(data.attributes, 0u);
    EXPECT_EQ(data.sizeLow, 2u);
    EXPECT_EQ(data.lastWriteTime, 0x01D0000012345678ULL);
    while (pak.FindNextFile(find, &data))
        names.push_back(data.fileName);
    EXPECT_FALSE(pak.FindNextFile(find, &data));
    EXPECT_TRUE(pak.FindClose(find));
    EXPECT_EQ(names, (std::vector<std::string>{"b.xml", "a.xml", "disk.xml"}));

    // Without "*" no entry matches; the disk has no such file either.
    EXPECT_EQ(pak.FindFirstFile("cfg\\b.xml", &data), nullptr);
    // ".*" after the star takes every key below the prefix.
    find = pak.FindFirstFile("OTHER\\*.*", &data);
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(data.fileName, "d.xml");
    pak.FindClose(find);
}

TEST_F(PakInterfaceTest, FreeFunctionsUseThePublishedLayerUntilItEnds)
{
    WritePak("data.pak", {{"a.txt", "line\n"}});
    ASSERT_TRUE(pak.AddPakFile("data.pak"));
    EXPECT_EQ(GetPakInterface(), &pak);
    PakFile* f = PakFOpen("A.TXT", "rb");
    ASSERT_NE(f, nullptr);
    char line[16];
    EXPECT_STREQ(PakFGetS(line, sizeof line, f), "line\n");
    EXPECT_TRUE(PakFEof(f));
    PakFClose(f);
    plat::FindData data;
    PakFindData* find = PakFindFirstFile("*.txt", &data);
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(data.fileName, "a.txt");
    EXPECT_TRUE(PakFindClose(find));
    {
        PakInterface second; // a second layer never replaces the first
        EXPECT_EQ(GetPakInterface(), &pak);
    }
    EXPECT_EQ(GetPakInterface(), &pak);
}

TEST(PakInterfaceLifetimeTest, ADeletedLayerIsWithdrawn)
{
    auto* layer = new PakInterface;
    EXPECT_EQ(GetPakInterface(), layer);
    delete layer;
    EXPECT_EQ(GetPakInterface(), nullptr);
    testsupport::TempDir dir;
    dir.Write("Sub/File.TXT", "x");
    plat::FindData data;
    PakFindData* find = PakFindFirstFile((dir.Path() + "\\sub\\*.txt").c_str(), &data);
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(data.fileName, "File.TXT");
    EXPECT_EQ(data.attributes, plat::kFileAttributeNormal);
    EXPECT_FALSE(PakFindNextFile(find, &data));
    PakFindClose(find);
}

TEST_F(PakInterfaceTest, DistinctHandlesReadInParallel)
{
    std::string data(1 << 20, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = char(i * 7 + (i >> 9));
    WritePak("data.pak", {{"big.bin", data}});
    ASSERT_TRUE(pak.AddPakFile("data.pak"));
    std::vector<std::thread> threads;
    std::vector<int> same(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] { same[size_t(t)] = ReadAll("big.bin") == data; });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(same, std::vector<int>(4, 1));
}

} // namespace
