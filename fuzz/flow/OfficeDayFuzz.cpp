// Any bytes as a career level (cfg\l3.xml) over the content tool's fixture
// office: the level is loaded, its day started and kept running, every
// client of its timeline is brought in at a free place at once, and 300
// ticks run with a seeded generator; every 50 ticks each clickable object is
// clicked at the middle of its click polygon, so the boss, the secretary and
// the engineer walk and act on whatever the level made of the office.
#include "framework/app/Random.h"
#include "fuzz/flow/FixtureGame.h"
#include "game/flow/BriefingDialog.h"
#include "game/flow/OfficeScreen.h"
#include "game/world/Client.h"
#include "game/world/Pickable.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzgame::Game& game = fuzzgame::TheGame("office-day");
    if (chdir(game.folder.c_str()) != 0)
        std::abort();
    {
        std::ofstream out(game.folder + "/cfg/l3.xml", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    Zelk::SRand(uint32_t(size));
    auto* screen = new OfficeScreen(game.app.get(), game.root);
    screen->SetSurvival(false);
    screen->LoadLevel(3);
    screen->StartDay();
    screen->GetBriefing()->Continue();
    screen->SetDayRunning(true);
    const std::vector<TimePoint> clients = screen->GetWorld().levelTimelines.clients;
    for (const TimePoint& client : clients) {
        const int place = FindFreeClientPlace();
        if (place >= 0)
            SpawnClient(client.event, client.vip != 0, place, client.orders);
    }
    for (int tick = 0; tick < 300; ++tick) {
        if (tick % 50 == 0) {
            const std::list<Pickable*> pickables = screen->GetWorld().pickables;
            for (Pickable* object : pickables) {
                const auto& points = object->GetRegion().Points();
                if (points.empty())
                    continue;
                int64_t x = 0, y = 0;
                for (const auto& point : points) {
                    x += point.x;
                    y += point.y;
                }
                screen->Click(int(x / int64_t(points.size())), int(y / int64_t(points.size())));
            }
        }
        screen->Update();
        screen->UpdateF(1.0f);
    }
    delete screen;
    game.app->mWidgetManager->RemoveAllWidgets(false, false);
    if (chdir(game.caller.c_str()) != 0)
        std::abort();
    return 0;
}
