// Font descriptions: reading, splitting values, Defines, every command, and
// the exact error reports with their line numbers.
#include "FontTestSupport.h"

#include "framework/app/StringUtil.h"
#include "framework/fonts/FontData.h"
#include "framework/fonts/ImageFont.h"
#include "tools/hostilefiles/TextBombs.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace Zelk;
using namespace fonttest;

namespace {

struct Report {
    std::wstring text;
    int line;          // 0: no command line in the report
    std::wstring cmd;  // the command text shown with the line
};

class FontDescription : public ::testing::Test {
protected:
    FontDescription()
    {
        // A 30 x 10 layer image next to the descriptions.
        images.Add(dir / "glyphs.png", Filled(30, 10, 0xFFFFFFFF));
    }

    // Writes the text as the description file "font.txt" and loads it.
    std::unique_ptr<FontData> Load(const std::wstring& text, bool byteOrderMark = false, ZelkAppBase* app = nullptr)
    {
        test.ClearBoxes();
        dir.Write("font.txt", Utf16(text, byteOrderMark));
        auto data = std::make_unique<FontData>();
        EXPECT_TRUE(data->Load(app ? app : &test.app, Path()));
        return data;
    }
    std::string Path() const { return dir / "font.txt"; }

    std::wstring Message(const Report& r) const
    {
        std::wstring m = L"Font Descriptor Error in " + StringToWString(Path()) + L"\r\n" + r.text;
        if (r.line > 0)
            m += L" on Line " + std::to_wstring(r.line) + L":\r\n\r\n" + r.cmd;
        return m;
    }
    std::vector<std::wstring> Messages(const std::vector<Report>& reports) const
    {
        std::vector<std::wstring> out;
        for (auto& r : reports)
            out.push_back(Message(r));
        return out;
    }
    static std::vector<std::string> LayerNames(const FontData& data)
    {
        std::vector<std::string> names;
        for (auto& entry : data.mFontLayerMap)
            names.push_back(entry.first);
        return names;
    }
    static GlyphLayer* Layer(FontData& data, const std::string& name)
    {
        auto it = data.mFontLayerMap.find(name);
        return it == data.mFontLayerMap.end() ? nullptr : it->second;
    }


    TestApp test;
    testsupport::TempDir dir;
    TestImages images;
};

} // namespace

TEST_F(FontDescription, ReadingCommentsLinesAndQuotes)
{
    struct {
        const wchar_t* name;
        const wchar_t* text;
        bool byteOrderMark;
        std::vector<std::string> layers;
        std::vector<Report> reports;
    } cases[] = {
        {L"words and names in any case", L"createlayer Main;\nLAYERSETHEIGHT main 5;", false, {"MAIN"}, {}},
        {L"comments and blank lines", L"# a comment\n\n   \t# indented\nCreateLayer A;\n\n", false, {"A"}, {}},
        {L"comment between the lines of one command", L"CreateLayer\n  # in the middle\n B;", false, {"B"}, {}},
        {L"a # inside a command is ordinary", L"CreateLayer A#B; # a comment after a command", false, {"A#B"}, {}},
        {L"no semicolon at the end", L"CreateLayer A;\r\nCreateLayer B\r\n", false, {"A", "B"}, {}},
        {L"semicolon inside quotes", L"CreateLayer 'A;B';", false, {"'A;B'"}, {}},
        {L"byte-order mark before a comment", L"# made by a tool\nCreateLayer A;", true, {"A"}, {}},
        {L"byte-order mark before a command", L"CreateLayer A;", true, {"A"}, {}},
        {L"the line where a command begins",
         L"CreateLayer A;\n\n  LayerSetHeight\n  A\n  x;\nCreateLayer B;", false, {"A"},
         {{L"Invalid Paramater Type", 3, L"LayerSetHeight\nA\nx"}}},
        {L"reading stops at the first failure", L"CreateLayer A; Bad; CreateLayer B;", false, {"A"},
         {{L"Unknown Command", 1, L"Bad"}}},
        {L"an existing layer name is reported and reading goes on",
         L"CreateLayer A;\nCreateLayer a;\nLayerSetHeight A 3;", false, {"A"},
         {{L"Layer Already Exists", 2, L"CreateLayer a"}}},
    };
    for (auto& c : cases) {
        auto data = Load(c.text, c.byteOrderMark);
        EXPECT_EQ(data->mInitialized, c.reports.empty() || c.reports[0].text == L"Layer Already Exists") << c.name;
        EXPECT_EQ(LayerNames(*data), c.layers) << c.name;
        EXPECT_EQ(test.Boxes(), Messages(c.reports)) << c.name;
        EXPECT_EQ(data->mCurrentLineNum, 0);
        EXPECT_TRUE(data->mCurrentLine.empty());
    }
}

TEST_F(FontDescription, SplittingValuesAndItsErrors)
{
    std::wstring deep64 = L"Define D " + std::wstring(64, L'(') + L"1" + std::wstring(64, L')');
    std::wstring deep65 = L"Define D " + std::wstring(65, L'(') + L"1" + std::wstring(65, L')');
    struct {
        std::wstring text;
        std::vector<Report> reports;
    } cases[] = {
        {L"Define X (a;", {{L"Unterminated List", 1, L"Define X (a"}}},
        {L"Define X 'abc;", {{L"Unterminated Single Quotes", 1, L"Define X 'abc;"}}},
        {L"Define X \"abc;", {{L"Unterminated Double Quotes", 1, L"Define X \"abc;"}}},
        {L"Define X a);", {{L"Unexpected List End", 1, L"Define X a)"}}},
        {L"Define X ab(c);", {{L"Unexpected List Start", 1, L"Define X ab(c)"}}},
        {L"(CreateLayer) A;", {{L"Missing Command", 1, L"(CreateLayer) A"}}},
        {L"Frobnicate 1;", {{L"Unknown Command", 1, L"Frobnicate 1"}}},
        {L"CreateLayer;", {{L"Invalid Number of Parameters", 1, L"CreateLayer"}}},
        {L"CreateLayer A B;", {{L"Invalid Number of Parameters", 1, L"CreateLayer A B"}}},
        {deep64 + L";", {}},
        {deep65 + L";", {{L"Unexpected List Start", 1, deep65}}},
        {L"Define X 'it''s';Define Y \"a,b (c)\";Define Z a\\ b;", {}}, // quotes and escapes hold one value
        {L"Define X 'a\\'b';", {}},
        {L"LayerSetCharOffsetsShift;LayerSetCharOffsetsShift (1 2) x y z;", {}},
    };
    for (auto& c : cases) {
        auto data = Load(c.text);
        EXPECT_EQ(data->mInitialized, c.reports.empty()) << WStringToString(c.text);
        EXPECT_EQ(test.Boxes(), Messages(c.reports)) << WStringToString(c.text);
    }
}

TEST_F(FontDescription, NumbersAreStrict)
{
    struct {
        const wchar_t* value;
        bool ok;
        int height;
    } cases[] = {
        {L"0x1F", true, 31},        {L"0X1f", true, 31},         {L"-12", true, -12},
        {L"2147483647", true, 2147483647}, {L"-2147483648", true, -2147483647 - 1},
        {L"0xFFFFFFFF", true, -1},  {L"-0x1F", false, 0},        {L"+5", false, 0},
        {L"2147483648", false, 0},  {L"99999999999999999999", false, 0}, {L"0x100000000", false, 0},
        {L"0x", false, 0},          {L"-", false, 0},            {L"1.5", false, 0},
        {L"'5'", false, 0},         {L"Five", false, 0},
    };
    for (auto& c : cases) {
        auto data = Load(std::wstring(L"Define Five 5;CreateLayer A;LayerSetHeight A ") + c.value + L";");
        EXPECT_EQ(data->mInitialized, c.ok) << WStringToString(c.value);
        if (c.ok)
            EXPECT_EQ(Layer(*data, "A")->mHeight, c.height) << WStringToString(c.value);
        else
            EXPECT_EQ(data->mError, L"Invalid Paramater Type") << WStringToString(c.value);
    }
}

TEST_F(FontDescription, DefinesAndTheirValues)
{
    auto data = Load(L"Define A 5;\n"
                     L"Define B A;\n"
                     L"define c (A 'x' 7 (\"y\" B));\n"
                     L"Define Q 'it''s';\n"
                     L"Define A 6;\n" // replaces; B and C keep the old value
                     L"CreateHorzSpanRectList R (10 2 0 8) (3 4 5);\n"
                     L"Define Z \"a;b\";");
    ASSERT_TRUE(data->mInitialized);
    ImageFont font(&test.app, Path());
    struct {
        const wchar_t* name;
        const wchar_t* text;
    } cases[] = {
        {L"A", L"6"},
        {L"b", L"5"},
        {L"C", L"(5, x, 7, (y, 5))"},
        {L"Q", L"'it''s'"},
        {L"R", L"((10, 2, 3, 8), (13, 2, 4, 8), (17, 2, 5, 8))"},
        {L"Z", L"\"a;b\""},
        {L"nope", L""},
    };
    for (auto& c : cases)
        EXPECT_EQ(font.GetDefine(c.name), c.text) << WStringToString(c.name);

    struct {
        const wchar_t* text;
        std::vector<Report> reports;
    } bad[] = {
        {L"Define 1abc x;", {{L"Invalid Paramater Type", 1, L"Define 1abc x"}}},
        {L"Define (A) x;", {{L"Invalid Paramater Type", 1, L"Define (A) x"}}},
        {L"Define L (a b);",
         {{L"Unable to Dereference \"a\"", 1, L"Define L (a b)"}, {L"Invalid Paramater Type", 1, L"Define L (a b)"}}},
        {L"CreateHorzSpanRectList R (1 2 3) (4);", {{L"Invalid Paramater Type", 1, L"CreateHorzSpanRectList R (1 2 3) (4)"}}},
        {L"CreateHorzSpanRectList R (2147483000 0 0 1) (1000 1000);",
         {{L"Invalid Paramater Type", 1, L"CreateHorzSpanRectList R (2147483000 0 0 1) (1000 1000)"}}},
    };
    for (auto& c : bad) {
        auto failed = Load(c.text);
        EXPECT_FALSE(failed->mInitialized) << WStringToString(c.text);
        EXPECT_EQ(test.Boxes(), Messages(c.reports)) << WStringToString(c.text);
    }

    // Defines nested deeper than lists may be are refused, not followed.
    std::wstring chain = L"Define D0 " + std::wstring(60, L'(') + L"1" + std::wstring(60, L')') + L";";
    for (int i = 1; i <= 10; ++i)
        chain += L"Define D" + std::to_wstring(i) + L" (D" + std::to_wstring(i - 1) + L");";
    auto deep = Load(chain);
    EXPECT_FALSE(deep->mInitialized);
    ASSERT_EQ(test.Boxes().size(), 2u);
    EXPECT_EQ(test.Boxes()[0], Message({L"Unexpected List Start", 1, L"Define D5 (D4)"}));
}

TEST_F(FontDescription, LayerSettingCommands)
{
    auto data = Load(L"SetDefaultPointSize 14;\n"
                     L"CreateLayer Main;\n"
                     L"LayerRequireTags Main ('bold' 'Italic');\n"
                     L"LayerExcludeTags Main ('Small');\n"
                     L"LayerPointRange Main 10 -1;\n"
                     L"LayerSetPointSize Main 12;\n"
                     L"LayerSetHeight Main 15;\n"
                     L"LayerSetAscent Main 11;\n"
                     L"LayerSetAscentPadding Main 2;\n"
                     L"LayerSetLineSpacingOffset Main -1;\n"
                     L"LayerSetSpacing Main 1;\n"
                     L"LayerSetBaseOrder Main 3;\n"
                     L"LayerSetDrawMode Main 1;\n"
                     L"LayerSetOffset Main (4 -5);\n"
                     L"LayerSetColorMult Main (1 0.5 0 1);\n"
                     L"LayerSetColorAdd Main 0x10FF0000;\n"
                     L"LayerSetImage Main 'glyphs.png';\n"
                     L"LayerSetCharWidths Main ('a' \"b\" 7 \"'\") (5 6 7 8);\n"
                     L"LayerSetCharOrders Main ('a') (-2);\n"
                     L"Define Off (3 4);\n"
                     L"LayerSetCharOffsets Main ('a' 'b') ((1 2) Off);\n"
                     L"LayerSetKerningPairs Main ('ab' 'ba') (200 -3);\n"
                     L"CreateLayerFrom Copy Main;\n"
                     L"LayerSetHeight Copy 20;");
    ASSERT_TRUE(data->mInitialized) << WStringToString(test.Boxes().empty() ? data->mError : test.Boxes()[0]);
    EXPECT_EQ(data->mDefaultPointSize, 14);
    GlyphLayer* main = Layer(*data, "MAIN");
    ASSERT_TRUE(main);
    EXPECT_EQ(main->mRequiredTags, (std::vector<std::string>{"BOLD", "ITALIC"}));
    EXPECT_EQ(main->mExcludedTags, (std::vector<std::string>{"SMALL"}));
    EXPECT_EQ(main->mMinPointSize, 10);
    EXPECT_EQ(main->mMaxPointSize, -1);
    EXPECT_EQ(main->mPointSize, 12);
    EXPECT_EQ(main->mHeight, 15);
    EXPECT_EQ(main->mAscent, 11);
    EXPECT_EQ(main->mAscentPadding, 2);
    EXPECT_EQ(main->mLineSpacingOffset, -1);
    EXPECT_EQ(main->mSpacing, 1);
    EXPECT_EQ(main->mBaseOrder, 3);
    EXPECT_EQ(main->mDrawMode, 1);
    EXPECT_EQ(main->mOffsetX, 4);
    EXPECT_EQ(main->mOffsetY, -5);
    EXPECT_EQ(main->mColorMult, Color(255, 127, 0, 255));
    EXPECT_EQ(main->mColorAdd, Color(255, 0, 0, 16));
    EXPECT_EQ(main->GetImage()->mWidth, 30);
    EXPECT_EQ(main->Glyph(L'a').mWidth, 5);
    EXPECT_EQ(main->Glyph(L'b').mWidth, 6);
    EXPECT_EQ(main->Glyph(L'7').mWidth, 7); // digits are kept as written
    EXPECT_EQ(main->Glyph(L'\'').mWidth, 8);
    EXPECT_EQ(main->Glyph(L'a').mOrder, -2);
    EXPECT_EQ(main->Glyph(L'a').mOffsetX, 1);
    EXPECT_EQ(main->Glyph(L'b').mOffsetY, 4);
    EXPECT_EQ(main->Glyph(L'a').KerningBefore(L'b'), -56); // 200 as a signed byte
    EXPECT_EQ(main->Glyph(L'b').KerningBefore(L'a'), -3);

    GlyphLayer* copy = Layer(*data, "COPY");
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->mHeight, 20);
    EXPECT_EQ(main->mHeight, 15);
    EXPECT_EQ(copy->mRequiredTags, main->mRequiredTags);
    EXPECT_EQ(copy->Glyph(L'a').KerningBefore(L'b'), -56);
    EXPECT_EQ(copy->GetImage(), main->GetImage());
    EXPECT_EQ(data->mFontLayerList.size(), 2u);
}

TEST_F(FontDescription, CommandsThatRejectTheirValues)
{
    const std::wstring head = L"CreateLayer L;\n";
    struct {
        const wchar_t* command;
        std::vector<std::wstring> reports; // in order, all on line 2
    } cases[] = {
        {L"LayerSetCharWidths L (a b) (1 2)", {L"Unable to Dereference \"a\"", L"Invalid Paramater Type"}},
        {L"LayerSetCharWidths L ('a' 'b') (1)", {L"List Size Mismatch"}},
        {L"LayerSetCharWidths L ('a' 'bc' 'd') (1 2 x)", {L"Unable to Dereference \"x\"", L"Invalid Paramater Type"}},
        {L"LayerSetCharWidths L ('a' 'bc' 'd') (1 2 3)", {L"Invalid Paramater Type"}},
        {L"LayerSetDrawMode L 2", {L"Invalid Paramater Type"}},
        {L"LayerSetColorMult L (1 0 0)", {L"Invalid Paramater Type"}},
        {L"LayerSetColorMult L (1 0 0 1e2)", {L"Invalid Paramater Type"}},
        {L"LayerSetOffset L (1)", {L"Invalid Paramater Type"}},
        {L"LayerSetHeight Nope 3", {L"Undefined Layer", L"Invalid Paramater Type"}},
        {L"LayerSetHeight (L) 3", {L"Invalid Paramater Type"}},
        {L"LayerSetImage L 'missing.png'", {L"Failed to Load Image"}},
        {L"LayerSetImageMap L ('a') ((0 0 1 1))", {L"Layer image not set"}},
        {L"LayerSetKerningPairs L ('a' 'bc') (1 2)", {L"Invalid Paramater Type"}},
        {L"LayerSetCharOffsets L ('a') ((1 2 3))", {L"Invalid Paramater Type"}},
        {L"LayerSetCharOffsets L ('a') (Nowhere)", {L"Unable to Dereference \"Nowhere\"", L"Invalid Paramater Type"}},
        {L"CreateLayerFrom M Nope", {L"Undefined Layer", L"Invalid Paramater Type"}},
    };
    for (auto& c : cases) {
        auto data = Load(head + c.command + L";\nCreateLayer After;");
        EXPECT_FALSE(data->mInitialized) << WStringToString(c.command);
        std::vector<Report> want;
        for (auto& r : c.reports)
            want.push_back({r, 2, c.command});
        EXPECT_EQ(test.Boxes(), Messages(want)) << WStringToString(c.command);
        EXPECT_FALSE(Layer(*data, "AFTER"));
    }

    // A size mismatch changes nothing; bad entries are skipped, good ones set.
    auto mismatch = Load(head + L"LayerSetCharWidths L ('a' 'b') (1);");
    EXPECT_EQ(Layer(*mismatch, "L")->mGlyphs.Find(L'a'), nullptr);
    auto partly = Load(head + L"LayerSetCharWidths L ('a' 'bc' 'd') (1 2 3);");
    EXPECT_EQ(Layer(*partly, "L")->Glyph(L'a').mWidth, 1);
    EXPECT_EQ(Layer(*partly, "L")->Glyph(L'd').mWidth, 3);
}

// Defines that name other Defines copy them whole, commands copy the lists
// they read, and layers copy layers: a few hundred bytes could ask for
// gigabytes. What one description builds is counted and the description
// refused once it passes the budget; everything before that line was run.
TEST_F(FontDescription, DescriptionsThatWouldBuildTooMuchAreRefused)
{
    auto repeat = [](const std::wstring& text, int times) {
        std::wstring out;
        for (int i = 0; i < times; ++i)
            out += text;
        return out;
    };
    // Values of a thousand characters: each Define ten copies of the one
    // before, so the third holds ten million characters.
    const std::wstring word = L"'" + std::wstring(998, L'w') + L"'";
    const std::wstring tenfold = hostile::TenfoldDefines(4, word);
    // A hundred such tags, read again by every command, or copied with
    // their layer.
    const std::wstring tags = L"Define T (" + repeat(word + L" ", 100) + L");\nCreateLayer L;\n";
    std::wstring copies = L"LayerRequireTags L T;\n";
    for (int i = 0; i < 100; ++i)
        copies += L"CreateLayerFrom C" + std::to_wstring(i) + L" L;\n";

    struct {
        const char* what;
        std::wstring text;
        size_t firstLine; // the line refused; 0: any line after the head
    } cases[] = {
        {"Defines of Defines", tenfold, 3},
        {"a list read by every command", tags + repeat(L"LayerRequireTags L T;\n", 100), 0},
        {"layers copied from a layer", tags + copies, 0},
    };
    for (auto& c : cases) {
        auto data = Load(c.text + L"CreateLayer After;");
        EXPECT_FALSE(data->mInitialized) << c.what;
        EXPECT_EQ(data->mError, L"Invalid Paramater Type") << c.what;
        ASSERT_EQ(test.Boxes().size(), 2u) << c.what;
        const std::wstring first = test.Boxes()[0];
        const std::wstring lead = Message({L"Description Too Large", 0, L""}) + L" on Line ";
        ASSERT_EQ(first.compare(0, lead.size(), lead), 0) << c.what << ": " << WStringToString(first);
        if (c.firstLine) {
            EXPECT_EQ(std::stoul(first.substr(lead.size())), c.firstLine) << c.what;
        }
        EXPECT_FALSE(Layer(*data, "AFTER")) << c.what;
        uint64_t tagCount = 0;
        for (const GlyphLayer& layer : data->mFontLayerList)
            tagCount += layer.mRequiredTags.size();
        EXPECT_LE(tagCount, DescParser::kMaxBuiltSize) << c.what;
        EXPECT_LE(data->mFontLayerList.size() * 256, DescParser::kMaxBuiltSize) << c.what;
    }
}

TEST_F(FontDescription, ImageMapKeepsRectanglesInsideTheImage)
{
    const std::wstring head = L"CreateLayer L;\nLayerSetImage L \"glyphs.png\";\nLayerSetCharOffsets L ('a') ((0 1));\n";
    struct {
        const wchar_t* rects;
        bool ok;
        Rect a, b;
    } cases[] = {
        {L"((0 0 10 8) (20 0 10 10))", true, {0, 0, 10, 8}, {20, 0, 10, 10}},
        {L"((0 0 10 8) (21 0 10 10))", false, {0, 0, 10, 8}, {}},
        {L"((0 0 10 8) (0 1 10 10))", false, {0, 0, 10, 8}, {}},
        {L"((-1 0 10 8) (0 0 1 1))", false, {}, {}},
        {L"((0 0 -5 8) (0 0 1 1))", false, {}, {}},
        {L"((0 5 4 -3) (0 0 1 1))", false, {}, {}},
        {L"((2147483647 0 1 1) (0 0 1 1))", false, {}, {}},
    };
    for (auto& c : cases) {
        auto data = Load(head + L"LayerSetImageMap L ('a' 'b') " + c.rects + L";");
        EXPECT_EQ(data->mInitialized, c.ok) << WStringToString(c.rects);
        if (!c.ok) {
            EXPECT_EQ(test.Boxes().back(),
                      Message({L"Image rectangle out of bounds", 4,
                               std::wstring(L"LayerSetImageMap L ('a' 'b') ") + c.rects}));
        }
        GlyphLayer* layer = Layer(*data, "L");
        EXPECT_EQ(layer->Glyph(L'a').mImageRect, c.a) << WStringToString(c.rects);
        EXPECT_EQ(layer->Glyph(L'b').mImageRect, c.b) << WStringToString(c.rects);
    }
    // The default height is the tallest offset y + height; a later offset
    // does not change it.
    auto data = Load(head + L"CreateHorzSpanRectList R (0 0 0 9) (10 10);\n"
                            L"LayerSetImageMap L ('a' 'b') R;\n"
                            L"LayerSetCharOffsets L ('b') ((0 5));");
    ASSERT_TRUE(data->mInitialized);
    EXPECT_EQ(Layer(*data, "L")->mDefaultHeight, 10);
    EXPECT_EQ(Layer(*data, "L")->Glyph(L'b').mImageRect, Rect(10, 0, 10, 9));
}

TEST_F(FontDescription, LayerImagesAreFoundBesideTheDescriptionAndPalettised)
{
    // A name with "\" makes every separator "\" (the file layer maps them).
    std::string backslashed = dir.Path() + "\\sub\\g.png";
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    images.Add(backslashed, Filled(4, 4, 0xFF00FF00));
    // A backslash makes the next character literal, so names double them.
    auto data = Load(L"CreateLayer L;\nLayerSetImage L '.\\\\sub\\\\g.png';\nCreateLayer M;\nLayerSetImage M 'glyphs.png';");
    ASSERT_TRUE(data->mInitialized);
    EXPECT_EQ(images.asked, (std::vector<std::string>{backslashed, dir / "glyphs.png"}));
    auto* image = dynamic_cast<MemoryImage*>(Layer(*data, "M")->GetImage());
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->IsPalettized()); // loaded by this description
}

TEST(FontImagePath, JoinsLikeTheGameData)
{
    struct {
        const char* folder;
        const char* name;
        const char* want;
    } cases[] = {
        {"fonts", ".\\x.png", "fonts\\x.png"},
        {"data\\fonts", "..\\x.png", "data\\x.png"},
        {"fonts", "..\\..\\x.png", "..\\x.png"},
        {"..", "..\\x.png", "..\\..\\x.png"},
        {"fonts", "C:\\abs.png", "C:\\abs.png"},
        {"fonts/sub", "img\\a.png", "fonts\\sub\\img\\a.png"},
        {"fonts/sub", "./img/a.png", "fonts/sub/img/a.png"},
        {"fonts\\sub", "img/a.png", "fonts\\sub\\img\\a.png"},
        {"/data/fonts", "../x.png", "/data/x.png"},
        {"/data", "../../x.png", "/x.png"},
        {"", "x.png", "x.png"},
        {"", "..\\x.png", "..\\x.png"},
        {"fonts", "/abs.png", "fonts//abs.png"}, // only a drive makes a name absolute
    };
    for (auto& c : cases)
        EXPECT_EQ(FontData::JoinImagePath(c.folder, c.name), c.want) << c.folder << " + " << c.name;
}

TEST_F(FontDescription, LoadingWithoutAnApplicationOrAFile)
{
    // No application: nothing is shown, the text is still kept.
    dir.Write("bad.txt", Utf16(L"Frobnicate;"));
    FontData silent;
    EXPECT_TRUE(silent.Load(nullptr, dir / "bad.txt"));
    EXPECT_FALSE(silent.mInitialized);
    EXPECT_EQ(silent.mError, L"Unknown Command");
    EXPECT_TRUE(test.Boxes().empty());

    dir.Write("good.txt", Utf16(L"CreateLayer A;"));
    FontData once;
    EXPECT_TRUE(once.Load(nullptr, dir / "good.txt"));
    EXPECT_TRUE(once.mInitialized);
    EXPECT_FALSE(once.Load(nullptr, dir / "good.txt")) << "a loaded description is not read again";
    EXPECT_EQ(once.mFontLayerList.size(), 1u);

    FontData missing;
    EXPECT_TRUE(missing.Load(&test.app, dir / "none.txt"));
    EXPECT_FALSE(missing.mInitialized);
    EXPECT_TRUE(test.Boxes().empty());

    // 0xFFFF ends a description as the end of the file does.
    dir.Write("stop.txt", Utf16(L"CreateLayer A;") + std::string("\xFF\xFF", 2) + Utf16(L"Frobnicate;"));
    FontData stopped;
    stopped.Load(&test.app, dir / "stop.txt");
    EXPECT_TRUE(stopped.mInitialized);
    EXPECT_EQ(stopped.mFontLayerList.size(), 1u);
}
