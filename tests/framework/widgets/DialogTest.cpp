#include "WidgetFixture.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/widgets/Dialog.h"
#include "framework/widgets/DialogButton.h"
#include "framework/widgets/SysFontMaker.h"
#include "platform/NullPlatform.h"

#include <algorithm>

using namespace Zelk;

namespace {

int gDialogsAlive = 0;

class CountedDialog : public Dialog {
public:
    CountedDialog(int id, bool modal, int buttonMode)
        : Dialog(nullptr, nullptr, id, modal, L"Title", L"", L"", buttonMode)
    {
        ++gDialogsAlive;
    }
    ~CountedDialog() override { --gDialogsAlive; }
};

Font* MakeFakeFont(ZelkAppBase*, const std::string&, int, int)
{
    return new FakeFont();
}

// An application in simulated time that writes down the button events its
// dialogs send it and runs a hook at every update.
class DialogApp : public ZelkAppBase {
public:
    DialogApp()
    {
        mProdName = "TestProduct";
        mRegKey = "Test Co\\Test Game";
        mLoadingThreadWanted = false;
    }
    Dialog* NewDialog(int id, bool modal, const std::wstring& header, const std::wstring& lines,
                      const std::wstring& footer, int buttonMode) override
    {
        return new CountedDialog(id, modal, buttonMode);
    }
    void OnButtonPress(intptr_t id) override { events.push_back("press " + std::to_string(id)); }
    void OnButtonClick(intptr_t id) override
    {
        events.push_back("click " + std::to_string(id));
        if (onClick)
            onClick(id);
    }
    void OnModalDialogOpened() override { events.push_back("modal opened"); }
    void OnModalDialogClosed() override { events.push_back("modal closed"); }
    void UpdateWidgets() override
    {
        ZelkAppBase::UpdateWidgets();
        ++updates;
        if (onUpdate)
            onUpdate(updates);
    }

    std::vector<std::string> events;
    std::function<void(intptr_t)> onClick;
    std::function<void(int)> onUpdate;
    int updates = 0;
};

} // namespace

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gSysFontMaker = MakeFakeFont;
        platform.clock.Set(1000);
        app = std::make_unique<DialogApp>();
        app->Init();
        app->mLoadingCompleteHandled = true;
        app->AdvanceClock();
        mgr = app->mWidgetManager;
    }
    void TearDown() override
    {
        app->FreeQueuedWidgets();
        app.reset();
        gSysFontMaker = nullptr;
        EXPECT_EQ(gDialogsAlive, 0);
    }
    // Presses and releases the mouse at the middle of a widget.
    void Click(Widget* w)
    {
        const int x = w->mX + w->mWidth / 2, y = w->mY + w->mHeight / 2;
        mgr->MouseMove(x, y);
        mgr->MouseDown(x, y, 1);
        mgr->MouseUp(x, y, 1);
    }
    std::string RectOf(Widget* w) { return Pt(w->mX, w->mY) + "," + Pt(w->mWidth, w->mHeight); }

    plat::NullPlatform platform;
    std::unique_ptr<DialogApp> app;
    WidgetManager* mgr = nullptr;
};

TEST_F(DialogTest, AZeroSizedDialogIsCentredAtItsPreferredHeight)
{
    Dialog* d = app->OpenDialog(3, false, L"Title", L"", L"", BUTTONS_YES_NO);
    // 24 + 24 content, 14 header, 8 + 8 + 24 buttons.
    EXPECT_EQ(d->GetPreferredHeight(400), 102);
    EXPECT_EQ(RectOf(d), "200,120,400,102");
    // The buttons are the dialog's siblings, on the bottom of its content.
    EXPECT_EQ(RectOf(d->mYesButton), "224,174,172,24");
    EXPECT_EQ(RectOf(d->mNoButton), "404,174,172,24");
    EXPECT_TRUE(mgr->HasWidget(d->mYesButton));
    EXPECT_EQ(mgr->mWidgets.back(), d->mNoButton);
    EXPECT_EQ(d->mYesButton->mLabel, L"YES");
    EXPECT_EQ(d->mNoButton->mLabel, L"NO");
}

TEST_F(DialogTest, PreferredHeight)
{
    Graphics measure;
    FakeFont font;
    measure.SetFont(&font);
    const int oneLine = measure.GetWrappedTextHeight(400 - 48 - 4, L"abc", font.GetLineSpacing());
    struct Case {
        const char* what;
        const wchar_t *header, *lines, *footer;
        int mode;
        int height;
    } cases[] = {
        {"nothing", L"", L"", L"", BUTTONS_NONE, 48},
        {"header", L"T", L"", L"", BUTTONS_NONE, 62},
        {"footer alone", L"", L"", L"F", BUTTONS_NONE, 62},
        {"header, footer, two buttons", L"T", L"", L"F", BUTTONS_OK_CANCEL, 48 + 14 + 8 + 14 + 8 + 8 + 24},
        {"the footer labels the button", L"", L"", L"F", BUTTONS_FOOTER, 48 + 8 + 24},
        {"header and lines", L"T", L"abc", L"", BUTTONS_NONE, 62 + 10 + oneLine},
        {"lines alone", L"", L"abc", L"", BUTTONS_NONE, 48 + oneLine},
    };
    for (const Case& c : cases) {
        Dialog d(nullptr, nullptr, 1, false, c.header, c.lines, c.footer, c.mode);
        EXPECT_EQ(d.GetPreferredHeight(400), c.height) << c.what;
    }
}

TEST_F(DialogTest, RegisteringAnIdInUseClosesTheOldDialog)
{
    Dialog* first = app->OpenDialog(5, false, L"", L"", L"", BUTTONS_YES_NO);
    Dialog* second = app->OpenDialog(5, false, L"", L"", L"", BUTTONS_YES_NO);
    EXPECT_EQ(app->FindDialog(5), second);
    EXPECT_EQ(app->GetDialogCount(), 1);
    EXPECT_FALSE(mgr->HasWidget(first));
    EXPECT_EQ(gDialogsAlive, 2); // deleted after the current update
    app->FreeQueuedWidgets();
    EXPECT_EQ(gDialogsAlive, 1);

    // The same dialog again under its own id changes nothing.
    app->RegisterDialogId(5, second);
    app->FreeQueuedWidgets();
    EXPECT_EQ(gDialogsAlive, 1);
    EXPECT_EQ(app->FindDialog(5), second);
    EXPECT_TRUE(mgr->HasWidget(second));
    EXPECT_EQ(std::count(app->mDialogList.begin(), app->mDialogList.end(), second), 1);
}

TEST_F(DialogTest, AModalDialogHoldsALayerUntilItCloses)
{
    Dialog* d = app->OpenDialog(6, true, L"", L"", L"", BUTTONS_YES_NO);
    EXPECT_EQ(mgr->mBaseModalWidget, d);
    EXPECT_EQ(mgr->mPreModalInfoList.size(), 1u);
    EXPECT_TRUE(app->CloseDialog(d));
    EXPECT_EQ(mgr->mBaseModalWidget, nullptr);
    EXPECT_TRUE(mgr->mPreModalInfoList.empty());
    EXPECT_EQ(app->events, (std::vector<std::string>{"modal opened", "modal closed"}));
    EXPECT_FALSE(app->CloseDialogById(6));
}

TEST_F(DialogTest, DialogButtonsReachTheApplicationAsItsOwnIds)
{
    Dialog* d = app->OpenDialog(7, false, L"", L"", L"", BUTTONS_YES_NO);
    Click(d->mYesButton);
    EXPECT_EQ(d->mResult, DIALOG_ID_YES);
    Click(d->mNoButton);
    EXPECT_EQ(d->mResult, DIALOG_ID_NO);
    EXPECT_EQ(app->events, (std::vector<std::string>{"press 2007", "click 2007", "press 3007", "click 3007"}));
}

TEST_F(DialogTest, DetachingKeepsTheWidgetAndTurnsMinusOneIntoZero)
{
    Dialog* d = app->OpenDialog(8, false, L"", L"", L"", BUTTONS_NONE);
    d->mResult = -1;
    EXPECT_TRUE(app->DetachDialog(8, false, false));
    EXPECT_EQ(d->mResult, 0);
    EXPECT_EQ(app->FindDialog(8), nullptr);
    EXPECT_TRUE(mgr->HasWidget(d));
    EXPECT_FALSE(app->DetachDialog(8, false, false));
    mgr->RemoveWidget(d);
    delete d;
}

TEST_F(DialogTest, DraggingKeepsTheDialogNearTheScreen)
{
    Dialog* d = app->NewDialog(9, false, L"", L"", L"", BUTTONS_YES_NO);
    d->Resize(100, 100, 200, 150);
    app->RegisterDialog(d);
    mgr->MouseMove(150, 150);
    mgr->MouseDown(150, 150, 1);
    EXPECT_EQ(app->mCursorKind, CURSOR_DRAGGING);
    struct {
        int x, y;
        std::string rect, dragPoint;
    } steps[] = {
        {160, 170, "110,120,200,150", "50,50"},
        {-1000, 170, "-8,120,200,150", "8,50"},     // held 8 pixels inside
        {2000, 2000, "608,458,200,150", "191,141"}, // 800 - 200 + 8, 600 - 150 + 8
    };
    for (auto& s : steps) {
        mgr->MouseMove(s.x, s.y);
        EXPECT_EQ(RectOf(d), s.rect) << s.x;
        EXPECT_EQ(Pt(d->mDragMouseX, d->mDragMouseY), s.dragPoint) << s.x;
    }
    EXPECT_EQ(d->mYesButton->mX, 608 + 24); // the buttons come along
    mgr->MouseUp(2000, 2000, 1);
    EXPECT_FALSE(d->mDragging);
    EXPECT_EQ(app->mCursorKind, CURSOR_POINTER);
}

TEST_F(DialogTest, WaitForResult)
{
    struct Case {
        const char* what;
        bool kill;
        std::function<void()> atThirdUpdate;
        bool clickClosesIt;
        int result;
        bool stillRegistered;
    };
    Dialog* d = nullptr;
    const Case cases[] = {
        {"a button answers", false, [&] { Click(d->mYesButton); }, false, DIALOG_ID_YES, true},
        {"a button answers, then kill", true, [&] { Click(d->mNoButton); }, false, DIALOG_ID_NO, false},
        {"the click handler closes it", false, [&] { Click(d->mYesButton); }, true, DIALOG_ID_YES, false},
        {"other code closes it", true, [&] { app->CloseDialogById(7); }, false, Dialog::NO_RESULT, false},
        {"stepping stops", true, [&] { app->mStopStepping = true; }, false, Dialog::NO_RESULT, false},
    };
    for (const Case& c : cases) {
        d = app->OpenDialog(7, true, L"Question", L"", L"", BUTTONS_YES_NO);
        const int start = app->updates;
        app->onUpdate = [&](int n) {
            if (n == start + 3)
                c.atThirdUpdate();
            if (n > start + 1000)
                app->mStopStepping = true; // never hang
        };
        app->onClick = [&](intptr_t) {
            if (c.clickClosesIt)
                app->CloseDialogById(7);
        };
        EXPECT_EQ(d->WaitForResult(c.kill), c.result) << c.what;
        EXPECT_EQ(app->FindDialog(7) != nullptr, c.stillRegistered) << c.what;
        EXPECT_LT(app->updates, start + 100) << c.what;
        app->mStopStepping = false;
        app->onUpdate = nullptr;
        app->onClick = nullptr;
        app->CloseDialogById(7);
        app->FreeQueuedWidgets();
        EXPECT_EQ(gDialogsAlive, 0) << c.what;
    }
}

TEST_F(DialogTest, KillLeavesADialogThatTookTheIdMeanwhile)
{
    Dialog* d = app->OpenDialog(7, false, L"", L"", L"", BUTTONS_YES_NO);
    Dialog* successor = nullptr;
    app->onUpdate = [&](int n) {
        if (!successor)
            successor = app->OpenDialog(7, false, L"", L"", L"", BUTTONS_YES_NO);
    };
    EXPECT_EQ(d->WaitForResult(true), Dialog::NO_RESULT);
    EXPECT_EQ(app->FindDialog(7), successor);
    EXPECT_EQ(gDialogsAlive, 1);
    app->onUpdate = nullptr;
}

TEST_F(DialogTest, EachDialogHasItsOwnColours)
{
    RecordingImage buttonImage(30, 24);
    Dialog plain(nullptr, nullptr, 1, false, L"", L"", L"", BUTTONS_YES_NO);
    Dialog imaged(nullptr, &buttonImage, 2, false, L"", L"", L"", BUTTONS_YES_NO);
    // Plain buttons have a light face: their labels are black there only.
    EXPECT_EQ(plain.GetColor(3), Color(0, 0, 0));
    EXPECT_EQ(imaged.GetColor(3), Color(255, 255, 255));
    EXPECT_EQ(imaged.GetColor(4), Color(255, 255, 255));
    EXPECT_EQ(plain.mYesButton->GetColor(0), Color(0, 0, 0));
    EXPECT_EQ(imaged.mYesButton->GetColor(1), Color(255, 255, 255));
    EXPECT_EQ(imaged.mButtonHeight, 24);

    plain.SetColor(4, Color(1, 2, 3));
    EXPECT_EQ(plain.mNoButton->GetColor(1), Color(1, 2, 3));
    EXPECT_EQ(imaged.GetColor(4), Color(255, 255, 255));
}

TEST_F(DialogTest, DrawsFrameHeaderLinesAndFooter)
{
    std::vector<FakeFont::Drawn> drawn;
    FakeFont font(&drawn);
    Dialog d(nullptr, nullptr, 1, false, L"Hi", L"abc", L"Bye", BUTTONS_NONE);
    d.SetHeaderFont(&font);
    d.SetLinesFont(&font);
    d.Resize(0, 0, 200, 150);
    RecordingImage screen;
    Graphics g(&screen);
    d.Draw(&g);

    std::vector<std::string> fills;
    for (const auto& op : screen.ops)
        fills.push_back(Pt(op.rect.mX, op.rect.mY) + "," + Pt(op.rect.mWidth, op.rect.mHeight) + " " +
                        std::to_string(op.color.mRed) + "/" + std::to_string(op.color.mAlpha));
    EXPECT_EQ(fills, (std::vector<std::string>{
                         // outline (12, 12, 175, 125) in colour 6
                         "12,12,176,1 255/255", "12,137,176,1 255/255", "12,13,1,124 255/255",
                         "187,13,1,124 255/255",
                         "13,13,174,124 80/255", // background, colour 5
                         "188,24,12,114 0/128", "24,138,176,12 0/128", // shadow
                     }));

    Graphics measure;
    FakeFont silent;
    measure.SetFont(&silent);
    const int linesHeight = measure.DrawWrappedText(Rect(0, 0, 200 - 48 - 4, 0), L"abc", 14, 0);
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[0].text, L"Hi");
    EXPECT_EQ(Pt(drawn[0].x, drawn[0].y), "93,34"); // centred; content top + ascent
    EXPECT_EQ(drawn[0].color, d.GetColor(0));
    EXPECT_EQ(drawn[1].text, L"abc");
    EXPECT_EQ(Pt(drawn[1].x, drawn[1].y), "89,58"); // centred in the content, below the header
    EXPECT_EQ(drawn[1].color, d.GetColor(1));
    EXPECT_EQ(drawn[2].text, L"Bye");
    EXPECT_EQ(Pt(drawn[2].x, drawn[2].y), Pt(89, 48 + linesHeight + 8 + 14));
    EXPECT_EQ(drawn[2].color, d.GetColor(2));
}
