#include "framework/graphics/Graphics.h"
#include "game/effects/Effect.h"
#include "game/effects/ExportedFunctions.h"
#include "game/ui/UiBar.h"
#include "game/ui/UiButton.h"
#include "game/ui/UiCheckBox.h"
#include "game/ui/UiDialog.h"
#include "game/ui/UiEdit.h"
#include "game/ui/UiList.h"
#include "game/ui/UiScroll.h"
#include "game/ui/UiSlider.h"
#include "game/ui/UiText.h"
#include "game/ui/UiTutorial.h"
#include "tests/game/ui/UiFixture.h"

#include <algorithm>
#include <string>
#include <typeinfo>
#include <vector>

namespace {

std::vector<std::string>* gLog = nullptr;

int32_t NoteCreate(void* argument)
{
    if (gLog)
        gLog->push_back("oncreate");
    return 1;
}

const ExportedFunction kExports[] = {{"NoteCreate", NoteCreate, CallForm::Message}};

// A screen that keeps what it is given and the ids it is clicked with.
class RecordingScreen : public UiDialog {
public:
    using UiDialog::UiDialog;
    void AddChild(const std::string& name, UiElement* child) override
    {
        if (gLog)
            gLog->push_back("add " + name);
        UiDialog::AddChild(name, child);
    }
    void OnButton(intptr_t id) override { clicks.push_back(id); }
    std::vector<intptr_t> clicks;
};

std::string Kind(Zelk::Widget* widget)
{
    // Most derived first.
    if (dynamic_cast<UiTutorial*>(widget))
        return "tutorial";
    if (dynamic_cast<UiDialog*>(widget))
        return "dialog";
    if (dynamic_cast<UiButton*>(widget))
        return "button";
    if (dynamic_cast<UiText*>(widget))
        return "text";
    if (dynamic_cast<UiBar*>(widget))
        return "bar";
    if (dynamic_cast<UiList*>(widget))
        return "list";
    if (dynamic_cast<UiScroll*>(widget))
        return "scroll";
    if (dynamic_cast<UiCheckBox*>(widget))
        return "checkbox";
    if (dynamic_cast<UiSlider*>(widget))
        return "slider";
    if (dynamic_cast<UiEdit*>(widget))
        return "edit";
    return "other";
}

const wchar_t kUi[] =
    L"<root>"
    L"<texture id='bg' file='images/bg'/>"
    L"<texture id='bg2' file='images/bg2'/>"
    L"<element type='quordialog' name='other' x='1'/>"
    L"<element type='quordialog' name='main' x='0' y='0' width='400' height='300'>"
    L"  <texture id='normal' texture='bg' u='5' v='6'/>"
    L"  <element type='quorbutton' name='ok' x='10' y='10' width='50' height='20' effect='created'/>"
    L"  <element type='quortext' name='label' effect='created'/>"
    L"  <element name='notype'><element type='quorbutton' name='lost1'/></element>"
    L"  <element type='quorbutton'><element type='quorbutton' name='lost2'/></element>"
    L"  <element type='QuorButton' name='case'/>"
    L"  <element type='quorwhatever' name='unknown'><element type='quorbutton' name='lost3'/></element>"
    L"  <element type='quorbutton' name='dup'/>"
    L"  <element type='quorbar' name='dup'/>"
    L"  <element type='quordialog' name='panel' x='10' y='20' width='100' height='50'>"
    L"    <element type='quorbutton' name='inner' x='1' y='1' width='10' height='10'/>"
    L"  </element>"
    L"  <element type='quordialog' name='panel' x='99'/>"
    L"  <element type='quordialog' name='pa&quot;nel' x='7'/>"
    L"  <element type='quordialog' name='nowhere'/>"
    L"  <element type='quorlist' name='list'/>"
    L"  <element type='quorscroll' name='scroll'/>"
    L"  <element type='quorcheckbox' name='check'/>"
    L"  <element type='quorslider' name='slider'/>"
    L"  <element type='quoredit' name='edit'/>"
    L"  <element type='quortutorial' name='tip' clickhide='true'/>"
    L"</element>"
    L"</root>";

const wchar_t kEffects[] = L"<effect name='created'><timers/><messages>"
                           L"<message name='oncreate' command='call' timer_id='NoteCreate'/>"
                           L"</messages></effect>";

class UiDialogTest : public UiFixture {
protected:
    void SetUp() override
    {
        UiFixture::SetUp();
        ExportedFunctions::Install(kExports, 1);
        UseEffects(kEffects);
        root = UseUi(kUi);
    }
    void TearDown() override
    {
        ExportedFunctions::Install(nullptr, 0);
        gLog = nullptr;
        UiFixture::TearDown();
    }
    XmlNode root;
};

} // namespace

TEST_F(UiDialogTest, BuildsEveryKindInDocumentOrderAndSkipsBadElementsWithTheirSubtrees)
{
    std::vector<std::string> log;
    gLog = &log;
    RecordingScreen screen(nullptr, app.get());
    screen.LoadByName(root, "main");
    gLog = nullptr;

    std::vector<std::string> kinds;
    for (Zelk::Widget* widget : screen.mWidgets)
        kinds.push_back(Kind(widget));
    EXPECT_EQ(kinds, (std::vector<std::string>{"button", "text", "button", "bar", "dialog", "dialog", "dialog",
                                               "dialog", "list", "scroll", "checkbox", "slider", "edit",
                                               "tutorial"}));
    // "oncreate" reaches each new child with an effect before it is added.
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 4),
              (std::vector<std::string>{"oncreate", "add ok", "oncreate", "add label"}));
    for (const char* lost : {"notype", "lost1", "lost2", "case", "unknown", "lost3"})
        EXPECT_EQ(screen.FindChild(lost), nullptr) << lost;
    // Two kinds under one name: both are widgets, the later is the named one.
    EXPECT_EQ(Kind(screen.FindChild("dup")), "bar");
    EXPECT_EQ(screen.GetLayoutWidth(), 400);
    auto* tip = dynamic_cast<UiTutorial*>(screen.FindChild("tip"));
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->IsClickHide());
}

TEST_F(UiDialogTest, NestedDialogsLoadTheFirstSameNamedLayoutAndNamesAreComparedNotQueried)
{
    UiDialog screen(nullptr, app.get());
    screen.LoadByName(root, "main");
    std::vector<UiDialog*> panels;
    for (Zelk::Widget* widget : screen.mWidgets)
        if (auto* dialog = dynamic_cast<UiDialog*>(widget); dialog && !dynamic_cast<UiTutorial*>(widget))
            panels.push_back(dialog);
    ASSERT_EQ(panels.size(), 4u);
    // Both "panel"s got the first one's layout and children.
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(panels[i]->GetLayoutX(), 10);
        EXPECT_NE(panels[i]->FindChild("inner"), nullptr);
        EXPECT_EQ(panels[i]->GetContext(), app.get());
    }
    // A quote in a name is a name like any other.
    EXPECT_EQ(panels[2]->GetLayoutX(), 7);
    // A name without a layout leaves an empty dialog.
    EXPECT_TRUE(panels[3]->mWidgets.empty());

    UiDialog missing(nullptr, app.get());
    missing.LoadByName(root, "pa\"nel");
    EXPECT_TRUE(missing.mWidgets.empty()) << "a nested layout is no screen";
    missing.LoadByName(root, "x\"] | //element[@name=\"main");
    EXPECT_TRUE(missing.mWidgets.empty());
}

TEST_F(UiDialogTest, AClickOnANestedButtonTravelsUpWithTheButtonsAddress)
{
    RecordingScreen screen(nullptr, app.get());
    screen.LoadByName(root, "main");
    auto* panel = dynamic_cast<UiDialog*>(screen.FindChild("panel"));
    ASSERT_NE(panel, nullptr);
    auto* inner = dynamic_cast<UiButton*>(panel->FindChild("inner"));
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->GetId(), reinterpret_cast<intptr_t>(inner));
    EXPECT_EQ(inner->GetListener(), static_cast<Zelk::ButtonListener*>(panel));

    inner->GetListener()->OnButtonClick(inner->GetId());
    ASSERT_EQ(screen.clicks.size(), 1u);
    EXPECT_EQ(screen.clicks[0], reinterpret_cast<intptr_t>(inner));

    auto* ok = dynamic_cast<UiButton*>(screen.FindChild("ok"));
    ASSERT_NE(ok, nullptr);
    EXPECT_NE(ok->GetId(), inner->GetId());
    ok->GetListener()->OnButtonClick(ok->GetId());
    EXPECT_EQ(screen.clicks.back(), reinterpret_cast<intptr_t>(ok));
}

TEST_F(UiDialogTest, AClickIsPassedOnOnlyToADialogOwner)
{
    UiElement plain(nullptr);
    auto* dialog = new UiDialog(&plain, app.get());
    plain.AddChild("d", dialog);
    dialog->ButtonClicked(42); // nowhere to go, and no harm
    SUCCEED();
}

TEST_F(UiDialogTest, TheBackgroundIsTakenOnceWhileVisibleAndGivenBack)
{
    TextureRegistry* textures = app->GetTextureRegistry();
    UiDialog screen(nullptr, app.get());
    screen.LoadByName(root, "main");
    EXPECT_EQ(screen.GetBackgroundId(), "bg");
    EXPECT_EQ(screen.GetBackgroundSource().mX, 5);
    EXPECT_EQ(screen.GetBackgroundSource().mWidth, 400);
    EXPECT_EQ(textures->GetRefCount("bg"), 0) << "taken before it was shown";

    screen.SetVisible(true);
    screen.SetVisible(true);
    EXPECT_EQ(textures->GetRefCount("bg"), 1);
    EXPECT_NE(screen.GetBackground(), nullptr);
    screen.SetVisible(false);
    EXPECT_EQ(textures->GetRefCount("bg"), 0);
    EXPECT_EQ(screen.GetBackground(), nullptr);

    screen.SetVisible(true);
    screen.SetBackground("bg2", Zelk::Rect(0, 0, 4, 4));
    EXPECT_EQ(textures->GetRefCount("bg"), 0) << "the old picture was kept";
    EXPECT_EQ(screen.GetBackground(), nullptr);
    screen.SetVisible(true);
    EXPECT_EQ(textures->GetRefCount("bg2"), 1);
    screen.SetVisible(false);
    EXPECT_EQ(textures->GetRefCount("bg2"), 0);
}

namespace {
// Records the stretched blits with the colour they are modulated by.
class ColourRecordingImage : public Zelk::Image {
public:
    ColourRecordingImage()
    {
        mWidth = 800;
        mHeight = 600;
    }
    void BlitStretched(Zelk::Image*, const Zelk::Rect& d, const Zelk::Rect& s, const Zelk::Rect&,
                       const Zelk::Color& color, int, bool) override
    {
        blits.push_back({d, s, color});
    }
    struct Blit {
        Zelk::Rect dest, src;
        Zelk::Color color;
    };
    std::vector<Blit> blits;
};
} // namespace

TEST_F(UiDialogTest, TheBackgroundIsStretchedOverTheWidgetWithTheCompoundOpacity)
{
    UiElement owner(nullptr);
    auto* screen = new UiDialog(&owner, app.get());
    owner.AddChild("s", screen);
    screen->LoadByName(root, "main");
    screen->SetVisible(true);
    owner.SetOpacity(0.5f);
    screen->SetOpacity(0.5f);
    screen->SetScale(0.5f);
    screen->Update();

    ColourRecordingImage target;
    Zelk::Graphics g(&target);
    screen->Draw(&g);
    ASSERT_EQ(target.blits.size(), 1u);
    EXPECT_EQ(target.blits[0].dest.mWidth, 200);
    EXPECT_EQ(target.blits[0].dest.mHeight, 150);
    EXPECT_EQ(target.blits[0].src.mX, 5);
    EXPECT_EQ(target.blits[0].src.mY, 6);
    EXPECT_EQ(target.blits[0].color.mAlpha, 63);
    EXPECT_EQ(target.blits[0].color.mRed, 255);
}

TEST_F(UiDialogTest, ATutorialWithClickHideHidesOnAnyRelease)
{
    UiDialog screen(nullptr, app.get());
    screen.LoadByName(root, "main");
    auto* tip = dynamic_cast<UiTutorial*>(screen.FindChild("tip"));
    ASSERT_NE(tip, nullptr);
    tip->MouseUpAt(0, 0);
    EXPECT_FALSE(tip->mVisible);

    UiTutorial plain(nullptr, app.get());
    plain.MouseUpAt(0, 0);
    EXPECT_TRUE(plain.mVisible);
}

namespace {
int CountWidgets(Zelk::Widget* widget)
{
    int n = 1;
    for (Zelk::Widget* child : widget->mWidgets)
        n += CountWidgets(child);
    return n;
}
int Depth(Zelk::Widget* widget)
{
    int deepest = 0;
    for (Zelk::Widget* child : widget->mWidgets)
        deepest = std::max(deepest, Depth(child));
    return deepest + 1;
}
} // namespace

TEST_F(UiDialogTest, ADescriptionThatDoublesOrNestsWithoutEndIsCutShort)
{
    // Each level holds two dialogs of one name, and both load the first:
    // 2^20 widgets if nothing stopped it.
    std::wstring doubling = L"<element type='quordialog' name='p'/>";
    for (int level = 0; level < 20; ++level)
        doubling = L"<element type='quordialog' name='p'>" + doubling + L"<element type='quordialog' name='p'/></element>";
    std::wstring chain = L"<element type='quorbutton' name='b'/>";
    for (int level = 0; level < 100; ++level)
        chain = L"<element type='quordialog' name='c'>" + chain + L"</element>";
    XmlNode description = UseUi(L"<root><element type='quordialog' name='doubling'>" + doubling +
                                L"</element><element type='quordialog' name='chain'>" + chain +
                                L"</element><element type='quordialog' name='after'>"
                                L"<element type='quorbutton' name='ok'/></element></root>");
    UiDialog doubled(nullptr, app.get());
    doubled.LoadByName(description, "doubling");
    EXPECT_LE(CountWidgets(&doubled), 4097);
    EXPECT_GT(CountWidgets(&doubled), 1000);

    UiDialog nested(nullptr, app.get());
    nested.LoadByName(description, "chain");
    EXPECT_LE(Depth(&nested), 34);
    EXPECT_GE(Depth(&nested), 30);

    // The next screen has a budget of its own.
    UiDialog after(nullptr, app.get());
    after.LoadByName(description, "after");
    EXPECT_NE(after.FindChild("ok"), nullptr);
}
