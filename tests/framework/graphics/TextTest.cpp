#include "GraphicsFixtures.h"

#include <gtest/gtest.h>

using namespace Zelk;
using namespace Zelk::test;

namespace {

class Text : public ::testing::Test {
protected:
    Text() : dest(200, 200), g(&dest) { g.SetFont(&font); }
    // The runs drawn, as "text@x,y#RRGGBBAA".
    std::vector<std::string> Drawn()
    {
        std::vector<std::string> out;
        for (auto& c : font.calls) {
            char color[16];
            snprintf(color, sizeof color, "#%02X%02X%02X%02X", c.color.mRed, c.color.mGreen, c.color.mBlue,
                     c.color.mAlpha);
            out.push_back(WStringToString(c.text) + "@" + std::to_string(c.x) + "," + std::to_string(c.y) + color);
        }
        return out;
    }
    static std::string WStringToString(const std::wstring& w) { return std::string(w.begin(), w.end()); }

    FakeFont font;
    RecordingImage dest;
    Graphics g;
};

using Runs = std::vector<std::string>;

} // namespace

TEST_F(Text, ColourCodes)
{
    struct {
        const wchar_t* text;
        Runs want;
        int width;
    } cases[] = {
        {L"x^FF0000^y^oldclr^z", {"x@0,0#102030C0", "y@8,0#FF0000C0", "z@16,0#102030C0"}, 24},
        {L"a^^b", {"a^b@0,0#102030C0"}, 24},
        {L"ab^FF00", {"ab@0,0#102030C0"}, 16}, // a caret among the last seven characters ends the text
        {L"^o12345^q", {"q@0,0#000000C0"}, 8},
        {L"^GG0000^q", {"q@0,0#000000C0"}, 8},
        {L"^abcdef^q", {"q@0,0#ABCDEFC0"}, 8},
    };
    for (auto& c : cases) {
        font.calls.clear();
        g.SetColor(Color(0x10, 0x20, 0x30, 0xC0));
        EXPECT_EQ(g.DrawColorCodedString(c.text, 0, 0, 0, -1), c.width) << c.text;
        EXPECT_EQ(Drawn(), c.want) << c.text;
    }

    // Measuring leaves the colour alone; drawing keeps the last code's colour.
    g.SetColor(Color(1, 2, 3));
    EXPECT_EQ(g.DrawColorCodedString(L"a^FF0000^b", 0, 0, 0, -1, false), 16);
    EXPECT_EQ(g.GetColor(), Color(1, 2, 3));
    g.DrawColorCodedString(L"a^FF0000^b", 0, 0, 0, -1);
    EXPECT_EQ(g.GetColor(), Color(255, 0, 0));

    // With the switch off a caret is a character.
    g.SetColorCodes(false);
    EXPECT_EQ(g.DrawColorCodedString(L"a^FF0000^b", 0, 0, 0, -1, false), 80);
}

TEST_F(Text, Justification)
{
    struct {
        int justification, box, x;
    } cases[] = {{0, 10, -7}, {1, 10, -14}, {-1, 10, 0}, {0, 40, 8}, {1, 40, 16}};
    for (auto& c : cases) {
        font.calls.clear();
        g.DrawColorCodedString(L"abc^FF0000^", 0, 0, c.box, c.justification); // 24 wide, the code adds nothing
        ASSERT_FALSE(font.calls.empty());
        EXPECT_EQ(font.calls[0].x, c.x) << c.justification << " " << c.box;
    }
    // Part of the text: characters 1 and 2.
    font.calls.clear();
    g.SetColor(Color::Black);
    EXPECT_EQ(g.DrawColorCodedString(L"abcdef", 0, 0, 0, -1, true, 1, 2), 16);
    EXPECT_EQ(Drawn(), (Runs{"bc@0,0#000000FF"}));
}

TEST_F(Text, Wrapping)
{
    struct {
        const wchar_t* text;
        int width;
        Runs want;
        int height;
    } cases[] = {
        {L"aaa bbb", 40, {"aaa@0,10#000000FF", "bbb@0,24#000000FF"}, 28},
        {L"abcdefg", 20, {"ab@0,10#000000FF", "cd@0,24#000000FF", "ef@0,38#000000FF", "g@0,52#000000FF"}, 56},
        {L"abc", 4, {"a@0,10#000000FF", "b@0,24#000000FF", "c@0,38#000000FF"}, 42}, // box narrower than a character
        {L"ab\n", 100, {"ab@0,10#000000FF"}, 28},
        {L"a\nb", 100, {"a@0,10#000000FF", "b@0,24#000000FF"}, 28},
        // The line runs to the last blank that fit; the blanks after it are skipped.
        {L"aaa    bbb", 40, {"aaa  @0,10#000000FF", "bbb@0,24#000000FF"}, 28},
        {L"x^FF0000^yy z^oldclr^z", 32,
         {"x@0,10#000000FF", "yy@8,10#FF0000FF", "z@0,24#FF0000FF", "z@8,24#000000FF"}, 28},
        {L"", 100, {}, 0},
    };
    for (auto& c : cases) {
        font.calls.clear();
        g.SetColor(Color::Black);
        EXPECT_EQ(g.DrawWrappedText(Rect(0, 0, c.width, 0), c.text), c.height) << c.text;
        EXPECT_EQ(Drawn(), c.want) << c.text;
        EXPECT_EQ(g.GetColor(), Color::Black) << c.text;
    }
}

TEST_F(Text, WrappingOutputs)
{
    int widest = -1, last = -1;
    g.DrawWrappedText(Rect(0, 0, 40, 0), L"aaa bbbb", -1, -1, &widest, -1, &last);
    EXPECT_EQ(widest, 32);
    EXPECT_EQ(last, 32);
    last = 0;
    g.DrawWrappedText(Rect(0, 0, 40, 0), L"ab\n", -1, -1, &widest, -1, &last);
    EXPECT_EQ(widest, 16); // the width drawn, not the width that forced the break
    EXPECT_EQ(last, 0);

    // Continuing after an earlier text's last line.
    font.calls.clear();
    last = 16;
    g.DrawWrappedText(Rect(0, 0, 40, 0), L"cc dd", -1, -1, nullptr, -1, &last);
    EXPECT_EQ(Drawn(), (Runs{"cc@16,10#000000FF", "dd@0,24#000000FF"}));

    // maxChars cuts the text.
    font.calls.clear();
    g.DrawWrappedText(Rect(0, 0, 40, 0), L"aaa bbb", -1, -1, nullptr, 5);
    EXPECT_EQ(Drawn(), (Runs{"aaa@0,10#000000FF", "b@0,24#000000FF"}));

    // A custom line spacing.
    EXPECT_EQ(g.DrawWrappedText(Rect(0, 0, 40, 0), L"aaa bbb", 20), 4 + 10 + 20);
}

TEST_F(Text, OldColourAfterAnOpaqueWhiteStart)
{
    g.SetColor(Color::White);
    g.DrawWrappedText(Rect(0, 0, 100, 0), L"^FF0000^r^oldclr^w");
    EXPECT_EQ(Drawn(), (Runs{"r@0,10#FF0000FF", "w@8,10#FFFFFFFF"}));
    EXPECT_EQ(g.GetColor(), Color::White);
}

TEST_F(Text, LinesOutsideTheClipAreCulledButCounted)
{
    g.ClipRect(0, 0, 200, 12);
    // Baselines 10, 24, 38: only lines ending at a blank are culled, by
    // baseline against clip.y + clip.height + line spacing (26).
    int height = g.DrawWrappedText(Rect(0, 0, 40, 0), L"aaa bbb ccc ddd");
    EXPECT_EQ(Drawn(), (Runs{"aaa@0,10#000000FF", "bbb@0,24#000000FF", "ddd@0,52#000000FF"}));
    EXPECT_EQ(height, 56);
}

TEST_F(Text, HeightsAndMissingFont)
{
    EXPECT_EQ(g.GetWrappedTextHeight(100, L""), 4 + 10 - 0 - 14);
    EXPECT_EQ(g.GetWrappedTextHeight(40, L"aaa bbb"), 28);
    int widest = 0;
    EXPECT_EQ(g.GetWrappedTextHeight(100, L"aaaa", -1, &widest), 14);
    EXPECT_EQ(widest, 32);

    Graphics noFont(&dest);
    EXPECT_EQ(noFont.DrawColorCodedString(L"abc", 0, 0, 10, 0), 0);
    EXPECT_EQ(noFont.DrawWrappedText(Rect(0, 0, 10, 0), L"abc", -1, -1, &widest), 0);
    EXPECT_EQ(widest, 0);
    EXPECT_EQ(noFont.GetWrappedTextHeight(10, L"abc"), 0);
    noFont.DrawString(L"abc", 0, 0); // nothing to draw with
    g.DrawString(L"hi", 3, 4);
    EXPECT_EQ(font.calls.back().x, 3);
}
