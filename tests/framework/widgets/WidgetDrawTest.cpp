#include "WidgetFixture.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/MemoryImage.h"
#include "platform/NullPlatform.h"

using namespace Zelk;

namespace {

// An application that writes down its overlay hook.
class OverlayApp : public ZelkAppBase {
public:
    void DrawOverlay(Graphics* g) override
    {
        overlays.push_back(Pt(int(g->mTransX), int(g->mTransY)));
        if (onOverlay)
            onOverlay(g);
    }
    std::vector<std::string> overlays;
    std::function<void(Graphics*)> onOverlay;
};

} // namespace

class FrameDraw : public ::testing::Test {
protected:
    FrameDraw()
    {
        mgr = app.mWidgetManager;
        mgr->Resize(Rect(10, 20, 780, 560), Rect(0, 0, 800, 600));
    }
    ~FrameDraw() override { mgr->RemoveAllWidgets(); }
    LogWidget* Add(const std::string& name, int x, int y, int w, int h)
    {
        owned.push_back(std::make_unique<LogWidget>(name, &log, x, y, w, h));
        mgr->AddWidget(owned.back().get());
        return owned.back().get();
    }
    void ClearDirty()
    {
        for (auto& w : owned)
            w->mDirty = false;
    }

    plat::NullPlatform platform;
    OverlayApp app;
    WidgetManager* mgr;
    Log log;
    std::vector<std::unique_ptr<LogWidget>> owned;
};

TEST_F(FrameDraw, NothingDirtyDrawsNothingAndSkipsTheOverlayHook)
{
    Add("A", 0, 0, 50, 50);
    ClearDirty();
    EXPECT_FALSE(mgr->DrawScreen());
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(app.overlays.empty());
    EXPECT_EQ(mgr->mCurG, nullptr);
}

TEST_F(FrameDraw, DirtyVisibleTopLevelWidgetsAreDrawnAtTheirPlace)
{
    for (bool is3D : {false, true}) {
        delete app.mDDInterface.exchange(new DDInterface(&app));
        app.mDDInterface.load()->mIs3D = is3D;
        LogWidget* a = Add("A", 30, 40, 50, 50);
        LogWidget* hidden = Add("H", 0, 0, 50, 50);
        LogWidget* clean = Add("C", 300, 300, 50, 50);
        hidden->mVisible = false;
        clean->mDirty = false;
        std::string seen;
        a->onDraw = [&](Graphics* g) {
            seen = Pt(int(g->mTransX), int(g->mTransY)) + (g->mNearestStretch ? " nearest" : "") +
                   (g->mFilter ? " filter" : "");
            EXPECT_EQ(mgr->mCurG != nullptr, true);
        };
        log.clear();
        app.overlays.clear();
        EXPECT_TRUE(mgr->DrawScreen());
        EXPECT_EQ(log, (Log{"A.draw"})) << is3D;
        EXPECT_EQ(seen, is3D ? "20,20 filter" : "20,20 nearest");
        EXPECT_EQ(app.overlays, (std::vector<std::string>{"-10,-20"}));
        EXPECT_FALSE(a->mDirty);
        EXPECT_TRUE(hidden->mDirty); // waits until it is shown
        mgr->RemoveAllWidgets();
        owned.clear();
    }
}

// An overlay drawn at a new place each frame (an application's own cursor):
// with whole frames repainted, each frame starts black and every visible
// widget, dirty or not, is drawn again, so the overlay of the frame before is
// gone; otherwise only dirty widgets draw over the frame before.
TEST_F(FrameDraw, WholeFramesStartBlackAndDrawEveryVisibleWidget)
{
    struct {
        bool whole;
        uint32_t underOldOverlay;
        Log secondFrame;
    } cases[] = {
        {false, 0xFFFFFFFF, {"D.draw"}},
        {true, 0xFF000000, {"C.draw", "D.draw"}},
    };
    for (const auto& c : cases) {
        MemoryImage screen(&app);
        screen.Create(100, 100);
        mgr->mImage = &screen;
        mgr->Resize(Rect(0, 0, 100, 100), Rect(0, 0, 100, 100));
        mgr->mRepaintWholeFrames = c.whole;
        LogWidget* clean = Add("C", 60, 60, 20, 20);
        LogWidget* dirty = Add("D", 0, 0, 10, 10);
        Add("H", 0, 0, 100, 100)->mVisible = false;
        clean->onDraw = [](Graphics* g) {
            g->SetColor(Color(255, 0, 0));
            g->FillRect(0, 0, 20, 20);
        };
        Point overlay{30, 30};
        app.onOverlay = [&](Graphics* g) {
            g->SetColor(Color(255, 255, 255));
            g->FillRect(overlay.mX, overlay.mY, 2, 2);
        };
        ASSERT_TRUE(mgr->DrawScreen());
        log.clear();
        overlay = {40, 40};
        dirty->MarkDirty();
        ASSERT_TRUE(mgr->DrawScreen());
        EXPECT_EQ(log, c.secondFrame) << c.whole;
        const uint32_t* bits = screen.GetBits();
        EXPECT_EQ(bits[30 * 100 + 30], c.underOldOverlay) << c.whole;
        EXPECT_EQ(bits[40 * 100 + 40], 0xFFFFFFFFu) << c.whole;
        EXPECT_EQ(bits[70 * 100 + 70], 0xFFFF0000u) << c.whole;
        mgr->mImage = nullptr;
        app.onOverlay = nullptr;
        mgr->RemoveAllWidgets();
        owned.clear();
    }
}

TEST_F(FrameDraw, QueuedOverlaysDrawByPriority)
{
    LogWidget* p3 = Add("P3", 0, 0, 1, 1);
    LogWidget* p1 = Add("P1", 0, 0, 1, 1);
    LogWidget* p2 = Add("P2", 0, 0, 1, 1);
    Graphics g;
    mgr->mCurG = &g;
    mgr->mDeferredOverlayWidgets = {{p3, 3}, {p1, 1}, {p2, 2}};
    mgr->mMinDeferredOverlayPriority = 1;
    log.clear();
    mgr->DrawQueuedOverlays(3);
    EXPECT_EQ(log, (Log{"P1.overlay", "P2.overlay"}));
    EXPECT_EQ(mgr->mMinDeferredOverlayPriority, 3);
    mgr->DrawQueuedOverlays(0x7fffffff);
    EXPECT_EQ(log.back(), "P3.overlay");
    EXPECT_TRUE(mgr->mDeferredOverlayWidgets.empty());
    mgr->mCurG = nullptr;
}

// ---- the draw walk of a subtree ----

TEST_F(TreeTest, DrawTreeTranslatesClipsAndSkipsHiddenChildren)
{
    LogWidget* p = Add("P", 100, 100, 200, 100);
    LogWidget* c = Add("C", 150, 50, 100, 100, p); // reaches outside P
    LogWidget* hidden = Add("H", 0, 0, 10, 10, p);
    hidden->mVisible = false;
    hidden->mDirty = true;
    std::string parentSaw, childSaw;
    p->onDraw = [&](Graphics* g) {
        g->SetColor(Color(1, 2, 3)); // must not leak into the children
        g->Translate(5, 5);
    };
    c->onDraw = [&](Graphics* g) {
        const Rect& r = g->mClipRect;
        childSaw = Pt(int(g->mTransX), int(g->mTransY)) + " clip " + Pt(r.mX, r.mY) + " " + Pt(r.mWidth, r.mHeight) +
                   (g->GetColor() == Color(1, 2, 3) ? " leaked" : "");
    };
    RecordingImage screen;
    struct Case {
        uint32_t removeFlags;
        const char* child;
        Log drawn;
    } cases[] = {
        {0, "250,150 clip 250,150 50,50", {"P.draw", "C.draw"}},
        {WIDGET_FLAG_CLIP, "250,150 clip 0,0 800,600", {"P.draw", "C.draw"}},
        {WIDGET_FLAG_DRAW, "", {}},
    };
    for (const Case& k : cases) {
        p->mWidgetFlagsMod.mRemoveFlags = k.removeFlags;
        c->mDirty = true;
        childSaw.clear();
        log.clear();
        Graphics g(&screen);
        g.Translate(p->mX, p->mY);
        TreeFlags flags = mgr.ComputeFlags();
        p->DrawTree(flags, &g);
        EXPECT_EQ(log, k.drawn) << k.removeFlags;
        EXPECT_EQ(childSaw, k.child) << k.removeFlags;
        EXPECT_FALSE(c->mDirty);
        EXPECT_TRUE(hidden->mDirty);
    }
}

// ---- text and digits ----

TEST(WidgetText, CenteredTextAndItsShadowReturnTheAreaTheyCover)
{
    std::vector<FakeFont::Drawn> drawn;
    FakeFont font(&drawn);
    RecordingImage screen;
    Graphics g(&screen);
    g.SetFont(&font);
    Widget w;
    w.Resize(0, 0, 100, 40);

    EXPECT_EQ(w.DrawCenteredText(&g, 30, L"abc"), Rect(39, 20, 21, 14));
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(Pt(drawn[0].x, drawn[0].y), "39,30");

    drawn.clear();
    const Color red(255, 0, 0), grey(50, 50, 50);
    Point offset;
    offset.mX = -2;
    offset.mY = 3;
    EXPECT_EQ(w.DrawCenteredTextShadowed(&g, 30, L"abc", red, grey, offset), Rect(37, 20, 23, 17));
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(Pt(drawn[0].x, drawn[0].y), "37,33");
    EXPECT_EQ(drawn[0].color, grey);
    EXPECT_EQ(Pt(drawn[1].x, drawn[1].y), "39,30");
    EXPECT_EQ(drawn[1].color, red);
    EXPECT_EQ(g.GetColor(), red);
}

TEST(WidgetText, ColourCodesAreOnForTheCallOnly)
{
    std::vector<FakeFont::Drawn> drawn;
    FakeFont font(&drawn);
    Graphics g;
    g.SetFont(&font);
    g.SetColorCodes(false);
    Widget w;
    EXPECT_EQ(w.DrawColorCodedString(&g, L"^FF0000^red", 0, 10, 100, -1), 21);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, L"red");
    EXPECT_EQ(drawn[0].color, Color(255, 0, 0));
    EXPECT_FALSE(g.mColorCodes);

    drawn.clear();
    g.SetColor(Color(0, 0, 0));
    w.DrawWrappedText(&g, Rect(0, 0, 100, 0), L"^00FF00^go", -1, -1);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().color, Color(0, 255, 0));
    EXPECT_FALSE(g.mColorCodes);
}

TEST(WidgetText, NumberStripDrawsOneCellPerDigit)
{
    RecordingImage digits(100, 12); // ten cells of 10 x 12
    RecordingImage screen;
    Graphics g(&screen);
    Widget w;
    struct {
        int number;
        std::vector<std::string> cells; // destination x, source x
    } cases[] = {{0, {"5:0"}}, {407, {"5:40", "17:0", "29:70"}}, {-3, {}}};
    for (auto& c : cases) {
        screen.ops.clear();
        w.DrawNumberStrip(&g, c.number, 5, 7, &digits, 2);
        std::vector<std::string> cells;
        for (auto& op : screen.ops) {
            EXPECT_EQ(Pt(op.rect.mY, op.rect.mWidth) + "," + std::to_string(op.rect.mHeight), "7,10,12");
            cells.push_back(std::to_string(op.rect.mX) + ":" + std::to_string(op.srcRect.mX));
        }
        EXPECT_EQ(cells, c.cells) << c.number;
    }
}
