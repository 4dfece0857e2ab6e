#include "framework/app/Utf16.h"
#include "game/core/PakDirectory.h"
#include "game/core/PakInterface.h"
#include "game/core/XmlFunctions.h"
#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"
#include "tools/makepak/PakWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Runs the program; its exit code, and what it printed in out.
int RunMakePak(const std::string& arguments, std::string* out = nullptr)
{
    return testsupport::RunCommand(std::string(MAKEPAK_PROGRAM) + " " + arguments + " 2>&1", out);
}

std::vector<PakDirectoryEntry> Directory(const std::string& archive)
{
    std::vector<PakDirectoryEntry> entries;
    EXPECT_TRUE(ParsePakDirectory(reinterpret_cast<const uint8_t*>(archive.data()), archive.size(), entries));
    return entries;
}

class MakePakTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        src.Write("cfg/ui.xml", "<root/>\n");
        src.Write("cfg/Sub/B.bin", std::string("\0\x5D\xFF\r\n", 5));
        src.Write("a.txt", "alpha");
        src.Write("Z.txt", "");
    }
    testsupport::TempDir src;
    testsupport::TempDir out;
};

TEST_F(MakePakTest, PacksSortedNamesWithBackslashesAndReadsBack)
{
    ASSERT_EQ(RunMakePak(out / "t.pak " + src.Path() + " --time 42"), 0);
    std::vector<PakDirectoryEntry> entries = Directory(out.Read("t.pak"));
    std::vector<std::string> names;
    for (const PakDirectoryEntry& e : entries) {
        names.push_back(e.name);
        EXPECT_EQ(e.fileTime, 42u);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Z.txt", "a.txt", "cfg\\Sub\\B.bin", "cfg\\ui.xml"}));

    PakInterface pak;
    ASSERT_TRUE(pak.AddPakFile(out / "t.pak"));
    for (const char* name : {"Z.txt", "a.txt", "cfg/Sub/B.bin", "cfg/ui.xml"}) {
        PakFile* f = pak.FOpen(name, "rb");
        ASSERT_NE(f, nullptr) << name;
        ASSERT_NE(f->record, nullptr) << name;
        std::string got(f->record->size, '\0');
        EXPECT_EQ(pak.FRead(&got[0], 1, got.size(), f), got.size());
        EXPECT_EQ(got, src.Read(name)) << name;
        pak.FClose(f);
    }

    std::string listing;
    EXPECT_EQ(RunMakePak("--list " + out / "t.pak", &listing), 0);
    EXPECT_NE(listing.find("cfg\\Sub\\B.bin"), std::string::npos) << listing;
}

TEST_F(MakePakTest, FixedTimesGiveEqualBytesAndFileTimesFollowTheFiles)
{
    ASSERT_EQ(RunMakePak(out / "1.pak " + src.Path() + " --time 7"), 0);
    ASSERT_EQ(RunMakePak(out / "2.pak " + src.Path() + " --time 7"), 0);
    EXPECT_EQ(out.Read("1.pak"), out.Read("2.pak"));

    std::string archive, error;
    ASSERT_TRUE(PackFolder(src.Path(), PakPackOptions(), archive, error)) << error;
    for (const PakDirectoryEntry& e : Directory(archive))
        EXPECT_GT(e.fileTime, 116444736000000000ULL) << e.name; // after 1970
}

TEST_F(MakePakTest, RefusesNamesOver255BytesAndBadArguments)
{
    src.Write(std::string(200, 'd') + "/" + std::string(55, 'f'), "x"); // 256 bytes with the separator
    std::string text;
    EXPECT_EQ(RunMakePak(out / "x.pak " + src.Path(), &text), 1);
    EXPECT_NE(text.find("255"), std::string::npos) << text;
    EXPECT_FALSE(out.Exists("x.pak"));

    PakWriter writer;
    writer.Add(std::string(255, 'n'), "ok", 0);
    std::string archive, error;
    EXPECT_TRUE(writer.Build(archive, error));

    EXPECT_EQ(RunMakePak(out / "y.pak"), 1);
    EXPECT_EQ(RunMakePak(out / "y.pak " + src.Path() + " --time"), 1);
    EXPECT_EQ(RunMakePak("--list " + src / "a.txt"), 1);
    EXPECT_EQ(RunMakePak(out / "z.pak " + out / "missing"), 1);
}

TEST_F(MakePakTest, Utf16XmlConversionReadsBackAsTheSameText)
{
    const std::string utf8 = "<root t=\"caf\xC3\xA9 \xF0\x9F\x98\x80\"/>";
    src.Write("cfg/loc.xml", "\xEF\xBB\xBF" + utf8);
    ASSERT_EQ(RunMakePak(out / "u.pak " + src.Path() + " --time 1 --utf16-xml"), 0);
    PakInterface pak;
    ASSERT_TRUE(pak.AddPakFile(out / "u.pak"));
    PakFile* f = pak.FOpen("cfg\\loc.xml", "rb");
    ASSERT_NE(f, nullptr);
    std::string bytes(f->record->size, '\0');
    pak.FRead(&bytes[0], 1, bytes.size(), f);
    pak.FClose(f);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    std::wstring text = Zelk::Utf16LEToWide(reinterpret_cast<const uint8_t*>(bytes.data()) + 2, bytes.size() - 2);
    EXPECT_EQ(text, L"<root t=\"caf\u00E9 \U0001F600\"/>");
    // The game's reader, through the published layer, sees the same text.
    XmlDocument doc;
    XmlCreateDocument(doc);
    ASSERT_TRUE(XmlLoadFile("cfg\\loc.xml", doc));
    std::wstring value;
    ASSERT_TRUE(XmlGetAttrWString(doc.Node().SelectSingle(L"root"), L"t", value));
    EXPECT_EQ(value, L"caf\u00E9 \U0001F600");
    EXPECT_EQ(value.size(), 6u); // U+1F600 is one character
    // Other files stay as they are.
    f = pak.FOpen("a.txt", "rb");
    char alpha[8] = {};
    EXPECT_EQ(pak.FRead(alpha, 1, sizeof alpha, f), 5u);
    pak.FClose(f);
    EXPECT_STREQ(alpha, "alpha");
}

TEST_F(MakePakTest, MalformedUtf8XmlFailsWithItsName)
{
    const char* bad[] = {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF"};
    for (const char* bytes : bad) {
        testsupport::TempDir dir;
        dir.Write("cfg/broken.xml", std::string("<a>") + bytes + "</a>");
        std::string text;
        EXPECT_EQ(RunMakePak(out / "m.pak " + dir.Path() + " --utf16-xml", &text), 1);
        EXPECT_NE(text.find("cfg\\broken.xml"), std::string::npos) << text;
        // Without the conversion the bytes are packed as they are.
        EXPECT_EQ(RunMakePak(out / "m.pak " + dir.Path()), 0);
    }
}

} // namespace

namespace {

TEST(PackArchiveAtBuildTest, TheBuildPacksAFolderWithXmlAsUtf16)
{
    PakInterface pak;
    ASSERT_TRUE(pak.AddPakFile(FIXTURE_PAK));
    PakFile* f = pak.FOpen("cfg\\loc.xml", "rb");
    ASSERT_NE(f, nullptr);
    ASSERT_NE(f->record, nullptr);
    EXPECT_EQ(f->record->fileTime, 0u);
    EXPECT_EQ(pak.FGetWC(f), 0xFEFF);
    std::wstring text;
    for (int c; (c = pak.FGetWC(f)) != 0xFFFF;)
        text += wchar_t(c);
    pak.FClose(f);
    EXPECT_NE(text.find(L"Quillmore \u2013 caf\u00E9"), std::wstring::npos);
    f = pak.FOpen("readme.txt", "rb");
    char line[32];
    EXPECT_STREQ(pak.FGetS(line, sizeof line, f), "plain bytes\n");
    pak.FClose(f);
}

} // namespace
