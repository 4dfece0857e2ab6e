#include "game/effects/Effect.h"
#include "game/effects/ExportedFunctions.h"
#include "game/ui/UiDialog.h"
#include "game/ui/UiElement.h"
#include "tests/game/ui/UiFixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// An element that logs its hooks and its virtual resize, and counts its
// destruction.
class LoggingElement : public UiElement {
public:
    LoggingElement(UiElement* owner, std::vector<std::string>* log = nullptr, int* deaths = nullptr)
        : UiElement(owner), mLog(log), mDeaths(deaths)
    {
    }
    ~LoggingElement() override
    {
        if (mDeaths)
            ++*mDeaths;
    }
    void OnShow() override { Note("OnShow"); }
    void OnHide() override { Note("OnHide"); }
    void OnAcquireResources() override { Note("acquire"); }
    void OnReleaseResources() override { Note("release"); }
    void Resize(int x, int y, int width, int height) override
    {
        Note("Resize");
        UiElement::Resize(x, y, width, height);
    }
    void Note(const std::string& what)
    {
        if (mLog)
            mLog->push_back(mTag.empty() ? what : mTag + " " + what);
    }
    std::vector<std::string>* mLog;
    int* mDeaths;
    std::string mTag;
};

// Effects named by what their messages hold.
const wchar_t kEffects[] =
    L"<effect name='noshow'><timers/><messages/></effect>"
    L"<effect name='logged'><timers/><messages>"
    L"<message name='onshow' command='call' timer_id='NoteShow'/>"
    L"<message name='onhide' command='call' timer_id='NoteHide'/>"
    L"</messages></effect>";

class UiElementTest : public UiFixture {};

} // namespace

TEST_F(UiElementTest, PlacementCompoundsOwnerScalesAboutEachScalePoint)
{
    struct Case {
        const char* what;
        float ownerScale;
        UiPoint ownerPoint;
        float childScale;
        UiPoint childPoint;
        UiPoint offset;
        Zelk::Rect expected; // the child's widget rectangle
    };
    // Child layout 100, 50, 40 x 20 inside a dialog at 0, 0, 400 x 300.
    const Case cases[] = {
        {"unscaled", 1, {0, 0}, 1, {0, 0}, {0, 0}, {100, 50, 40, 20}},
        {"offset only", 1, {0, 0}, 1, {0, 0}, {-7, 3}, {93, 53, 40, 20}},
        // The owner's scale point does not enter the child's own formula:
        // P multiplies the child's own placement.
        {"owner halved", 0.5f, {200, 150}, 1, {0, 0}, {0, 0}, {50, 25, 20, 10}},
        {"own scale about a point", 1, {0, 0}, 0.5f, {120, 60}, {0, 0}, {110, 55, 20, 10}},
        {"both, truncated toward zero", 0.5f, {0, 0}, 1.5f, {0, 0}, {-3, -3}, {72, 35, 30, 15}},
        {"negative result truncates toward zero", 1, {0, 0}, 0.3f, {0, 0}, {-105, 0}, {-1, 15, 12, 6}},
    };
    for (const Case& c : cases) {
        UiElement dialog(nullptr);
        dialog.Resize(0, 0, 400, 300);
        auto* child = new UiElement(&dialog);
        child->Resize(100, 50, 40, 20);
        dialog.AddChild("child", child);
        dialog.SetScale(c.ownerScale);
        dialog.SetScalePoint(c.ownerPoint.x, c.ownerPoint.y);
        child->SetScale(c.childScale);
        child->SetScalePoint(c.childPoint.x, c.childPoint.y);
        child->SetOffset(c.offset.x, c.offset.y);
        child->Update();
        Zelk::Rect got(child->mX, child->mY, child->mWidth, child->mHeight);
        EXPECT_EQ(got.mX, c.expected.mX) << c.what;
        EXPECT_EQ(got.mY, c.expected.mY) << c.what;
        EXPECT_EQ(got.mWidth, c.expected.mWidth) << c.what;
        EXPECT_EQ(got.mHeight, c.expected.mHeight) << c.what;
        // The layout rectangle is never touched by the placement.
        EXPECT_EQ(child->GetLayoutX(), 100) << c.what;
        EXPECT_EQ(child->GetLayoutWidth(), 40) << c.what;
        EXPECT_FLOAT_EQ(child->GetCompoundScale(), c.ownerScale * c.childScale) << c.what;
    }
}

TEST_F(UiElementTest, ChildOfADialogHalvedAboutItsCentreMovesTowardTheCentre)
{
    UiElement dialog(nullptr);
    dialog.Resize(0, 0, 400, 300);
    auto* child = new UiElement(&dialog);
    child->Resize(0, 0, 100, 100);
    dialog.AddChild("child", child);
    dialog.SetScale(0.5f);
    dialog.SetScalePoint(200, 150);
    dialog.Update();
    child->Update();
    // The dialog itself shrinks about its centre.
    EXPECT_EQ(dialog.mX, 100);
    EXPECT_EQ(dialog.mY, 75);
    EXPECT_EQ(dialog.mWidth, 200);
    // The child halves with its own scale still 1.
    EXPECT_EQ(child->mWidth, 50);
    EXPECT_EQ(child->mHeight, 50);
    EXPECT_FLOAT_EQ(child->GetScale(), 1);
}

TEST_F(UiElementTest, UpdatePlacesThroughTheBaseResizeAndKeepsTheLayout)
{
    std::vector<std::string> log;
    LoggingElement element(nullptr, &log);
    element.Resize(10, 20, 30, 40);
    log.clear();
    element.SetScale(2);
    element.Update();
    element.Update();
    EXPECT_TRUE(log.empty()) << "the virtual Resize ran from Update";
    EXPECT_EQ(element.mWidth, 60);
    EXPECT_EQ(element.GetLayoutWidth(), 30);
    EXPECT_TRUE(element.mDirty);
}

TEST_F(UiElementTest, OpacityAndScaleCompoundOverEveryOwner)
{
    UiElement top(nullptr);
    auto* middle = new UiElement(&top);
    auto* leaf = new UiElement(middle);
    top.AddChild("m", middle);
    middle->AddChild("l", leaf);
    top.SetOpacity(0.5f);
    middle->SetOpacity(0.5f);
    leaf->SetOpacity(0.8f);
    top.SetScale(2);
    middle->SetScale(1.5f);
    EXPECT_FLOAT_EQ(leaf->GetCompoundOpacity(), 0.2f);
    EXPECT_EQ(leaf->GetDrawAlpha(), 51);
    EXPECT_FLOAT_EQ(leaf->GetOwnersScale(), 3);
    EXPECT_TRUE(leaf->IsScaled());
    top.SetScale(1.005f);
    middle->SetScale(1);
    EXPECT_FALSE(leaf->IsScaled());
}

TEST_F(UiElementTest, ConstructionLeavesItVisibleWithResourcesTakenAndAlphaByDefault)
{
    UiElement element(nullptr);
    EXPECT_TRUE(element.mVisible);
    EXPECT_FALSE(element.AreResourcesReleased());
    EXPECT_FALSE(element.IsShowInProgress());

    auto doc = std::make_unique<XmlDocument>();
    ASSERT_TRUE(doc->LoadText(L"<element x='1' y='2' width='3' height='4' scalepointy='9'/>"));
    UiElement loaded(nullptr);
    loaded.mHasAlpha = false;
    loaded.Load(doc->Node().SelectSingle(L"element"));
    EXPECT_TRUE(loaded.mHasAlpha);
    EXPECT_TRUE(loaded.mMouseVisible);
    EXPECT_EQ(loaded.GetLayoutRect().mHeight, 4);
    EXPECT_EQ(loaded.GetScalePoint().x, 0);
    EXPECT_EQ(loaded.GetScalePoint().y, 9);
    EXPECT_EQ(loaded.GetEffect(), nullptr);
}

TEST_F(UiElementTest, SetVisibleRunsTheResourceHooksEvenWhenUnchanged)
{
    std::vector<std::string> log;
    LoggingElement element(nullptr, &log);
    element.SetVisible(true);
    element.SetVisible(true);
    element.SetVisible(false);
    element.SetVisible(false);
    EXPECT_EQ(log, (std::vector<std::string>{"acquire", "acquire", "release", "release"}));
    EXPECT_TRUE(element.AreResourcesReleased());
}

TEST_F(UiElementTest, WithoutAnEffectShowAndHideActAtOnceAroundTheirHooks)
{
    std::vector<std::string> log;
    LoggingElement element(nullptr, &log);
    element.Hide();
    EXPECT_FALSE(element.mVisible);
    element.Show();
    EXPECT_TRUE(element.mVisible);
    EXPECT_EQ(log, (std::vector<std::string>{"OnHide", "release", "acquire", "OnShow"}));
}

namespace {
std::vector<std::string>* gMessageLog = nullptr;
int32_t NoteShow(void*)
{
    gMessageLog->push_back("onshow");
    return 1;
}
int32_t NoteHide(void*)
{
    gMessageLog->push_back("onhide");
    return 1;
}
const ExportedFunction kNoteExports[] = {
    {"NoteShow", NoteShow, CallForm::Message},
    {"NoteHide", NoteHide, CallForm::Message},
};
} // namespace

TEST_F(UiElementTest, HooksWrapTheEffectMessagesAndShowInterruptsAHide)
{
    std::vector<std::string> log;
    gMessageLog = &log;
    ExportedFunctions::Install(kNoteExports, 2);
    UseEffects(kEffects);
    auto doc = std::make_unique<XmlDocument>();
    ASSERT_TRUE(doc->LoadText(L"<element effect='logged'/>"));
    LoggingElement element(nullptr, &log);
    element.Load(doc->Node().SelectSingle(L"element"));
    ASSERT_NE(element.GetEffect(), nullptr);
    log.clear();

    element.Hide();
    EXPECT_TRUE(element.IsHideInProgress());
    element.Hide(); // nothing while the hide runs
    element.Show(); // interrupts it
    EXPECT_FALSE(element.IsHideInProgress());
    EXPECT_TRUE(element.IsShowInProgress());
    EXPECT_EQ(log, (std::vector<std::string>{"OnHide", "onhide", "onshow", "OnShow"}));
    ExportedFunctions::Install(nullptr, 0);
    gMessageLog = nullptr;
}

TEST_F(UiElementTest, AnEffectWithoutOnshowLeavesItHiddenUntilSetVisible)
{
    UseEffects(kEffects);
    auto doc = std::make_unique<XmlDocument>();
    ASSERT_TRUE(doc->LoadText(L"<element effect='noshow'/>"));
    std::vector<std::string> log;
    LoggingElement element(nullptr, &log);
    element.Load(doc->Node().SelectSingle(L"element"));
    element.SetVisible(false);
    log.clear();
    element.Show();
    element.Show();
    EXPECT_FALSE(element.mVisible);
    EXPECT_EQ(log, (std::vector<std::string>{"OnShow"})) << "the second Show acted";
    element.SetVisible(true);
    EXPECT_FALSE(element.IsShowInProgress());
    element.SetVisible(false);
    element.Show();
    EXPECT_EQ(std::count(log.begin(), log.end(), "OnShow"), 2);
}

TEST_F(UiElementTest, ShowAndHideChildrenGoInNameOrder)
{
    std::vector<std::string> log;
    UiElement parent(nullptr);
    for (const char* name : {"b", "a", "c"}) {
        auto* child = new LoggingElement(&parent, &log);
        child->mTag = name;
        parent.AddChild(name, child);
    }
    parent.HideChildren();
    parent.ShowChildren();
    EXPECT_EQ(log, (std::vector<std::string>{"a OnHide", "a release", "b OnHide", "b release", "c OnHide",
                                             "c release", "a acquire", "a OnShow", "b acquire", "b OnShow",
                                             "c acquire", "c OnShow"}));
}

TEST_F(UiElementTest, DestructionDeletesNamedUnnamedAndDuplicateChildren)
{
    int deaths = 0;
    {
        UiElement parent(nullptr);
        auto* first = new LoggingElement(&parent, nullptr, &deaths);
        auto* second = new LoggingElement(&parent, nullptr, &deaths);
        parent.AddChild("same", first);
        parent.AddChild("same", second);
        parent.AddWidget(new LoggingElement(&parent, nullptr, &deaths));
        EXPECT_EQ(parent.FindChild("same"), second);
        EXPECT_EQ(parent.FindChild("other"), nullptr);
        EXPECT_EQ(parent.mWidgets.size(), 3u);
    }
    EXPECT_EQ(deaths, 3);
}

TEST_F(UiElementTest, MoveKeepsTheLayoutSize)
{
    UiElement element(nullptr);
    element.Resize(1, 2, 30, 40);
    element.Move(5, 6);
    EXPECT_EQ(element.GetLayoutRect().mX, 5);
    EXPECT_EQ(element.GetLayoutRect().mWidth, 30);
    EXPECT_EQ(element.mY, 6);
    EXPECT_EQ(element.mHeight, 40);
}
