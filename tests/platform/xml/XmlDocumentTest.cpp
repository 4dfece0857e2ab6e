#include "platform/xml/XmlDocument.h"

#include <gtest/gtest.h>

using namespace plat;

namespace {

std::vector<XmlNode> Select(const XmlNode& context, const std::wstring& xpath)
{
    std::vector<XmlNode> nodes;
    context.Select(xpath, nodes);
    return nodes;
}

const wchar_t* kDoc = L"<root a='1' b=' two '><!--note--><item id='x'> Hello <b>big</b>\n world </item>"
                      L"<item id='y'><![CDATA[raw<]]></item>\n  <deep><params expert='5'/></deep></root>";

} // namespace

TEST(XmlDocument, NodesHaveTheirDomTypesNamesTextsAndValues)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadText(kDoc));
    XmlNode root = doc.Node().SelectSingle(L"root");
    struct {
        XmlNode node;
        int type;
        const wchar_t* name;
        const wchar_t* text;
        bool hasValue;
        const wchar_t* value;
    } cases[] = {
        {doc.Node(), XML_NODE_DOCUMENT, L"#document", L"Hello big\n world raw<", false, L""},
        {root, XML_NODE_ELEMENT, L"root", L"Hello big\n world raw<", false, L""},
        {root.Attribute(L"b"), XML_NODE_ATTRIBUTE, L"b", L"two", true, L" two "},
        {root.Children()[0], XML_NODE_COMMENT, L"#comment", L"note", true, L"note"},
        {Select(root, L"item/text()")[0], XML_NODE_TEXT, L"#text", L"Hello", true, L" Hello "},
        {Select(root, L"item/text()")[2], XML_NODE_CDATA, L"#cdata-section", L"raw<", true, L"raw<"},
        {XmlNode(), XML_NODE_NONE, L"", L"", false, L""},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.node.Type(), c.type);
        EXPECT_EQ(c.node.Name(), c.name);
        EXPECT_EQ(c.node.Text(), c.text);
        std::wstring value = L"old";
        EXPECT_EQ(c.node.Value(value), c.hasValue);
        EXPECT_EQ(value, c.hasValue ? c.value : L"old");
    }
    // The text between the elements was only white space: no node.
    EXPECT_EQ(root.Children().size(), 4u);
    EXPECT_EQ(root.Attributes().size(), 2u);
    EXPECT_TRUE(root.Attribute(L"A").IsEmpty()); // names keep their case
}

TEST(XmlDocument, SelectionsComeInDocumentOrderFromAnyContext)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadText(kDoc));
    auto ids = Select(doc.Node(), L"//item/@id | //params/@expert");
    ASSERT_EQ(ids.size(), 3u);
    EXPECT_EQ(ids[0].Text(), L"x");
    EXPECT_EQ(ids[1].Text(), L"y");
    EXPECT_EQ(ids[2].Text(), L"5");
    XmlNode root = doc.Node().SelectSingle(L"root");
    EXPECT_EQ(Select(root, L"item").size(), 2u);
    EXPECT_EQ(Select(root, L"//params").size(), 1u);
    EXPECT_EQ(Select(ids[0], L"..")[0].Name(), L"item"); // an attribute as context
    EXPECT_TRUE(Select(root, L"nothing").empty());
}

TEST(XmlDocument, RejectedQueriesAndMalformedTextGiveNothing)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadText(kDoc));
    std::vector<XmlNode> nodes{XmlNode()};
    for (const wchar_t* bad : {L"//[", L"count(//item)", L"", L"root/"}) {
        EXPECT_FALSE(doc.Node().Select(bad, nodes)) << bad;
        EXPECT_TRUE(nodes.empty());
    }
    EXPECT_FALSE(XmlNode().Select(L"root", nodes));
    for (const wchar_t* text : {L"", L"<root>", L"<a></b>", L"just text"}) {
        EXPECT_FALSE(doc.LoadText(text));
        EXPECT_TRUE(doc.Node().Children().empty()) << text;
        EXPECT_TRUE(Select(doc.Node(), L"//*").empty());
    }
}

// Malformed text tells the line and column (from 1, in characters, a
// character beyond ASCII counting once) where the parser stopped, and why.
TEST(XmlDocument, MalformedTextTellsWhereItStopped)
{
    struct Case {
        const wchar_t* text;
        int line;
        int column;
    };
    const Case cases[] = {
        {L"<a>\n  <b></c>\n</a>", 2, 8},
        {L"<a t='\u00e9\u00e9'>\n\n<b></c></a>", 3, 6},
        {L"<a t='\u00e9\u00e9'></b>", 1, 13},
    };
    for (const Case& c : cases) {
        XmlDocument doc;
        EXPECT_FALSE(doc.LoadText(c.text));
        EXPECT_EQ(doc.ErrorLine(), c.line) << c.text;
        EXPECT_EQ(doc.ErrorColumn(), c.column) << c.text;
        EXPECT_FALSE(doc.ErrorReason().empty()) << c.text;
    }
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadText(L"<a/>"));
    EXPECT_EQ(doc.ErrorLine(), 0);
    EXPECT_TRUE(doc.ErrorReason().empty());
}

TEST(XmlDocument, Utf16TextKeepsCharactersBeyondTheBasicPlane)
{
    // <a t="é😀"/> in UTF-16 little-endian, with an odd last byte.
    std::u16string units = u"<a t=\"\u00e9\U0001F600\"/>";
    std::string bytes(reinterpret_cast<const char*>(units.data()), units.size() * 2);
    bytes += '\x7f';
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadUtf16LE(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    std::wstring value;
    ASSERT_TRUE(doc.Node().SelectSingle(L"a/@t").Value(value));
    EXPECT_EQ(value, L"\u00e9\U0001F600");
    EXPECT_EQ(value.size(), 2u);
}

TEST(XmlDocument, NodesKeepTheirTreeAfterReloadAndRelease)
{
    XmlNode kept;
    {
        XmlDocument doc;
        ASSERT_TRUE(doc.LoadText(L"<old v='1'/>"));
        kept = doc.Node().SelectSingle(L"old/@v");
        ASSERT_TRUE(doc.LoadText(L"<new/>"));
        EXPECT_EQ(doc.Node().SelectSingle(L"*").Name(), L"new");
    }
    EXPECT_EQ(kept.Text(), L"1");
    EXPECT_EQ(kept.SelectSingle(L"..").Name(), L"old");
}

TEST(XmlDocument, ElementsAndAttributesCanBeWritten)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadText(L"<root><last/></root>"));
    XmlNode root = doc.Node().SelectSingle(L"root");
    XmlNode last = root.SelectSingle(L"last");
    XmlNode first = root.CreateChildElement(L"first", last);
    XmlNode end = root.CreateChildElement(L"end");
    ASSERT_TRUE(first.SetAttribute(L"k", L"1"));
    ASSERT_TRUE(first.SetAttribute(L"k", L"\u00e92")); // replaces
    auto children = root.Children();
    ASSERT_EQ(children.size(), 3u);
    EXPECT_EQ(children[0], first);
    EXPECT_EQ(children[2], end);
    EXPECT_EQ(doc.Node().SelectSingle(L"//first/@k").Text(), L"\u00e92");
    EXPECT_EQ(first.Attributes().size(), 1u);
    // Only elements take attributes and children.
    XmlNode attr = first.Attribute(L"k");
    EXPECT_FALSE(attr.SetAttribute(L"x", L"1"));
    EXPECT_TRUE(attr.CreateChildElement(L"x").IsEmpty());
    EXPECT_TRUE(XmlNode().CreateChildElement(L"x").IsEmpty());
}
