// The scroll bar: stepping with its buttons, the unclamped position until the
// next update, the thumb along its line, and bars that lack buttons.
#include "game/ui/UiButton.h"
#include "game/ui/UiScroll.h"
#include "tests/game/widgets/UiTestApp.h"

#include <algorithm>

using namespace uitest;

namespace {

const wchar_t kScrollUi[] =
    L"<root><element name=\"full\" x=\"0\" y=\"0\" width=\"20\" height=\"140\" distx1=\"0\" disty1=\"20\" "
    L"distx2=\"0\" disty2=\"120\">"
    L"<element name=\"up\" type=\"ignored\" width=\"20\" height=\"20\"/>"
    L"<element name=\"down\" y=\"120\" width=\"20\" height=\"20\"/>"
    L"<element name=\"slider\" width=\"20\" height=\"10\"/></element>"
    L"<element name=\"bare\" width=\"20\" height=\"100\" disty2=\"50\"/></root>";

class UiScrollTest : public UiTest {
protected:
    std::unique_ptr<UiScroll> Make(const wchar_t* name)
    {
        XmlNode root = LoadUi(kScrollUi);
        auto scroll = std::make_unique<UiScroll>(nullptr);
        scroll->Load(Element(root, name), Context());
        return scroll;
    }
};

TEST_F(UiScrollTest, StepButtonsMoveOneWithinTheRangeAndTheThumbDoesNothing)
{
    auto scroll = Make(L"full");
    ASSERT_TRUE(scroll->GetUpButton() && scroll->GetDownButton() && scroll->GetThumb());
    EXPECT_EQ(scroll->GetUpButton()->GetId(), 1);
    EXPECT_EQ(scroll->GetDownButton()->GetId(), 2);
    EXPECT_EQ(scroll->GetThumb()->GetId(), 3);
    EXPECT_EQ(scroll->GetThumb()->GetListener(), scroll.get());
    scroll->SetMax(3);
    scroll->SetValue(3);
    // Presses arrive as the buttons send them (each click of a double click steps).
    scroll->OnButtonPressClicks(2, 1);
    EXPECT_EQ(scroll->GetValue(), 3);
    const int ups[] = {2, 1, 0, 0};
    for (int expected : ups) {
        scroll->OnButtonPressClicks(1, 2);
        EXPECT_EQ(scroll->GetValue(), expected);
    }
    scroll->OnButtonPressClicks(3, 1);
    EXPECT_EQ(scroll->GetValue(), 0);
}

TEST_F(UiScrollTest, APositionAboveTheMaximumReadsBackUntilTheNextUpdate)
{
    auto scroll = Make(L"full");
    scroll->SetMax(4);
    scroll->SetValue(9);
    EXPECT_EQ(scroll->GetValue(), 9);
    scroll->Update();
    EXPECT_EQ(scroll->GetValue(), 4);
    scroll->SetValue(-3);
    scroll->Update();
    EXPECT_EQ(scroll->GetValue(), 0);
}

TEST_F(UiScrollTest, TheThumbTravelsItsLineByPositionOverMaximum)
{
    auto scroll = Make(L"full");
    scroll->SetMax(4);
    const int ys[] = {20, 45, 70, 95, 120};
    for (int position = 0; position <= 4; ++position) {
        scroll->SetValue(position);
        scroll->Update();
        EXPECT_EQ(scroll->GetThumb()->GetLayoutY(), ys[position]) << position;
        EXPECT_EQ(scroll->GetThumb()->GetLayoutX(), 0);
    }
}

TEST_F(UiScrollTest, AMaximumOfZeroDisablesTheStepsAndHidesTheThumb)
{
    auto scroll = Make(L"full");
    scroll->SetMax(0);
    EXPECT_TRUE(scroll->GetUpButton()->mDisabled);
    EXPECT_TRUE(scroll->GetDownButton()->mDisabled);
    EXPECT_FALSE(scroll->GetThumb()->mVisible);
    EXPECT_FALSE(scroll->mDisabled); // the bar's own flag stays
    scroll->SetMax(2);
    EXPECT_FALSE(scroll->GetUpButton()->mDisabled);
    EXPECT_FALSE(scroll->GetDownButton()->mDisabled);
    EXPECT_TRUE(scroll->GetThumb()->mVisible);

    // A disabled step button is not reachable: a press on it goes nowhere.
    scroll->SetMax(0);
    scroll->Resize(0, 0, 20, 140);
    Manager()->AddWidget(scroll.get());
    Manager()->UpdateFrame();
    Manager()->MouseMove(5, 5);
    Manager()->MouseDown(5, 5, 1);
    Manager()->MouseUp(5, 5, 1);
    EXPECT_EQ(scroll->GetValue(), 0);
    Log log = Take();
    EXPECT_EQ(std::count(log.begin(), log.end(), "sound button_click"), 0);
    Manager()->RemoveWidget(scroll.get());
}

TEST_F(UiScrollTest, ABarWithoutButtonsStepsAndMovesNothing)
{
    auto scroll = Make(L"bare");
    EXPECT_EQ(scroll->GetUpButton(), nullptr);
    scroll->SetMax(3);
    scroll->OnButtonPress(2);
    scroll->SetValue(2);
    scroll->Update();
    scroll->SetMax(0);
    scroll->Update();
    EXPECT_EQ(scroll->GetValue(), 0);
}

} // namespace
