// Any bytes as a level over the content tool's fixture office: the first
// byte chooses (odd: cfg\l3.xml, else cfg\endless1.xml), the rest is the
// file. The level is loaded and its day started; then 3,000 ticks
// run with a seeded generator, the money stepping up every 50 ticks (a
// survival day through its stages), with the briefing closed, a life lost
// now and then, and the mouse moved and clicked at random places.
#include "framework/app/Random.h"
#include "framework/widgets/WidgetManager.h"
#include "fuzz/flow/FixtureGame.h"
#include "game/flow/BriefingDialog.h"
#include "game/flow/HudPanel.h"
#include "game/flow/OfficeScreen.h"

#include <cstdlib>
#include <fstream>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzgame::Game& game = fuzzgame::TheGame("level-day");
    // The game reads its files from its folder; the fuzzer writes its own
    // relative to where it started.
    if (chdir(game.folder.c_str()) != 0)
        std::abort();
    const bool career = size > 0 && (data[0] & 1);
    {
        std::ofstream out(game.folder + (career ? "/cfg/l3.xml" : "/cfg/endless1.xml"),
                          std::ios::binary | std::ios::trunc);
        if (size > 1)
            out.write(reinterpret_cast<const char*>(data + 1), std::streamsize(size - 1));
    }
    Zelk::SRand(size);
    auto* screen = new OfficeScreen(game.app.get(), game.root);
    screen->SetSurvival(!career);
    screen->LoadLevel(career ? 3 : 1);
    screen->StartDay();
    for (int tick = 0; tick < 3000; ++tick) {
        if (tick == 10)
            screen->GetBriefing()->Continue();
        if (tick % 50 == 49)
            OfficeScreen::AddMoney(tick * 7);
        if (tick % 700 == 699)
            screen->LoseLife();
        if (tick % 37 == 0) {
            const int x = Zelk::Rand() % 800, y = Zelk::Rand() % 600;
            screen->MouseMove(x, y);
            screen->MouseButtonDown(x, y, 0, 1);
        }
        screen->Update();
        screen->UpdateF(1.0f);
        screen->GetHud()->Update();
    }
    delete screen;
    game.app->mWidgetManager->RemoveAllWidgets(false, false);
    if (chdir(game.caller.c_str()) != 0)
        std::abort();
    return 0;
}
