// The list: its scroll range, presses that select and scroll, and drawing of
// the selection, the check mark and the rows; row heights that make no rows.
#include "game/ui/UiButton.h"
#include "game/ui/UiList.h"
#include "game/ui/UiScroll.h"
#include "tests/framework/widgets/WidgetFixture.h"
#include "tests/game/widgets/UiTestApp.h"

#include <climits>

using namespace uitest;

namespace {

const wchar_t kListUi[] =
    L"<root><texture id=\"check\" file=\"solid_16x12_ff00ff00\"/>"
    L"<element name=\"rows20\" width=\"120\" height=\"100\" line_spacing=\"14\" left=\"A\" sel_color=\"80FF0000\">"
    L"<element name=\"scroll\" width=\"20\" height=\"100\">"
    L"<element name=\"up\" width=\"20\" height=\"15\"/><element name=\"down\" width=\"20\" height=\"15\"/>"
    L"<element name=\"slider\" width=\"20\" height=\"10\"/></element>"
    L"<texture id=\"check\" texture=\"check\" u=\"4\" v=\"2\"/></element>"
    L"<element name=\"rows30\" width=\"120\" height=\"100\" line_spacing=\"1E\"/>"
    L"<element name=\"norows\" width=\"120\" height=\"100\"><element name=\"scroll\" width=\"20\"/></element>"
    L"<element name=\"zero\" width=\"120\" height=\"100\" line_spacing=\"0\"/>"
    L"<element name=\"edges\" width=\"-2147483648\" height=\"-2147483648\" left=\"7FFFFFFF\">"
    L"<element name=\"scroll\" width=\"2147483647\" height=\"100\">"
    L"<element name=\"down\" width=\"20\" height=\"2147483647\"/>"
    L"<element name=\"slider\" width=\"20\" height=\"2147483647\"/></element>"
    L"<texture id=\"check\" texture=\"check\" u=\"-2147483648\" v=\"-2147483648\"/></element></root>";

class UiListTest : public UiTest {
protected:
    std::unique_ptr<UiList> Make(const wchar_t* name, int items, int rowHeight = 0)
    {
        XmlNode root = LoadUi(kListUi);
        auto list = std::make_unique<UiList>(nullptr);
        list->Load(Element(root, name), Context());
        for (int i = 0; i < items; ++i)
            list->AddItem(L"row" + std::to_wstring(i));
        return list;
    }
};

TEST_F(UiListTest, ReadsHexNumbersAndPlacesItsScrollBarAtTheRightEdge)
{
    auto list = Make(L"rows20", 0);
    EXPECT_EQ(list->GetRowHeight(), 20);
    EXPECT_EQ(list->GetLeftMargin(), 10);
    EXPECT_EQ(list->GetSelectionColor().ToInt(), 0x80FF0000u);
    EXPECT_EQ(list->GetTextWidth(), 120 - 20 - 10);
    ASSERT_NE(list->GetScroll(), nullptr);
    EXPECT_EQ(list->GetScroll()->GetLayoutRect(), Zelk::Rect(100, 0, 20, 100));
    EXPECT_EQ(list->GetScroll()->GetDownButton()->GetLayoutY(), 85);
    int sx, sy, ex, ey;
    list->GetScroll()->GetTrack(sx, sy, ex, ey);
    EXPECT_EQ(sy, 15); // below the up button
    EXPECT_EQ(ey, 75); // above the down button, less the thumb
    // The check picture runs from (u, v) to the picture's lower right corner.
    EXPECT_EQ(list->GetCheck().source, Zelk::Rect(4, 2, 12, 10));
    EXPECT_EQ(Make(L"rows30", 0)->GetRowHeight(), 30);
    EXPECT_EQ(Make(L"rows30", 0)->GetTextWidth(), 120); // no scroll bar: the whole width

    // Sizes at the ends of the int range: the text width, the scroll bar's
    // place, its track and the check picture's size saturate.
    auto edges = Make(L"edges", 3);
    EXPECT_EQ(edges->GetTextWidth(), INT_MIN);
    edges->GetScroll()->GetTrack(sx, sy, ex, ey);
    EXPECT_EQ(ey, INT_MIN);
    EXPECT_EQ(edges->GetCheck().source.mWidth, INT_MAX);
}

TEST_F(UiListTest, TheScrollRangeCountsTheRowsThatDoNotFitWhenResized)
{
    const struct {
        int items, range;
        bool enabled;
    } cases[] = {{7, 2, true}, {5, 0, false}, {0, 0, false}, {6, 1, true}};
    for (const auto& c : cases) {
        auto list = Make(L"rows20", c.items);
        list->Resize(0, 0, 120, 100);
        UiScroll* scroll = list->GetScroll();
        EXPECT_EQ(scroll->GetMax(), c.range) << c.items;
        EXPECT_EQ(!scroll->GetUpButton()->mDisabled, c.enabled);
        EXPECT_EQ(scroll->GetThumb()->mVisible, c.enabled);
        // Rows added later leave the range as it was.
        list->AddItem(L"late");
        EXPECT_EQ(scroll->GetMax(), c.range);
    }
}

TEST_F(UiListTest, APressSelectsTheRowUnderItAndScrollsWhenItIsCutOff)
{
    const struct {
        const wchar_t* list;
        int first, y, selected, firstAfter;
    } cases[] = {
        {L"rows20", 2, 45, 4, 2},  // row 4 fits: no scrolling
        {L"rows30", 0, 95, 3, 1},  // (3 + 1) x 30 = 120 > 100
        {L"rows20", 0, 10, 0, 0},  {L"rows20", 5, 50, 7, 5},
        {L"rows20", 6, 60, 0, 6},  // below the last row: the selection stays
    };
    for (const auto& c : cases) {
        auto list = Make(c.list, 9);
        list->Resize(0, 0, 120, 100);
        if (list->GetScroll()) {
            list->GetScroll()->SetMax(9);
            list->GetScroll()->SetValue(c.first);
            list->Update();
        }
        list->SetSelected(0);
        for (int i = 0; i < c.first && !list->GetScroll(); ++i)
            list->MouseButtonDown(0, 1000, 0, 1); // a press below every row scrolls by one
        ASSERT_EQ(list->GetFirstRow(), c.first);
        list->SetSelected(0);
        list->MouseButtonDown(5, c.y, 1, 1);
        EXPECT_EQ(list->GetSelected(), c.selected) << c.y;
        EXPECT_EQ(list->GetFirstRow(), c.firstAfter) << c.y;
        if (list->GetScroll()) {
            EXPECT_EQ(list->GetScroll()->GetValue(), c.firstAfter);
        }
    }
}

TEST_F(UiListTest, DrawsTheSelectionTheCheckAndTheRowsAtTheirBaselines)
{
    std::vector<FakeFont::Drawn> drawn;
    FakeFont font(&drawn);
    auto list = Make(L"rows20", 3);
    list->SetTextAttr(2, &font, Zelk::Color(0xFF000000u), Zelk::Color(0xFF808080u));
    list->SetSelected(1);
    list->SetMarkedRow(2);
    list->SetOpacity(0.5f);
    DrawLog log;
    log.names = {{"check", list->GetCheck().image}};
    Zelk::Graphics g(&log);
    list->Draw(&g);
    // The fill keeps the selection colour's own alpha; the check at its own
    // size, centred in its row.
    EXPECT_EQ(log.ops, (Log{"fill 0,20,100,20 80FF0000", "blit check 0,45 from 4,2,12,10 7FFFFFFF"}));
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[1].text, L"row1");
    EXPECT_EQ(drawn[1].x, 10);
    EXPECT_EQ(drawn[1].y, 33); // 20 + (20 - 14) / 2 + 10
    EXPECT_EQ(drawn[1].color.ToInt(), 0x7F000000u);
    // Clear keeps the selection: no row is highlighted until it exists again.
    list->SetSelected(3);
    list->Clear();
    for (int i = 0; i < 3; ++i)
        list->AddItem(L"new");
    log.ops.clear();
    list->Draw(&g);
    EXPECT_EQ(log.ops, (Log{"blit check 0,45 from 4,2,12,10 7FFFFFFF"})); // the mark, no fill
    list->AddItem(L"fourth");
    log.ops.clear();
    list->Draw(&g);
    EXPECT_EQ(log.ops.back(), "fill 0,60,100,20 80FF0000");
}

TEST_F(UiListTest, RowHeightsOfZeroOrLessMakeNoRows)
{
    for (const wchar_t* name : {L"norows", L"zero"}) {
        std::vector<FakeFont::Drawn> drawn;
        FakeFont font(&drawn);
        auto list = Make(name, 5);
        list->SetTextAttr(2, &font, Zelk::Color(), Zelk::Color());
        list->Resize(0, 0, 120, 100);
        list->MouseButtonDown(5, 50, 0, 1);
        EXPECT_EQ(list->GetSelected(), 0);
        EXPECT_EQ(list->GetVisibleRows(), 0);
        if (list->GetScroll()) {
            EXPECT_EQ(list->GetScroll()->GetMax(), 0);
        }
        DrawLog log;
        Zelk::Graphics g(&log);
        list->Draw(&g);
        list->Update();
        EXPECT_TRUE(drawn.empty());
    }
}

} // namespace
