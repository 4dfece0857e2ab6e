#include "game/flow/OfficeScreen.h"

#include "framework/graphics/Graphics.h"
#include "framework/widgets/WidgetManager.h"
#include "game/core/CursorManager.h"
#include "game/core/DebugTrace.h"
#include "game/core/GameApp.h"
#include "game/core/HiscoreTables.h"
#include "game/core/LevelCalendar.h"
#include "game/core/MusicManager.h"
#include "game/core/ResourceIds.h"
#include "game/core/SfxManager.h"
#include "game/core/StringTable.h"
#include "game/effects/ParticleRegistry.h"
#include "game/flow/BriefingDialog.h"
#include "game/flow/ComicDialog.h"
#include "game/flow/DebriefingDialog.h"
#include "game/flow/EscapeMenu.h"
#include "game/flow/HudPanel.h"
#include "game/flow/TutorialScript.h"
#include "game/flow/UpgradeDialog.h"
#include "game/world/Door.h"
#include "game/world/NamedObjects.h"
#include "game/world/ObjectPart.h"
#include "game/world/PeriodItem.h"
#include "game/world/Person.h"
#include "game/world/Pickable.h"
#include "game/world/SceneObject.h"
#include "game/world/SceneObjectList.h"
#include "game/world/StatusSource.h"

#include <climits>
#include <cmath>

OfficeScreen* gOfficeScreen = nullptr;

namespace {

constexpr int kEscapeKey = 27;

} // namespace

OfficeScreen::OfficeScreen(GameApp* app, const XmlNode& root) : UiElement(nullptr), mApp(app)
{
    if (app)
        app->mOfficeScreen = this;
    gOfficeScreen = this;
    Resize(0, 0, app ? app->mWidth : 800, app ? app->mHeight : 600);

    InstallOfficeWorld(&mWorld);
    SetOfficeScreenInterface(this);

    mBriefing = new BriefingDialog(app, root);
    mBriefing->SetVisible(false);
    mDebriefing = new DebriefingDialog(app, root);
    mDebriefing->SetVisible(false);
    mEscapeMenu = new EscapeMenu(app, root);
    mEscapeMenu->SetVisible(false);
    mHud = new HudPanel(this, app, root);
    mHud->SetVisible(false);
    gHudPanel = mHud;
    mUpgradeDialog = new UpgradeDialog(app, root);
    mUpgradeDialog->SetVisible(false);
    mComic = new ComicDialog(app, root);
    mComic->SetVisible(false);

    if (app && app->mWidgetManager)
        app->mWidgetManager->AddWidget(mHud);
    mHud->AddChild("briefing", mBriefing);
    mHud->AddChild("debriefing", mDebriefing);
    mHud->AddChild("escape_menu", mEscapeMenu);
    mHud->AddChild("upgrade", mUpgradeDialog);
    mHud->AddChild("comix", mComic);

    mTutorial = new TutorialScript(mHud);
    gTutorialScript = mTutorial;

    LoadOffice();
    mPaused = false;
}

OfficeScreen::~OfficeScreen()
{
    // Another screen's world and interface, when one is installed, come
    // back afterwards.
    OfficeWorld* otherWorld = HasOfficeWorld() && &GetOfficeWorld() != &mWorld ? &GetOfficeWorld() : nullptr;
    OfficeScreenInterface* otherScreen = &GetOfficeScreenInterface() != this ? &GetOfficeScreenInterface() : nullptr;

    // The office goes first, while its world is installed.
    InstallOfficeWorld(&mWorld);
    mTutorial->Reset();
    ClearOffice();
    DeleteAllObjects();
    mOfficeDocument.reset();

    if (gTutorialScript == mTutorial)
        gTutorialScript = nullptr;
    delete mTutorial;
    mTutorial = nullptr;
    if (gOfficeScreen == this)
        gOfficeScreen = nullptr;
    if (mApp && mApp->mOfficeScreen == this)
        mApp->mOfficeScreen = nullptr;

    // The HUD takes the five dialogs with it.
    if (mApp && mApp->mWidgetManager)
        mApp->mWidgetManager->RemoveWidget(mHud);
    delete mHud; // clears gHudPanel when it is this HUD
    mHud = nullptr;
    RemoveAllWidgets(true, false);

    SetOfficeScreenInterface(otherScreen);
    InstallOfficeWorld(otherWorld);
}

void OfficeScreen::SetNumber(const std::string& name, int32_t value)
{
    if (mApp && mApp->GetStringTable())
        mApp->GetStringTable()->SetNumber(name, value);
}

void OfficeScreen::Update()
{
    if (mPaused)
        return;
    UiElement::Update();
    UpdateClock();
    if (!mDayOver)
        UpdateLevel();
}

void OfficeScreen::UpdateClock()
{
    const bool running = mDayRunning && !mPaused;
    gFrameDelta = running ? float((mApp ? mApp->mUpdatePeriod : 10) / 1000.0) : 0.0f;
    if (running && mApp) {
        // Whole seconds go to the profile; the rest waits for the next ones.
        mPlayTime += gFrameDelta;
        const double whole = std::floor(mPlayTime);
        if (whole >= 1) {
            mApp->GetCurrentProfile()->mPlayTime += float(whole);
            mPlayTime -= whole;
        }
    }
    mLevelClock += gFrameDelta;
}

void OfficeScreen::UpdateLevel()
{
    if (!mDayRunning)
        return;
    if (mEnding) {
        if (mEndCountdown >= 0) {
            mEndCountdown -= gFrameDelta;
            if (mEndCountdown < 0)
                ScoreDay();
        }
        return;
    }
    if (!mSurvival) {
        if (gTutorialScript)
            gTutorialScript->Update(gFrameDelta);
        SpawnScheduledClient();
    } else {
        SpawnSurvivalClient();
    }
    UpdateAllObjects();
    mBonusStages.Update(gFrameDelta);
    UpdateObjectBlinks(gFrameDelta);
    if (!gTutorialScript || gTutorialScript->IsActionAllowed(3)) {
        DispatchClicks();
        mClickQueue.clear();
    }
}

void OfficeScreen::Click(int x, int y)
{
    if (!mDayRunning)
        return;
    const Zelk::Point point{x, y};
    Pickable* clicked = nullptr;
    for (Pickable* object : mWorld.pickables)
        if (object->IsVisible() && object->HitTest(point) && object->IsActive()) {
            clicked = object;
            break;
        }
    if (!clicked)
        return;
    clicked->Pick();
    if (!mClickQueue.empty() && mClickQueue.back() == clicked)
        return;
    if (mApp && mApp->GetSfxManager())
        mApp->GetSfxManager()->Play("click");
    mClickQueue.push_back(clicked);
}

void OfficeScreen::UpdateHover(int x, int y)
{
    if (!mDayRunning)
        return;
    const Zelk::Point point{x, y};
    mHovered = nullptr;
    for (Pickable* object : mWorld.pickables) {
        const bool hit = object->HitTest(point) && (!gTutorialScript || gTutorialScript->IsNameAllowed(object->GetName()));
        if (object->IsVisible())
            object->OnMouseMove(point, hit);
        if (!mHovered && object->IsHoverable(hit))
            mHovered = object;
    }
    if (mApp && mApp->GetCursorManager())
        mApp->GetCursorManager()->Select(mHovered ? "active" : "normal");
}

void OfficeScreen::DispatchClicks()
{
    Person* boss = ObjectAs<Person>(gBoss);
    Person* secretary = ObjectAs<Person>(gSecretary);
    Person* engineer = ObjectAs<Person>(gEngineer);
    TutorialScript* tutorial = gTutorialScript;
    auto allowed = [tutorial](const std::string& name) { return !tutorial || tutorial->IsNameAllowed(name); };
    const bool teaching = tutorial && tutorial->IsActive();
    for (Pickable* object : mClickQueue) {
        const std::string& name = object->GetName();
        if (name == "door03") {
            if (engineer && !engineer->IsBusy())
                if (Door* door = ObjectAs<Door>(object))
                    door->OpenIfIdle();
            continue;
        }
        if (name == "stereo_system" || name == "air_conditioner") {
            if (engineer) {
                PeriodItem* machine = ObjectAs<PeriodItem>(name == "stereo_system" ? gStereoSystem : gAirConditioner);
                if (engineer->HasPendingTarget() && machine && machine->IsReady() && !engineer->IsBusy())
                    engineer->EnqueueTarget(object);
                engineer->SetPendingTarget(nullptr);
            }
            continue;
        }
        if (name == "presentation_place") {
            if (secretary) {
                PeriodItem* place = ObjectAs<PeriodItem>(gPresentationPlace);
                if (!secretary->IsBusy() && place && place->IsReady())
                    secretary->EnqueueTarget(object);
                secretary->SetPendingTarget(nullptr);
            }
            continue;
        }
        if (name == "coffeemachine") {
            PeriodItem* machine = ObjectAs<PeriodItem>(gCoffeeMachine);
            if (secretary && !secretary->IsBusy() && machine && machine->IsReady()) {
                // She fetches coffee and waits for a client to take it to.
                secretary->EnqueueTarget(machine);
                secretary->SetPendingTarget(object);
            }
            continue;
        }
        if (name.rfind("client_place", 0) == 0) {
            const std::string clientName = "client" + name.substr(12);
            SceneObject* client = nullptr;
            for (SceneObject* candidate : mWorld.sceneObjects)
                if (candidate->GetName() == clientName)
                    client = candidate;
            if (client) {
                const StatusSource* status = dynamic_cast<StatusSource*>(client);
                const bool shown = status && status->IsStatusShown();
                if (teaching && shown && allowed(name))
                    tutorial->OnEvent(2);
                if (secretary && secretary->HasPendingTarget() && shown) {
                    if (!secretary->IsBusy())
                        secretary->EnqueueTarget(object);
                    secretary->SetPendingTarget(nullptr);
                    continue;
                }
            }
            if (secretary)
                secretary->SetPendingTarget(nullptr);
        }
        if (secretary)
            secretary->SetPendingTarget(nullptr);
        if (engineer)
            engineer->SetPendingTarget(nullptr);
        if (allowed(name) && boss)
            boss->EnqueueTarget(object);
        if (teaching && name.rfind("table", 0) == 0 && allowed(name))
            tutorial->OnEvent(8);
    }
}

void OfficeScreen::ScoreDay()
{
    if (mSurvival)
        ScoreSurvival();
    else
        ScoreCareer();
}

void OfficeScreen::ScoreCareer()
{
    mDayOver = true;
    const LevelParams& params = mWorld.levelParams;
    std::string kind;
    if (mMoney < params.normal) {
        mDebriefing->SetText(mFailureText);
        mDebriefing->SetContinueDisabled(true);
        kind = "failure";
    } else if (mMoney < params.expert) {
        mDebriefing->SetText(mGoalText);
        mDebriefing->SetContinueDisabled(false);
        kind = "goal";
    } else {
        mDebriefing->SetText(mExpertText);
        mDebriefing->SetContinueDisabled(false);
        kind = "expert";
    }
    mDebriefing->SetResultKind(kind);
    if (kind != "failure" && mLevel >= 1 && mLevel <= kCareerLevels && mApp) {
        ProfileRecord* profile = mApp->GetCurrentProfile();
        if (profile->mLevel == mLevel)
            ++profile->mLevel;
        if (mMoney > profile->mBestMoney[mLevel - 1])
            profile->mBestMoney[mLevel - 1] = mMoney;
        mApp->GetHiscoreTables()->Insert(false, profile->mName, mMoney);
    }
    mDebriefing->Show();
    if (mApp && !mApp->SavePrefs())
        DebugTrace("pref.dat was not written after the day\n");
}

void OfficeScreen::ScoreSurvival()
{
    int place = 10;
    if (mApp)
        place = mApp->GetHiscoreTables()->Insert(true, mApp->GetCurrentProfile()->mName, mMoney);
    if (place == 0) {
        mDebriefing->SetText(mExpertText);
        mDebriefing->SetResultKind("expert");
    } else if (place >= 1 && place <= 9) {
        mDebriefing->SetText(mGoalText);
        mDebriefing->SetResultKind("goal");
    } else {
        mDebriefing->SetText(mFailureText);
        mDebriefing->SetResultKind("failure");
    }
    mDebriefing->Show();
    if (mApp && !mApp->SavePrefs())
        DebugTrace("pref.dat was not written after the day\n");
}

void OfficeScreen::StartDay()
{
    mSpawnTimer = 0;
    mDayOver = false;
    mDayRunning = true;
    gFrameDelta = 0;
    mLevelClock = 0;
    mMoney = 0;
    mStageStartMoney = 0;
    mNextStageMoney = 0;
    mClickQueue.clear();

    SortSchedules();

    if (mApp && mApp->GetParticleRegistry())
        mApp->GetParticleRegistry()->ClearAll();
    mHud->SetUpgradeDisabled(true);
    mEnding = false;

    if (mSurvival) {
        mPendingUpgrades.clear();
        mAppliedChanges.clear();
        mBlinkChanges.clear();
    }

    UpdateLevel();

    if (!mSurvival) {
        SetNumber("currentday", LevelCalendarDay(mLevel));
        SetNumber("currentmonth", (mLevel - 1) / 20 + 1);
        SetNumber("goal", mWorld.levelParams.normal);
        SetNumber("normal", mWorld.levelParams.normal);
        SetNumber("expert", mWorld.levelParams.expert);
        SetNumber("money", mMoney);
        const int32_t pageSet = mLevel == 1 ? 1 : mLevel == 21 ? 3 : mLevel == 41 ? 4 : 0;
        if (pageSet != 0) {
            mComic->SelectPage(pageSet);
            mComic->Show();
        } else {
            mBriefing->Show();
        }
        mDayRunning = false;
    } else {
        SetNumber("currentday", mSurvivalModel.stageIndex + 1);
        SetNumber("currentmonth", mLevel);
        SetNumber("money", 0);
        mSpawnTimer = 0;
        mPendingTemplate = nullptr;
        mLives = 3;
        mHud->SetLives(3);
    }

    mBonusStages.Advance(0, nullptr);
    mHud->ResetDay();
}

void OfficeScreen::NextLevel()
{
    StopDay();
    ++mLevel;
    if (mLevel > kCareerLevels) {
        mComic->SelectPage(ComicDialog::kPages);
        mComic->Show();
        return;
    }
    ClearOffice();
    LoadLevel(mLevel);
    StartDay();
}

void OfficeScreen::RestartLevel()
{
    StopDay();
    ClearOffice();
    LoadLevel(mLevel);
    StartDay();
}

int32_t OfficeScreen::AddMoney(int32_t amount)
{
    OfficeScreen* screen = gOfficeScreen;
    if (!screen)
        return 0;
    int64_t money = int64_t(screen->mMoney) + amount;
    if (money < 0)
        money = 0;
    if (money > INT_MAX)
        money = INT_MAX;
    screen->mMoney = int32_t(money);
    screen->SetNumber("money", screen->mMoney);
    return screen->mMoney;
}

void OfficeScreen::LoseLife()
{
    if (!mSurvival)
        return;
    --mLives;
    if (mLives < 1) {
        mHud->SetLives(0);
        mEnding = true;
        mEndCountdown = kSurvivalEndDelay;
    } else {
        mHud->SetLives(mLives);
    }
}

void OfficeScreen::SendTutorialEvent(int event)
{
    if (gTutorialScript)
        gTutorialScript->OnEvent(event);
}

bool OfficeScreen::IsTutorialActionAllowed(int action) const
{
    return !gTutorialScript || gTutorialScript->IsActionAllowed(action);
}

void OfficeScreen::UpdateF(float fraction)
{
    if (mPaused)
        return;
    UiElement::UpdateFraction(fraction);
    MarkDirtyOverlapping();
    if (mDayRunning)
        UpdateAllObjectsSmooth(fraction);
}

void OfficeScreen::Draw(Zelk::Graphics* g)
{
    if (GFX_GAME_GROUND)
        g->DrawImageScaled(GFX_GAME_GROUND, 0, 0, 800, 600);
    for (ObjectPart* part : mWorld.zOrder.GetDrawList())
        if (part->GetOwner()->IsVisible() && part->IsVisible())
            part->Draw(g);
    // The game's cursor is drawn over every frame by the application.
}

void OfficeScreen::KeyUp(int key)
{
    if (key != kEscapeKey || !mEscapeAllowed)
        return;
    if (!mEscapeMenu->mVisible)
        mEscapeMenu->Show();
    else
        mEscapeMenu->Hide();
}

void OfficeScreen::MouseButtonDown(int x, int y, int button, int clickCount)
{
    if (mDayRunning && button == 0)
        Click(x, y);
}

void OfficeScreen::MouseMove(int x, int y)
{
    UiElement::MouseMove(x, y);
    UpdateHover(x, y);
}

void OfficeScreen::OnShow()
{
    if (mApp && mApp->GetMusicManager())
        mApp->GetMusicManager()->PlayMusic("level");
    mHud->Show();
    if (mApp && mApp->mWidgetManager)
        mApp->mWidgetManager->SetFocus(this);
    mEscapeAllowed = true;
}

void OfficeScreen::OnHide()
{
    mHud->Hide();
    mDayRunning = false;
    mEscapeAllowed = false;
    if (mApp && mApp->mWidgetManager)
        mApp->mWidgetManager->SetFocus(nullptr);
}
