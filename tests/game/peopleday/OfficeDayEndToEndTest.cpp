// A whole office day as the player plays it: the game started on the null
// platform over the fixture office, the boss moved by mouse clicks posted to
// the window's queue, simulated time, and the day scored at its end.
#include "framework/app/Random.h"
#include "framework/app/StringUtil.h"
#include "framework/app/Utf16.h"
#include "framework/widgets/WidgetManager.h"
#include "game/core/GameApp.h"
#include "game/core/HiscoreTables.h"
#include "game/core/StringTable.h"
#include "game/core/PrefStore.h"
#include "game/flow/BriefingDialog.h"
#include "game/flow/DebriefingDialog.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/ScreenCalls.h"
#include "game/flow/TutorialScript.h"
#include "game/world/Boss.h"
#include "game/world/Client.h"
#include "game/world/NamedObjects.h"
#include "game/world/OfficeWorld.h"
#include "game/world/SceneObjectList.h"
#include "game/world/Worker.h"
#include "platform/NullPlatform.h"
#include "platform/window/InputTranslator.h"
#include "tests/framework/graphics/PngFile.h"
#include "tests/support/CurrentFolder.h"
#include "tests/support/TempDir.h"
#include "OfficeHands.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <sys/stat.h>

namespace {

using peopletest::OfficeHands;

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Level 3 of the fixture office as the day plays it: worker04a makes "0101"
// from paper, worker02a turns an "01" product into "0201"; three clients, one
// wanting "0201" (made at both desks), one "0101", one "0101" twice.
std::string DayLevel()
{
    const std::string bytes = ReadFile(std::string(FIXTURE_OFFICE) + "/cfg/l3.xml");
    std::wstring text = Zelk::Utf16LEToWide(reinterpret_cast<const uint8_t*>(bytes.data()) + 2, bytes.size() - 2);
    text = std::regex_replace(text, std::wregex(L"normal=\"\\d+\" expert=\"\\d+\""), L"normal=\"100\" expert=\"1000\"");
    text = std::regex_replace(text, std::wregex(L"name=\"worker02a\" skin=\"w1\" transform_from=\"paper\" transform_to=\"0102\""),
                              L"name=\"worker02a\" skin=\"w1\" transform_from=\"0100\" transform_to=\"0200\"");
    text = std::regex_replace(text, std::wregex(L"<clients_timeline>[\\s\\S]*</clients_timeline>"),
                              L"<clients_timeline>"
                              L"<time_point time=\"0\" event=\"lady\" vip=\"0\"><orders><order name=\"0201\"/></orders></time_point>"
                              L"<time_point time=\"1\" event=\"clerk\" vip=\"0\"><orders><order name=\"0101\"/></orders></time_point>"
                              L"<time_point time=\"3\" event=\"student\" vip=\"0\"><orders><order name=\"0101\"/>"
                              L"<order name=\"0101\"/></orders></time_point>"
                              L"</clients_timeline>");
    return "\xFF\xFE" + Zelk::WideToUtf16LE(text);
}

// What one played day leaves behind.
struct DayRun {
    std::string timeline;          // second, object, state, item, money: one line a change
    std::vector<std::pair<std::string, int32_t>> payments; // client type, money of one served order
    std::vector<int32_t> rush;                             // rush bonus paid, one entry a tick
    std::vector<int32_t> unexplained;                      // money moved by neither
    std::map<std::string, ClientParams> clientParams;      // the rates the office file gave
    std::vector<int32_t> steps;                            // the teaching day's steps as applied
    int32_t lastStep = -1;
    bool patienceFell = false;
    int32_t money = 0;
    std::wstring moneyText; // the HUD's "money" at the end
    std::string result;
    int32_t levelBefore = 0, levelAfter = 0;
    float endClock = 0, lastLeaveClock = -1;
    int32_t hiscore = 0;
    bool prefWritten = false;
    std::vector<uint32_t> picture;
    int width = 0, height = 0;
};

class OfficeDayEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mFolder.Remember());
        std::filesystem::copy(FIXTURE_OFFICE, game.Path(), std::filesystem::copy_options::recursive);
        game.Write("cfg/l3.xml", DayLevel());
    }
    void TearDown() override { mFolder.Restore(); }

    // One tick as the main loop makes it: the window's messages, one update,
    // the smooth step, 10 ms of simulated time.
    void Tick()
    {
        mApp->PumpWindowMessages();
        mApp->DispatchQueuedMessage(false);
        mApp->UpdateOnce();
        mApp->PassUpdateFraction(1.0f);
        platform.clock.Advance(10);
        Record();
    }
    bool TickUntil(const std::function<bool()>& done, int limit) { return mHands.TickUntil(done, limit); }
    std::string Line(const std::string& object, const std::string& what)
    {
        char head[32];
        std::snprintf(head, sizeof head, "%8.2f  ", mApp->GetOfficeScreen()->GetLevelClock());
        return head + object + "  " + what + "  money " + std::to_string(mApp->GetOfficeScreen()->GetMoney()) + "\n";
    }
    // The people's changes since the last tick, and where the tick's money
    // came from: the rush bonus's paid links, and the client that paid.
    void Record()
    {
        OfficeScreen* office = mApp->GetOfficeScreen();
        int32_t rush = 0;
        for (int32_t kind : mAdvances)
            if (kind == 1 && office->GetBonusStages().GetCurrentStage())
                rush += office->GetBonusStages().GetCurrentStage()->bonus;
        mAdvances.clear();
        int32_t rest = office->GetMoney() - mMoney - rush;
        mMoney = office->GetMoney();
        if (rush)
            mRun.rush.push_back(rush);
        std::vector<SceneObject*> people = {gBoss, FindObject("worker02a"), FindObject("worker04a"), GetClient(2),
                                            GetClient(3)};
        for (SceneObject* object : people) {
            if (!object)
                continue;
            int32_t state = 0;
            if (Client* client = ObjectAs<Client>(object)) {
                state = client->GetState();
                if (mStates[object] == Client::kPaying && state != Client::kPaying) {
                    mRun.payments.push_back({client->GetTypeName(), rest});
                    rest = 0;
                }
            } else if (Worker* worker = ObjectAs<Worker>(object)) {
                state = worker->GetState();
            }
            mStates[object] = state;
            const std::string seen = std::to_string(state) + " " + object->GetItem();
            std::string& last = mSeen[object->GetName()];
            if (seen != last) {
                mRun.timeline += Line(object->GetName(), "state " + std::to_string(state) + "  item '" +
                                                             object->GetItem() + "'");
                last = seen;
            }
        }
        if (rest != 0)
            mRun.unexplained.push_back(rest);
        if (gTutorialScript && gTutorialScript->IsActive() && gTutorialScript->GetCurrentStep() != mRun.lastStep) {
            mRun.lastStep = gTutorialScript->GetCurrentStep();
            mRun.steps.push_back(mRun.lastStep);
            mRun.timeline += Line("tutorial", "step " + std::to_string(mRun.lastStep));
        }
        for (int place : {2, 3})
            if (Client* client = GetClient(place)) {
                auto found = mPatience.find(client);
                const bool present = client->GetState() >= Client::kWaitingForBoss && client->GetState() <= Client::kPaying;
                if (present && found != mPatience.end() && client->GetPatience() < found->second) {
                    mRun.patienceFell = true;
                    mRun.timeline += Line(client->GetName(), "patience " + std::to_string(found->second) + " to " +
                                                                 std::to_string(client->GetPatience()));
                }
                if (present)
                    mPatience[client] = client->GetPatience();
                else
                    mPatience.erase(client);
            }
        if (rush)
            mRun.timeline += Line("rush", "+" + std::to_string(rush));
    }

    // The client at the place served to the end.
    void Serve(int place)
    {
        mHands.Serve(place);
        mRun.lastLeaveClock = mApp->GetOfficeScreen()->GetLevelClock();
    }

    DayRun PlayDay(const std::string& user, int level = 3, int clients = 3)
    {
        mRun = DayRun();
        mSeen.clear();
        mStates.clear();
        mPatience.clear();
        mAdvances.clear();
        mMoney = 0;
        platform.folders.programPath = game / "quillmore";
        platform.folders.appData = game / (user + "/appdata");
        platform.folders.documents = game / (user + "/documents");
        mApp = std::make_unique<GameApp>(0);
        mApp->Init();
        mApp->StartLoadingThread();
        mApp->WaitForLoadingThread();
        mApp->UpdateOnce();
        EXPECT_TRUE(mApp->mLoadingCompleteHandled);
        EXPECT_TRUE(mApp->CreateProfile(L"Ada", "man"));
        mApp->GetCurrentProfile()->mLevel = level;
        EXPECT_TRUE(mApp->SavePrefs());
        std::string prefPath;
        EXPECT_TRUE(GetPrefsPath(prefPath));
        const std::string prefBefore = ReadFile(prefPath);
        mRun.levelBefore = mApp->GetCurrentProfile()->mLevel;
        // Earlier players' days: the career table's last place is within reach.
        HiscoreEntry* table = mApp->GetHiscoreTables()->GetTable(false);
        table[HiscoreTables::kPlaces - 1].mScore = 100;
        Zelk::SRand(11);
        StartOfficeLevel(level);
        OfficeScreen* office = mApp->GetOfficeScreen();
        office->GetBonusStages().SetObserver([this](int32_t kind, SceneObject*) { mAdvances.push_back(kind); });
        if (level == 1) {
            // The first day opens with its comic, whose layout the fixture
            // does not have: the comic's end begins the day.
            office->GetBriefing()->Continue();
        } else {
            // The day begins when the player clicks the briefing's
            // "continue", once the dialog has come to rest under it.
            UiElement* proceed = office->GetBriefing()->FindChild("continue");
            EXPECT_NE(proceed, nullptr);
            if (!proceed)
                return mRun;
            auto middle = [proceed] {
                const Zelk::Point at = proceed->GetScreenPos();
                return Zelk::Point{at.mX + proceed->mWidth / 2, at.mY + proceed->mHeight / 2};
            };
            EXPECT_TRUE(TickUntil([&] {
                const Zelk::Point at = middle();
                return mApp->mWidgetManager->GetWidgetAtPoint(at.mX, at.mY) == proceed;
            }, 500));
            EXPECT_FALSE(office->IsDayRunning());
            mHands.Press(middle());
            EXPECT_TRUE(TickUntil([&] { return office->IsDayRunning(); }, 10));
            mRun.timeline += Line("click", "continue");
        }
        EXPECT_TRUE(office->IsDayRunning());
        Tick();

        // The clients in the order they come: each served to the end before
        // the next is greeted.
        for (int served = 0; served < clients && !HasFatalFailure(); ++served) {
            const int place = mHands.NextWaitingClient(3000);
            EXPECT_GE(place, 0) << served;
            if (place < 0)
                break;
            Serve(place);
            if (served == 0) {
                // Mid-day: the first client gone, the next ones waiting.
                mApp->Draw();
                mRun.picture = platform.windows.LastFrame(mRun.width, mRun.height);
            }
        }
        EXPECT_TRUE(TickUntil([&] { return office->IsDayOver(); }, 1000));
        mRun.endClock = office->GetLevelClock();
        mRun.money = office->GetMoney();
        mRun.moneyText = mApp->GetStringTable()->Get("money");
        mRun.clientParams = office->GetWorld().clientParams;
        mRun.result = office->GetDebriefing()->GetResultKind();
        mRun.levelAfter = mApp->GetCurrentProfile()->mLevel;
        for (int i = 0; i < HiscoreTables::kPlaces; ++i)
            if (table[i].mName == L"Ada")
                mRun.hiscore = table[i].mScore;
        mRun.prefWritten = ReadFile(prefPath) != prefBefore;
        mRun.timeline += Line("day", "over: " + mRun.result);
        mkdir(OFFICE_DAY_FOLDER, 0755);
        std::ofstream(std::string(OFFICE_DAY_FOLDER) + "/timeline_" + user + ".txt") << mRun.timeline;
        mApp.reset();
        return mRun;
    }

    plat::NullPlatform platform;
    testsupport::TempDir game;
    testsupport::CurrentFolder mFolder;
    std::unique_ptr<GameApp> mApp;
    DayRun mRun;
    std::map<std::string, std::string> mSeen;
    std::map<SceneObject*, int32_t> mStates;
    std::map<Client*, float> mPatience;
    std::vector<int32_t> mAdvances;
    int32_t mMoney = 0;
    OfficeHands mHands{platform, [this] { Tick(); }, [this](const std::string& what) {
                           mRun.timeline += Line("click", what);
                       }};
};

TEST_F(OfficeDayEndToEnd, ThreeClientsServedByClicksMakeAGoalDay)
{
    const DayRun first = PlayDay("first");
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_GT(first.width, 0);
    EXPECT_TRUE(Zelk::test::WritePng(std::string(OFFICE_DAY_FOLDER) + "/office_mid_day.png", first.width,
                                     first.height, first.picture));
    // The frame as it was looked at once: the plain floor under the HUD's
    // bar, the office's plain-colour furniture, both desks with their workers
    // and meters, and the boss down at the counters after the first sale.
    const std::string golden = std::string(ZELK_FIXTURES) + "/office_day/office_mid_day.png";
    const char* update = std::getenv("ZELK_UPDATE_GOLDENS");
    if (update && std::string(update) == "1") {
        EXPECT_TRUE(Zelk::test::WritePng(golden, first.width, first.height, first.picture));
    } else {
        int width = 0, height = 0;
        std::vector<uint32_t> want;
        ASSERT_TRUE(Zelk::test::ReadPng(golden, width, height, want)) << golden;
        EXPECT_EQ(width, first.width);
        EXPECT_EQ(height, first.height);
        EXPECT_TRUE(want == first.picture) << "the mid-day frame differs from " << golden;
    }

    // Four orders paid at their client's rates; with the rush bonus that is
    // all the money of the day.
    ASSERT_EQ(first.payments.size(), 4u);
    int32_t paid = 0;
    for (const auto& payment : first.payments) {
        ASSERT_TRUE(first.clientParams.count(payment.first)) << payment.first;
        const ClientParams& params = first.clientParams.at(payment.first);
        std::set<int32_t> rates;
        for (float rate : {params.client_money_g, params.client_money_y, params.client_money_r})
            for (float service : {0.0f, params.client_service_effect})
                rates.insert(int32_t(rate) + int32_t(service));
        EXPECT_TRUE(rates.count(payment.second)) << payment.first << " paid " << payment.second;
        paid += payment.second;
    }
    EXPECT_FALSE(first.rush.empty());
    for (int32_t bonus : first.rush)
        paid += bonus;
    EXPECT_TRUE(first.unexplained.empty());
    EXPECT_EQ(first.money, paid);
    EXPECT_EQ(first.moneyText, std::to_wstring(paid));
    // Scored 2.0 s after the last client left: the countdown starts in the
    // tick after the place is seen free and scores in the tick it falls
    // below zero.
    EXPECT_NEAR(first.endClock - first.lastLeaveClock, 2.02f, 0.005f);
    EXPECT_EQ(first.result, "goal");
    EXPECT_EQ(first.levelBefore, 3);
    EXPECT_EQ(first.levelAfter, 4);
    EXPECT_EQ(first.hiscore, first.money);
    EXPECT_TRUE(first.prefWritten);

    const DayRun second = PlayDay("second");
    EXPECT_EQ(second.timeline, first.timeline);
    EXPECT_EQ(second.picture, first.picture);
}

// The first teaching day played by the same clicks: every step of its table
// up to the seventeenth comes from the game's own events, and while it
// teaches no client loses patience.
TEST_F(OfficeDayEndToEnd, TheFirstTeachingDayWalksItsTableByRealEvents)
{
    const DayRun day = PlayDay("teaching", 1, 4);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_FALSE(day.patienceFell);
    ASSERT_FALSE(day.steps.empty());
    for (int32_t step = 1; step <= 17; ++step)
        EXPECT_TRUE(std::find(day.steps.begin(), day.steps.end(), step) != day.steps.end()) << "step " << step;
    for (size_t i = 1; i < day.steps.size(); ++i)
        EXPECT_GT(day.steps[i], day.steps[i - 1]);
}

} // namespace
