#include "game/core/XmlFunctions.h"

#include "tests/game/core/Utf16File.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

// One element whose attribute "v" holds the text under test.
class XmlReaders : public ::testing::Test {
protected:
    XmlNode Element(const std::wstring& value)
    {
        std::wstring escaped;
        for (wchar_t c : value)
            escaped += c == L'"' ? std::wstring(L"&quot;") : std::wstring(1, c);
        EXPECT_TRUE(mDoc.LoadText(L"<e v=\"" + escaped + L"\"/>"));
        return XmlNode(mDoc).SelectSingle(L"e");
    }
    XmlNode NoAttribute()
    {
        mDoc.LoadText(L"<e/>");
        return XmlNode(mDoc).SelectSingle(L"e");
    }
    XmlDocument mDoc;
};

// 10^39 + 7: forty digits whose value wraps to 7 in 32 bits, with a scale
// that wraps to 0.
const std::wstring kFortyDigits = L"1" + std::wstring(38, L'0') + L"7";

} // namespace

TEST_F(XmlReaders, IntegersReadTheLeadingDigits)
{
    struct {
        std::wstring text;
        int want;
    } cases[] = {{L"12px", 12}, {L"12kg", 12}, {L"-7", -7}, {L"-", 0},     {L"", 0},
                 {L"+5", 0},    {L" 5", 0},    {L"3-4", 3}, {L"007", 7},   {kFortyDigits, 7},
                 {L"2147483648", int32_t(0x80000000u)}};
    for (auto& c : cases) {
        int value = 77, tried = 77;
        EXPECT_TRUE(XmlGetAttrInt(Element(c.text), L"v", value));
        EXPECT_TRUE(XmlTryGetAttrInt(Element(c.text), L"v", tried));
        EXPECT_EQ(value, c.want) << c.text.c_str();
        EXPECT_EQ(tried, c.want);
    }
    int value = 77;
    EXPECT_FALSE(XmlGetAttrInt(NoAttribute(), L"v", value));
    EXPECT_FALSE(XmlTryGetAttrInt(NoAttribute(), L"v", value));
    EXPECT_FALSE(XmlGetAttrInt(XmlNode(), L"v", value));
    EXPECT_EQ(value, 77);
    int scale = 0;
    EXPECT_EQ(ParseDecimal(L"1234", &scale), 1234);
    EXPECT_EQ(scale, 10000);
}

TEST_F(XmlReaders, FloatsAddTheFractionOverItsScale)
{
    struct {
        std::wstring text;
        float want;
    } cases[] = {{L"1.5", 1.5f},   {L"-0.25", -0.25f}, {L"-1.5", -1.5f}, {L"2.05", 2.05f},
                 {L".5", 0.5f},    {L"1e3", 1.0f},     {L"3", 3.0f},     {L"", 0.0f},
                 {L"4.", 4.0f},    {L"1.2.3", 1.2f},   {L"3." + kFortyDigits, 3.0f}};
    for (auto& c : cases) {
        float value = 77.0f;
        EXPECT_TRUE(XmlGetAttrFloat(Element(c.text), L"v", value));
        EXPECT_FLOAT_EQ(value, c.want) << c.text.c_str();
    }
    float value = 77.0f;
    EXPECT_FALSE(XmlGetAttrFloat(NoAttribute(), L"v", value));
    EXPECT_EQ(value, 77.0f);

    int integerPart = 9, fraction = 9, scale = 9;
    EXPECT_TRUE(XmlGetAttrFixed(Element(L"-2.05"), L"v", integerPart, fraction, scale));
    EXPECT_EQ(integerPart, -2);
    EXPECT_EQ(fraction, -5);
    EXPECT_EQ(scale, 100);
    EXPECT_TRUE(XmlGetAttrFixed(Element(L"8"), L"v", integerPart, fraction, scale));
    EXPECT_EQ(integerPart, 8);
    EXPECT_EQ(fraction, 0);
    EXPECT_EQ(scale, 0);
}

TEST_F(XmlReaders, BooleansAreTrueForTrueOrANonzeroNumber)
{
    struct {
        const wchar_t* text;
        bool want;
    } cases[] = {{L"false", false}, {L"no", false},   {L"0", false},   {L"", false}, {L"t", false},
                 {L"trueish", false}, {L"TRUE", false}, {L"1", true}, {L"true", true}, {L"-3", true}};
    for (auto& c : cases) {
        bool value = !c.want;
        EXPECT_TRUE(XmlGetAttrBool(Element(c.text), L"v", value));
        EXPECT_EQ(value, c.want) << c.text;
    }
    bool value = true;
    EXPECT_FALSE(XmlGetAttrBool(NoAttribute(), L"v", value));
    EXPECT_TRUE(value);
}

TEST_F(XmlReaders, FlagsNameWholeTableEntriesUntilAnEmptyName)
{
    const XmlFlag narrow[] = {{"A", 1}, {"b", 2}, {"\xC9t\xE9", 4}};
    const XmlFlagW wide[] = {{L"A", 1}, {L"b", 2}, {L"ab", 8}};
    struct {
        const wchar_t* text;
        uint32_t narrow, wide;
    } cases[] = {{L"a,B", 3, 0},  {L"A,b", 3, 3},  {L"a,,b", 1, 0}, {L",a", 0, 0},  {L" a", 0, 0},
                 {L"a ", 0, 0},   {L"ab", 0, 8},   {L"x,b", 2, 2},  {L"", 0, 0},    {L"\u00e9T\u00c9", 4, 0},
                 {L"a\U0001F600,b", 0, 2}};
    for (auto& c : cases) {
        uint32_t mask = 0x100;
        EXPECT_TRUE(XmlGetAttrFlags(Element(c.text), L"v", narrow, 3, mask));
        EXPECT_EQ(mask, c.narrow) << c.text;
        mask = 0x100;
        EXPECT_TRUE(XmlGetAttrFlagsW(Element(c.text), L"v", wide, 3, mask));
        EXPECT_EQ(mask, c.wide) << c.text;
    }
    uint32_t mask = 0x100;
    EXPECT_FALSE(XmlGetAttrFlags(Element(L"a"), L"v", nullptr, 3, mask));
    EXPECT_FALSE(XmlGetAttrFlags(Element(L"a"), L"v", narrow, 0, mask));
    EXPECT_FALSE(XmlGetAttrFlagsW(NoAttribute(), L"v", wide, 3, mask));
    EXPECT_EQ(mask, 0x100u);
    // The parse itself adds to the mask it is given.
    EXPECT_TRUE(XmlParseFlags("b", narrow, 3, mask));
    EXPECT_EQ(mask, 0x102u);
}

TEST_F(XmlReaders, TextsAreReadWhole)
{
    std::wstring longText(5000, L'x');
    struct {
        std::wstring text;
        std::wstring wide;
        std::string narrow;
    } cases[] = {{L"plain", L"plain", "plain"},
                 {L"\u00e9", L"\u00e9", "\xE9"},
                 {L"\U0001F600", L"\U0001F600", ""}, // one character, with no narrow form
                 {longText, longText, std::string(5000, 'x')},
                 {L"", L"", ""}};
    for (auto& c : cases) {
        std::wstring wide = L"old";
        std::string narrow = "old";
        EXPECT_TRUE(XmlGetAttrWString(Element(c.text), L"v", wide));
        EXPECT_TRUE(XmlGetAttrString(Element(c.text), L"v", narrow));
        EXPECT_EQ(wide, c.wide);
        EXPECT_EQ(narrow, c.narrow);
    }
    std::wstring wide = L"old";
    EXPECT_FALSE(XmlGetAttrWString(NoAttribute(), L"v", wide));
    EXPECT_EQ(wide, L"old");
}

TEST(XmlWalk, NodesComeInDocumentOrderUntilTheCallbackStops)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadText(L"<root><a n='1'/><x><params n='2'/></x><a n='3'/>text<!--c--><a n='4'/></root>"));
    auto collect = [](const XmlNode& node, void* list, void* limit) {
        auto& names = *static_cast<std::vector<std::wstring>*>(list);
        std::wstring text;
        XmlGetNodeTextW(node, XML_TEXT_NAME, text);
        names.push_back(text);
        return limit == nullptr || names.size() < *static_cast<size_t*>(limit);
    };
    std::vector<std::wstring> names;
    EXPECT_TRUE(XmlForEachNode(doc, L"//@n", collect, &names, nullptr));
    EXPECT_EQ(names, (std::vector<std::wstring>{L"n", L"n", L"n", L"n"}));
    names.clear();
    EXPECT_TRUE(XmlForEachNode(doc, L"//*[@n]", collect, &names, nullptr));
    EXPECT_EQ(names, (std::vector<std::wstring>{L"a", L"params", L"a", L"a"}));
    names.clear();
    size_t limit = 2;
    EXPECT_TRUE(XmlForEachNode(doc, L"root/a", collect, &names, &limit));
    EXPECT_EQ(names.size(), 2u);

    names.clear();
    EXPECT_TRUE(XmlForEachNode(doc, L"none", collect, &names, nullptr)); // empty selection
    EXPECT_FALSE(XmlForEachNode(doc, L"//[", collect, &names, nullptr)); // rejected
    EXPECT_FALSE(XmlForEachNode(XmlNode(), L"root", collect, &names, nullptr));
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(XmlCountNodes(doc, L"//a"), 3);
    EXPECT_EQ(XmlCountNodes(doc, L"//["), 0);
    EXPECT_EQ(XmlCountNodes(doc, L"//params"), 1);

    XmlNode root = XmlNode(doc).SelectSingle(L"root");
    EXPECT_TRUE(XmlForEachChild(root, plat::XML_NODE_ELEMENT, collect, &names, nullptr));
    EXPECT_EQ(names, (std::vector<std::wstring>{L"a", L"x", L"a", L"a"}));
    EXPECT_EQ(XmlCountChildren(root, plat::XML_NODE_ELEMENT), 4);
    EXPECT_EQ(XmlCountChildren(root, plat::XML_NODE_TEXT), 1);
    EXPECT_EQ(XmlCountChildren(root, plat::XML_NODE_COMMENT), 1);
    names.clear();
    EXPECT_TRUE(XmlForEachAttribute(root.SelectSingle(L"a"), collect, &names, nullptr));
    EXPECT_EQ(names, (std::vector<std::wstring>{L"n"}));
    EXPECT_FALSE(XmlForEachAttribute(root.SelectSingle(L"a/@n"), collect, &names, nullptr));
    EXPECT_FALSE(XmlForEachChild(XmlNode(), plat::XML_NODE_ELEMENT, collect, &names, nullptr));
}

TEST(XmlWalk, NodeTextsByMode)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadText(L"<r k='v\u00e9'>  some <i>inner</i> text </r>"));
    XmlNode r = XmlNode(doc).SelectSingle(L"r");
    XmlNode k = XmlGetAttributeNode(r, L"k");
    std::string text;
    std::wstring wide;
    EXPECT_TRUE(XmlGetNodeText(r, XML_TEXT_NAME, text));
    EXPECT_EQ(text, "r");
    EXPECT_TRUE(XmlGetNodeTextW(r, XML_TEXT_TEXT, wide));
    EXPECT_EQ(wide, L"some inner text");
    text = "old";
    EXPECT_FALSE(XmlGetNodeText(r, XML_TEXT_VALUE, text)); // an element has no value
    EXPECT_EQ(text, "old");
    EXPECT_TRUE(XmlGetNodeText(k, XML_TEXT_VALUE, text));
    EXPECT_EQ(text, "v\xE9");
    EXPECT_TRUE(XmlGetAttributeNode(r, L"none").IsEmpty());
    EXPECT_FALSE(XmlGetNodeText(XmlNode(), XML_TEXT_NAME, text));
}

TEST(XmlWalk, AttributesAndElementsCanBeWritten)
{
    XmlDocument doc;
    ASSERT_TRUE(XmlCreateDocument(doc));
    XmlNode top = doc;
    XmlNode root = XmlCreateChildElement(top, L"root");
    XmlNode second = XmlCreateChildElement(root, L"second");
    XmlNode first = XmlCreateChildElement(root, L"first", second);
    XmlSetAttribute(first, L"n", "%d-%s", 12, "\xE9");
    XmlSetAttribute(first, L"n", "%d", 13); // replaces
    XmlSetAttribute(first, L"", "%d", 14);  // no name: nothing
    std::wstring value;
    EXPECT_TRUE(XmlGetAttrWString(XmlNode(doc).SelectSingle(L"root/*[1]"), L"n", value));
    EXPECT_EQ(value, L"13");
    EXPECT_EQ(XmlCountNodes(doc, L"root/*"), 2);
    XmlSetAttribute(first, L"s", "%s", "\xE9");
    EXPECT_TRUE(XmlGetAttrWString(first, L"s", value));
    EXPECT_EQ(value, L"\u00e9");
}

namespace {

class XmlFiles : public ::testing::Test {
protected:
    // A document holding <old/>, to see whether a load replaced it.
    void SetUp() override { ASSERT_TRUE(mDoc.LoadText(L"<old/>")); }
    bool Load(const std::string& bytes)
    {
        mDir.Write("f.xml", bytes);
        return XmlLoadFile(mDir / "f.xml", mDoc);
    }
    int Elements() { return XmlCountNodes(mDoc, L"//*"); }
    testsupport::TempDir mDir;
    XmlDocument mDoc;
};

} // namespace

TEST_F(XmlFiles, Utf16FilesLoadAndOthersGiveEmptyDocuments)
{
    ASSERT_TRUE(Load(Utf16File(L"<a t='\u00e9\U0001F600'><b/></a>")));
    EXPECT_EQ(Elements(), 2);
    std::wstring t;
    EXPECT_TRUE(XmlGetAttrWString(XmlNode(mDoc).SelectSingle(L"a"), L"t", t));
    EXPECT_EQ(t, L"\u00e9\U0001F600");

    struct {
        const char* what;
        std::string bytes;
        int elements;
    } cases[] = {
        {"empty", "", 0},
        {"one byte", "\xFF", 0},
        {"only the mark", "\xFF\xFE", 0},
        {"UTF-8", "\xEF\xBB\xBF<a><b/></a>", 0},
        {"UTF-8 without mark", "<a><b/></a>", 0},
        {"malformed", Utf16File(L"<a><b></a>"), 0},
        {"odd last byte", Utf16File(L"<a><b/></a>") + "<", 2},
        {"no mark", Utf16File(L"<a/>").substr(2), 0},
    };
    for (auto& c : cases) {
        SetUp();
        EXPECT_TRUE(Load(c.bytes)) << c.what;
        EXPECT_EQ(Elements(), c.elements) << c.what;
    }
}

TEST_F(XmlFiles, AMissingFileKeepsTheDocument)
{
    EXPECT_FALSE(XmlLoadFile(mDir / "missing.xml", mDoc));
    EXPECT_EQ(XmlCountNodes(mDoc, L"old"), 1);
    // Names are spelt with "\" and any case, as the game spells them.
    mDir.Write("cfg/L1.xml", Utf16File(L"<params expert='100'/>"));
    EXPECT_TRUE(XmlLoadFile(mDir.Path() + "\\CFG\\l1.xml", mDoc));
    int expert = -1;
    EXPECT_TRUE(XmlGetAttrInt(XmlNode(mDoc).SelectSingle(L"//params"), L"expert", expert));
    EXPECT_EQ(expert, 100);
}
