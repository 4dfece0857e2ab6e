#include "framework/app/ModValRegistry.h"
#include "framework/app/StringUtil.h"
#include "platform/NullPlatform.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <list>
#include <sys/time.h>

using namespace Zelk;

namespace {

// A slot as the compiler lays it out, built at run time so that the test
// program's own image holds no slot.
std::vector<uint8_t> MakeSlot(const std::string& tag)
{
    std::vector<uint8_t> s(ModValRegistry::kHeaderSize, 0);
    s[0] = 1;
    const char* marker = ModValRegistry::Marker();
    s.insert(s.end(), marker, marker + ModValRegistry::kMarkerLength);
    s.insert(s.end(), tag.begin(), tag.end());
    s.push_back(0);
    return s;
}

void SetFileTime(const std::string& path, time_t seconds)
{
    timeval times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimes(path.c_str(), times), 0);
}

class ModValFixture : public ::testing::Test {
protected:
    // Writes a source file of the given lines and activates a slot for each
    // listed line (as the program does when it first reads the constant).
    std::string WriteSource(const std::string& name, const std::vector<std::string>& lines)
    {
        std::string text;
        for (const std::string& l : lines)
            text += l + "\n";
        dir.Write(name, text);
        return dir / name;
    }
    uint8_t* Activate(const std::string& path, int a, int line)
    {
        slots.push_back(MakeSlot(path + std::to_string(a) + "," + std::to_string(line)));
        uint8_t* slot = slots.back().data();
        EXPECT_NE(registry.ActivateSlot(slot), nullptr);
        return slot;
    }
    static const ModValue& Value(uint8_t* slot) { return *ModValRegistry::SlotValue(slot); }
    std::vector<plat::NullMessageBoxes::Shown> Boxes() { return platform.messageBoxes.Log(); }

    plat::NullPlatform platform;
    testsupport::TempDir dir;
    ModValRegistry registry;
    std::list<std::vector<uint8_t>> slots;
};

} // namespace

TEST(ModValTag, ParseTable)
{
    struct {
        const char* tag;
        bool ok;
        const char* path;
        int a, b;
    } cases[] = {
        {"game.cpp7,120", true, "game.cpp", 7, 120},
        {"dir,x/a.cpp1,2", true, "dir,x/a.cpp", 1, 2},
        {"x1,2,3", true, "x1,", 2, 3}, // a second "," ends the numbers
        {"game.cpp", false, "", 0, 0},
        {"7,120", false, "", 0, 0}, // the scan reaches the first character
        {"game.cpp120", false, "", 0, 0},
        {"game.cpp7,", false, "", 0, 0},
        {"game.cpp,7", false, "", 0, 0},
        {"", false, "", 0, 0},
        {"game.cpp99999999999,1", false, "", 0, 0},
    };
    for (auto& c : cases) {
        std::string tag = c.tag;
        int a = -1, b = -1;
        ASSERT_EQ(ModValRegistry::ParseTag(tag, a, b), c.ok) << c.tag;
        if (c.ok) {
            EXPECT_EQ(tag, c.path) << c.tag;
            EXPECT_EQ(a, c.a) << c.tag;
            EXPECT_EQ(b, c.b) << c.tag;
        } else {
            EXPECT_EQ(tag, c.tag);
        }
    }
}

TEST(ModValScan, RegistersSlotsAtTheirStart)
{
    std::vector<uint8_t> region = {'j', 'u', 'n', 'k'};
    auto append = [&region](const std::vector<uint8_t>& bytes) {
        size_t at = region.size();
        region.insert(region.end(), bytes.begin(), bytes.end());
        return at;
    };
    size_t first = append(MakeSlot("game.cpp7,120"));
    size_t second = append(MakeSlot("game.cpp3,40"));
    append(MakeSlot(""));            // the marker followed by an empty text
    append(MakeSlot("nonumbers"));   // a tag without the numbers
    append(MakeSlot("other.cpp1,5"));
    size_t replacing = append(MakeSlot("other.cpp1,6")); // same file and order: replaces
    const char* marker = ModValRegistry::Marker();
    region.insert(region.end(), marker, marker + 10); // cut off: no terminator in range
    region.insert(region.end(), {'a', '1', ',', '2'});

    ModValRegistry r;
    ASSERT_TRUE(r.ScanRegion(region.data(), region.size()));
    const auto& files = r.GetFiles();
    ASSERT_EQ(files.size(), 2u);
    const auto& game = files.at("game.cpp");
    EXPECT_FALSE(game.active);
    ASSERT_EQ(game.entries.size(), 2u);
    EXPECT_EQ(game.entries.at(7).slot, region.data() + first);
    EXPECT_EQ(game.entries.at(7).line, 120);
    EXPECT_EQ(game.entries.at(3).slot, region.data() + second);
    EXPECT_EQ(game.entries.at(3).line, 40);
    const auto& other = files.at("other.cpp");
    ASSERT_EQ(other.entries.size(), 1u);
    EXPECT_EQ(other.entries.at(1).slot, region.data() + replacing);
    EXPECT_EQ(other.entries.at(1).line, 6);

    std::vector<uint8_t> empty = MakeSlot("");
    ModValRegistry none;
    EXPECT_FALSE(none.ScanRegion(empty.data(), empty.size()));
    EXPECT_TRUE(none.GetFiles().empty());
}

TEST_F(ModValFixture, ActivationGivesTheSlotAValueAndMarksItsFile)
{
    std::vector<uint8_t> slot = MakeSlot("src/a.cpp4,9");
    EXPECT_TRUE(ModValRegistry::SlotIsInactive(slot.data()));
    EXPECT_EQ(ModValRegistry::SlotValue(slot.data()), nullptr);
    ModValue* v = registry.ActivateSlot(slot.data());
    ASSERT_NE(v, nullptr);
    EXPECT_FALSE(ModValRegistry::SlotIsInactive(slot.data()));
    EXPECT_EQ(ModValRegistry::SlotValue(slot.data()), v);
    EXPECT_EQ(v->changed, 0);
    const auto& file = registry.GetFiles().at("src/a.cpp");
    EXPECT_TRUE(file.active);
    EXPECT_EQ(file.entries.at(4).slot, slot.data());
    EXPECT_EQ(file.entries.at(4).line, 9);
}

TEST_F(ModValFixture, ReloadStoresTheValuesWrittenAtTheMarkedLines)
{
    registry.SetNamedConstant("SPEED", 7);
    enum Kind { Int, Real, Text };
    struct {
        std::string line;
        Kind kind;
        int32_t integer;
        double real;
        std::string text;
    } cases[] = {
        {"float a = M(2.5f);", Real, 0, 2.5, ""},
        {"double d = M(-0.25);", Real, 0, -0.25, ""},
        {"const char* s = M(\"two\\nlines \\\"q\\\" \\\\ \\t\");", Text, 0, 0, "two\nlines \"q\" \\ \t"},
        {"int h = M(0x1F);", Int, 31, 0, ""},
        {"int n = M(-3);", Int, -3, 0, ""},
        {"int k = M3(12);", Int, 12, 0, ""},
        {"int s = M(SPEED);", Int, 7, 0, ""},
        {"int lo = M(-2147483648);", Int, INT32_MIN, 0, ""},
        {"int mask = M(0xFFFFFFFF);", Int, -1, 0, ""},
        // Beyond 32 bits the integer parse fails and the real one takes it.
        {"int big = M(2147483648);", Real, 0, 2147483648.0, ""},
        {"int huge = M(99999999999999999999);", Real, 0, 1e20, ""},
        // A character literal holding a double quote is skipped like a string.
        {"char q = '\"'; int after = M(5);", Int, 5, 0, ""},
        {"char e = '\\''; int esc = M(6);", Int, 6, 0, ""},
        {"int sep = 1'000; int digits = M(8);", Int, 8, 0, ""},
    };
    std::vector<std::string> lines = {"// tuning"};
    for (auto& c : cases)
        lines.push_back(c.line);
    lines.push_back("// " + std::string(20000, 'x')); // a long line does not shift the next
    lines.push_back("int late = M(11);");
    std::string path = WriteSource("tuning.cpp", lines);

    std::vector<uint8_t*> slotOf;
    int a = 0;
    for (size_t i = 0; i < std::size(cases); ++i)
        slotOf.push_back(Activate(path, a++, int(i) + 2));
    uint8_t* late = Activate(path, a++, int(lines.size()));

    SetFileTime(path, 2000);
    registry.SetReferenceTime(1000);
    EXPECT_TRUE(registry.ReloadAll());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(registry.GetReferenceTime(), 2000u);

    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const ModValue& v = Value(slotOf[i]);
        EXPECT_EQ(v.changed, 1) << c.line;
        EXPECT_EQ(v.integer, c.kind == Int ? c.integer : 0) << c.line;
        EXPECT_EQ(v.real, c.kind == Real ? c.real : 0.0) << c.line;
        EXPECT_EQ(v.text, c.kind == Text ? c.text : "") << c.line;
    }
    EXPECT_EQ(Value(late).integer, 11);
}

TEST_F(ModValFixture, WhatIsNotAMarkIsLeftAlone)
{
    // Each line holds an "M(" that would store 1 or fail to parse if it counted.
    const std::vector<std::string> lines = {
        "s = \"M(1) inside a string\";",
        "// M(1) in a comment",
        "/* M(1) */ x = 0;",
        "xM(1);",
        "M(1);", // "M" at the start of a line is not a mark
        "s = \"a string that goes \\",
        "on M(1) \";",
        "/* a comment that goes",
        "on M(1) */",
        "// a comment that goes on \\",
        "M(1) here",
        "q = '(' + M2(1);", // M2( is a mark: stores 1
    };
    std::string path = WriteSource("marks.cpp", lines);
    std::vector<uint8_t*> slotOf;
    for (size_t i = 0; i < lines.size(); ++i)
        slotOf.push_back(Activate(path, int(i), int(i) + 1));
    registry.SetReferenceTime(1);
    EXPECT_TRUE(registry.ReloadAll());
    EXPECT_TRUE(Boxes().empty());
    for (size_t i = 0; i + 1 < lines.size(); ++i)
        EXPECT_EQ(Value(slotOf[i]).changed, 0) << lines[i];
    EXPECT_EQ(Value(slotOf.back()).changed, 1);
    EXPECT_EQ(Value(slotOf.back()).integer, 1);
}

TEST_F(ModValFixture, BrokenSourcesStopTheReloadWithAnErrorBox)
{
    struct {
        std::vector<std::string> lines;
        int markLine;
        std::string message; // %s is the path
    } cases[] = {
        {{"x = M(2.5;"}, 1, "ERROR in %s on line 1.  Parsing Error."},
        {{"", "x = M( 2);"}, 2, "ERROR in %s on line 2.  Parsing Error."}, // no blank after "("
        {{"x = M(\"open);"}, 1, "ERROR in %s on line 1.  Parsing Error."},
        {{"x = M(\"bad \\q\");"}, 1, "ERROR in %s on line 1.  Parsing Error."},
        {{"x = M(0x);"}, 1, "ERROR in %s on line 1.  Parsing Error."},
        {{"x = M(0x100000000);"}, 1, "ERROR in %s on line 1.  Parsing Error."},
        {{"x = M(UNKNOWN);"}, 1, "ERROR in %s on line 1.  Parsing Error."},
        {{"x = M(.5);"}, 1, "ERROR in %s on line 1.  Parsing Error."},
        {{"s = \"never closed;", "y = 1;"}, 2, "ERROR in %s on line 1: Error parsing quotes"},
        {{"c = 'x;"}, 1, "ERROR in %s on line 1: Error parsing quotes"},
        {{"s = \"goes on \\"}, 1, "ERROR in %s on line 1: Error parsing quotes"},
        {{"y = 1;", "/* never closed", ""}, 1, "ERROR in %s on line 3: Error parsing c comment"},
        {{"y = 1; // goes on \\"}, 1, "ERROR in %s on line 1: Error parsing c++ comment"},
    };
    int n = 0;
    for (auto& c : cases) {
        ModValRegistry r;
        std::string path = WriteSource("broken" + std::to_string(n++) + ".cpp", c.lines);
        slots.push_back(MakeSlot(path + "1," + std::to_string(c.markLine)));
        r.ActivateSlot(slots.back().data());
        r.SetReferenceTime(1);
        platform.messageBoxes.Clear();
        EXPECT_FALSE(r.ReloadAll()) << c.lines[0];
        auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u) << c.lines[0];
        std::string expected = c.message;
        expected.replace(expected.find("%s"), 2, path);
        EXPECT_EQ(boxes[0].text, StringToWString(expected)) << c.lines[0];
        EXPECT_EQ(boxes[0].caption, L"MODVAL ERROR");
        EXPECT_EQ(boxes[0].flags, plat::MB_ICONERROR);
    }
}

TEST_F(ModValFixture, ReloadWarnsWhenNoFileChangedAndListsWhatItParsed)
{
    auto lastBox = [this] {
        auto boxes = Boxes();
        platform.messageBoxes.Clear();
        return boxes.empty() ? plat::NullMessageBoxes::Shown{} : boxes.back();
    };
    registry.SetReferenceTime(1000);
    EXPECT_FALSE(registry.ReloadAll());
    auto box = lastBox();
    EXPECT_EQ(box.text, L"WARNING: No file changes detected.  Files parsed: \r\n  none");
    EXPECT_EQ(box.caption, L"MODVAL WARNING!");
    EXPECT_EQ(box.flags, 0x30u);

    std::string a = WriteSource("a.cpp", {"x = M(1);"});
    std::string b = WriteSource("b.cpp", {"y = M(2);"});
    SetFileTime(a, 100);
    SetFileTime(b, 200);
    Activate(a, 0, 1);
    uint8_t* slotB = Activate(b, 0, 1);
    // A file whose constants were never read is not parsed, even when missing.
    std::vector<uint8_t> unread = MakeSlot(dir / "unread.cpp" + "0,1");
    registry.ScanRegion(unread.data(), unread.size());

    EXPECT_FALSE(registry.ReloadAll());
    EXPECT_EQ(lastBox().text, StringToWString("WARNING: No file changes detected.  Files parsed: \r\n  " + a +
                                              "\r\n  " + b));
    EXPECT_EQ(Value(slotB).integer, 2); // parsed all the same

    SetFileTime(b, 3000);
    EXPECT_TRUE(registry.ReloadAll());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(registry.GetReferenceTime(), 3000u);
    // Reported once: right after, nothing changed.
    EXPECT_FALSE(registry.ReloadAll());
    EXPECT_EQ(lastBox().caption, L"MODVAL WARNING!");

    std::string gone = dir / "gone.cpp";
    Activate(gone, 0, 1);
    EXPECT_FALSE(registry.ReloadAll());
    box = lastBox();
    EXPECT_EQ(box.text, StringToWString("ERROR: Unable to open " + gone + " for reparsing."));
    EXPECT_EQ(box.caption, L"MODVAL ERROR!");
    EXPECT_EQ(box.flags, plat::MB_ICONERROR);
}

TEST(ModValFileTime, SecondsSince1970OrZero)
{
    testsupport::TempDir dir;
    dir.Write("f.txt", "x");
    SetFileTime(dir / "f.txt", 1234567890);
    EXPECT_EQ(GetFileTimeSeconds(dir / "f.txt"), 1234567890u);
    EXPECT_EQ(GetFileTimeSeconds(dir / "none.txt"), 0u);
}
