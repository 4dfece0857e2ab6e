#include "WidgetFixture.h"

using namespace Zelk;

// Mouse input: A at (100, 100) and B at (300, 300), both 50 x 50.
class Mouse : public TreeTest {
protected:
    void SetUp() override
    {
        A = Add("A", 100, 100, 50, 50);
        B = Add("B", 300, 300, 50, 50);
        log.clear();
    }
    LogWidget *A, *B;
};

TEST_F(Mouse, PressDragOutsideAndReleaseStayWithThePressedWidget)
{
    mgr.MouseMove(110, 120);
    mgr.MouseDown(110, 120, 1);
    EXPECT_EQ(Take(), (Log{"A.enter", "A.move 10,20", "A.down 10,20 1"}));
    EXPECT_TRUE(A->mIsDown);

    mgr.MouseMove(200, 200); // outside: A loses the hover
    mgr.MouseMove(310, 310); // over B: B is not hovered while A holds the mouse
    mgr.MouseMove(120, 120); // back over A
    mgr.MouseMove(320, 320);
    EXPECT_EQ(Take(), (Log{"A.drag 100,100", "A.leave", "A.drag 210,210", "A.drag 20,20", "A.enter",
                           "A.drag 220,220", "A.leave"}));

    mgr.MouseUp(320, 320, 1); // B gets the hover only after the release
    EXPECT_EQ(Take(), (Log{"A.up 220,220 1", "B.enter", "B.move 20,20"}));
    EXPECT_EQ(mgr.mCapturedWidget, nullptr);
    EXPECT_EQ(mgr.mOverWidget, B);
}

TEST_F(Mouse, ReleaseIsInThePositionInTheParentForNestedWidgets)
{
    Add("C", 10, 10, 20, 20, B);
    mgr.MouseDown(315, 315, 1);
    mgr.MouseUp(315, 315, 1);
    // The press is in the child's own frame, the release relative to the
    // child's position in its parent: widgets built on this rely on it.
    Log events = Take();
    EXPECT_EQ(Only(events, "down"), (Log{"C.down 5,5 1"}));
    EXPECT_EQ(Only(events, "up"), (Log{"C.up 305,305 1"}));
}

TEST_F(Mouse, ASecondButtonGoesToTheCapturedWidgetInItsOwnFrame)
{
    mgr.MouseDown(110, 110, 1);
    mgr.MouseDown(310, 320, -1); // right pressed over B while left holds A
    EXPECT_EQ(Only(Take(), "down"), (Log{"A.down 10,10 1", "A.down 210,220 -1"}));
    EXPECT_EQ(mgr.mDownButtons, MOUSE_BUTTON_LEFT | MOUSE_BUTTON_RIGHT);

    mgr.MouseUp(310, 320, 1);
    EXPECT_EQ(mgr.mCapturedWidget, A); // the right is still held
    mgr.MouseMove(320, 320);
    mgr.MouseUp(320, 320, -1);
    EXPECT_EQ(mgr.mCapturedWidget, nullptr);
    EXPECT_EQ(mgr.mDownButtons, 0u);
    EXPECT_EQ(mgr.mActualDownButtons, 0u);
    Log events = Take();
    EXPECT_EQ(Only(events, "up"), (Log{"A.up 210,220 1", "A.up 220,220 -1"}));
    EXPECT_EQ(Only(events, "drag"), (Log{"A.drag 220,220"}));
    EXPECT_EQ(mgr.mOverWidget, B);
}

TEST_F(Mouse, EndingTheCaptureReleasesEveryHeldButtonInOrder)
{
    struct Case {
        const char* what;
        std::function<void()> end;
    } cases[] = {
        {"disabled", [&] { A->SetDisabled(true); }},
        {"removed", [&] { mgr.RemoveWidget(A); }},
        {"released", [&] { mgr.ReleaseCapture(); }},
    };
    for (const Case& c : cases) {
        mgr.MouseDown(110, 110, 3);
        mgr.MouseDown(110, 110, -1);
        mgr.MouseDown(120, 130, 1);
        log.clear();
        c.end();
        EXPECT_EQ(Only(Take(), "up"), (Log{"A.up 20,30 1", "A.up 20,30 -1", "A.up 20,30 3"})) << c.what;
        EXPECT_FALSE(A->mIsDown) << c.what;
        EXPECT_EQ(mgr.mCapturedWidget, nullptr) << c.what;
        EXPECT_EQ(mgr.mDownButtons, 0u) << c.what;
        for (int code : {1, -1, 3})
            mgr.MouseUp(120, 130, code);
        A->SetDisabled(false);
        if (!mgr.HasWidget(A))
            mgr.AddWidget(A);
        log.clear();
    }
}

TEST_F(Mouse, HitTest)
{
    LogWidget* disabled = Add("D", 90, 90, 20, 20); // over A's corner
    disabled->mDisabled = true;
    LogWidget* ghost = Add("P", 400, 400, 100, 100); // not hit itself, its children are
    ghost->mMouseVisible = false;
    Add("G", 10, 20, 30, 30, ghost);
    Add("G2", 5, 5, 10, 10, Add("G1", 50, 50, 40, 40, ghost));
    A->mMouseInsets = Insets{5, 5, 5, 5};
    struct Case {
        int x, y;
        const char* hit; // nullptr: nothing
        int localX, localY;
    } cases[] = {
        {95, 95, nullptr, 0, 0},   // the disabled widget swallows it
        {105, 105, nullptr, 0, 0}, // A lies under it, inside its insets too
        {120, 120, "A", 20, 20},
        {105, 130, "A", 5, 30},    // the inset left edge belongs to A
        {104, 130, nullptr, 0, 0}, // inside A's rectangle, outside its insets
        {144, 144, "A", 44, 44},
        {145, 120, nullptr, 0, 0}, // the inset right edge does not
        {120, 145, nullptr, 0, 0},
        {415, 425, "G", 5, 5},
        {405, 405, nullptr, 0, 0}, // P itself is never hit
        {457, 458, "G2", 2, 3},    // local coordinates at the third level
    };
    for (const Case& c : cases) {
        int x = -1, y = -1;
        Widget* w = mgr.GetWidgetAtPoint(c.x, c.y, &x, &y);
        EXPECT_EQ(w ? static_cast<LogWidget*>(w)->mName : std::string("none"), c.hit ? c.hit : "none")
            << c.x << "," << c.y;
        if (w && c.hit) {
            EXPECT_EQ(x, c.localX) << c.x << "," << c.y;
            EXPECT_EQ(y, c.localY) << c.x << "," << c.y;
        }
    }
    // The swallowed press reaches nobody and starts no hover.
    log.clear();
    mgr.MouseMove(95, 95);
    mgr.MouseDown(95, 95, 1);
    mgr.MouseUp(95, 95, 1);
    EXPECT_EQ(Take(), Log{});
}

TEST_F(Mouse, APressOnEmptySpaceHoversNothingUntilTheRelease)
{
    mgr.MouseDown(500, 50, 1);
    mgr.MouseMove(110, 110);
    mgr.MouseMove(120, 110);
    EXPECT_EQ(Take(), Log{});
    mgr.MouseUp(120, 110, 1);
    EXPECT_EQ(Take(), (Log{"A.enter", "A.move 20,10"}));
}

TEST_F(Mouse, TreeChangesUnderTheMouseMoveTheHoverAtOnce)
{
    mgr.MouseMove(110, 110);
    log.clear();
    LogWidget* cover = Add("N", 100, 100, 20, 20);
    EXPECT_EQ(Take(), (Log{"A.leave", "N.enter", "N.move 10,10"}));
    cover->SetVisible(false);
    EXPECT_EQ(Take(), (Log{"N.leave", "A.enter", "A.move 10,10"}));
    A->Move(200, 100);
    EXPECT_EQ(Take(), (Log{"A.leave"}));
    A->Move(100, 100);
    EXPECT_EQ(Take(), (Log{"A.enter", "A.move 10,10"}));
    // Removing the hovered widget only drops the hover.
    LogWidget* under = Add("U", 0, 0, 800, 600);
    mgr.MoveToBottom(under);
    mgr.RecheckMouse();
    EXPECT_EQ(mgr.mOverWidget, A);
    log.clear();
    mgr.RemoveWidget(A);
    EXPECT_EQ(Take(), (Log{"A.leave"}));
    EXPECT_EQ(mgr.mOverWidget, nullptr);
    mgr.MouseMove(111, 110);
    EXPECT_EQ(Take(), (Log{"U.enter", "U.move 111,110"}));
}

TEST_F(Mouse, ExitDropsTheHoverAndWheelGoesToTheFocusOnly)
{
    mgr.MouseMove(110, 110);
    mgr.MouseExit();
    EXPECT_EQ(Take(), (Log{"A.enter", "A.move 10,10", "A.leave"}));
    EXPECT_FALSE(mgr.mMouseIn);
    mgr.MouseWheel(2); // no focus widget
    mgr.SetFocus(B);
    mgr.MouseWheel(-1);
    EXPECT_EQ(Take(), (Log{"B.gotfocus", "B.wheel -1"}));
}

TEST_F(Mouse, RemapMouseAndResize)
{
    WidgetManager fresh(nullptr);
    int x = 123, y = -45;
    fresh.RemapMouse(x, y); // no sizes yet: unchanged
    EXPECT_EQ(x, 123);
    EXPECT_EQ(y, -45);

    fresh.Resize(Rect(80, 10, 640, 480), Rect(0, 0, 1280, 960));
    EXPECT_EQ(fresh.mWidth, 800);
    EXPECT_EQ(fresh.mHeight, 500);
    struct {
        int x, y, wantX, wantY;
    } cases[] = {{0, 0, 80, 10}, {1280, 960, 720, 490}, {3, 3, 81, 11}, {-3, -3, 79, 9}, {-1, 1, 80, 10}};
    for (auto& c : cases) {
        x = c.x;
        y = c.y;
        fresh.RemapMouse(x, y);
        EXPECT_EQ(x, c.wantX) << c.x;
        EXPECT_EQ(y, c.wantY) << c.y;
    }
}

// ---- keys and focus ----

class Keys : public TreeTest {
protected:
    void SetUp() override
    {
        F = Add("F", 0, 0, 10, 10);
        prev = Add("P", 20, 0, 10, 10);
        next = Add("N", 40, 0, 10, 10);
        F->mTabPrev = prev;
        F->mTabNext = next;
        mgr.SetFocus(F);
        log.clear();
    }
    LogWidget *F, *prev, *next;
};

TEST_F(Keys, TabMovesTheFocusShiftTabBack)
{
    mgr.KeyDown(KEYCODE_TAB);
    EXPECT_EQ(Take(), (Log{"F.keydown 9", "F.lostfocus", "N.gotfocus"}));
    mgr.KeyUp(KEYCODE_TAB);
    mgr.SetFocus(F);
    mgr.KeyDown(KEYCODE_SHIFT);
    mgr.KeyDown(KEYCODE_TAB);
    Log events = Take();
    EXPECT_EQ(std::vector<std::string>(events.end() - 3, events.end()),
              (Log{"F.keydown 9", "F.lostfocus", "P.gotfocus"}));
    EXPECT_TRUE(prev->mHasFocus);
    EXPECT_FALSE(F->mHasFocus);
}

TEST_F(Keys, CtrlTabReachesTheFocusAsKeyDownOnly)
{
    F->mTabNext = nullptr;
    mgr.KeyDown(KEYCODE_CONTROL);
    mgr.KeyDown(KEYCODE_TAB);
    mgr.KeyChar(L'\t');
    mgr.KeyUp(KEYCODE_TAB);
    EXPECT_EQ(Take(), (Log{"F.keydown 17", "F.keydown 9"}));
    LogWidget* tabTaker = Make("T");
    mgr.mDefaultTab = tabTaker;
    mgr.KeyChar(L'\t');
    mgr.KeyChar(L'x');
    EXPECT_EQ(Take(), (Log{"T.char 9", "F.char 120"}));
    mgr.mDefaultTab = nullptr;
}

TEST_F(Keys, LosingTheApplicationFocusReleasesHeldKeys)
{
    F->mTabNext = nullptr;
    for (int key : {65, int(KEYCODE_CONTROL), int(KEYCODE_TAB)})
        mgr.KeyDown(key);
    mgr.MouseDown(5, 5, 1);
    log.clear();
    mgr.AppLostFocus();
    // Tab is skipped: Ctrl is released after it.
    EXPECT_EQ(Take(), (Log{"F.keyup 17", "F.keyup 65", "F.lostfocus"}));
    for (int key = 0; key < 255; ++key)
        EXPECT_FALSE(mgr.mKeyDown[key]) << key;
    EXPECT_EQ(mgr.mActualDownButtons, 0u);
    EXPECT_FALSE(mgr.mHasFocus);
    mgr.AppLostFocus();
    EXPECT_EQ(Take(), Log{});

    // Focus given while the application lacks it arrives when it comes back.
    mgr.SetFocus(next);
    mgr.AppGotFocus();
    EXPECT_EQ(Take(), (Log{"F.lostfocus", "N.gotfocus"}));
}

TEST_F(Keys, APressGivesTheFocusToWidgetsThatWantIt)
{
    next->mWantsFocus = true;
    mgr.MouseDown(20 + 5, 5, 1); // P does not want it
    mgr.MouseUp(25, 5, 1);
    mgr.MouseDown(45, 5, 1);
    EXPECT_EQ(Only(Take(), "lostfocus"), (Log{"F.lostfocus"}));
    EXPECT_EQ(mgr.mFocusWidget, next);
}

// ---- modal layers ----

class Modal : public TreeTest {
protected:
    void SetUp() override
    {
        A = Add("A", 0, 0, 100, 100);
        B = Add("B", 200, 0, 100, 100);
        M = Make("M", 400, 0, 100, 100);
        mgr.SetFocus(B);
        mgr.MouseDown(10, 10, 1); // A hovered and captured
        log.clear();
    }
    LogWidget *A, *B, *M;
};

TEST_F(Modal, PushingDropsHoverCaptureAndFocusBelowAndMasksPresses)
{
    mgr.AddWidget(M);
    log.clear();
    mgr.PushModalLayerDefault(M);
    EXPECT_EQ(Take(), (Log{"A.leave", "A.up 10,10 1", "B.lostfocus"}));
    EXPECT_EQ(mgr.mCapturedWidget, nullptr);

    mgr.MouseUp(10, 10, 1);
    for (auto [x, y] : {std::pair{10, 10}, std::pair{210, 10}}) {
        mgr.MouseMove(x, y);
        mgr.MouseDown(x, y, 1);
        mgr.MouseUp(x, y, 1);
    }
    mgr.SetFocus(M);
    mgr.KeyDown(65);
    EXPECT_EQ(Take(), (Log{"M.gotfocus", "M.keydown 65"}));
    // Updates and drawing still reach what lies below.
    mgr.UpdateFrame();
    EXPECT_EQ(Only(Take(), "update"), (Log{"A.update", "B.update", "M.update"}));

    mgr.PopModalLayer(B); // not the newest layer's widget: nothing
    EXPECT_EQ(mgr.mBaseModalWidget, M);
    mgr.SetFocus(nullptr);
    log.clear();
    mgr.PopModalLayer(M);
    EXPECT_EQ(Take(), (Log{"B.gotfocus"}));
    EXPECT_EQ(mgr.mBaseModalWidget, nullptr);
    mgr.MouseDown(10, 10, 1);
    EXPECT_EQ(Only(Take(), "down"), (Log{"A.down 10,10 1"}));
}

TEST_F(Modal, LayersChainOnWhenTheLayerBelowLostItsWidget)
{
    mgr.MouseUp(10, 10, 1);
    LogWidget* M2 = Make("M2", 600, 0, 50, 50);
    mgr.AddWidget(M);
    mgr.AddWidget(M2);
    mgr.PushModalLayerDefault(M);
    mgr.PushModalLayerDefault(M2);
    mgr.PopModalLayer(M2);
    EXPECT_EQ(mgr.mBaseModalWidget, M); // the layer below is in force again
    EXPECT_EQ(mgr.mPreModalInfoList.size(), 1u);

    mgr.PushModalLayerDefault(M2);
    mgr.RemoveWidget(M); // the newer layer forgets it
    EXPECT_EQ(mgr.mPreModalInfoList.back().mPrevBaseModalWidget, nullptr);
    log.clear();
    mgr.PopModalLayer(M2); // pops M's layer with it
    EXPECT_TRUE(mgr.mPreModalInfoList.empty());
    EXPECT_EQ(mgr.mBaseModalWidget, nullptr);
    EXPECT_EQ(Take(), (Log{"B.gotfocus"}));
}

TEST_F(Modal, ANestedBaseModalWidgetMasksOnlyItsSiblingsForTheMouse)
{
    mgr.MouseUp(10, 10, 1);
    LogWidget* holder = Add("H", 400, 300, 200, 200);
    holder->mMouseVisible = false;
    Add("S", 0, 0, 100, 100, holder);
    LogWidget* nested = Add("X", 100, 0, 100, 100, holder);
    mgr.PushModalLayerDefault(nested);
    struct {
        int x, y;
        const char* hit;
    } cases[] = {{10, 10, "A"}, {410, 310, "none"}, {510, 310, "X"}};
    for (auto& c : cases) {
        Widget* w = mgr.GetWidgetAtPoint(c.x, c.y);
        EXPECT_EQ(w ? static_cast<LogWidget*>(w)->mName : std::string("none"), c.hit) << c.x;
    }
    mgr.PopModalLayer(nested);
}
