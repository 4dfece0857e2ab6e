// The slider: values from presses in the mouse zone, the unclamped value and
// the bar, the thumb on the track, and sliders that lack children.
#include "game/ui/UiBar.h"
#include "game/ui/UiSlider.h"
#include "game/ui/UiText.h"
#include "tests/game/widgets/UiTestApp.h"

using namespace uitest;

namespace {

const wchar_t kSliderUi[] =
    L"<root><element name=\"volume\" x=\"100\" y=\"50\" width=\"130\" height=\"20\" mz_x=\"10\" mz_y=\"0\" "
    L"mz_width=\"100\" mz_height=\"20\">"
    L"<element name=\"back\" width=\"130\" height=\"20\"/>"
    L"<element name=\"bar\" type=\"quortext\" x=\"5\" width=\"120\" height=\"20\" seg_width=\"10\"/>"
    L"<element name=\"thumb\" x=\"5\" width=\"10\" height=\"20\"/></element>"
    L"<element name=\"deadzones\" width=\"130\" height=\"20\" mz_x=\"0\" mz_width=\"130\" mz_height=\"20\" "
    L"mz_dz1=\"4\" mz_dz2=\"8\"/>"
    L"<element name=\"thin\" width=\"130\" height=\"20\" mz_x=\"40\" mz_width=\"0\" mz_height=\"20\">"
    L"<element name=\"thumb\" width=\"10\" height=\"20\"/></element></root>";

class UiSliderTest : public UiTest {
protected:
    std::unique_ptr<UiSlider> Make(const wchar_t* name, int max)
    {
        XmlNode root = LoadUi(kSliderUi);
        auto slider = std::make_unique<UiSlider>(nullptr);
        slider->Load(Element(root, name), Context());
        slider->SetMax(max);
        return slider;
    }
};

TEST_F(UiSliderTest, PressesInsideTheZoneSetTheValue)
{
    const struct {
        const wchar_t* slider;
        int x, y, value; // -1: unchanged
    } cases[] = {
        {L"volume", 60, 10, 50},  {L"volume", 10, 10, 0},   {L"volume", 110, 10, 100},
        {L"volume", 9, 10, -1},   {L"volume", 111, 10, -1}, {L"volume", 60, 21, -1},
        {L"volume", 35, 0, 25},   {L"volume", 11, 20, 1},
        {L"deadzones", 123, 5, 100}, {L"deadzones", 130, 5, 100}, {L"deadzones", 122, 5, 93},
        {L"deadzones", 3, 5, 0},  {L"deadzones", 4, 5, 3},
        {L"thin", 40, 5, 0},      {L"thin", 41, 5, -1}, // a zone of width 0: its only point gives 0
    };
    for (const auto& c : cases) {
        auto slider = Make(c.slider, 100);
        slider->SetValue(-1);
        slider->MouseButtonDown(c.x, c.y, 0, 1);
        EXPECT_EQ(slider->GetValue(), c.value) << std::wstring(c.slider).size() << " at " << c.x << "," << c.y;
    }
}

TEST_F(UiSliderTest, TheValueIsClampedAtTheNextUpdateWhileTheBarKeepsIt)
{
    auto slider = Make(L"volume", 100);
    ASSERT_NE(slider->GetBar(), nullptr); // the child "bar" is a bar whatever its type says
    EXPECT_EQ(slider->GetBar()->GetMax(), 100);
    slider->SetValue(150);
    EXPECT_EQ(slider->GetValue(), 150);
    slider->Update();
    EXPECT_EQ(slider->GetValue(), 100);
    EXPECT_EQ(slider->GetBar()->GetValue(), 150);
}

TEST_F(UiSliderTest, TheThumbCentresOnTheValueWithinTheTrack)
{
    auto slider = Make(L"volume", 100);
    EXPECT_EQ(slider->GetThumbMargin(), 5);
    // track 120, thumb 10: x = clamp(trunc(120 f) - 5, 0, 110) + 5
    const struct {
        int value, x;
    } cases[] = {{0, 5}, {1, 5}, {10, 12}, {50, 60}, {99, 115}, {100, 115}};
    for (const auto& c : cases) {
        slider->SetValue(c.value);
        slider->Update();
        EXPECT_EQ(slider->GetThumb()->GetLayoutX(), c.x) << c.value;
        EXPECT_EQ(slider->GetThumb()->GetLayoutY(), 0);
    }
    // Maximum 0: the thumb stays where it is.
    slider->SetMax(0);
    slider->SetValue(0);
    slider->Update();
    EXPECT_EQ(slider->GetThumb()->GetLayoutX(), 115);
}

TEST_F(UiSliderTest, APressOnTheThumbPictureReachesTheSlider)
{
    auto slider = Make(L"volume", 100);
    for (const auto& entry : slider->GetChildren())
        EXPECT_FALSE(entry.second->mMouseVisible) << entry.first;
    Manager()->AddWidget(slider.get());
    slider->SetValue(0);
    Manager()->UpdateFrame();
    // The thumb lies at 105..115 on the screen; the slider takes the press.
    Manager()->MouseMove(112, 60);
    Manager()->MouseDown(112, 60, 1);
    Manager()->MouseUp(112, 60, 1);
    EXPECT_EQ(slider->GetValue(), 2);
    Manager()->MouseDown(160, 60, 1);
    Manager()->MouseUp(160, 60, 1);
    EXPECT_EQ(slider->GetValue(), 50);
    Manager()->RemoveWidget(slider.get());
}

TEST_F(UiSliderTest, WithoutBarOrThumbTheOtherStepsStillWork)
{
    auto slider = Make(L"deadzones", 10);
    EXPECT_EQ(slider->GetBar(), nullptr);
    EXPECT_EQ(slider->GetThumb(), nullptr);
    slider->SetValue(20);
    slider->Update();
    EXPECT_EQ(slider->GetValue(), 10);
    slider->MouseButtonDown(65, 5, 1, 1);
    EXPECT_EQ(slider->GetValue(), 5);
}

} // namespace
