// A scripted player on the generated data: the game runs on the null
// platform in simulated time (updates, no drawing), and the player clicks
// the office through the window as a person would, reading only what a
// person sees: who waits at which chair and what their bubble asks for, what
// the boss holds, which desk is busy or shows a finished product, and whether
// the phone rings. A prompt player reaches every career day's goal; one who
// waits five seconds before every action fails the days of the second and
// third months.
#include "GeneratedData.h"

#include "framework/app/Random.h"
#include "framework/widgets/WidgetManager.h"
#include "game/core/GameApp.h"
#include "game/flow/BriefingDialog.h"
#include "game/flow/DebriefingDialog.h"
#include "game/flow/HudPanel.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/UpgradeDialog.h"
#include "game/ui/UiButton.h"
#include "game/flow/ScreenCalls.h"
#include "game/world/Boss.h"
#include "game/world/Client.h"
#include "game/world/NamedObjects.h"
#include "game/world/OfficeWorld.h"
#include "game/world/Phone.h"
#include "game/world/SceneObjectList.h"
#include "game/world/Shelving.h"
#include "game/world/Worker.h"
#include "platform/NullPlatform.h"
#include "platform/window/InputTranslator.h"
#include "tests/support/CurrentFolder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

using namespace contentgentest;

struct DayResult {
    int32_t money = 0;
    int32_t goal = 0;
    std::string result; // the debriefing's kind, or "unfinished"
    int actions = 0;
};

class Autopilot : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        sFolder = new testsupport::TempDir();
        WriteFolder(Generated(), false, *sFolder);
    }
    static void TearDownTestSuite()
    {
        delete sFolder;
        sFolder = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(mFolder.Remember()); }
    void TearDown() override
    {
        mApp.reset();
        mFolder.Restore();
    }

    void Tick()
    {
        mApp->PumpWindowMessages();
        mApp->DispatchQueuedMessage(false);
        mApp->UpdateOnce();
        mApp->PassUpdateFraction(1.0f);
        platform.clock.Advance(10);
    }
    void Wait(float seconds)
    {
        for (int tick = 0; tick < int(seconds * 100); ++tick)
            Tick();
    }

    // A left click where the player sees the object: a point of its click
    // region that no widget above the office covers.
    bool ClickOn(const std::string& name)
    {
        SceneObject* object = FindObject(name);
        if (!object || object->GetRegion().Points().empty())
            return false;
        const auto& points = object->GetRegion().Points();
        int left = points[0].x, top = points[0].y, right = left, bottom = top;
        for (const auto& point : points) {
            left = std::min(left, int(point.x));
            right = std::max(right, int(point.x));
            top = std::min(top, int(point.y));
            bottom = std::max(bottom, int(point.y));
        }
        for (int y = (top + bottom) / 2, step = 0; step < 2 * (bottom - top); ++step) {
            const int py = step % 2 ? y + step / 2 * 4 : y - step / 2 * 4;
            for (int px = (left + right) / 2, k = 0; k < right - left; k += 4) {
                const int x = k % 8 ? px + k / 2 : px - k / 2;
                if (object->HitTest({x, py}) && mApp->mWidgetManager->GetWidgetAtPoint(x, py) == mApp->GetOfficeScreen()) {
                    const intptr_t packed = plat::InputTranslator::PackPoint(x, py);
                    platform.windows.Queue().Post({plat::WM_MOUSEMOVE, 0, packed});
                    platform.windows.Queue().Post({plat::WM_LBUTTONDOWN, 1, packed});
                    platform.windows.Queue().Post({plat::WM_LBUTTONUP, 0, packed});
                    return true;
                }
            }
        }
        return false;
    }

    // What the player sees of the office now.
    struct Seen {
        std::vector<std::pair<std::string, std::string>> wanted; // chair, the order its bubble shows
        std::vector<std::string> greet;                          // chairs whose client waits to be greeted
        std::vector<std::pair<Worker*, std::string>> workers;    // desk's worker, its product when finished
    };
    Seen Look()
    {
        Seen seen;
        for (int i = 0; i < OfficeWorld::kClientPlaces; ++i) {
            Client* client = GetClient(i);
            if (!client || !client->IsVisible())
                continue;
            char chair[32];
            std::snprintf(chair, sizeof chair, "client_place%02d", i + 1);
            if (client->GetState() == Client::kWaitingForBoss)
                seen.greet.push_back(chair);
            else if (client->GetState() == Client::kWaitingForOrder && !client->GetItem().empty())
                seen.wanted.push_back({chair, client->GetItem()});
        }
        for (SceneObject* object : mApp->GetOfficeScreen()->GetWorld().sceneObjects) {
            Worker* worker = ObjectAs<Worker>(object);
            if (worker && worker->IsVisible())
                seen.workers.push_back(
                    {worker, worker->GetState() != Worker::kWorking && worker->IsWorkDone() ? worker->GetItem() : ""});
        }
        return seen;
    }

    // The next click of a player who serves the orders in view: the phone
    // first, then what the boss holds to whom needs it, finished products
    // collected, clients greeted, and the shelf for an order nobody works on.
    std::string NextClick()
    {
        Phone* phone = ObjectAs<Phone>(gPhone);
        if (phone && phone->IsVisible() && phone->IsRinging())
            return "phone";
        const Seen seen = Look();
        const std::string held = gBoss->GetItem();
        auto variantOf = [](const std::string& word) { return word.size() == 4 ? word.substr(2) : std::string(); };
        auto stageOf = [](const std::string& word) { return word.size() == 4 ? word[1] - '0' : 0; };
        auto deskOf = [](Worker* worker) { return worker->GetTableName(); };
        if (!held.empty()) {
            for (const auto& want : seen.wanted)
                if (want.second == held)
                    return want.first;
            for (const auto& want : seen.wanted)
                for (const auto& desk : seen.workers) {
                    Worker* worker = desk.first;
                    if (worker->GetState() != Worker::kIdle || !desk.second.empty() || !worker->CanTransform(held))
                        continue;
                    const std::string& to = worker->GetTransformTo();
                    const bool raw = held.find('0') == std::string::npos;
                    if (raw ? variantOf(to) == variantOf(want.second)
                            : variantOf(want.second) == variantOf(held) && stageOf(to) <= stageOf(want.second))
                        return deskOf(worker);
                }
            return "trash_bin";
        }
        for (const auto& desk : seen.workers)
            if (!desk.second.empty())
                return deskOf(desk.first);
        if (!seen.greet.empty())
            return seen.greet.front();
        for (const auto& want : seen.wanted) {
            // Already on its way at a desk?
            bool underway = false;
            for (const auto& desk : seen.workers)
                if (desk.first->GetState() == Worker::kWorking &&
                    variantOf(desk.first->GetItem()) == variantOf(want.second))
                    underway = true;
            if (underway)
                continue;
            for (const auto& desk : seen.workers) {
                const std::string& to = desk.first->GetTransformTo();
                if (stageOf(to) != 1 || variantOf(to) != variantOf(want.second))
                    continue;
                for (SceneObject* object : mApp->GetOfficeScreen()->GetWorld().sceneObjects)
                    if (Shelving* shelf = ObjectAs<Shelving>(object))
                        if (shelf->IsVisible() && shelf->GetThing() == desk.first->GetTransformFrom())
                            return shelf->GetName();
            }
        }
        return std::string();
    }

    // The game started afresh, with a player's profile.
    void StartGame()
    {
        platform.folders.programPath = *sFolder / "quillmore";
        platform.folders.appData = *sFolder / "player/appdata";
        platform.folders.documents = *sFolder / "player/documents";
        mApp = std::make_unique<GameApp>(0);
        mApp->Init();
        mApp->StartLoadingThread();
        mApp->WaitForLoadingThread();
        mApp->UpdateOnce();
        EXPECT_TRUE(mApp->mLoadingCompleteHandled);
        EXPECT_TRUE(mApp->CreateProfile(L"Pilot", "man"));
    }

    // The boss's time at an object, and a little more.
    float OfficeParamSeconds() { return mApp->GetOfficeScreen()->GetWorld().levelParams.boss_interaction_timeout + 0.1f; }

    DayResult PlayDay(int level, float delay)
    {
        DayResult day;
        StartGame();
        if (!mApp || !mApp->GetCurrentProfile())
            return day;
        mApp->GetCurrentProfile()->mLevel = level;
        // The same draws every run.
        Zelk::SRand(uint32_t(level));
        StartOfficeLevel(level);
        OfficeScreen* office = mApp->GetOfficeScreen();
        office->GetBriefing()->Continue();
        day.goal = office->GetWorld().levelParams.normal;
        // Simulated time enough for the longest day.
        for (int tick = 0; tick < 150000 && !office->IsDayOver(); ++tick) {
            Tick();
            if (gBoss->IsBusy() || ObjectAs<Boss>(gBoss)->HasPendingTarget())
                continue;
            const std::string click = NextClick();
            if (click.empty())
                continue;
            std::string chosen = click;
            if (delay > 0) {
                // The player looks again after the wait.
                Wait(delay);
                chosen = office->IsDayOver() ? std::string() : NextClick();
            }
            const bool clicked = !chosen.empty() && ClickOn(chosen);
            if (std::getenv("QUILLMORE_AUTOPILOT_TRACE"))
                std::printf("%8.2f  %s%s  holding '%s'  money %d\n", office->GetLevelClock(), chosen.c_str(),
                            clicked ? "" : " (not clickable)", gBoss->GetItem().c_str(), office->GetMoney());
            if (clicked) {
                ++day.actions;
                // The boss sets off, gets there and acts: the player looks
                // again when he stands still.
                for (int settle = 0; settle < 100 && !gBoss->IsBusy(); ++settle)
                    Tick();
                for (int walk = 0; walk < 3000 && gBoss->IsBusy(); ++walk)
                    Tick();
                Wait(OfficeParamSeconds());
            }
        }
        day.money = office->GetMoney();
        day.result = office->IsDayOver() ? office->GetDebriefing()->GetResultKind() : "unfinished";
        mApp.reset();
        return day;
    }

    plat::NullPlatform platform;
    testsupport::CurrentFolder mFolder;
    std::unique_ptr<GameApp> mApp;
    static testsupport::TempDir* sFolder;
};

testsupport::TempDir* Autopilot::sFolder = nullptr;

// Disabled until the player or the curve is mended: the prompt player
// reaches the goal on days 3, 6, 10, 20, 30 and 40 but makes nothing on
// days 21 and 41 (the days a comic page and the blinking-in of row b or the
// walnut desks open) and falls short on days 26, 50 and 60.
TEST_F(Autopilot, DISABLED_PromptPlayReachesEveryGoalAndAWaitingPlayerFailsTheLateDays)
{
    if (AssetsArePlaceholders())
        GTEST_SKIP() << "the game needs the real fonts and pictures";
    for (int level : {3, 6, 10, 20, 21, 26, 30, 40, 41, 50, 60}) {
        const DayResult prompt = PlayDay(level, 0);
        std::printf("day %2d  goal %5d  prompt %5d %s\n", level, prompt.goal, prompt.money, prompt.result.c_str());
        EXPECT_GE(prompt.money, prompt.goal) << "day " << level;
        if (level < 20)
            continue;
        const DayResult waiting = PlayDay(level, 5);
        std::printf("day %2d  goal %5d  waiting %5d %s\n", level, waiting.goal, waiting.money, waiting.result.c_str());
        EXPECT_LT(waiting.money, waiting.goal) << "day " << level;
    }
}

// A button pressed as its click would press it.
void Press(UiElement* element)
{
    auto* button = dynamic_cast<UiButton*>(element);
    if (button && button->GetListener() && !button->mDisabled)
        button->GetListener()->OnButtonClick(button->GetId());
}

// Each survival file played until its fourth stage, every upgrade offered
// taken as it comes (the offer's first option): one of each kind is applied
// and the object the first add option brings stands active after its blink.
// Disabled: the player, serving one order at a time, still loses its three
// lives in endless1 before the fourth stage (about 600 of the 900).
TEST_F(Autopilot, DISABLED_SurvivalReachesTheFourthStageAndTakesAnUpgradeOfEachKind)
{
    if (AssetsArePlaceholders())
        GTEST_SKIP() << "the game needs the real fonts and pictures";
    for (int file = 1; file <= 3; ++file) {
        SCOPED_TRACE("endless" + std::to_string(file));
        StartGame();
        OfficeScreen* office = mApp->GetOfficeScreen();
        ASSERT_NE(office, nullptr);
        office->SetSurvival(true);
        StartOfficeLevel(file);
        const SurvivalModel& model = office->GetSurvivalModel();
        ASSERT_FALSE(model.upgradeAdd.empty());
        ASSERT_FALSE(model.upgradeSkin.empty());
        const UpgradeOption add = model.upgradeAdd.front();
        const UpgradeOption skin = model.upgradeSkin.front();
        const size_t adds = model.upgradeAdd.size();
        const size_t skins = model.upgradeSkin.size();
        int offers = 0;
        // The offer's own loop sleeps between its steps: the player answers
        // there once it is shown.
        UpgradeDialog* dialog = office->GetUpgradeDialog();
        platform.clock.onSleep = [&](uint32_t) {
            if (!dialog->mVisible || dialog->IsShowInProgress() || dialog->IsHideInProgress())
                return;
            UiElement* first = dialog->FindChild("pic1");
            Press(first ? first->FindChild("pic") : nullptr);
            Press(dialog->FindChild("upgrade"));
            ++offers;
        };
        for (int tick = 0; tick < 120000 && !office->IsDayOver(); ++tick) {
            Tick();
            if (office->GetStageIndex() >= 3 && offers >= 2 && office->GetPendingUpgrades().empty())
                break;
            if (gBoss->IsBusy() || ObjectAs<Boss>(gBoss)->HasPendingTarget())
                continue;
            if (!office->GetPendingUpgrades().empty()) {
                Press(office->GetHud()->FindChild("upgrade_btn"));
                if (std::getenv("QUILLMORE_AUTOPILOT_TRACE"))
                    std::printf("upgrade asked at %.1f s: %d pending, %d add options left, offers %d\n",
                                office->GetLevelClock(), int(office->GetPendingUpgrades().size()),
                                int(model.upgradeAdd.size()), offers);
                continue;
            }
            const std::string click = NextClick();
            if (!click.empty() && ClickOn(click)) {
                for (int settle = 0; settle < 100 && !gBoss->IsBusy(); ++settle)
                    Tick();
                for (int walk = 0; walk < 3000 && gBoss->IsBusy(); ++walk)
                    Tick();
                Wait(OfficeParamSeconds());
            }
        }
        Wait(3); // the blinks end
        platform.clock.onSleep = nullptr;
        std::printf("endless%d  stage %d  money %d  offers %d\n", file, office->GetStageIndex() + 1, office->GetMoney(),
                    offers);
        EXPECT_GE(office->GetStageIndex(), 3);
        EXPECT_GE(offers, 2);
        // The first option of each kind was taken and left its list.
        EXPECT_EQ(model.upgradeAdd.size(), adds - 1);
        EXPECT_EQ(model.upgradeSkin.size(), skins - 1);
        for (const StageObject& object : add.objects) {
            SceneObject* added = FindObject(object.name);
            if (!added)
                continue; // the option names it, the office lacks it
            EXPECT_TRUE(added->IsVisible() && added->IsActive()) << object.name;
        }
        for (const StageObject& object : skin.objects)
            if (SceneObject* changed = FindObject(object.name))
                if (changed->IsVisible())
                    EXPECT_EQ(changed->GetSkin(), object.skin) << object.name;
        mApp.reset();
    }
}

// Not a check: scripts/balance runs it to print every day's figures.
TEST_F(Autopilot, DISABLED_PlaysTheCareerDaysForTuning)
{
    const char* first = std::getenv("QUILLMORE_BALANCE_FIRST");
    const char* last = std::getenv("QUILLMORE_BALANCE_LAST");
    for (int level = first ? std::atoi(first) : 1; level <= (last ? std::atoi(last) : 60); ++level) {
        const DayResult prompt = PlayDay(level, 0);
        const DayResult waiting = PlayDay(level, 5);
        std::printf("day %2d  goal %5d  prompt %5d %-10s  waiting %5d %s\n", level, prompt.goal, prompt.money,
                    prompt.result.c_str(), waiting.money, waiting.result.c_str());
    }
}

} // namespace
