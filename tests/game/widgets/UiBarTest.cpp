// The segmented gauge: which segments are filled, where they are drawn, and
// the layouts that draw nothing.
#include "game/ui/UiBar.h"
#include "tests/game/widgets/UiTestApp.h"

using namespace uitest;

namespace {

class UiBarTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        root = LoadUi(L"<root><texture id=\"fill\" file=\"solid_200x20_ff00ff00\"/>"
                      L"<texture id=\"empty\" file=\"solid_200x20_ff404040\"/>"
                      L"<element name=\"bar\" x=\"0\" y=\"0\" width=\"100\" height=\"10\" seg_width=\"10\">"
                      L"<texture id=\"fill\" texture=\"fill\" u=\"0\" v=\"3\"/>"
                      L"<texture id=\"empty\" texture=\"empty\" u=\"100\"/></element>"
                      L"<element name=\"half\" width=\"100\" height=\"10\" seg_width=\"10\">"
                      L"<texture id=\"fill\" texture=\"fill\"/></element>"
                      L"<element name=\"noseg\" width=\"100\" height=\"10\">"
                      L"<texture id=\"fill\" texture=\"fill\"/><texture id=\"empty\" texture=\"empty\"/>"
                      L"</element></root>");
    }
    // "F" for a filled, "E" for an empty segment, in drawing order.
    static std::string Pattern(const DrawLog& log)
    {
        std::string pattern;
        for (const std::string& op : log.ops)
            pattern += op.find(" from 0,3,") != std::string::npos ? "F" : "E";
        return pattern;
    }
    XmlNode root;
};

TEST_F(UiBarTest, SegmentsFillWhileTheirStartIsBelowValueOverMaximum)
{
    const struct {
        int max, value, width;
        std::string pattern;
    } cases[] = {
        {100, 25, 100, "FFFEEEEEEE"},  // a segment reached in part counts
        {100, 100, 100, "FFFFFFFFFF"}, {100, 0, 100, "EEEEEEEEEE"},
        {10, 3, 100, "FFFEEEEEEE"},    // 3/10 and 3/10 compared as 32-bit floats: equal, not below
        {100, 150, 100, "FFFFFFFFFF"}, {100, -5, 100, "EEEEEEEEEE"},
        {0, 5, 100, "FFFFFFFFFF"},     // value / 0 is infinite
        {0, 0, 100, "EEEEEEEEEE"},     // 0 / 0 is NaN: nothing compares below it
        {0, -5, 100, "EEEEEEEEEE"},    {100, 50, 95, "FFFFFEEEE"}, // nine segments, 5 pixels undrawn
    };
    for (const auto& c : cases) {
        UiBar bar(nullptr);
        bar.Load(Element(root, L"bar"), Context());
        bar.Resize(0, 0, c.width, 10);
        bar.SetMax(c.max);
        bar.SetValue(c.value);
        DrawLog log;
        Zelk::Graphics g(&log);
        bar.Draw(&g);
        EXPECT_EQ(Pattern(log), c.pattern) << c.max << " " << c.value << " " << c.width;
    }
}

TEST_F(UiBarTest, SegmentRectanglesAndSourcesFollowTheSegmentWidth)
{
    UiBar bar(nullptr);
    bar.Load(Element(root, L"bar"), Context());
    // The empty texture has no "v": it keeps the fill texture's 3.
    EXPECT_EQ(bar.GetEmpty().source.mX, 100);
    EXPECT_EQ(bar.GetEmpty().source.mY, 3);
    bar.SetMax(4);
    bar.SetValue(1);
    bar.Resize(0, 0, 30, 10);
    DrawLog log;
    Zelk::Graphics g(&log);
    bar.Draw(&g);
    EXPECT_EQ(log.ops, (std::vector<std::string>{"stretch ? 0,0,10,10 from 0,3,10,10 FFFFFFFF",
                                                 "stretch ? 10,0,10,10 from 100,3,10,10 FFFFFFFF",
                                                 "stretch ? 20,0,10,10 from 100,3,10,10 FFFFFFFF"}));
}

TEST_F(UiBarTest, ScaledSegmentsKeepTheirCountAndSpreadEvenly)
{
    UiElement owner(nullptr);
    owner.SetScale(1.5f);
    owner.SetOpacity(0.5f);
    UiBar bar(&owner);
    bar.Load(Element(root, L"bar"), Context());
    bar.Resize(0, 0, 35, 10);
    bar.Update(); // 52 x 15 on the screen
    bar.SetMax(3);
    bar.SetValue(2);
    DrawLog log;
    Zelk::Graphics g(&log);
    bar.Draw(&g);
    EXPECT_EQ(log.ops, (std::vector<std::string>{"stretch ? 0,0,15,15 from 0,3,10,10 7FFFFFFF",
                                                 "stretch ? 15,0,15,15 from 0,3,10,10 7FFFFFFF",
                                                 "stretch ? 30,0,15,15 from 100,3,10,10 7FFFFFFF"}));
    // 1.1 does not divide evenly: each segment ends where the next begins.
    owner.SetScale(1.1f);
    bar.Update();
    log.ops.clear();
    bar.Draw(&g);
    EXPECT_EQ(log.ops, (std::vector<std::string>{"stretch ? 0,0,11,11 from 0,3,10,10 7FFFFFFF",
                                                 "stretch ? 11,0,11,11 from 0,3,10,10 7FFFFFFF",
                                                 "stretch ? 22,0,11,11 from 100,3,10,10 7FFFFFFF"}));
}

TEST_F(UiBarTest, WithoutBothPicturesOrASegmentWidthNothingIsDrawn)
{
    for (const wchar_t* name : {L"half", L"noseg"}) {
        UiBar bar(nullptr);
        bar.Load(Element(root, name), Context());
        bar.SetMax(10);
        bar.SetValue(5);
        DrawLog log;
        Zelk::Graphics g(&log);
        bar.Draw(&g);
        EXPECT_TRUE(log.ops.empty()) << std::wstring(name).size();
    }
    // A new bar starts at 0 of 0: its segments are empty, not undefined.
    UiBar bar(nullptr);
    EXPECT_EQ(bar.GetMax(), 0);
    EXPECT_EQ(bar.GetValue(), 0);
}

} // namespace
