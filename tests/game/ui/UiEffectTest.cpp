// Dialogs shown and hidden through cfg\effect.xml with the program's own
// callbacks, end to end.
#include "framework/widgets/WidgetManager.h"
#include "game/effects/Effect.h"
#include "game/effects/ExportedFunctions.h"
#include "game/ui/UiDialog.h"
#include "tests/game/ui/UiFixture.h"

namespace {

const wchar_t kEffects[] =
    L"<effect name='dialog_fx'><timers>"
    L"<timer name='show' type='usual' ftime='0.3' direction='forward'>"
    L"<control id='1' type='point' starttime='0' function='DlgShow' active='true'/>"
    L"<control id='2' type='range' starttime='0' endtime='0.3' function='DlgFadeIn' active='true'/>"
    L"</timer>"
    L"<timer name='hide' type='usual' ftime='0.3' direction='forward'>"
    L"<control id='1' type='range' starttime='0' endtime='0.3' function='DlgFadeOut' active='true'/>"
    L"<control id='2' type='point' starttime='0.3' function='DlgHide' active='true'/>"
    L"</timer>"
    L"</timers><messages>"
    L"<message name='onshow' command='stop' timer_id='hide'/>"
    L"<message name='onshow' command='start' timer_id='show'/>"
    L"<message name='onhide' command='stop' timer_id='show'/>"
    L"<message name='onhide' command='start' timer_id='hide'/>"
    L"</messages></effect>"
    L"<effect name='lock_fx'><timers>"
    L"<timer name='lock' type='usual' ftime='0.5' direction='forward'>"
    L"<control id='1' type='point' starttime='0' function='WidgetsLock' active='true'/>"
    L"<control id='2' type='point' starttime='0.2' function='WidgetsUnlock' active='true'/>"
    L"</timer>"
    L"</timers><messages>"
    L"<message name='onshow' command='start' timer_id='lock'/>"
    L"</messages></effect>";

const wchar_t kUi[] = L"<root>"
                      L"<element type='quordialog' name='fading' x='0' y='0' width='200' height='100'>"
                      L"<element type='quordialog' name='inner' x='10' y='10' width='20' height='20'/>"
                      L"</element>"
                      L"<element type='quordialog' name='locking' effect='lock_fx'/>"
                      L"</root>";

// Counts the presses that reach it.
class PressTarget : public Zelk::Widget {
public:
    void MouseButtonDown(int, int, int, int) override { ++presses; }
    int presses = 0;
};

class UiEffectTest : public UiFixture {
protected:
    void SetUp() override
    {
        UiFixture::SetUp();
        ExportedFunctions::Install(nullptr, 0); // the program's own table
        UseEffects(kEffects);
        root = UseUi(kUi);
    }
    void Updates(UiElement& element, int n)
    {
        for (int i = 0; i < n; ++i)
            element.Update();
    }
    XmlNode root;
};

} // namespace

TEST_F(UiEffectTest, OnshowShowsAtOnceAndFadesInThenOnhideFadesOutAndHides)
{
    UiDialog dialog(nullptr, app.get());
    dialog.LoadByName(root, "fading");
    // The effect is given after loading here, so the test owns its name.
    auto doc = std::make_unique<XmlDocument>();
    ASSERT_TRUE(doc->LoadText(L"<element x='0' y='0' width='200' height='100' effect='dialog_fx'/>"));
    dialog.UiElement::Load(doc->Node().SelectSingle(L"element"));
    ASSERT_NE(dialog.GetEffect(), nullptr);
    dialog.SetVisible(false);

    dialog.Show();
    EXPECT_TRUE(dialog.mVisible) << "not visible at once";
    EXPECT_FALSE(dialog.IsShowInProgress());
    EXPECT_FALSE(dialog.AreResourcesReleased());
    EXPECT_LT(dialog.GetOpacity(), 0.05f);
    Updates(dialog, 15);
    EXPECT_GT(dialog.GetOpacity(), 0.3f);
    EXPECT_LT(dialog.GetOpacity(), 0.7f);
    Updates(dialog, 20);
    EXPECT_FLOAT_EQ(dialog.GetOpacity(), 1) << "not opaque when the range ended";
    // The child fades with it.
    EXPECT_FLOAT_EQ(dialog.FindChild("inner")->GetCompoundOpacity(), 1);

    dialog.Hide();
    EXPECT_TRUE(dialog.mVisible);
    EXPECT_TRUE(dialog.IsHideInProgress());
    Updates(dialog, 15);
    EXPECT_TRUE(dialog.mVisible);
    EXPECT_LT(dialog.GetOpacity(), 0.7f);
    Updates(dialog, 20);
    EXPECT_FALSE(dialog.mVisible) << "still shown after the hide";
    EXPECT_FALSE(dialog.IsHideInProgress());
    EXPECT_TRUE(dialog.AreResourcesReleased());

    // A show that interrupts a running hide wins.
    dialog.Show();
    Updates(dialog, 35);
    dialog.Hide();
    Updates(dialog, 10);
    dialog.Show();
    Updates(dialog, 40);
    EXPECT_TRUE(dialog.mVisible);
    EXPECT_FLOAT_EQ(dialog.GetOpacity(), 1);
}

TEST_F(UiEffectTest, WidgetsLockMakesTheBlockerSwallowClicksUntilUnlocked)
{
    Zelk::WidgetManager* manager = app->mWidgetManager;
    manager->Resize(Zelk::Rect(0, 0, 800, 600), Zelk::Rect(0, 0, 800, 600));
    auto* target = new PressTarget();
    target->Resize(100, 100, 50, 50);
    manager->AddWidget(target);
    auto* locking = new UiDialog(nullptr, app.get());
    locking->LoadByName(root, "locking");
    ASSERT_NE(locking->GetEffect(), nullptr);
    manager->AddWidget(locking);

    auto click = [&] {
        manager->MouseMove(120, 120);
        manager->MouseDown(120, 120, 1);
        manager->MouseUp(120, 120, 1);
    };
    click();
    EXPECT_EQ(target->presses, 1);

    locking->SetVisible(false);
    locking->Show();
    click();
    EXPECT_EQ(target->presses, 1) << "the click went through the blocker";
    Updates(*locking, 25);
    click();
    EXPECT_EQ(target->presses, 2) << "still blocked after the unlock";

    manager->RemoveWidget(locking);
    manager->RemoveWidget(target);
    delete locking;
    delete target;
}
