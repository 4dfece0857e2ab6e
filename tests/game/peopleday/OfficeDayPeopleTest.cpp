// The boss serving a client in the real office screen over the fixture
// office: clicks go through the screen's dispatch, the boss walks the
// fixture's walk graph, the worker makes the product and the client pays
// into the day's money.
#include "game/flow/BriefingDialog.h"
#include "game/world/Boss.h"
#include "game/world/Client.h"
#include "game/world/SceneObjectList.h"
#include "game/world/Worker.h"
#include "tests/game/flow/DayFixture.h"

#include "framework/app/StringUtil.h"
#include "framework/app/Utf16.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <regex>

namespace daytest {
namespace {

class OfficeDayPeopleTest : public DayTest {
protected:
    void SetUp() override
    {
        DayTest::SetUp();
        // Level 3 with its one timeline record far away: nobody comes by
        // the clock.
        std::ifstream in(std::string(FIXTURE_OFFICE) + "/cfg/l3.xml", std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_GT(bytes.size(), 2u);
        std::wstring text = Zelk::Utf16LEToWide(reinterpret_cast<const uint8_t*>(bytes.data()) + 2, bytes.size() - 2);
        text = text.substr(text.find(L"<level"));
        text = std::regex_replace(text, std::wregex(L"<clients_timeline>[\\s\\S]*</clients_timeline>"),
                                  L"<clients_timeline><time_point time=\"100000\" event=\"student\" vip=\"0\">"
                                  L"<orders><order name=\"0102\"/></orders></time_point></clients_timeline>");
        WriteLevel("cfg/l3.xml", Zelk::WStringToString(text));
        MakeScreen();
        screen->SetSurvival(false);
        screen->LoadLevel(3);
        screen->StartDay();
        screen->GetBriefing()->Continue();
        screen->SetDayRunning(true);
        Zelk::SRand(7);
        LevelParams& params = screen->GetWorld().levelParams;
        params.patience_g_level = 60;
        params.patience_y_level = 30;
        params.patience_r_level = 10;
        params.service_timeout = 20;
        params.boss_move_speed = 200;
        ClientParams& student = screen->GetWorld().clientParams["student"];
        student.client_patience_speed = 0.01f;
        student.client_decision_timeout = 2;
        student.client_money_g = 100;
        student.client_money_y = 60;
        student.client_money_r = 30;
        student.client_scandal_level = 0;
        WorkerParams& w1 = screen->GetWorld().workerParams["w1"];
        w1.worker_work_time_g = 2;
        w1.worker_work_time_y = 4;
        w1.worker_work_time_r = 8;
        w1.worker_stamina_down_speed = 1;
    }
    void Tick()
    {
        screen->Update();
        screen->UpdateF(1.0f);
    }
    // Ticks until the condition holds; false after the limit.
    bool TickUntil(const std::function<bool()>& done, int limit = 3000)
    {
        for (int tick = 0; tick < limit; ++tick) {
            if (done())
                return true;
            Tick();
        }
        return done();
    }
    void ClickAt(const std::string& name)
    {
        SceneObject* object = FindObject(name);
        ASSERT_NE(object, nullptr) << name;
        const auto& points = object->GetRegion().Points();
        ASSERT_FALSE(points.empty()) << name;
        int x = 0, y = 0;
        for (const auto& point : points) {
            x += point.x;
            y += point.y;
        }
        screen->Click(x / int(points.size()), y / int(points.size()));
    }
};

TEST_F(OfficeDayPeopleTest, TheBossServesAClientThroughShelvingAndWorker)
{
    Boss* boss = ObjectAs<Boss>(gBoss);
    Client* client = ObjectAs<Client>(FindObject("client03"));
    Worker* worker = ObjectAs<Worker>(FindObject("worker02a"));
    ASSERT_TRUE(boss && client && worker);
    EXPECT_EQ(worker->GetTransformTo(), "0102");
    ASSERT_TRUE(SpawnClient("student", false, 2, {"0102"}));
    Tick();
    EXPECT_EQ(client->GetState(), Client::kWaitingForBoss);
    EXPECT_TRUE(client->IsVisible());

    ClickAt("client_place03");
    ASSERT_TRUE(TickUntil([&] { return client->GetState() == Client::kDeciding; }));
    ASSERT_TRUE(TickUntil([&] { return client->GetState() == Client::kWaitingForOrder; }));
    EXPECT_EQ(client->GetItem(), "0102");

    ClickAt("shelving01");
    ASSERT_TRUE(TickUntil([&] { return boss->GetItem() == "paper"; }));
    ClickAt("table02a");
    ASSERT_TRUE(TickUntil([&] { return worker->GetState() == Worker::kWorking; }));
    EXPECT_EQ(boss->GetItem(), "");
    ASSERT_TRUE(TickUntil([&] { return worker->GetItem() == "0102" && worker->GetState() == Worker::kIdle; }));
    ClickAt("table02a");
    ASSERT_TRUE(TickUntil([&] { return boss->GetItem() == "0102"; }));
    const int32_t before = screen->GetMoney();
    ClickAt("client_place03");
    ASSERT_TRUE(TickUntil([&] { return client->GetState() == Client::kPlaceFree; }));
    EXPECT_EQ(boss->GetItem(), "");
    EXPECT_GE(screen->GetMoney() - before, 100);
}

TEST_F(OfficeDayPeopleTest, ASecondOfficeSeesNoneOfTheFirstOnesPeople)
{
    ASSERT_TRUE(SpawnClient("student", false, 2, {"0102"}));
    Ticks(10);
    Client* first = GetClient(2);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetState(), Client::kWaitingForBoss);
    DeleteScreen();
    MakeScreen();
    screen->SetSurvival(false);
    screen->LoadLevel(3);
    screen->StartDay();
    Client* second = GetClient(2);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetState(), Client::kPlaceFree);
    EXPECT_FALSE(second->IsVisible());
    EXPECT_EQ(FindClientByName("client03_hp"), second);
    EXPECT_EQ(screen->GetWorld().workers.size(), 2u);
    EXPECT_EQ(FindWorkerByNamePrefix("worker02a_hp"), ObjectAs<Worker>(FindObject("worker02a")));
}

} // namespace
} // namespace daytest
