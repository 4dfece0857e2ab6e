// Coordinates, sizes and spacings at the ends of the int range, as a layout
// file can give them ("-2147483648" is a valid attribute): every drawing and
// hit-testing path stays defined (the sanitizer build ends the test on any
// signed overflow or out-of-range cast) and answers sensibly.
#include "WidgetFixture.h"

#include "framework/graphics/MemoryImage.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>

using namespace Zelk;

namespace {

struct EdgeCase {
    const char* name;
    std::function<void()> run;
};

// Every wrapped-text call of the table, drawn into a recording image with
// a font of fixed metrics.
void Wrapped(const Rect& box, int lineSpacing, int justification)
{
    RecordingImage image;
    Graphics g(&image);
    FakeFont font;
    g.SetFont(&font);
    int widest = 0;
    g.DrawWrappedText(box, L"one two three four\nfive", lineSpacing, justification, &widest);
    g.GetWrappedTextHeight(box.mWidth, L"one two three", lineSpacing);
}

void Outline(int x, int y, int w, int h)
{
    RecordingImage image;
    Graphics g(&image);
    g.DrawRect(x, y, w, h);
    // The image's own outline, as surfaces use it.
    image.Image::DrawRect(Rect(x, y, w, h), Color::White, 0);
}

const EdgeCase kEdgeCases[] = {
    {"justified text in a box of width INT_MIN", [] { Wrapped(Rect(0, 0, INT_MIN, 50), -1, 0); }},
    {"right-aligned text in a box of width INT_MIN", [] { Wrapped(Rect(0, 0, INT_MIN, 50), -1, 1); }},
    {"line spacing INT_MIN", [] { Wrapped(Rect(0, 0, 30, 50), INT_MIN, -1); }},
    {"line spacing INT_MAX", [] { Wrapped(Rect(0, 0, 30, 50), INT_MAX, -1); }},
    {"text box at y INT_MAX - 5", [] { Wrapped(Rect(0, INT_MAX - 5, 30, 50), -1, -1); }},
    {"text box at y INT_MIN", [] { Wrapped(Rect(INT_MIN, INT_MIN, 30, 50), 20, 0); }},
    {"text box of width INT_MAX", [] { Wrapped(Rect(INT_MAX, 0, INT_MAX, INT_MAX), INT_MAX, 1); }},
    {"outline of size INT_MAX", [] { Outline(10, 10, INT_MAX, INT_MAX); }},
    {"outline of size INT_MIN", [] { Outline(10, 10, INT_MIN, INT_MIN); }},
    {"outline at INT_MAX", [] { Outline(INT_MAX, INT_MAX, 10, 10); }},
    {"outline at INT_MIN of size INT_MAX", [] { Outline(INT_MIN, INT_MIN, INT_MAX, INT_MAX); }},
    {"stretch at INT_MIN",
     [] {
         MemoryImage dst, src;
         dst.Create(20, 20);
         src.Create(4, 4);
         dst.BlitStretched(&src, Rect(INT_MIN, INT_MIN, 8, 8), Rect(0, 0, 4, 4), Rect(0, 0, 20, 20), Color::White,
                           0, true);
         dst.BlitStretched(&src, Rect(INT_MAX - 4, 0, INT_MAX, 8), Rect(0, 0, 4, 4), Rect(0, 0, 20, 20),
                           Color::White, 0, false);
     }},
    {"rotation by -1e300, by NaN and at infinite positions",
     [] {
         MemoryImage dst, src;
         dst.Create(20, 20);
         src.Create(4, 4);
         dst.BlitRotated(&src, 5, 5, Rect(0, 0, 4, 4), Rect(0, 0, 20, 20), Color::White, 0, -1e300, 2, 2);
         dst.BlitRotated(&src, 5, 5, Rect(0, 0, 4, 4), Rect(0, 0, 20, 20), Color::White, 0,
                         std::numeric_limits<double>::quiet_NaN(), 2, 2);
         dst.BlitRotated(&src, 1e30f, -1e30f, Rect(0, 0, 4, 4), Rect(0, 0, 20, 20), Color::White, 0, 1.0, 2, 2);
         const float inf = std::numeric_limits<float>::infinity();
         dst.BlitRotated(&src, -inf, 5, Rect(0, 0, 4, 4), Rect(0, 0, 20, 20), Color::White, 0, -1e300, 2, 2);
         dst.BlitRotated(&src, 5, 5, Rect(0, 0, 4, 4), Rect(0, 0, 20, 20), Color::White, 0, 0.5, -inf, inf);
     }},
};

} // namespace

TEST(IntegerEdges, DrawingAtTheEndsOfTheIntRangeStaysDefined)
{
    for (const EdgeCase& c : kEdgeCases) {
        SCOPED_TRACE(c.name);
        c.run();
    }
}

// Hit tests through the manager: widgets at the ends of the range, mouse
// insets that overflow their rectangle, screen positions of nested
// containers that add up past the range.
TEST_F(TreeTest, HitTestsAtTheEndsOfTheIntRangeStayDefined)
{
    LogWidget* top = Add("top", 0, INT_MIN, 100, 100);
    LogWidget* far = Add("far", INT_MAX, INT_MAX, INT_MAX, INT_MAX);
    LogWidget* inset = Add("inset", 10, 10, 50, 50);
    inset->mMouseInsets.mLeft = INT_MAX;
    inset->mMouseInsets.mTop = INT_MIN;
    inset->mMouseInsets.mRight = INT_MIN;
    inset->mMouseInsets.mBottom = INT_MAX;
    for (LogWidget* w : {top, far, inset})
        w->mMouseVisible = true;

    const int points[][2] = {{5, 5}, {20, 20}, {0, 0}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}, {799, 599}};
    for (const auto& p : points) {
        SCOPED_TRACE(Pt(p[0], p[1]));
        int x = 0, y = 0;
        Widget* found = mgr.GetWidgetAtPoint(p[0], p[1], &x, &y);
        // None of these lies on the screen where a player can point.
        bool onScreen = p[0] >= 0 && p[0] < 800 && p[1] >= 0 && p[1] < 600;
        if (onScreen)
            EXPECT_EQ(found, nullptr);
    }
    Rect r = inset->GetInsetRect();
    EXPECT_EQ(r.mX, INT_MAX);
    EXPECT_EQ(r.mY, INT_MIN + 10);

    // Containers nested at the end of the range: their screen position
    // saturates instead of wrapping round to the other end.
    LogWidget* inner = Add("inner", INT_MAX, INT_MAX, 10, 10, far);
    Point p = inner->GetScreenPos();
    EXPECT_EQ(p.mX, INT_MAX);
    EXPECT_EQ(p.mY, INT_MAX);
    LogWidget* low = Add("low", INT_MIN, INT_MIN, 10, 10, top);
    p = low->GetScreenPos();
    EXPECT_EQ(p.mY, INT_MIN);

    // Showing and hiding a widget at the low end marks what it overlapped:
    // its clipped corners stay in the range even when it has no size.
    for (int w : {0, 1, INT_MAX}) {
        LogWidget* edge = Add("edge", INT_MIN, INT_MIN, w, w);
        edge->SetVisible(false);
        edge->SetVisible(true);
    }

    // A widget pressed at the low end keeps the mouse while it moves across
    // the screen: drags, further buttons and releases in its own frame saturate.
    LogWidget* corner = Add("corner", INT_MIN, INT_MIN, 10, 10);
    corner->mMouseVisible = true;
    Take();
    mgr.MouseDown(INT_MIN + 2, INT_MIN + 2, 1);
    mgr.MouseMove(400, 300);
    mgr.MouseDown(400, 300, -1);
    mgr.MouseUp(400, 300, -1);
    mgr.MouseUp(400, 300, 1);
    const Log pressed = Take();
    const std::string end = Pt(INT_MAX, INT_MAX);
    for (const std::string& expected : {"corner.down " + Pt(2, 2) + " 1", "corner.drag " + end, "corner.down " + end + " -1",
                                        "corner.up " + end + " -1", "corner.up " + end + " 1"})
        EXPECT_NE(std::find(pressed.begin(), pressed.end(), expected), pressed.end()) << expected;
}
