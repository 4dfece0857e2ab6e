// The text widget: placeholders from the UI text variables, frame animation,
// where the text goes, the disabled look and the scaled text image.
#include "game/ui/UiText.h"
#include "tests/framework/widgets/WidgetFixture.h"
#include "tests/game/effects/RecordingCallbacks.h"
#include "tests/game/widgets/UiTestApp.h"

using namespace uitest;

namespace {

const wchar_t kTextUi[] =
    L"<root><texture id=\"+0coin\" file=\"solid_300x200_ff000000\"/><texture id=\"+1coin\" file=\"solid_300x200_ff000001\"/>"
    L"<texture id=\"+2coin\" file=\"solid_300x200_ff000002\"/><texture id=\"+3coin\" file=\"solid_300x200_ff000003\"/>"
    L"<texture id=\"+4coin\" file=\"solid_300x200_ff000004\"/><texture id=\"+0x\" file=\"solid_300x200_ff000000\"/>"
    L"<texture id=\"+\" file=\"solid_300x200_ff000000\"/><texture id=\"off\" file=\"solid_300x200_ff00ff00\"/>"
    L"<element name=\"coin\" width=\"10\" height=\"10\" fps=\"10\"><texture id=\"normal\" texture=\"+0coin\"/></element>"
    L"<element name=\"once\" width=\"10\" height=\"10\" fps=\"10\" oneshot=\"true\">"
    L"<texture id=\"normal\" texture=\"+0coin\"/></element>"
    L"<element name=\"backwards\" width=\"10\" height=\"10\" fps=\"-10\"><texture id=\"normal\" texture=\"+0coin\"/></element>"
    L"<element name=\"x\" width=\"10\" height=\"10\" fps=\"10\"><texture id=\"normal\" texture=\"+0x\"/></element>"
    L"<element name=\"plus\" width=\"10\" height=\"10\" fps=\"10\"><texture id=\"normal\" texture=\"+\"/></element>"
    L"<element name=\"label\" width=\"200\" height=\"100\" label=\"money\" line_spacing=\"10\" justify=\"10\" "
    L"valign=\"1\" effect=\"changes\"><texture id=\"normal\" texture=\"+0coin\" u=\"1\" v=\"2\"/>"
    L"<texture id=\"disabled\" texture=\"off\" u=\"3\"/>"
    L"<textattr id=\"normal\" color=\"FF102030\" font=\"nofont\"/></element></root>";

class UiTextTest : public UiTest {
protected:
    std::string EffectEntries() const override
    {
        return "<effect name='changes'><timers/><messages>"
               "<message name='onchange' command='call' timer_id='Msg'/></messages></effect>";
    }
    void SetUp() override
    {
        UiTest::SetUp();
        root = LoadUi(kTextUi);
        Calls().clear();
    }
    std::unique_ptr<UiText> Make(const wchar_t* name)
    {
        auto text = std::make_unique<UiText>(nullptr, Context());
        text->Load(Element(root, name), Context());
        return text;
    }
    StringTable* Strings() { return app->GetStringTable(); }

    RecordingExports exports;
    XmlNode root;
};

TEST_F(UiTextTest, PlaceholdersAreFilledFromTheVariablesAtTheNextUpdate)
{
    Strings()->SetNumber("money", 100);
    Strings()->SetText("", L"E");
    const struct {
        const wchar_t* source;
        const wchar_t* shown;
    } cases[] = {
        {L"Money: %money%", L"Money: 100"}, {L"%money%/%money%", L"100/100"},
        {L"cut %mon", L"cut "},             {L"%%x", L"Ex"},
        {L"plain", L"plain"},               {L"%unknown%!", L"!"},
    };
    for (const auto& c : cases) {
        UiText text(nullptr, Context());
        text.SetText(c.source);
        EXPECT_EQ(text.GetDisplayText(), L"");
        text.Update();
        EXPECT_EQ(text.GetDisplayText(), c.shown);
    }
}

TEST_F(UiTextTest, AChangedVariableRebuildsTheTextAndSendsOnchangeOnce)
{
    Strings()->SetNumber("money", 100);
    auto text = Make(L"label");
    EXPECT_EQ(text->GetSourceText(), L"Money: %money%");
    text->Update();
    EXPECT_EQ(text->GetDisplayText(), L"Money: 100");
    EXPECT_EQ(Calls().size(), 1u); // the first update after SetText
    text->Update();
    EXPECT_EQ(Calls().size(), 1u);
    Strings()->SetNumber("money", 250);
    EXPECT_EQ(text->GetDisplayText(), L"Money: 100");
    text->Update();
    EXPECT_EQ(text->GetDisplayText(), L"Money: 250");
    text->Update();
    EXPECT_EQ(Calls().size(), 2u);
    // Every SetText sends it again, even with the same text.
    text->SetText(L"Money: %money%");
    text->Update();
    EXPECT_EQ(Calls().size(), 3u);
}

TEST_F(UiTextTest, ReadsHexLineSpacingAndDecimalJustification)
{
    auto text = Make(L"label");
    EXPECT_EQ(text->GetLineSpacing(), 16);
    EXPECT_EQ(text->GetJustification(), 10);
    EXPECT_EQ(text->GetVerticalAlignment(), 1);
    EXPECT_EQ(text->GetFrameSource(), Zelk::Rect(1, 2, 200, 100));
    EXPECT_EQ(text->GetDisabledSource(), Zelk::Rect(3, 2, 200, 100)); // "v" carried over
    EXPECT_EQ(text->GetTextLayers().GetColor(2, UiTextLayers::DISABLED).ToInt(), 0xFF102030u);
}

TEST_F(UiTextTest, FramesAdvanceByFloatTimeAndLoop)
{
    auto coin = Make(L"coin");
    EXPECT_EQ(coin->GetFrameCount(), 5);
    std::vector<int> frames;
    for (int update = 1; update <= 120; ++update) {
        coin->Update();
        frames.push_back(coin->GetFrame());
    }
    // Ten updates of 0.01 s stay below 0.1 s in 32-bit floats: the first
    // advance comes at update 11.
    EXPECT_EQ(frames[9], 0);
    EXPECT_EQ(frames[10], 1);
    int wraps = 0, highest = 0;
    for (size_t i = 1; i < frames.size(); ++i) {
        EXPECT_TRUE(frames[i] == frames[i - 1] || frames[i] == (frames[i - 1] + 1) % 5) << i;
        wraps += frames[i] < frames[i - 1];
        highest = std::max(highest, frames[i]);
    }
    EXPECT_EQ(highest, 4);
    EXPECT_EQ(wraps, 2); // about every 0.5 s
}

TEST_F(UiTextTest, OneShotHoldsTheLastFrameAndRestartsAfterHideAndShow)
{
    auto once = Make(L"once");
    for (int i = 0; i < 100; ++i)
        once->Update();
    EXPECT_EQ(once->GetFrame(), 4);
    once->Hide();
    for (int i = 0; i < 11; ++i)
        once->Update();
    EXPECT_EQ(once->GetFrame(), 0); // hidden widgets are still updated
    once->Show();
    for (int i = 0; i < 9; ++i)
        once->Update();
    EXPECT_EQ(once->GetFrame(), 0);
}

TEST_F(UiTextTest, NoAnimationWithoutFurtherFramesOrAPositiveRate)
{
    const struct {
        const wchar_t* name;
        int count;
    } cases[] = {{L"x", 1}, {L"plus", 1}, {L"backwards", 5}};
    for (const auto& c : cases) {
        auto text = Make(c.name);
        EXPECT_EQ(text->GetFrameCount(), c.count);
        for (int i = 0; i < 300; ++i)
            text->Update();
        EXPECT_EQ(text->GetFrame(), 0);
    }
}

TEST_F(UiTextTest, TheTextBoxFollowsTheVerticalAlignment)
{
    std::vector<FakeFont::Drawn> drawn;
    FakeFont font(&drawn);
    const struct {
        int valign, baseline;
    } cases[] = {{0, 53}, {1, 96}, {-1, 10}, {7, 10}};
    for (const auto& c : cases) {
        UiText text(nullptr, Context());
        text.Resize(0, 0, 200, 100);
        text.SetText(L"Hi");
        text.SetTextAttr(2, &font, Zelk::Color(0xFF000000u), Zelk::Color(0xFF00FF00u));
        text.SetOpacity(0.5f);
        text.Update();
        // The vertical alignment is only read from the layout.
        XmlDocument d;
        d.LoadText(L"<element valign=\"" + std::to_wstring(c.valign) + L"\" width=\"200\" height=\"100\"/>");
        text.Load(d.Node().SelectSingle(L"element"), Context());
        text.SetTextAttr(2, &font, Zelk::Color(0xFF000000u), Zelk::Color(0xFF00FF00u));
        drawn.clear();
        DrawLog log;
        Zelk::Graphics g(&log);
        text.Draw(&g);
        ASSERT_FALSE(drawn.empty());
        EXPECT_EQ(drawn.back().y, c.baseline) << c.valign;
        EXPECT_EQ(drawn.back().color.ToInt(), 0x7F000000u);
    }
}

TEST_F(UiTextTest, DisabledTextShowsItsDisabledPictureAndColours)
{
    std::vector<FakeFont::Drawn> drawn;
    FakeFont font(&drawn);
    auto text = Make(L"label");
    text->SetTextAttr(0, &font, Zelk::Color(0xFF000001u), Zelk::Color(0xFF000002u));
    text->SetTextAttr(2, &font, Zelk::Color(0xFF000003u), Zelk::Color(0xFF000004u));
    text->Update();
    DrawLog log;
    Zelk::Graphics g(&log);
    text->Draw(&g);
    ASSERT_EQ(log.ops.size(), 1u);
    EXPECT_EQ(log.ops[0], "stretch ? 0,0,200,100 from 1,2,200,100 FFFFFFFF");
    ASSERT_GE(drawn.size(), 2u);
    EXPECT_EQ(drawn[drawn.size() - 2].color.ToInt(), 0xFF000001u);
    EXPECT_EQ(drawn.back().color.ToInt(), 0xFF000003u);

    text->SetDisabled(true);
    log.ops.clear();
    drawn.clear();
    text->Draw(&g);
    EXPECT_EQ(log.ops, (Log{"stretch ? 0,0,200,100 from 3,2,200,100 FFFFFFFF"}));
    EXPECT_EQ(drawn[drawn.size() - 2].color.ToInt(), 0xFF000002u);
    EXPECT_EQ(drawn.back().color.ToInt(), 0xFF000004u);

    // Without a disabled picture a disabled text shows none; without a
    // normal-layer font no layer is drawn.
    text->SetFrame(UiText::kDisabledFrame, nullptr, Zelk::Rect());
    text->SetTextAttr(2, nullptr, Zelk::Color(), Zelk::Color());
    log.ops.clear();
    drawn.clear();
    text->Draw(&g);
    EXPECT_TRUE(log.ops.empty());
    EXPECT_TRUE(drawn.empty());
}

TEST_F(UiTextTest, ScaledTextIsDrawnOnceIntoAnImageAndStretched)
{
    std::vector<FakeFont::Drawn> drawn;
    FakeFont font(&drawn);
    UiElement owner(nullptr);
    owner.SetScale(1.5f);
    owner.SetOpacity(0.5f);
    UiText text(&owner, Context());
    text.Resize(0, 0, 100, 40);
    text.SetText(L"Hi");
    text.SetTextAttr(2, &font, Zelk::Color(0xFF000000u), Zelk::Color(0xFF00FF00u));
    text.Update();
    DrawLog log;
    Zelk::Graphics g(&log);
    text.Draw(&g);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().color.ToInt(), 0xFF000000u); // the opacity comes with the stretch
    EXPECT_EQ(log.ops, (Log{"stretch ? 0,0,150,60 from 0,0,100,40 7FFFFFFF"}));
    EXPECT_TRUE(text.HasTextImage());
    const size_t once = drawn.size();
    text.Draw(&g);
    EXPECT_EQ(drawn.size(), once); // reused while the layout size stays
    text.Resize(0, 0, 120, 40);
    text.Update();
    text.Draw(&g);
    EXPECT_GT(drawn.size(), once);
    // Within 0.01 of 1: drawn directly, the image dropped.
    owner.SetScale(0.995f);
    text.Update();
    text.Draw(&g);
    EXPECT_FALSE(text.HasTextImage());
    // A layout of size 0 makes no image and draws nothing.
    owner.SetScale(2.0f);
    text.Resize(0, 0, 0, 40);
    text.Update();
    log.ops.clear();
    text.Draw(&g);
    EXPECT_FALSE(text.HasTextImage());
    EXPECT_TRUE(log.ops.empty());
}

} // namespace
