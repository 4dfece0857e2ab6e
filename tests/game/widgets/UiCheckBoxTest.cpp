// The check box: flipping on a release over it, and which picture it shows.
#include "game/ui/UiCheckBox.h"
#include "tests/game/widgets/UiTestApp.h"

using namespace uitest;

namespace {

class UiCheckBoxTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        root = LoadUi(L"<root><texture id=\"boxes\" file=\"solid_120x20_ff808080\"/>"
                      L"<element name=\"full\" x=\"10\" y=\"10\" width=\"20\" height=\"20\">"
                      L"<texture id=\"normal\" texture=\"boxes\" u=\"0\" v=\"0\"/>"
                      L"<texture id=\"over\" texture=\"boxes\" u=\"20\"/>"
                      L"<texture id=\"disabled\" texture=\"boxes\" u=\"40\"/>"
                      L"<texture id=\"check_normal\" texture=\"boxes\" u=\"60\"/>"
                      L"<texture id=\"check_over\" texture=\"boxes\" u=\"80\"/>"
                      L"<texture id=\"check_disabled\" texture=\"boxes\" u=\"100\"/></element>"
                      L"<element name=\"plain\" x=\"10\" y=\"10\" width=\"20\" height=\"20\">"
                      L"<texture id=\"normal\" texture=\"boxes\" u=\"0\" v=\"0\"/>"
                      L"<texture id=\"check_normal\" texture=\"boxes\" u=\"60\"/></element></root>");
    }
    std::unique_ptr<UiCheckBox> Make(const wchar_t* name)
    {
        auto box = std::make_unique<UiCheckBox>(nullptr);
        box->Load(Element(root, name), Context());
        return box;
    }
    // The u of the picture drawn, or "none".
    static std::string Shown(UiCheckBox& box)
    {
        DrawLog log;
        Zelk::Graphics g(&log);
        box.Draw(&g);
        if (log.ops.empty())
            return "none";
        std::string op = log.ops.at(0);
        size_t from = op.find(" from ") + 6;
        return op.substr(from, op.find(',', from) - from);
    }
    XmlNode root;
};

TEST_F(UiCheckBoxTest, PictureFollowsLookStateAndWhatExists)
{
    const struct {
        const wchar_t* box;
        bool checked, over, disabled;
        std::string shown;
    } cases[] = {
        {L"full", false, false, false, "0"},   {L"full", false, true, false, "20"},
        {L"full", false, true, true, "40"},    {L"full", true, false, false, "60"},
        {L"full", true, true, false, "80"},    {L"full", true, false, true, "100"},
        {L"plain", false, true, false, "0"},   // no over picture: the normal one
        {L"plain", true, true, false, "60"},   {L"plain", true, false, true, "none"}, // no disabled picture
        {L"plain", false, false, true, "none"},
    };
    for (const auto& c : cases) {
        auto box = Make(c.box);
        box->SetChecked(c.checked);
        box->mIsOver = c.over;
        box->mDisabled = c.disabled;
        EXPECT_EQ(Shown(*box), c.shown) << c.checked << c.over << c.disabled;
    }
}

TEST_F(UiCheckBoxTest, AReleaseOverTheBoxWithAnyButtonFlipsIt)
{
    auto box = Make(L"full");
    Manager()->AddWidget(box.get());
    Manager()->UpdateFrame();
    Manager()->MouseMove(15, 15);
    const struct {
        int clickCode;
        bool checked;
    } presses[] = {{1, true}, {-1, false}, {3, true}, {2, false}};
    for (const auto& p : presses) {
        Manager()->MouseDown(15, 15, p.clickCode);
        Manager()->MouseUp(15, 15, p.clickCode);
        EXPECT_EQ(box->IsChecked(), p.checked) << p.clickCode;
    }
    // Pressed on the box and released outside it: no flip.
    Manager()->MouseDown(15, 15, 1);
    Manager()->MouseMove(100, 100);
    Manager()->MouseUp(100, 100, 1);
    EXPECT_FALSE(box->IsChecked());
    // Hidden and shown again, the state stays.
    box->SetChecked(true);
    box->Hide();
    box->Show();
    EXPECT_TRUE(box->IsChecked());
    EXPECT_TRUE(Take().empty()); // no sound, no cursor
    Manager()->RemoveWidget(box.get());
}

} // namespace
