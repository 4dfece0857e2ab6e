// The button: which pictures it draws in which state, its events, sounds and
// cursor, and its label in the three layers, unscaled and scaled.
#include "game/ui/UiButton.h"
#include "tests/framework/widgets/WidgetFixture.h"
#include "tests/game/widgets/UiTestApp.h"

#include <algorithm>

using namespace uitest;

namespace {

class Listener : public Zelk::ButtonListener {
public:
    explicit Listener(Log* log) : mLog(log) {}
    void OnButtonPressClicks(intptr_t id, int clicks) override { Write("press", id, std::to_string(clicks)); }
    void OnButtonClick(intptr_t id) override { Write("click", id); }
    void OnButtonHeld(intptr_t id) override { Write("held", id); }
    void OnButtonEnter(intptr_t id) override { Write("enter", id); }
    void OnButtonLeave(intptr_t id) override { Write("leave", id); }
    void OnButtonHover(intptr_t id, int x, int y) override
    {
        Write("hover", id, std::to_string(x) + "," + std::to_string(y));
    }
    void Write(const char* what, intptr_t id, const std::string& more = "")
    {
        mLog->push_back(std::string(what) + " " + std::to_string(id) + (more.empty() ? "" : " " + more));
    }
    Log* mLog;
};

const wchar_t kButtonUi[] =
    L"<root><texture id=\"states\" file=\"solid_160x30_ff808080\"/>"
    L"<element name=\"full\" x=\"10\" y=\"20\" width=\"40\" height=\"30\" label=\"ok\" line_spacing=\"10\" "
    L"justify=\"-1\">"
    L"<texture id=\"normal\" texture=\"states\" u=\"0\" v=\"0\"/>"
    L"<texture id=\"over\" texture=\"states\" u=\"40\"/>"
    L"<texture id=\"down\" texture=\"states\" u=\"80\"/>"
    L"<texture id=\"disabled\" texture=\"states\" u=\"120\"/>"
    L"<textattr id=\"normal\" color=\"FF000000\" hcolor=\"FFFF0000\" dcolor=\"80808080\" font=\"nofont\"/>"
    L"<textattr id=\"shadow\" color=\"FFFFFF\"/></element>"
    L"<element name=\"normalonly\" width=\"40\" height=\"30\"><texture id=\"normal\" texture=\"states\"/></element>"
    L"<element name=\"additive\" width=\"40\" height=\"30\">"
    L"<texture id=\"normal\" texture=\"states\" u=\"0\" v=\"0\"/>"
    L"<texture id=\"over\" texture=\"states\" u=\"40\" mode=\"additive\"/></element>"
    L"<element name=\"additivedown\" width=\"40\" height=\"30\">"
    L"<texture id=\"normal\" texture=\"states\" u=\"0\" v=\"0\"/>"
    L"<texture id=\"over\" texture=\"states\" u=\"40\" mode=\"additive\"/>"
    L"<texture id=\"down\" texture=\"states\" u=\"80\"/></element>"
    L"<element name=\"overonly\" width=\"40\" height=\"30\">"
    L"<texture id=\"normal\" texture=\"states\" u=\"0\" v=\"0\"/>"
    L"<texture id=\"over\" texture=\"states\" u=\"40\" mode=\"Additive\"/></element>"
    L"<element name=\"hex\" width=\"40\" height=\"30\" line_spacing=\"0x1e\" justify=\"1\"/></root>";

class UiButtonTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        root = LoadUi(kButtonUi);
    }
    std::unique_ptr<UiButton> Make(const wchar_t* name, intptr_t id = 7)
    {
        auto button = std::make_unique<UiButton>(nullptr, id, &listener);
        button->Load(Element(root, name), Context());
        return button;
    }
    // The pictures drawn, by their u, with " add" for an additive draw.
    static std::string Shown(UiButton& button)
    {
        DrawLog log;
        Zelk::Graphics g(&log);
        button.Draw(&g);
        std::string shown;
        for (const std::string& op : log.ops) {
            size_t from = op.find(" from ") + 6;
            shown += (shown.empty() ? "" : "+") + op.substr(from, op.find(',', from) - from) +
                     (op.find(" add") != std::string::npos ? " add" : "");
        }
        return shown.empty() ? "none" : shown;
    }
    XmlNode root;
    Log events;
    Listener listener{&events};
};

TEST_F(UiButtonTest, ReadsItsLabelNumbersPicturesAndLayers)
{
    auto button = Make(L"full");
    EXPECT_EQ(button->GetLabel(), L"OK");
    EXPECT_EQ(button->GetLineSpacing(), 16);
    EXPECT_EQ(button->GetJustification(), -1);
    EXPECT_TRUE(button->mHasAlpha);
    // "u" read per element, "v" carried over from the first element.
    EXPECT_EQ(button->GetPicture(UiButton::DISABLED).source.mX, 120);
    EXPECT_EQ(button->GetPicture(UiButton::DISABLED).source.mWidth, 40);
    const UiTextLayers& layers = button->GetTextLayers();
    EXPECT_EQ(layers.GetFont(2), nullptr); // an unknown font name switches the layer off
    EXPECT_EQ(layers.GetColor(2, UiTextLayers::PLAIN).ToInt(), 0xFF000000u);
    EXPECT_EQ(layers.GetColor(2, UiTextLayers::HOVER).ToInt(), 0xFFFF0000u);
    EXPECT_EQ(layers.GetColor(2, UiTextLayers::DISABLED).ToInt(), 0x80808080u);
    // Six digits: transparent; "hcolor" and "dcolor" default to "color".
    EXPECT_EQ(layers.GetColor(0, UiTextLayers::PLAIN).ToInt(), 0x00FFFFFFu);
    EXPECT_EQ(layers.GetColor(0, UiTextLayers::DISABLED).ToInt(), 0x00FFFFFFu);

    auto hex = Make(L"hex");
    EXPECT_EQ(hex->GetLineSpacing(), 30);
    EXPECT_EQ(hex->GetJustification(), 1);
    EXPECT_EQ(hex->GetLabel(), L"");
}

TEST_F(UiButtonTest, BackgroundFollowsStatePicturesAndAdditiveOver)
{
    const struct {
        const wchar_t* button;
        bool disabled, down, over;
        std::string shown;
    } cases[] = {
        {L"full", false, false, false, "0"},         {L"full", false, false, true, "40"},
        {L"full", false, true, true, "80"},          {L"full", false, true, false, "80"}, // down, mouse off
        {L"full", true, true, true, "120"},
        {L"normalonly", false, false, false, "0"},   {L"normalonly", false, false, true, "0"},
        {L"normalonly", false, true, true, "0"},     {L"normalonly", true, false, false, "none"},
        {L"additive", false, false, true, "0+40 add"}, {L"additive", false, true, true, "0+40 add"},
        {L"additive", false, true, false, "0+40 add"}, {L"additive", false, false, false, "0"},
        {L"additivedown", false, true, true, "80"},  {L"additivedown", false, false, true, "0+40 add"},
        {L"overonly", false, false, true, "40"}, // "Additive" is not "additive"
    };
    for (const auto& c : cases) {
        auto button = Make(c.button);
        button->mDisabled = c.disabled;
        button->mIsDown = c.down;
        button->mIsOver = c.over;
        EXPECT_EQ(Shown(*button), c.shown) << c.disabled << c.down << c.over << " " << std::wstring(c.button).size();
    }
}

TEST_F(UiButtonTest, PressClickHeldEnterAndLeaveThroughTheManager)
{
    auto button = Make(L"full", 42);
    Manager()->AddWidget(button.get());
    Manager()->UpdateFrame();
    Take();
    Manager()->MouseMove(20, 30);
    EXPECT_EQ(Take(), (Log{"cursor active", "sound button_hover"}));
    Manager()->MouseMove(21, 30);
    Manager()->MouseDown(21, 30, 1);
    EXPECT_EQ(Take(), (Log{"sound button_click"}));
    Manager()->UpdateFrame();
    Manager()->UpdateFrame();
    // Off the button while held: no held events, the leave; back on: held again.
    Manager()->MouseMove(200, 200);
    Manager()->UpdateFrame();
    EXPECT_EQ(Take(), (Log{"cursor normal"}));
    Manager()->MouseMove(21, 31);
    Manager()->UpdateFrame();
    Manager()->MouseUp(21, 31, 1);
    EXPECT_EQ(events, (Log{"enter 42", "hover 42 10,10", "hover 42 11,10", "press 42 1", "held 42", "held 42", "leave 42",
                           "enter 42", "held 42", "click 42"}));
    events.clear();

    // Pressed, moved off and released there: no click.
    Manager()->MouseDown(21, 31, 1);
    Manager()->MouseMove(200, 200);
    Manager()->MouseUp(200, 200, 1);
    EXPECT_EQ(std::count(events.begin(), events.end(), "click 42"), 0);
    events.clear();

    // Right and middle buttons press and click too; a double click passes its count.
    Manager()->MouseMove(20, 30);
    for (int code : {-1, 3, 2}) {
        Manager()->MouseDown(20, 30, code);
        Manager()->MouseUp(20, 30, code);
    }
    EXPECT_EQ(events, (Log{"enter 42", "hover 42 10,10", "press 42 1", "click 42", "press 42 1", "click 42", "press 42 2",
                           "click 42"}));
    events.clear();

    // Without the application's focus a release clicks nothing.
    Manager()->mHasFocus = false;
    Manager()->MouseDown(20, 30, 1);
    Manager()->MouseUp(20, 30, 1);
    Manager()->mHasFocus = true;
    EXPECT_EQ(events, (Log{"press 42 1"}));
    events.clear();

    // A disabled button sends nothing and plays nothing.
    button->SetDisabled(true);
    Take();
    Manager()->MouseDown(20, 30, 1);
    Manager()->MouseUp(20, 30, 1);
    EXPECT_EQ(std::count(events.begin(), events.end(), "press 42 1"), 0);
    EXPECT_EQ(std::count(events.begin(), events.end(), "click 42"), 0);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "sound button_click"), 0);
    Manager()->RemoveWidget(button.get());
}

TEST_F(UiButtonTest, LabelLayersColoursAndPlacement)
{
    std::vector<FakeFont::Drawn> drawn;
    FakeFont font(&drawn);
    UiButton button(nullptr, 1, &listener);
    button.Resize(0, 0, 100, 40);
    button.SetLabel(L"Go");
    button.SetTextAttr(0, &font, Zelk::Color(0x80000000u), Zelk::Color(0x80000001u), Zelk::Color(0x80000002u));
    button.SetTextAttr(2, &font, Zelk::Color(0xFF000000u), Zelk::Color(0xFF0000FFu), Zelk::Color(0xFF00FF00u));
    button.SetOpacity(0.5f);
    DrawLog log;
    Zelk::Graphics g(&log);
    const struct {
        bool over, disabled;
        uint32_t shadow, normal;
    } cases[] = {
        {false, false, 0x40000000u, 0x7F000000u},
        {true, false, 0x40000001u, 0x7F0000FFu},
        {true, true, 0x40000002u, 0x7F00FF00u},
    };
    for (const auto& c : cases) {
        drawn.clear();
        button.mIsOver = c.over;
        button.mDisabled = c.disabled;
        button.Draw(&g);
        // The measuring of the wrapped height draws once at 0, 0 on its own.
        ASSERT_EQ(drawn.size(), 3u);
        EXPECT_EQ(drawn[1].color.ToInt(), c.shadow);
        EXPECT_EQ(drawn[2].color.ToInt(), c.normal);
        // One line of height 14 centred in 40: top 13, baseline 23; centred in 100.
        EXPECT_EQ(drawn[2].y, 23);
        EXPECT_EQ(drawn[2].x, 43);
    }
    // Only stroke and shadow layers: nothing.
    UiButton strokeOnly(nullptr, 1, &listener);
    strokeOnly.Resize(0, 0, 100, 40);
    strokeOnly.SetLabel(L"Go");
    strokeOnly.SetTextAttr(0, &font, Zelk::Color(), Zelk::Color(), Zelk::Color());
    strokeOnly.SetTextAttr(1, &font, Zelk::Color(), Zelk::Color(), Zelk::Color());
    drawn.clear();
    strokeOnly.Draw(&g);
    EXPECT_TRUE(drawn.empty()); // not even measured
}

TEST_F(UiButtonTest, ScaledLabelIsRenderedOnceAtLayoutSizeWithoutTheHoverColour)
{
    std::vector<FakeFont::Drawn> drawn;
    FakeFont font(&drawn);
    UiElement owner(nullptr);
    owner.SetScale(1.5f);
    UiButton button(&owner, 1, &listener);
    button.Resize(0, 0, 100, 40);
    button.SetLabel(L"Go");
    button.SetTextAttr(2, &font, Zelk::Color(0xFF000000u), Zelk::Color(0xFF0000FFu), Zelk::Color(0xFF00FF00u));
    button.mIsOver = true;
    button.Update();
    DrawLog log;
    Zelk::Graphics g(&log);
    button.Draw(&g);
    // One measuring draw, one layer.
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[1].color.ToInt(), 0xFF000000u); // plain, though the mouse is over it
    EXPECT_EQ(log.ops, (Log{"stretch ? 0,0,150,60 from 0,0,100,40 FFFFFFFF"}));
    // Disabled while scaled: the image stays until the layout size or label changes.
    button.mDisabled = true;
    button.Draw(&g);
    EXPECT_EQ(drawn.size(), 2u);
    button.SetLabel(L"Go!");
    button.Draw(&g);
    ASSERT_EQ(drawn.size(), 4u);
    EXPECT_EQ(drawn[3].color.ToInt(), 0xFF00FF00u);
    button.Resize(0, 0, 90, 40);
    button.Draw(&g);
    EXPECT_EQ(drawn.size(), 6u);
    // Unscaled again: drawn directly, and the image goes.
    owner.SetScale(1.005f);
    button.Update();
    log.ops.clear();
    button.Draw(&g);
    EXPECT_EQ(drawn.size(), 8u);
    EXPECT_TRUE(log.ops.empty());
}

} // namespace
