#include "framework/resources/XMLParser.h"
#include "platform/NullPlatform.h"
#include "tests/framework/resources/FakePakInterface.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using Zelk::XMLElement;
using Zelk::XMLParser;

namespace {

// Every token of a document in a compact form: "<name{a=v,...}@section" for
// a start tag, "</name@section" for an end tag, "'text'", "?target|rest",
// "!comment"; then "| END" or "| ERR text @line".
std::wstring Tokens(XMLParser& parser)
{
    std::wstring out;
    XMLElement e;
    while (parser.NextElement(&e)) {
        switch (e.mType) {
        case XMLElement::TYPE_START: {
            out += L"<" + e.mValue;
            if (!e.mAttributeOrder.empty()) {
                out += L"{";
                for (size_t i = 0; i < e.mAttributeOrder.size(); ++i)
                    out += (i ? L"," : L"") + e.mAttributeOrder[i] + L"=" + e.mAttributes[e.mAttributeOrder[i]];
                out += L"}";
            }
            break;
        }
        case XMLElement::TYPE_END: out += L"</" + e.mValue; break;
        case XMLElement::TYPE_TEXT: out += L"'" + e.mValue + L"'"; break;
        case XMLElement::TYPE_INSTRUCTION: out += L"?" + e.mValue + L"|" + e.mInstruction; break;
        case XMLElement::TYPE_COMMENT: out += L"!" + e.mInstruction; break;
        }
        if (!e.mSection.empty())
            out += L"@" + e.mSection;
        out += L" ";
    }
    if (parser.HasFailed())
        return out + L"| ERR " + parser.GetErrorText() + L" @" + std::to_wstring(parser.GetCurrentLineNum());
    return out + L"| END";
}

std::string Utf16(const std::u16string& text, bool bigEndian)
{
    std::string out;
    for (char16_t u : text) {
        char lo = char(u & 0xFF), hi = char(u >> 8);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    }
    return out;
}

const std::string kBom8 = "\xEF\xBB\xBF";

class XMLParserTest : public ::testing::Test {
protected:
    plat::NullPlatform platform;
    testsupport::TempDir dir;
};

TEST_F(XMLParserTest, DocumentsGiveTheirTokensOrTheirFirstError)
{
    struct Case {
        std::string bytes;
        std::wstring expect;
    } cases[] = {
        // Empty-element tags.
        {"<a x=\"1\"/>", L"<a{x=1,x=1} </a@a | END"},
        {"<a x=\"v\"/>", L"<a{x=v,x=v} </a@a | END"}, // "v/" added again as "v"
        {"<a />", L"<a </a@a | END"},
        {"<a/>", L"<a </a@a | END"},
        {"<a b/>", L"<a{b/=} | END"},
        // Attributes: quoted ">" and blanks, blanks around "=", bare values.
        {"<a t=\"x > y\"  u = \"p=q\" v=1 w>", L"<a{t=x > y,u=p=q,v=1,w=} | END"},
        {"<a x=\"\" y=\"2\"></a>", L"<a{x=,y=2} </a@a | END"},
        // Text: white space collapses, quotes protect "<".
        {"<a>  one   two \t\n three  </a>", L"<a 'one two three'@a </a@a | END"},
        {"<a>say \"<b>\"</a>", L"<a 'say \"<b>\"'@a </a@a | END"},
        {"<a><b>x</b></a>", L"<a <b@a 'x'@a/b </b@a/b </a@a | END"},
        // Errors.
        {"<a>1 > 2</a>", L"<a | ERR Unexpected '>' @1"},
        {"<a <b>", L"| ERR Unexpected '<' @1"},
        {"<a></b>", L"<a | ERR End 'b' Doesn't Match Start 'a' @1"},
        {"</a>", L"| ERR Unexpected End @1"},
        {"<a x=\"1", L"| ERR Unexpected End of File @1"},
        {"<a>text", L"<a | ERR Unexpected End of File @1"},
        {"<a>\n<b>\n</c>", L"<a <b@a | ERR End 'c' Doesn't Match Start 'b' @3"},
        {"<a>\x01</a>", L"<a | ERR Illegal Character @1"},
        // End of the file between tokens with elements open is no error.
        {"<a><b>\n", L"<a <b@a | END"},
        // Comments need white space after "!--".
        {"<!-- c --><a/>", L"<a </a@a | END"},
        {"<!--c-->", L"<!--c-- | END"},
        {"<a><![CDATA[x]]></a>", L"<a <![CDATA[x]]@a | ERR End 'a' Doesn't Match Start '![CDATA[x]]' @1"},
        // Processing instructions; the target ends at wide white space.
        {"<?xml version=\"1.0\"?>", L"?xml| version=\"1.0\" | END"},
        {kBom8 + "<?a\xE3\x80\x80" "b?>", L"?a|\x3000" L"b | END"},
        // Entities, case-sensitive; an ampersand without a semicolon stays.
        {"<a x=\"&cr;|&foo;|&LT;|&lt;&amp;&quot;&apos;&nbsp;&gt;\">&lt;b&gt; & c</a>",
         L"<a{x=\n|&|&|<&\"' >} '<b> & c'@a </a@a | END"},
        // Encodings.
        {kBom8 + "<a>\xC3\xA9</a>", L"<a '\xE9'@a </a@a | END"},
        {"<a>\xE9</a>", L"<a '\xE9'@a </a@a | END"}, // no mark: bytes
        {"\xFF\xFE" + Utf16(u"<a>\u00E9</a>", false), L"<a '\xE9'@a </a@a | END"},
        {"\xFE\xFF" + Utf16(u"<a>\u4E20</a>", true), L"<a '\x4E20'@a </a@a | END"},
        {kBom8 + "<a>\xC0\x80</a>", L"<a | ERR Illegal Character @1"},
        {kBom8 + "<a>\xE0\x80\x80</a>", L"<a | ERR Illegal Character @1"},
        {kBom8 + "<a>\xED\xA0\x80</a>", L"<a | ERR Illegal Character @1"},
        {kBom8 + "<a>\xC3", L"<a | ERR Illegal Character @1"},
        {kBom8 + "<a>\xF8\x88\x80\x80\x80</a>", L"<a | ERR Illegal Character @1"},
        // Characters beyond U+FFFF are one character.
        {kBom8 + "<a>\xF0\x9F\x98\x80</a>", L"<a '\x1F600'@a </a@a | END"},
        {"\xFF\xFE" + Utf16(u"<a>\U0001F600</a>", false), L"<a '\x1F600'@a </a@a | END"},
        // White space is decided on the whole value: U+0120 and U+4E20 are
        // letters even though their low bytes are blank and tab-like.
        {kBom8 + "<a\xC4\xA0" "b x=\"1\">\xE4\xB8\xA0 \xC4\xA0</a\xC4\xA0" "b>",
         L"<a\x120" L"b{x=1} '\x4E20 \x120'@a\x120" L"b </a\x120" L"b@a\x120" L"b | END"},
        // A high surrogate without its low one is an error, not an end.
        {"\xFF\xFE" + Utf16(u"<a>x", false) + std::string("\x00\xD8", 2) + Utf16(u"y</a>", false),
         L"<a | ERR Illegal Character @1"},
        {"\xFF\xFE" + Utf16(u"<a/>", false) + std::string("\x00\xD8", 2), L"<a </a@a | ERR Illegal Character @1"},
    };

    FakePakInterface pak;
    for (const Case& c : cases) {
        dir.Write("doc.xml", c.bytes);
        XMLParser fromDisk;
        ASSERT_TRUE(fromDisk.OpenFile(dir / "doc.xml"));
        EXPECT_EQ(Tokens(fromDisk), c.expect) << c.bytes;
    }
    // The same documents from an archive entry read the same.
    ASSERT_TRUE(pak.Publish());
    for (const Case& c : cases) {
        pak.Add("doc.xml", c.bytes);
        XMLParser fromArchive;
        ASSERT_TRUE(fromArchive.OpenFile("doc.xml"));
        EXPECT_EQ(Tokens(fromArchive), c.expect) << c.bytes;
    }
}

// Every token carries the path of the open elements, so nesting without a
// bound made the parser quadratic: 100,000 levels took a minute. The path is
// bounded and the start tag that passes it is an error.
TEST_F(XMLParserTest, NestingPastThePathLimitIsAnError)
{
    auto levels = [](int count, const std::string& last) {
        std::string out;
        for (int i = 0; i < count; ++i)
            out += "<a>\n";
        return out + last;
    };
    struct Case {
        const char* what;
        std::string bytes;
        int starts; // start tags handed out before the error; -1: no error
    } cases[] = {
        // 512 names of one letter and 511 slashes: the limit exactly.
        {"a path of exactly the limit", levels(511, "<b></b>"), -1},
        {"thousands of levels", levels(5000, ""), 512},
        {"one name longer than the limit", "<" + std::string(XMLParser::kMaxSectionLength + 1, 'n') + ">", 0},
    };
    for (const Case& c : cases) {
        dir.Write("deep.xml", c.bytes);
        XMLParser parser;
        ASSERT_TRUE(parser.OpenFile(dir / "deep.xml"));
        XMLElement e;
        int starts = 0;
        size_t longest = 0;
        while (parser.NextElement(&e)) {
            starts += e.mType == XMLElement::TYPE_START;
            longest = std::max(longest, e.mSection.size());
        }
        EXPECT_LE(longest, XMLParser::kMaxSectionLength) << c.what;
        if (c.starts < 0) {
            EXPECT_FALSE(parser.HasFailed()) << c.what;
            EXPECT_EQ(starts, 512) << c.what;
            continue;
        }
        EXPECT_EQ(starts, c.starts) << c.what;
        EXPECT_EQ(parser.GetErrorText(), L"Elements Nested Too Deep") << c.what;
        EXPECT_EQ(parser.GetCurrentLineNum(), c.starts + 1) << c.what;
    }
}

TEST_F(XMLParserTest, CarriageReturnsNeverShiftUtf16FromAnArchive)
{
    // CR LF pairs, a CR as the high byte of a character, and a CR before a
    // line feed byte: an archive entry drops 0x0D in FGetC, so UTF-16 text
    // read byte by byte would lose its alignment.
    const std::u16string text = u"<a x=\"1\r\n2\">\r\n\u0D0A\u0D41\r\n</a>";
    FakePakInterface pak;
    pak.Add("cfg\\doc.xml", "\xFF\xFE" + Utf16(text, false));
    pak.Add("cfg\\be.xml", "\xFE\xFF" + Utf16(text, true));
    ASSERT_TRUE(pak.Publish());
    for (const char* name : {"cfg\\doc.xml", "cfg\\be.xml"}) {
        XMLParser parser;
        ASSERT_TRUE(parser.OpenFile(name));
        EXPECT_EQ(Tokens(parser), L"<a{x=1\n2} '\x0D0A\x0D41'@a </a@a | END") << name;
        EXPECT_EQ(parser.GetCurrentLineNum(), 4);
    }
}

TEST_F(XMLParserTest, OpeningAndCommentsAndState)
{
    XMLParser parser;
    EXPECT_FALSE(parser.OpenFile("properties\\missing.xml"));
    EXPECT_EQ(parser.GetErrorText(), L"Unable to open file properties\\missing.xml");
    EXPECT_EQ(parser.GetCurrentLineNum(), 0);
    EXPECT_TRUE(parser.HasFailed());
    EXPECT_EQ(parser.GetFileName(), "");

    // A later open resets the error, the line and the open elements.
    dir.Write("Properties/Doc.XML", "<r><!-- one\ntwo --></r>");
    ASSERT_TRUE(parser.OpenFile(dir.Path() + "\\properties\\doc.xml"));
    EXPECT_FALSE(parser.HasFailed());
    EXPECT_EQ(parser.GetErrorText(), L"");
    EXPECT_EQ(parser.GetCurrentLineNum(), 1);
    parser.AllowComments(true);
    EXPECT_EQ(Tokens(parser), L"<r !one\ntwo @r </r@r | END");
    EXPECT_EQ(parser.GetFileName(), dir.Path() + "\\properties\\doc.xml");
}

} // namespace
