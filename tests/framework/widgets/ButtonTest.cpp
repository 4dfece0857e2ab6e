#include "WidgetFixture.h"
#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/ButtonWidget.h"
#include "framework/widgets/DialogButton.h"
#include "framework/widgets/SysFontMaker.h"

using namespace Zelk;

namespace {

class RecordingListener : public ButtonListener {
public:
    void OnButtonPressClicks(intptr_t id, int clickCount) override
    {
        Write("pressclicks " + std::to_string(id) + " " + std::to_string(clickCount));
        ButtonListener::OnButtonPressClicks(id, clickCount);
    }
    void OnButtonPress(intptr_t id) override { Write("press " + std::to_string(id)); }
    void OnButtonClick(intptr_t id) override { Write("click " + std::to_string(id)); }
    void OnButtonHeld(intptr_t id) override { Write("held " + std::to_string(id)); }
    void OnButtonEnter(intptr_t id) override { Write("enter " + std::to_string(id)); }
    void OnButtonLeave(intptr_t id) override { Write("leave " + std::to_string(id)); }
    void OnButtonHover(intptr_t id, int x, int y) override { Write("hover " + std::to_string(id) + " " + Pt(x, y)); }
    void Write(const std::string& e) { log.push_back(e); }
    Log log;
};

} // namespace

// A 40 x 20 button with id 7 at (100, 100).
class Button : public TreeTest {
protected:
    Button() : button(7, &listener)
    {
        button.Resize(100, 100, 40, 20);
        mgr.AddWidget(&button);
    }
    ~Button() override { mgr.RemoveWidget(&button); }
    Log Events() { return std::move(listener.log); }

    RecordingListener listener;
    ButtonWidget button;
};

TEST_F(Button, ClicksNeedTheReleaseOverTheButtonAndTheApplicationFocus)
{
    struct Case {
        const char* what;
        int releaseX;
        bool appFocus;
        int code;
        Log events;
    } cases[] = {
        {"release inside", 110, true, 1, {"pressclicks 7 1", "press 7", "click 7"}},
        {"release outside", 200, true, 1, {"pressclicks 7 1", "press 7"}},
        {"release inside, application in the background", 110, false, 1, {"pressclicks 7 1", "press 7"}},
        {"double click with the right button", 110, true, -2, {"pressclicks 7 2", "press 7", "click 7"}},
    };
    for (const Case& c : cases) {
        mgr.mHasFocus = c.appFocus;
        mgr.MouseDown(110, 110, c.code);
        mgr.MouseMove(c.releaseX, 110); // the input queue moves the mouse before every release
        mgr.MouseUp(c.releaseX, 110, c.code);
        mgr.MouseMove(500, 500);
        Log events;
        for (const std::string& e : Events())
            if (e.rfind("enter", 0) != 0 && e.rfind("leave", 0) != 0 && e.rfind("hover", 0) != 0)
                events.push_back(e);
        EXPECT_EQ(events, c.events) << c.what;
    }
    mgr.mHasFocus = true;
}

TEST_F(Button, HeldOncePerUpdateWhileDownAndOver)
{
    mgr.MouseDown(110, 110, 1);
    Events();
    mgr.UpdateFrame();
    mgr.UpdateFrame();
    EXPECT_EQ(Events(), (Log{"held 7", "held 7"}));
    mgr.MouseMove(300, 110); // off the button, still held
    mgr.UpdateFrame();
    EXPECT_EQ(Events(), (Log{"leave 7"}));
    mgr.MouseMove(105, 105);
    mgr.UpdateFrame();
    EXPECT_EQ(Events(), (Log{"enter 7", "held 7"}));
    mgr.MouseUp(105, 105, 1);
    mgr.UpdateFrame();
    EXPECT_EQ(Events(), (Log{"click 7"}));
}

TEST_F(Button, HoverFadesInAndOutOncePerUpdate)
{
    button.mOverAlphaFadeInSpeed = 0.3;
    mgr.MouseMove(110, 110);
    struct {
        double alpha;
        bool changed;
    } fadeIn[] = {{0.3, true}, {0.6, true}, {0.9, true}, {1.0, true}, {1.0, false}};
    for (auto& step : fadeIn) {
        button.mDirty = false;
        mgr.UpdateFrame();
        EXPECT_NEAR(button.mOverAlpha, step.alpha, 1e-9);
        EXPECT_EQ(button.mDirty, step.changed) << step.alpha;
    }

    // No fade-in: the hover shows at once; leaving starts the fade-out from full.
    button.mOverAlphaFadeInSpeed = 0.0;
    button.mOverAlphaSpeed = 0.25;
    button.mOverAlpha = 0.0;
    mgr.MouseMove(500, 500);
    EXPECT_EQ(button.mOverAlpha, 1.0);
    for (double want : {0.75, 0.5, 0.25, 0.0}) {
        button.mDirty = false;
        mgr.UpdateFrame();
        EXPECT_NEAR(button.mOverAlpha, want, 1e-9);
        EXPECT_TRUE(button.mDirty) << want;
    }
    button.mDirty = false;
    mgr.UpdateFrame();
    EXPECT_FALSE(button.mDirty); // settled

    // Without a fade-out speed the hover vanishes at once.
    button.mOverAlphaSpeed = 0.0;
    button.mOverAlpha = 0.6;
    mgr.MouseMove(110, 110);
    EXPECT_EQ(button.mOverAlpha, 0.0); // entering without fade-in clears it too
    button.mOverAlpha = 0.6;
    mgr.MouseMove(500, 500);
    EXPECT_EQ(button.mOverAlpha, 0.0);
}

// ---- drawing ----

namespace {

// The fills of a draw as "x,y,w,h=colour index" against the button's table.
std::vector<std::string> Fills(const RecordingImage& image, Widget& w)
{
    std::vector<std::string> fills;
    for (const auto& op : image.ops) {
        if (op.what != "fill")
            continue;
        int index = -1;
        for (int i = 0; i < int(w.mColors.size()) && index < 0; ++i)
            if (w.mColors[i] == op.color)
                index = i;
        fills.push_back(Pt(op.rect.mX, op.rect.mY) + "," + Pt(op.rect.mWidth, op.rect.mHeight) + "=" +
                        std::to_string(index));
    }
    return fills;
}

} // namespace

TEST(ButtonDraw, FrameLookReleasedAndPressed)
{
    std::vector<FakeFont::Drawn> drawn;
    FakeFont font(&drawn);
    ButtonWidget button(1, nullptr);
    button.Resize(0, 0, 40, 20);
    button.mLabel = L"OK";
    button.SetFont(&font);
    // Distinct colours so that each fill names its table entry.
    const int colors[][3] = {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0}, {6, 0, 0}};
    button.SetColorTableRGB(colors, 6);

    struct Case {
        const char* what;
        bool down, over, inverted;
        std::vector<std::string> fills;
        std::string label; // position and colour index
    } cases[] = {
        {"released",
         false,
         false,
         false,
         {"0,0,40,20=5", "0,0,39,1=3", "0,0,1,19=3", "0,19,40,1=2", "39,0,1,20=2", "1,18,38,1=4", "38,1,1,18=4"},
         "13,13=0"},
        {"pressed",
         true,
         true,
         false,
         {"0,0,40,20=5", "0,0,39,1=2", "0,0,1,19=2", "0,19,40,1=3", "39,0,1,20=3", "1,1,37,1=4", "1,1,1,17=4"},
         "14,14=1"},
        {"released look of an inverted button held down",
         true,
         true,
         true,
         {"0,0,40,20=5", "0,0,39,1=3", "0,0,1,19=3", "0,19,40,1=2", "39,0,1,20=2", "1,18,38,1=4", "38,1,1,18=4"},
         "13,13=1"},
    };
    for (const Case& c : cases) {
        button.mIsDown = c.down;
        button.mIsOver = c.over;
        button.mInverted = c.inverted;
        RecordingImage screen;
        Graphics g(&screen);
        drawn.clear();
        button.Draw(&g);
        EXPECT_EQ(Fills(screen, button), c.fills) << c.what;
        ASSERT_EQ(drawn.size(), 1u) << c.what;
        int index = c.label.back() - '0';
        EXPECT_EQ(Pt(drawn[0].x, drawn[0].y) + "=" + std::to_string(index), c.label) << c.what;
        EXPECT_EQ(drawn[0].color, button.GetColor(index)) << c.what;
    }

    // Without its frame only the label is drawn.
    button.mIsDown = button.mIsOver = button.mInverted = false;
    button.mFrameNoDraw = true;
    RecordingImage screen;
    Graphics g(&screen);
    button.Draw(&g);
    EXPECT_TRUE(screen.ops.empty());
}

TEST(ButtonDraw, ImageLookPicksTheStateImage)
{
    RecordingImage normal(40, 20), over(40, 20), down(40, 20), disabled(40, 20);
    ButtonWidget button(1, nullptr);
    button.Resize(0, 0, 40, 20);
    button.mButtonImage = &normal;
    button.mOverImage = &over;
    button.mDownImage = &down;
    button.mDisabledImage = &disabled;
    auto name = [&](Image* image) {
        return image == &normal ? "normal" : image == &over ? "over" : image == &down ? "down" : "disabled";
    };
    struct Case {
        const char* what;
        bool isDown, isOver, isDisabled;
        double overAlpha;
        bool haveDown;
        std::vector<std::string> blits; // image@x,y alpha
    } cases[] = {
        {"idle", false, false, false, 0.0, true, {"normal@0,0 255"}},
        {"hovered", false, true, false, 0.0, true, {"over@0,0 255"}},
        {"pressed", true, true, false, 0.0, true, {"down@0,0 255"}},
        {"pressed without a down image", true, true, false, 0.0, false, {"over@0,0 255"}},
        {"held off the button", true, false, false, 0.0, true, {"over@0,0 255"}},
        {"disabled", false, false, true, 0.0, true, {"disabled@0,0 255"}},
        {"fading", false, false, false, 0.5, true, {"normal@0,0 255", "over@0,0 127"}},
        {"faded in", false, true, false, 1.0, true, {"over@0,0 255"}},
    };
    for (const Case& c : cases) {
        button.mIsDown = c.isDown;
        button.mIsOver = c.isOver;
        button.mDisabled = c.isDisabled;
        button.mOverAlpha = c.overAlpha;
        button.mDownImage = c.haveDown ? &down : nullptr;
        RecordingImage screen;
        Graphics g(&screen);
        button.Draw(&g);
        std::vector<std::string> blits;
        for (const auto& op : screen.ops)
            blits.push_back(std::string(name(op.src)) + "@" + Pt(op.rect.mX, op.rect.mY) + " " +
                            std::to_string(op.color.mAlpha));
        EXPECT_EQ(blits, c.blits) << c.what;
    }
}

namespace {

int gFontsAlive = 0;

class CountedFont : public FakeFont {
public:
    CountedFont() { ++gFontsAlive; }
    CountedFont(const CountedFont& other) : FakeFont(other) { ++gFontsAlive; }
    ~CountedFont() override { --gFontsAlive; }
    Font* Duplicate() override { return new CountedFont(*this); }
};

Font* MakeCountedFont(ZelkAppBase*, const std::string& face, int size, int charset)
{
    return new CountedFont();
}

} // namespace

TEST(ButtonDraw, AButtonDeletesTheFontItMadeForItself)
{
    gSysFontMaker = MakeCountedFont;
    {
        ButtonWidget button(1, nullptr);
        button.Resize(0, 0, 40, 20);
        button.mLabel = L"Go";
        Graphics g;
        button.Draw(&g);
        button.Draw(&g);
        EXPECT_EQ(gFontsAlive, 1);
        DialogButton unlabelled(nullptr, 2, nullptr);
        unlabelled.Draw(&g); // no label, no font
        EXPECT_EQ(gFontsAlive, 1);
    }
    EXPECT_EQ(gFontsAlive, 0);
    gSysFontMaker = nullptr;
}

TEST(ButtonDraw, DialogButtonPressedLookMovesByItsOffset)
{
    std::vector<FakeFont::Drawn> drawn;
    FakeFont font(&drawn);
    RecordingImage box(9, 9);
    DialogButton button(&box, 1, nullptr);
    EXPECT_TRUE(button.mDoFinger);
    button.Resize(0, 0, 60, 30);
    button.mLabel = L"YES";
    button.SetFont(&font);
    for (bool pressed : {false, true}) {
        button.mIsDown = button.mIsOver = pressed;
        RecordingImage screen;
        Graphics g(&screen);
        drawn.clear();
        button.Draw(&g);
        ASSERT_FALSE(screen.ops.empty());
        const int shift = pressed ? 1 : 0;
        EXPECT_EQ(Pt(screen.ops[0].rect.mX, screen.ops[0].rect.mY), Pt(shift, shift)); // top-left corner
        ASSERT_EQ(drawn.size(), 1u);
        // x = (60 - 21) / 2, y = (30 - 10 / 6 - 0 + 10 - 1) / 2
        EXPECT_EQ(Pt(drawn[0].x, drawn[0].y), Pt(19 + shift, 19 + shift));
        EXPECT_EQ(g.mTransX, 0.0f); // the pressed offset is undone
    }
}
