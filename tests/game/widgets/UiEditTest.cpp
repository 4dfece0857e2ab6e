// The edit field: typing, selection, word moves, clipboard, undo, the mouse,
// the caret's blink and drawing, and texts and fields at their limits.
#include "game/ui/UiEdit.h"
#include "tests/framework/widgets/WidgetFixture.h"
#include "tests/game/widgets/UiTestApp.h"

#include <cwctype>

using namespace uitest;

namespace {

enum { SHIFT = 16, CTRL = 17, LEFT = 37, RIGHT = 39, HOME = 36, END = 35, BACK = 8, DEL = 46 };

class UiEditTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        font.zeroWidth = L"#";
        edit = std::make_unique<UiEdit>(nullptr);
        edit->Resize(0, 0, 200, 30);
        edit->SetTextAttr(2, &font, Zelk::Color(0xFF000000u), Zelk::Color(0xFFFFFFFFu));
        edit->SetHighlightColor(Zelk::Color(0xFF0000FFu));
        Manager()->AddWidget(edit.get());
        Manager()->SetFocus(edit.get());
    }
    void TearDown() override
    {
        Manager()->RemoveWidget(edit.get());
        edit.reset();
        UiTest::TearDown();
    }
    // A key as the window layer delivers it: the key code, then for a
    // character its KeyChar.
    void Key(int code, wchar_t c = 0)
    {
        Manager()->KeyDown(code);
        if (c)
            Manager()->KeyChar(c);
        Manager()->KeyUp(code);
    }
    void Type(const std::wstring& text)
    {
        for (wchar_t c : text)
            Key(std::iswalnum(wint_t(c)) ? int(std::towupper(wint_t(c))) : 0, c);
    }
    void WithHeld(int held, int code, wchar_t c = 0)
    {
        Manager()->KeyDown(held);
        Key(code, c);
        Manager()->KeyUp(held);
    }
    void Ctrl(wchar_t letter) { WithHeld(CTRL, letter, wchar_t(letter - 'A' + 1)); }
    std::wstring Clipboard() { return platform.shell.clipboard; }
    void SetClipboard(const std::wstring& text)
    {
        platform.shell.clipboard = text;
        platform.shell.clipboardHasText = !text.empty();
    }

    std::vector<FakeFont::Drawn> drawn;
    FakeFont font{&drawn};
    std::unique_ptr<UiEdit> edit;
};

TEST_F(UiEditTest, UndoTakesBackGroupedTypingAndCtrlZToggles)
{
    Type(L"abc");
    EXPECT_EQ(edit->GetText(), L"abc");
    Ctrl('Z');
    EXPECT_EQ(edit->GetText(), L"");
    EXPECT_EQ(edit->GetCaret(), 0);
    Ctrl('Z');
    EXPECT_EQ(edit->GetText(), L"abc");
    EXPECT_EQ(edit->GetCaret(), 3);
    // Backspaces in a row are one step too.
    Key(BACK);
    Key(BACK);
    EXPECT_EQ(edit->GetText(), L"a");
    Ctrl('Z');
    EXPECT_EQ(edit->GetText(), L"abc");
}

TEST_F(UiEditTest, WordMovesStopAtWordStartsAndOneBeforeTheEnd)
{
    edit->SetText(L"hello world", false);
    Key(END); // drops the selection SetText made
    const struct {
        int key;
        int caret;
    } moves[] = {{LEFT, 6}, {LEFT, 0}, {LEFT, 0}, {RIGHT, 6}, {RIGHT, 11}, {RIGHT, 11}};
    for (const auto& m : moves) {
        WithHeld(CTRL, m.key);
        EXPECT_EQ(edit->GetCaret(), m.caret);
        EXPECT_EQ(edit->GetAnchor(), -1);
    }
}

TEST_F(UiEditTest, SelectionsAreReplacedByTypingAndKeptByCopy)
{
    // Shift+Home from the end selects all; a letter replaces it.
    Type(L"abc");
    WithHeld(SHIFT, HOME);
    EXPECT_EQ(edit->GetAnchor(), 3);
    EXPECT_EQ(edit->GetCaret(), 0);
    Type(L"x");
    EXPECT_EQ(edit->GetText(), L"x");

    // After SetText a typed digit replaces the text: its key code, which
    // arrives first, neither moves nor edits and keeps the selection.
    edit->SetText(L"Player", true);
    Type(L"5");
    EXPECT_EQ(edit->GetText(), L"5");

    // Ctrl+C copies and keeps the selection; the next letter replaces it.
    edit->SetText(L"name", true);
    Ctrl('C');
    EXPECT_EQ(Clipboard(), L"name");
    EXPECT_EQ(edit->GetAnchor(), 0);
    EXPECT_EQ(edit->GetCaret(), 4);
    Type(L"q");
    EXPECT_EQ(edit->GetText(), L"q");

    // Ctrl+X cuts; a move without Shift drops a selection.
    edit->SetText(L"cut me", true);
    Ctrl('X');
    EXPECT_EQ(edit->GetText(), L"");
    EXPECT_EQ(Clipboard(), L"cut me");
    edit->SetText(L"abc", true);
    Key(LEFT);
    EXPECT_EQ(edit->GetAnchor(), -1);
    EXPECT_EQ(edit->GetCaret(), 0);
}

TEST_F(UiEditTest, TextIsCutToThirteenCharacters)
{
    Type(L"abcdefghijklmnopqrst");
    EXPECT_EQ(edit->GetText(), L"abcdefghijklm");
    EXPECT_EQ(edit->GetCaret(), 13);
    // SetText does not apply the limit.
    edit->SetText(L"a name much longer than thirteen", true);
    EXPECT_EQ(edit->GetText().size(), 32u);
}

TEST_F(UiEditTest, PasteTakesTheFirstLineOfDrawableCharacters)
{
    const struct {
        const wchar_t* clipboard;
        const wchar_t* text;
    } cases[] = {{L"ab\ncd", L"ab"}, {L"ab\rcd", L"ab"}, {L"a#b", L"ab"}, {L"", L""}, {L"\nab", L""}};
    for (const auto& c : cases) {
        edit->SetText(L"", true);
        SetClipboard(c.clipboard);
        Ctrl('V');
        EXPECT_EQ(edit->GetText(), c.text) << std::wstring(c.clipboard).size();
    }
    // A paste replaces the selection and is cut to the limit.
    edit->SetText(L"old", true);
    SetClipboard(L"0123456789abcdefgh");
    Ctrl('V');
    EXPECT_EQ(edit->GetText(), L"0123456789abc");
}

TEST_F(UiEditTest, TypedCharactersTheFontCannotDrawAreIgnored)
{
    Type(L"a#b");
    EXPECT_EQ(edit->GetText(), L"ab");
    // Without a normal-layer font nothing is accepted.
    edit->SetTextAttr(2, nullptr, Zelk::Color(), Zelk::Color());
    Type(L"cd");
    SetClipboard(L"xy");
    Ctrl('V');
    EXPECT_EQ(edit->GetText(), L"ab");
}

TEST_F(UiEditTest, BackspaceAtTheStartAndDeleteAtTheEndChangeNothing)
{
    Type(L"ab");
    Key(HOME);
    Key(BACK);
    EXPECT_EQ(edit->GetText(), L"ab");
    Key(END);
    Key(DEL);
    EXPECT_EQ(edit->GetText(), L"ab");
    // The undo step is still the typing.
    Ctrl('Z');
    EXPECT_EQ(edit->GetText(), L"");
}

TEST_F(UiEditTest, MousePositionsTheCaretFromCharacterMidpointsPlusFive)
{
    edit->SetText(L"abcdef", true);
    // Characters are 7 wide: the caret passes character i at its middle + 5.
    const struct {
        int x, index;
    } cases[] = {{0, 0}, {7, 0}, {8, 1}, {14, 1}, {15, 2}, {43, 6}, {500, 6}};
    for (const auto& c : cases)
        EXPECT_EQ(edit->CharIndexAtX(c.x, 0), c.index) << c.x;
}

TEST_F(UiEditTest, ADoubleClickSelectsTheWordAndTheReleaseSelectsAgain)
{
    edit->SetText(L"hello world", true);
    Manager()->UpdateFrame();
    Manager()->MouseMove(60, 10);
    Manager()->MouseDown(60, 10, 1);
    Manager()->MouseUp(60, 10, 1);
    Manager()->MouseDown(60, 10, 2); // x 60 lies in "world"
    EXPECT_EQ(edit->GetAnchor(), 6);
    EXPECT_EQ(edit->GetCaret(), 11);
    Manager()->MouseUp(20, 10, 2);   // released over "hello"
    EXPECT_EQ(edit->GetAnchor(), 0);
    EXPECT_EQ(edit->GetCaret(), 5);
    // A drag extends from where the press put the caret.
    Manager()->MouseDown(9, 10, 1);
    Manager()->MouseMove(30, 10);
    Manager()->MouseUp(30, 10, 1);
    EXPECT_EQ(edit->GetAnchor(), 1);
    EXPECT_EQ(edit->GetCaret(), 4);
    Log log = Take();
    EXPECT_EQ(log.front(), "cursor text");
}

TEST_F(UiEditTest, TheCaretBlinksEveryFortyOneUpdatesWhileFocused)
{
    EXPECT_TRUE(edit->IsCaretShown()); // the focus shows it
    for (int i = 0; i < 40; ++i)
        edit->Update();
    EXPECT_TRUE(edit->IsCaretShown());
    edit->Update();
    EXPECT_FALSE(edit->IsCaretShown());
    for (int i = 0; i < 41; ++i)
        edit->Update();
    EXPECT_TRUE(edit->IsCaretShown());
    Manager()->SetFocus(nullptr);
    EXPECT_FALSE(edit->IsCaretShown());
    for (int i = 0; i < 100; ++i)
        edit->Update();
    EXPECT_FALSE(edit->IsCaretShown());
}

TEST_F(UiEditTest, SelectionAndCaretAreHighlightedOnlyWithTheFocus)
{
    edit->SetText(L"abc", true);
    DrawLog log;
    Zelk::Graphics g(&log);
    edit->Draw(&g);
    // Pass 1 fills its clip (the selection, 21 wide after the 4-pixel margin).
    EXPECT_EQ(log.ops, (Log{"fill 4,8,21,14 FF0000FF"}));
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].color.ToInt(), 0xFF000000u);
    EXPECT_EQ(drawn[1].color.ToInt(), 0xFFFFFFFFu); // the highlight colour
    EXPECT_EQ(drawn[1].y, 18);                      // (30 - 14) / 2 + 10
    Manager()->SetFocus(nullptr);
    log.ops.clear();
    drawn.clear();
    edit->Draw(&g);
    EXPECT_TRUE(log.ops.empty());
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[1].color.ToInt(), 0xFF000000u);
}

TEST_F(UiEditTest, NarrowFieldsAndReplacedTextsKeepTheIndicesInside)
{
    // Narrower than a character plus 8: scrolling stops at the last character.
    edit->Resize(0, 0, 10, 30);
    edit->SetText(L"abcdefghij", false);
    EXPECT_EQ(edit->GetFirstVisible(), 9);
    Key(END);
    Type(L"k");
    EXPECT_LE(edit->GetFirstVisible(), int(edit->GetText().size()) - 1);
    edit->SetText(L"", false);
    EXPECT_EQ(edit->GetFirstVisible(), 0);

    // An owner replaces the text directly behind the field's back.
    edit->Resize(0, 0, 200, 30);
    edit->SetText(L"abcdefgh", false);
    edit->mText = L"ab";
    DrawLog log;
    Zelk::Graphics g(&log);
    edit->Draw(&g);
    EXPECT_LE(edit->GetCaret(), 2);
    EXPECT_EQ(edit->CharIndexAtX(500, 0), 2);
    Key(BACK);
    EXPECT_EQ(edit->GetText(), L"");
    Key(LEFT);
    WithHeld(CTRL, RIGHT);
    EXPECT_EQ(edit->GetCaret(), 0);
}

TEST_F(UiEditTest, OnATabletTheSystemCaretFollowsTheFieldInsideTheScreen)
{
    Manager()->SetFocus(nullptr);
    app->mTabletPC = true;
    edit->Resize(0, 595, 200, 30);
    Manager()->SetFocus(edit.get());
    EXPECT_TRUE(platform.windows.caret.exists);
    EXPECT_TRUE(platform.windows.caret.shown);
    EXPECT_EQ(platform.windows.caret.x, 10); // kept 10 pixels inside 800 x 600
    EXPECT_EQ(platform.windows.caret.y, 590);
    edit->Update();
    EXPECT_EQ(platform.windows.caretMoves, 2); // placed again at every focused update
    Manager()->SetFocus(nullptr);
    app->mTabletPC = false;
    EXPECT_FALSE(platform.windows.caret.exists);
}

} // namespace
