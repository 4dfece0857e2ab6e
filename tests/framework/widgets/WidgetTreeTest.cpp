#include "WidgetFixture.h"

#include <climits>
#include <map>
#include <sstream>

using namespace Zelk;

// ---- stacking order ----

TEST_F(TreeTest, InsertionAndMovesKeepZOrderBands)
{
    struct Case {
        const char* what;
        std::vector<std::string> script; // "add <name> <z>", "top|bottom <w>", "below|above <w> <ref>"
        std::vector<std::string> order;
    } cases[] = {
        {"adding twice keeps one entry", {"add a 0", "add a 0"}, {"a"}},
        {"equal z: the newcomer goes on top", {"add a 0", "add b 0", "add c 0"}, {"a", "b", "c"}},
        {"lower z added later goes below every higher one", {"add a 1", "add b 1", "add c 0"}, {"c", "a", "b"}},
        {"between bands", {"add a 0", "add b 2", "add c 1"}, {"a", "c", "b"}},
        {"to the bottom", {"add a 0", "add b 0", "add c 0", "bottom c"}, {"c", "a", "b"}},
        {"to the bottom of its own band", {"add a 0", "add b 1", "add c 1", "bottom c"}, {"a", "c", "b"}},
        {"to the top of its own band", {"add a 0", "add b 0", "add c 1", "top a"}, {"b", "a", "c"}},
        {"below a ref of its band", {"add a 0", "add b 0", "add c 0", "below c a"}, {"c", "a", "b"}},
        {"below a ref of a higher band: top of its own band",
         {"add a 0", "add b 0", "add r 1", "add s 1", "below a s"},
         {"b", "a", "r", "s"}},
        {"above a ref of its band", {"add a 0", "add b 0", "add c 0", "above a b"}, {"b", "a", "c"}},
        {"above a ref of a lower band: bottom of its own band",
         {"add a 0", "add b 0", "add r 1", "add s 1", "above s a"},
         {"a", "b", "s", "r"}},
        {"above a ref not found: end of its band",
         {"add a 0", "add b 0", "add r 1", "above a stranger"},
         {"b", "a", "r"}},
    };
    for (const Case& c : cases) {
        WidgetManager container(nullptr);
        std::map<std::string, LogWidget*> widgets;
        auto get = [&](const std::string& name) {
            if (!widgets.count(name))
                widgets[name] = Make(name);
            return widgets[name];
        };
        log.clear();
        for (const std::string& line : c.script) {
            std::istringstream in(line);
            std::string op, name, ref;
            in >> op >> name;
            LogWidget* w = get(name);
            if (op == "add") {
                in >> w->mZOrder;
                container.AddWidget(w);
                continue;
            }
            in >> ref;
            if (op == "top")
                container.MoveToTop(w);
            else if (op == "bottom")
                container.MoveToBottom(w);
            else if (op == "below")
                container.MoveBelow(w, get(ref));
            else
                container.MoveAbove(w, get(ref));
            EXPECT_EQ(log.back(), name + ".orderchanged") << c.what;
        }
        EXPECT_EQ(Names(&container), c.order) << c.what;
        container.RemoveAllWidgets();
    }
}

TEST_F(TreeTest, IsBelowWalksDepthFirstParentsBeforeChildren)
{
    LogWidget* a = Add("a", 0, 0, 10, 10);
    LogWidget* a1 = Add("a1", 0, 0, 5, 5, a);
    LogWidget* b = Add("b", 0, 0, 10, 10);
    LogWidget* stranger = Make("x");
    EXPECT_TRUE(mgr.IsBelow(a, a1));
    EXPECT_TRUE(mgr.IsBelow(a1, b));
    EXPECT_FALSE(mgr.IsBelow(b, a1));
    EXPECT_TRUE(mgr.IsBelow(a1, stranger)); // a met, b never
    EXPECT_FALSE(mgr.IsBelow(stranger, a));
}

// ---- the update walk ----

class UpdateWalk : public TreeTest {
protected:
    void SetUp() override
    {
        for (const char* name : {"a", "b", "c", "d"})
            Add(name, 0, 0, 10, 10);
        log.clear();
    }
    LogWidget* W(const std::string& name)
    {
        for (auto it = owned.rbegin(); it != owned.rend(); ++it)
            if ((*it)->mName == name)
                return it->get();
        return nullptr;
    }
};

TEST_F(UpdateWalk, ChangesDuringTheWalkSkipAndRepeatNothing)
{
    struct Case {
        const char* what;
        std::function<void()> inB; // what b does in its Update
        Log updates;
    } cases[] = {
        {"b removes itself", [&] { mgr.RemoveWidget(W("b")); },
         {"a.update", "b.update", "c.update", "d.update"}},
        {"b removes a later sibling", [&] { mgr.RemoveWidget(W("c")); },
         {"a.update", "b.update", "d.update"}},
        {"b removes an earlier sibling", [&] { mgr.RemoveWidget(W("a")); },
         {"a.update", "b.update", "c.update", "d.update"}},
        {"b moves itself to the top", [&] { mgr.MoveToTop(W("b")); },
         {"a.update", "b.update", "c.update", "d.update"}},
        {"b moves a later sibling to the top", [&] { mgr.MoveToTop(W("c")); },
         {"a.update", "b.update", "d.update", "c.update"}},
    };
    for (const Case& c : cases) {
        W("b")->onUpdate = [&, fired = false]() mutable {
            if (!fired) {
                fired = true;
                c.inB();
            }
        };
        mgr.UpdateFrame();
        EXPECT_EQ(Only(Take(), "update"), c.updates) << c.what;
        // Restore a, b, c, d for the next case.
        W("b")->onUpdate = nullptr;
        mgr.RemoveAllWidgets();
        SetUp();
    }
}

TEST_F(UpdateWalk, ParentsBeforeChildrenAndOncePerManagerUpdate)
{
    LogWidget* p = Add("p", 0, 0, 50, 50);
    LogWidget* p1 = Add("p1", 0, 0, 5, 5, p);
    Add("p2", 0, 0, 5, 5, p);
    p1->onUpdate = [&] { p->MoveToTop(p1); }; // re-stacked while its parent's walk runs
    log.clear();
    mgr.UpdateFrame();
    EXPECT_EQ(Only(Take(), "update"), (Log{"a.update", "b.update", "c.update", "d.update", "p.update", "p1.update", "p2.update"}));
    EXPECT_EQ(p1->mLastWMUpdateCount, mgr.mUpdateCnt);
    EXPECT_EQ(p1->mUpdateCnt, 1u);
    mgr.UpdateFrame();
    EXPECT_EQ(p1->mUpdateCnt, 2u);

    // The fraction update has no once-per-update rule and runs every time.
    mgr.UpdateFrameFraction(0.5f);
    mgr.UpdateFrameFraction(0.75f);
    EXPECT_EQ(std::count(log.begin(), log.end(), "p1.fraction"), 2);
}

TEST_F(UpdateWalk, MasksApplyToTheSubtreeAndTheModalSwitchStaysOn)
{
    LogWidget* a = W("a");
    Add("a1", 0, 0, 5, 5, a);
    Add("a2", 0, 0, 5, 5, a);
    // Below the base modal widget nothing updates.
    mgr.mBelowModalFlagsMod.mRemoveFlags = WIDGET_FLAG_UPDATE;
    struct Case {
        const char* baseModal;
        Log updates;
    } cases[] = {
        {nullptr, {"a.update", "a1.update", "a2.update", "b.update", "c.update", "d.update"}},
        {"c", {"c.update", "d.update"}},
        // Nested: its parent is below it, the parent's later children and
        // every later top-level widget are above it.
        {"a1", {"a1.update", "a2.update", "b.update", "c.update", "d.update"}},
    };
    for (const Case& c : cases) {
        mgr.mBaseModalWidget = c.baseModal ? W(c.baseModal) : nullptr;
        log.clear();
        mgr.UpdateFrame();
        EXPECT_EQ(log, c.updates) << (c.baseModal ? c.baseModal : "none");
    }
    mgr.mBaseModalWidget = nullptr;

    // A node's masks reach its subtree only; the sibling after it is back
    // to the flags it had.
    a->mWidgetFlagsMod.mRemoveFlags = WIDGET_FLAG_UPDATE;
    W("b")->mWidgetFlagsMod.mAddFlags = WIDGET_FLAG_MARK_DIRTY;
    W("b")->mDirty = false;
    log.clear();
    mgr.UpdateFrame();
    EXPECT_EQ(log, (Log{"b.update", "c.update", "d.update"}));
    EXPECT_TRUE(W("b")->mDirty);
}

// ---- dirty marking ----

// Z opaque, covering everything, at the bottom; B opaque and large above it;
// M opaque inside B; A with alpha over M; T opaque over B elsewhere; F far
// away. C is a child of M.
class Dirty : public TreeTest {
protected:
    void SetUp() override
    {
        Add("Z", -100, -100, 1000, 1000);
        B = Add("B", 0, 0, 400, 400);
        M = Add("M", 50, 50, 100, 100);
        A = Add("A", 60, 60, 50, 50);
        A->mHasAlpha = true;
        T = Add("T", 300, 300, 50, 50);
        F = Add("F", 500, 500, 10, 10);
        C = Add("C", 10, 10, 20, 20, M);
        Clear();
    }
    void Clear()
    {
        mgr.mDirty = false;
        for (auto& w : owned)
            w->mDirty = false;
    }
    std::string DirtyOnes()
    {
        std::string s;
        for (auto& w : owned)
            if (w->mDirty)
                s += w->mName;
        return s;
    }
    LogWidget *B, *M, *A, *T, *F, *C;
};

TEST_F(Dirty, MarkingClimbsToTheTopAndSpreadsByTheOverlapRules)
{
    struct Case {
        const char* what;
        std::function<void()> act;
        std::string dirty; // in creation order Z B M A T F C
    } cases[] = {
        {"nested: climbs to M, which marks the overlapping widget above it", [&] { C->MarkDirty(); }, "MAC"},
        {"opaque: every visible overlapping widget above", [&] { B->MarkDirty(); }, "BMAT"},
        {"alpha: below down to the first opaque cover", [&] { A->MarkDirty(); }, "MA"},
        {"alpha partly outside M: M is only overlapped, B covers",
         [&] {
             A->mX = 120;
             A->mY = 120;
             A->MarkDirty();
         },
         "BMAT"},
        {"alpha: a cover holds its rectangle clipped to the screen",
         [&] {
             A->mX = -20;
             A->mY = -20;
             A->MarkDirty();
         },
         "BMAT"},
        {"a widget with transparencies does not cover",
         [&] {
             M->mHasTransparencies = true;
             A->MarkDirty();
         },
         "BMAT"},
        {"invisible widgets above are left alone",
         [&] {
             T->mVisible = false;
             B->MarkDirty();
         },
         "BMA"},
        {"hiding marks what it covered", [&] { M->SetVisible(false); }, "BMAT"},
    };
    for (const Case& c : cases) {
        SetUp(); // fresh widgets for each case
        c.act();
        EXPECT_EQ(DirtyOnes(), c.dirty) << c.what;
        EXPECT_TRUE(mgr.mDirty) << c.what;
        mgr.RemoveAllWidgets(false, true);
        owned.clear();
    }
}

TEST_F(Dirty, MarkingAnAlreadyDirtyChildDoesNothing)
{
    C->MarkDirty();
    Clear();
    C->mDirty = true;
    C->MarkDirty();
    EXPECT_EQ(DirtyOnes(), "C");
    EXPECT_FALSE(mgr.mDirty);
}

TEST_F(Dirty, MarkAllDirtyReachesEveryNode)
{
    mgr.MarkAllDirty();
    EXPECT_EQ(DirtyOnes(), "ZBMATFC");
}

// ---- values ----

TEST(WidgetValues, ContainsAndIntersectsExcludeTheFarEdges)
{
    Widget w;
    w.Resize(10, 10, 5, 5);
    struct {
        int x, y;
        bool in;
    } points[] = {{10, 10, true}, {14, 14, true}, {15, 10, false}, {10, 15, false}, {9, 12, false}};
    for (auto& p : points)
        EXPECT_EQ(w.Contains(p.x, p.y), p.in) << p.x << "," << p.y;

    Widget other;
    struct {
        int x, y, w, h;
        bool meets;
    } rects[] = {{15, 10, 5, 5, false}, {10, 15, 5, 5, false}, {5, 5, 5, 5, false}, {14, 14, 5, 5, true},
                 {0, 0, 100, 100, true}};
    for (auto& r : rects) {
        other.Resize(r.x, r.y, r.w, r.h);
        EXPECT_EQ(w.Intersects(&other), r.meets) << r.x << "," << r.y;
        EXPECT_EQ(other.Intersects(&w), r.meets) << r.x << "," << r.y;
    }
}

TEST(WidgetValues, ColourTable)
{
    Widget w;
    const int two[][3] = {{1, 2, 3}, {4, 5, 6}};
    w.SetColorTableRGB(two, 2);
    EXPECT_EQ(w.GetColor(1), Color(4, 5, 6, 255));
    EXPECT_EQ(w.GetColor(5), Color(0, 0, 0, 255));
    EXPECT_EQ(w.GetColorOr(5, Color(9, 9, 9, 9)), Color(9, 9, 9, 9));

    w.SetColor(5, Color(7, 8, 9, 10));
    ASSERT_EQ(w.mColors.size(), 6u);
    for (int i = 2; i <= 4; ++i)
        EXPECT_EQ(w.mColors[i], Color(0, 0, 0, 255)) << i;
    EXPECT_EQ(w.GetColor(5), Color(7, 8, 9, 10));

    w.SetColor(-1, Color(1, 1, 1, 1)); // ignored
    EXPECT_EQ(w.mColors.size(), 6u);
    EXPECT_EQ(w.GetColor(-1), Color(0, 0, 0, 255));

    const int rgba[][4] = {{1, 2, 3, 4}};
    w.SetColorTable(rgba, 1);
    ASSERT_EQ(w.mColors.size(), 1u);
    EXPECT_EQ(w.GetColor(0), Color(1, 2, 3, 4));
}

TEST(WidgetValues, DigitsAndClickCodes)
{
    Widget w;
    struct {
        int n, digits;
    } digits[] = {{0, 1}, {9, 1}, {10, 2}, {99, 2}, {100, 3}, {-5, 1}, {INT_MAX, 10}};
    for (auto& d : digits)
        EXPECT_EQ(w.GetNumDigits(d.n), d.digits) << d.n;

    struct {
        int code, button, clicks;
    } codes[] = {{1, 0, 1}, {2, 0, 2}, {-1, 1, 1}, {-2, 1, 2}, {3, 2, 1}};
    for (auto& c : codes) {
        int button = -9, clicks = -9;
        Widget::DecodeClick(c.code, button, clicks);
        EXPECT_EQ(button, c.button) << c.code;
        EXPECT_EQ(clicks, c.clicks) << c.code;
    }
}

TEST_F(TreeTest, RemoveAllWidgetsDeletesRecursivelyWhenAsked)
{
    int deleted = 0;
    struct Counted : Widget {
        explicit Counted(int* n) : n(n) {}
        ~Counted() override { ++*n; }
        int* n;
    };
    Widget* top = new Counted(&deleted);
    mgr.AddWidget(top);
    top->AddWidget(new Counted(&deleted));
    top->AddWidget(new Counted(&deleted));
    mgr.RemoveAllWidgets(true, true);
    EXPECT_EQ(deleted, 3);
    EXPECT_TRUE(mgr.mWidgets.empty());
}
