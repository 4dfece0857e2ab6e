// A scripted player on the generated data: the game runs on the null
// platform in simulated time (updates, no drawing), and the player clicks
// the office through the window as a person would, reading only what a
// person sees: who waits at which chair and what their bubble asks for, what
// the boss holds, which desk is busy or shows a finished product, and whether
// the phone rings. A prompt player reaches every career day's goal; one who
// waits five seconds before every action fails from the first month's last
// day on.
#include "GeneratedData.h"

#include "framework/app/Random.h"
#include "framework/widgets/WidgetManager.h"
#include "game/core/GameApp.h"
#include "game/flow/BriefingDialog.h"
#include "game/flow/ComicDialog.h"
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

// A button pressed as its click would press it.
void Press(UiElement* element)
{
    auto* button = dynamic_cast<UiButton*>(element);
    if (button && button->GetListener() && !button->mDisabled)
        button->GetListener()->OnButtonClick(button->GetId());
}

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

    // What the player sees of the office now: who waits at which chair, how
    // patient (its meter) and for what (its bubble), and the desks.
    struct Chair {
        std::string name;
        std::string wants; // empty while the client waits to be greeted
        float patience = 0;
    };
    struct Seen {
        std::vector<Chair> greet, waiting; // the least patient first
        std::vector<Worker*> workers;
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
                seen.greet.push_back({chair, std::string(), client->GetPatience()});
            else if (client->GetState() == Client::kWaitingForOrder && !client->GetItem().empty())
                seen.waiting.push_back({chair, client->GetItem(), client->GetPatience()});
        }
        auto leastPatient = [](const Chair& a, const Chair& b) { return a.patience < b.patience; };
        std::stable_sort(seen.greet.begin(), seen.greet.end(), leastPatient);
        std::stable_sort(seen.waiting.begin(), seen.waiting.end(), leastPatient);
        for (SceneObject* object : mApp->GetOfficeScreen()->GetWorld().sceneObjects)
            if (Worker* worker = ObjectAs<Worker>(object); worker && worker->IsVisible())
                seen.workers.push_back(worker);
        return seen;
    }

    // Order words: "0" stage variant ("0203" is stage 2 of variant 03);
    // shelf things ("paper") have neither.
    static std::string VariantOf(const std::string& word) { return word.size() == 4 ? word.substr(2) : std::string(); }
    static int StageOf(const std::string& word) { return word.size() == 4 ? word[1] - '0' : 0; }
    // What a desk makes of a thing, as its plate shows: a shelf thing
    // becomes its product, a product the desk's stage of the same variant.
    static std::string Makes(Worker* worker, const std::string& thing)
    {
        const std::string to = worker->GetTransformTo();
        return thing.find('0') == std::string::npos ? to : to.substr(0, 2) + thing.substr(2);
    }
    // A desk finished and waiting for its product to be collected.
    static bool ShowsProduct(Worker* worker) { return worker->GetState() == Worker::kIdle && worker->IsWorkDone(); }
    static bool IsFree(Worker* worker) { return worker->GetState() == Worker::kIdle && !worker->IsWorkDone(); }
    // The thing brings the order a step nearer at this desk.
    static bool Serves(Worker* worker, const std::string& thing, const std::string& order)
    {
        if (!worker->CanTransform(thing))
            return false;
        const std::string made = Makes(worker, thing);
        return VariantOf(made) == VariantOf(order) && StageOf(made) <= StageOf(order);
    }

    // The next click of a player who serves the orders in view, the least
    // patient clients first: the phone, then what the boss holds to whom or
    // where it is wanted, finished orders collected, clients greeted,
    // sleepers woken, finished parts carried on, and the shelf for an order
    // nothing is under way for. Empty: nothing to do now.
    std::string NextClick()
    {
        Phone* phone = ObjectAs<Phone>(gPhone);
        if (phone && phone->IsVisible() && phone->IsRinging())
            return "phone";
        const Seen seen = Look();
        const std::string held = gBoss->GetItem();
        if (!held.empty()) {
            for (const Chair& chair : seen.waiting)
                if (chair.wants == held)
                    return chair.name;
            bool deskBusy = false;
            for (const Chair& chair : seen.waiting)
                for (Worker* worker : seen.workers) {
                    if (!Serves(worker, held, chair.wants))
                        continue;
                    // A desk whose worker asks for a break is kept at work
                    // with a click.
                    if (IsFree(worker) || worker->GetState() == Worker::kWantsBreak)
                        return worker->GetTableName();
                    deskBusy = deskBusy || worker->GetState() == Worker::kWorking;
                }
            // Wait by a desk that is still at work on something else.
            return deskBusy ? std::string() : "trash_bin";
        }
        // What is under way at the desks, matched to the orders it will
        // meet (the least patient first): the rest need a shelf trip.
        std::vector<std::string> underway;
        for (Worker* worker : seen.workers) {
            if (ShowsProduct(worker))
                underway.push_back(worker->GetItem());
            else if (worker->GetState() == Worker::kWorking || worker->GetState() == Worker::kAsleep)
                if (!worker->GetItem().empty())
                    underway.push_back(Makes(worker, worker->GetItem()));
        }
        std::vector<const Chair*> uncovered;
        for (const Chair& chair : seen.waiting) {
            auto best = underway.end();
            for (auto it = underway.begin(); it != underway.end(); ++it)
                if (VariantOf(*it) == VariantOf(chair.wants) && StageOf(*it) <= StageOf(chair.wants) &&
                    (best == underway.end() || StageOf(*it) > StageOf(*best)))
                    best = it;
            if (best != underway.end())
                underway.erase(best);
            else
                uncovered.push_back(&chair);
        }
        for (const Chair& chair : seen.waiting)
            for (Worker* worker : seen.workers)
                if (ShowsProduct(worker) && worker->GetItem() == chair.wants)
                    return worker->GetTableName();
        if (!seen.greet.empty())
            return seen.greet.front().name;
        for (Worker* worker : seen.workers)
            if (worker->GetState() == Worker::kAsleep)
                return worker->GetTableName();
        // A finished part goes on once a desk for its next step is free.
        for (Worker* worker : seen.workers) {
            if (!ShowsProduct(worker))
                continue;
            for (const Chair& chair : seen.waiting)
                for (Worker* next : seen.workers)
                    if (next != worker && Serves(next, worker->GetItem(), chair.wants) && IsFree(next))
                        return worker->GetTableName();
        }
        for (const Chair* chair : uncovered)
            for (Worker* worker : seen.workers) {
                if (!IsFree(worker) && worker->GetState() != Worker::kWantsBreak)
                    continue;
                for (SceneObject* object : mApp->GetOfficeScreen()->GetWorld().sceneObjects)
                    if (Shelving* shelf = ObjectAs<Shelving>(object))
                        if (shelf->IsVisible() && Serves(worker, shelf->GetThing(), chair->wants))
                            return IsFree(worker) ? shelf->GetName() : worker->GetTableName();
            }
        // A product nobody wants any more keeps its desk from work.
        for (Worker* worker : seen.workers)
            if (ShowsProduct(worker))
                return worker->GetTableName();
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

    // A click on the object, followed until the boss has set off, got there
    // and acted, and a prompt player's glance after it. False when nothing
    // of the object could be clicked. QUILLMORE_AUTOPILOT_TRACE prints each
    // click with what the player sees after it.
    bool Act(const std::string& name)
    {
        if (name.empty())
            return false;
        OfficeScreen* office = mApp->GetOfficeScreen();
        const float at = office->GetLevelClock();
        const std::string held = gBoss->GetItem();
        const int32_t money = office->GetMoney();
        const bool clicked = ClickOn(name);
        if (clicked) {
            for (int settle = 0; settle < 100 && !gBoss->IsBusy(); ++settle)
                Tick();
            for (int walk = 0; walk < 3000 && gBoss->IsBusy(); ++walk)
                Tick();
            Wait(0.25f);
        }
        if (std::getenv("QUILLMORE_AUTOPILOT_TRACE")) {
            std::printf("%8.2f  %s%s  holding '%s'  money %d  lives %d |", at, name.c_str(),
                        clicked ? "" : " (not clickable)", held.c_str(), money, office->GetLives());
            const Seen seen = Look();
            for (const Chair& chair : seen.greet)
                std::printf(" %s:hi:%.0f", chair.name.substr(12).c_str(), chair.patience);
            for (const Chair& chair : seen.waiting)
                std::printf(" %s:%s:%.0f", chair.name.substr(12).c_str(), chair.wants.c_str(), chair.patience);
            std::printf(" |");
            for (Worker* worker : seen.workers)
                std::printf(" %s:%d:%s:%.0f", worker->GetName().substr(6).c_str(), worker->GetState(),
                            worker->GetItem().c_str(), worker->GetStamina());
            std::printf("\n");
        }
        return clicked;
    }

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
        // A comic page opens days 21 and 41: the player turns it to the
        // briefing and goes on from there.
        if (ComicDialog* comic = office->GetComic(); comic && comic->mVisible)
            Press(comic->GetPageButton(comic->GetCurrentPage() + 1));
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
            if (Act(chosen))
                ++day.actions;
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

// A sample of career days, each its own case: a prompt player reaches the
// goal; from the month's last day on, one who waits 5 s before every action
// misses it.
class AutopilotDay : public Autopilot, public ::testing::WithParamInterface<int> {};

TEST_P(AutopilotDay, PromptPlayReachesTheGoalAndAWaitingPlayerFailsFromDayTwenty)
{
    if (AssetsArePlaceholders())
        GTEST_SKIP() << "the game needs the real fonts and pictures";
    const int level = GetParam();
    const DayResult prompt = PlayDay(level, 0);
    std::printf("day %2d  goal %5d  prompt %5d %s\n", level, prompt.goal, prompt.money, prompt.result.c_str());
    EXPECT_GE(prompt.money, prompt.goal);
    if (level < 20)
        return;
    const DayResult waiting = PlayDay(level, 5);
    std::printf("day %2d  goal %5d  waiting %5d %s\n", level, waiting.goal, waiting.money, waiting.result.c_str());
    EXPECT_LT(waiting.money, waiting.goal);
}

INSTANTIATE_TEST_SUITE_P(Career, AutopilotDay, ::testing::Values(3, 6, 10, 20, 21, 26, 30, 40, 41, 50, 60),
                         [](const ::testing::TestParamInfo<int>& info) { return "Day" + std::to_string(info.param); });

// Each survival file played until its fourth stage, every upgrade offered
// taken as it comes (the offer's first option): one of each kind is applied
// and the object the first add option brings stands active after its blink.
TEST_F(Autopilot, SurvivalReachesTheFourthStageAndTakesAnUpgradeOfEachKind)
{
    if (AssetsArePlaceholders())
        GTEST_SKIP() << "the game needs the real fonts and pictures";
    for (int file = 1; file <= 3; ++file) {
        SCOPED_TRACE("endless" + std::to_string(file));
        StartGame();
        OfficeScreen* office = mApp->GetOfficeScreen();
        ASSERT_NE(office, nullptr);
        office->SetSurvival(true);
        // The same draws every run.
        Zelk::SRand(uint32_t(file));
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
            if (office->GetLives() < 1)
                break; // the day ends: the player has lost
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
            Act(NextClick());
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
        for (const StageObject& object : skin.objects) {
            SceneObject* changed = FindObject(object.name);
            if (changed && changed->IsVisible()) {
                EXPECT_EQ(changed->GetSkin(), object.skin) << object.name;
            }
        }
        mApp.reset();
    }
}

// Not a check: scripts/balance runs it to print every day's figures.
TEST_F(Autopilot, DISABLED_PlaysTheCareerDaysForTuning)
{
    const char* first = std::getenv("QUILLMORE_BALANCE_FIRST");
    const char* last = std::getenv("QUILLMORE_BALANCE_LAST");
    for (int level = first ? std::atoi(first) : 3; level <= (last ? std::atoi(last) : 60); ++level) {
        const DayResult prompt = PlayDay(level, 0);
        const DayResult waiting = PlayDay(level, 5);
        std::printf("day %2d  goal %5d  prompt %5d %-10s  waiting %5d %s\n", level, prompt.goal, prompt.money,
                    prompt.result.c_str(), waiting.money, waiting.result.c_str());
    }
}

} // namespace
