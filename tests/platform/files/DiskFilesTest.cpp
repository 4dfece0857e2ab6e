#include "platform/files/DiskFiles.h"
#include "platform/files/NamedSlots.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::string ReadAll(FILE* f)
{
    std::string out;
    int c;
    while ((c = getc(f)) != EOF)
        out += char(c);
    return out;
}

TEST(DiskFilesTest, ResolvesSeparatorsAndLetterCase)
{
    testsupport::TempDir dir;
    dir.Write("properties/resources.xml", "x");
    dir.Write("Data/Images/Logo.PNG", "x");
    dir.Write("exact/A.txt", "x");
    dir.Write("exact/a.txt", "x");
    const std::string root = dir.Path() + "/";

    struct Case {
        std::string name;
        bool forCreate;
        std::string expect; // relative to root; "-" for no result
    } cases[] = {
        {"Properties\\Resources.XML", false, "properties/resources.xml"},
        {"data\\\\images/logo.png", false, "Data/Images/Logo.PNG"},
        {"exact\\a.txt", false, "exact/a.txt"},   // an exact match wins
        {"exact\\A.txt", false, "exact/A.txt"},
        {"EXACT\\a.TXT", false, "exact/A.txt"},   // the byte-wise smallest of two
        {"properties\\missing.xml", false, "-"},
        {"nowhere\\resources.xml", false, "-"},
        {"DATA\\new.png", true, "Data/new.png"},
        {"DATA\\IMAGES\\logo.png", true, "Data/Images/Logo.PNG"},
        {"nowhere\\new.png", true, "-"},
    };
    for (const Case& c : cases) {
        std::string got = plat::ResolvePath(root + c.name, c.forCreate);
        EXPECT_EQ(got, c.expect == "-" ? std::string() : root + c.expect) << c.name;
    }
}

TEST(DiskFilesTest, TextModeDropsCarriageReturnsBeforeLineFeeds)
{
    testsupport::TempDir dir;
    const std::string text = "a\r\nb\rc\r\r\nd\r";
    dir.Write("t.txt", text);

    struct Case {
        const char* mode;
        std::string expect;
    } cases[] = {
        {"r", "a\nb\rc\r\nd\r"},
        {"rt", "a\nb\rc\r\nd\r"},
        {"rb", text},
        {"r+b", text},
    };
    for (const Case& c : cases) {
        FILE* f = plat::OpenFile(dir / "T.TXT", c.mode);
        ASSERT_NE(f, nullptr) << c.mode;
        EXPECT_EQ(ReadAll(f), c.expect) << c.mode;
        // Positions count the bytes of the file in every mode.
        ASSERT_EQ(fseek(f, 0, SEEK_END), 0);
        EXPECT_EQ(ftell(f), long(text.size())) << c.mode;
        ASSERT_EQ(fseek(f, 1, SEEK_SET), 0);
        EXPECT_EQ(getc(f), c.expect[1]) << c.mode;
        fclose(f);
    }
}

TEST(DiskFilesTest, WritingCreatesTheFileInTheMatchingFolder)
{
    testsupport::TempDir dir;
    dir.Write("Shots/keep.txt", "");
    FILE* f = plat::OpenFile(dir.Path() + "\\shots\\New.png", "wb");
    ASSERT_NE(f, nullptr);
    fputs("\r\n", f);
    fclose(f);
    EXPECT_EQ(dir.Read("Shots/New.png"), "\r\n");
    EXPECT_EQ(plat::OpenFile(dir / "missing", "r"), nullptr);
    EXPECT_EQ(plat::OpenFile(dir / "Shots/keep.txt", ""), nullptr);
}

TEST(DiskFilesTest, WideCharactersAreTwoBytesWithNothingSkipped)
{
    testsupport::TempDir dir;
    dir.Write("w.bin", std::string("\x41\x00\x0d\x00\x0a\x20\x7f", 7));
    FILE* f = plat::OpenFile(dir / "w.bin", "rb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(plat::ReadWideChar(f), 0x41);
    EXPECT_EQ(plat::ReadWideChar(f), 0x0D);
    EXPECT_EQ(plat::ReadWideChar(f), 0x200A);
    EXPECT_EQ(plat::ReadWideChar(f), 0xFFFF); // one odd byte left
    fclose(f);
}

TEST(NamedSlotsTest, SlotsAreKeptByName)
{
    int a = 0;
    std::atomic<void*>& slot = plat::NamedSlot("test-slot");
    EXPECT_EQ(slot.load(), nullptr);
    slot.store(&a);
    EXPECT_EQ(plat::NamedSlot("test-slot").load(), &a);
    EXPECT_EQ(plat::NamedSlot("other-slot").load(), nullptr);
    slot.store(nullptr);
}

} // namespace
