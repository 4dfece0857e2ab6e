// A first player on the generated data, through the window only: a profile,
// the first career day's start and its teaching steps up to the first
// payment, back to the menu, a survival stage, and the way out.
#include "GeneratedData.h"

#include "game/core/StringTable.h"
#include "game/flow/BriefingDialog.h"
#include "game/flow/CareerScreen.h"
#include "game/flow/ComicDialog.h"
#include "game/flow/EscapeMenu.h"
#include "game/flow/HudPanel.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/SurvivalScreen.h"
#include "game/ui/UiBar.h"
#include "game/ui/UiButton.h"
#include "game/world/Client.h"
#include "game/world/ItemBonus.h"
#include "game/world/NamedObjects.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeWorld.h"
#include "tests/game/screens/ProgramPlayer.h"

#include <algorithm>
#include <climits>
#include <cwctype>
#include <gtest/gtest.h>

namespace {

class ContentSmoke : public playtest::ProgramPlayer {
protected:
    // The hint the teaching rules show, whole and still.
    bool HintShown(HudPanel* hud, int id)
    {
        return hud->IsHintShown(id) && Settled(Find(hud, "tutorial" + std::to_string(id)));
    }

    // The text of a cash pop-up the player sees now, or empty.
    static std::wstring CashPopup()
    {
        auto* pool = ObjectAs<ItemBonus>(gBonus);
        if (!pool || !pool->IsVisible())
            return std::wstring();
        for (int n = 0; ObjectPart* part = pool->FindPart("cash", n); ++n)
            if (part->IsVisible())
                return part->GetText();
        return std::wstring();
    }

    // A client sits at a place, waiting to be greeted.
    static bool ClientWaits()
    {
        for (int place = 0; place < OfficeWorld::kClientPlaces; ++place)
            if (Client* client = GetClient(place))
                if (client->IsVisible() && client->GetState() == Client::kWaitingForBoss)
                    return true;
        return false;
    }

    // The "money" text the HUD shows, as a number (-1: not one).
    int32_t MoneyText()
    {
        const std::wstring text = app->GetStringTable()->Get("money");
        if (text.empty() || !std::all_of(text.begin(), text.end(), [](wchar_t c) { return std::iswdigit(c); }))
            return -1;
        return int32_t(std::min<long long>(std::stoll(text), INT_MAX));
    }

    // Escape, the escape menu's "quit" and "yes": the main panel again.
    void QuitTheDay(OfficeScreen* office)
    {
        Key(EscapeMenu::kEscapeKey);
        EscapeMenu* escape = office->GetEscapeMenu();
        ASSERT_TRUE(Until([&] { return escape->IsOpen(); }, 100)) << "escape opened no menu";
        EXPECT_FALSE(office->IsDayRunning());
        Click(escape, "quit");
        Answer("btn_yes");
        ASSERT_TRUE(Until([&] { return Shown(Find(app->mMainMenu, "main_menu_dlg/survival")); }, 2000));
        EXPECT_FALSE(app->mWidgetManager->HasWidget(office));
    }
};

TEST_F(ContentSmoke, AFreshPlayerReachesTheFirstPaymentAndASurvivalStage)
{
    ASSERT_FALSE(ReadPrefs().exists);
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_NO_FATAL_FAILURE(PassTheSplash());
    ASSERT_NO_FATAL_FAILURE(CreateProfile(L"Tester"));
    MainMenu* menu = app->mMainMenu;
    ASSERT_EQ(app->GetCurrentProfile()->mName, L"Tester");

    // Career, day 1, behind the loading screen: the clock runs at least its
    // minimum while the player sees it (from the start of the first sleep it
    // is seen at to the end of the last).
    uint32_t loadingFrom = UINT32_MAX, loadingTo = 0;
    program->Watch([&](uint32_t slept) {
        LoadingScreen* loading = gGameApp->mLoadingScreen;
        if (!loading || !loading->mVisible)
            return;
        const uint32_t now = platform.clock.NowMs();
        loadingFrom = std::min(loadingFrom, now - slept);
        loadingTo = std::max(loadingTo, now);
    });
    Click(menu, "main_menu_dlg/career");
    CareerScreen* career = app->mCareerScreen;
    ASSERT_TRUE(Until([&] { return Shown(Find(career, "start")); }, 2000));
    EXPECT_EQ(career->GetSelectedLevel(), 1);
    Click(career, "start");

    // The comic's pages 1 and 2, then the briefing, and the day runs.
    OfficeScreen* office = app->GetOfficeScreen();
    ComicDialog* comic = office->GetComic();
    ASSERT_TRUE(Until([&] { return Shown(comic->GetPageButton(1)); }, 3000));
    program->Watch(nullptr);
    ASSERT_GT(loadingTo, 0u) << "no loading screen seen";
    EXPECT_GE(loadingTo - loadingFrom, LoadingScreen::kMinimumMs);
    EXPECT_EQ(office->GetLevel(), 1);
    EXPECT_FALSE(office->IsSurvival());
    EXPECT_TRUE(Settled(comic->GetPage(1)));
    ClickAt(comic->GetPageButton(1));
    ASSERT_TRUE(Until([&] { return Settled(comic->GetPage(2)) && Shown(comic->GetPageButton(2)); }, 2000));
    EXPECT_FALSE(comic->GetPage(1)->mVisible);
    ClickAt(comic->GetPageButton(2));
    BriefingDialog* briefing = office->GetBriefing();
    ASSERT_TRUE(Until([&] { return Shown(Find(briefing, "continue")) && !comic->mVisible; }, 2000));
    EXPECT_FALSE(office->IsDayRunning());
    Click(briefing, "continue");
    ASSERT_TRUE(Until([&] { return office->IsDayRunning(); }, 500));

    // The teaching steps, each click once its hint is up.
    HudPanel* hud = office->GetHud();
    UiBar* bar = hud->GetBar();
    ASSERT_NE(bar, nullptr);
    const int barBefore = bar->GetValue();
    EXPECT_EQ(office->GetMoney(), 0);
    const struct {
        int hint;
        const char* object;
    } steps[] = {
        {1, "client_place03"}, {4, "shelving01"}, {5, "table04a"}, {7, "table04a"}, {8, "client_place03"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.object);
        ASSERT_TRUE(Until([&] { return HintShown(hud, step.hint); }, 6000)) << "hint " << step.hint << " never shown";
        ASSERT_NO_FATAL_FAILURE(hands->ClickOn(step.object));
        Ticks(3);
    }

    // Paid: the money, its text, a cash pop-up over the office and the bar.
    std::wstring popup;
    ASSERT_TRUE(Until([&] {
        if (popup.empty())
            popup = CashPopup();
        return office->GetMoney() > 0 && !popup.empty();
    }, 3000)) << "money " << office->GetMoney();
    Ticks(3);
    const int32_t money = office->GetMoney();
    EXPECT_GT(money, 0);
    EXPECT_EQ(MoneyText(), money);
    // The pop-up shows the client's payment ("$+30"); a rush bonus may
    // come on top of it.
    ASSERT_EQ(popup.rfind(L"$+", 0), 0u) << std::string(popup.begin(), popup.end());
    const std::wstring paid = popup.substr(2);
    ASSERT_TRUE(!paid.empty() && std::all_of(paid.begin(), paid.end(), [](wchar_t c) { return std::iswdigit(c); }));
    EXPECT_GT(std::stol(paid), 0);
    EXPECT_LE(std::stol(paid), money);
    EXPECT_GT(bar->GetValue(), barBefore);
    EXPECT_TRUE(Settled(bar));

    ASSERT_NO_FATAL_FAILURE(QuitTheDay(office));

    // Survival, first month: three lives, and a client within 20 s of the
    // day's clock.
    Click(menu, "main_menu_dlg/survival");
    SurvivalScreen* survival = app->mSurvivalScreen;
    ASSERT_TRUE(Until([&] { return Shown(Find(survival, "start")); }, 2000));
    Click(survival, "start");
    ASSERT_TRUE(Until([&] { return office->IsDayRunning() && Settled(hud); }, 3000));
    EXPECT_TRUE(office->IsSurvival());
    EXPECT_EQ(office->GetLevel(), 1);
    EXPECT_EQ(office->GetLives(), 3);
    EXPECT_EQ(hud->GetLivesShown(), 3);
    ASSERT_TRUE(Until([&] { return ClientWaits() || office->GetLevelClock() > 20; }, 10000));
    EXPECT_TRUE(ClientWaits()) << "no client by " << office->GetLevelClock() << " s";
    EXPECT_EQ(office->GetLives(), 3);

    // Out of the day and out of the game: pref.dat holds the profile.
    ASSERT_NO_FATAL_FAILURE(QuitTheDay(office));
    ASSERT_NO_FATAL_FAILURE(QuitTheGame());
    ExpectNoReportBoxes();
    const playtest::Prefs prefs = ReadPrefs();
    ASSERT_TRUE(prefs.exists);
    ASSERT_TRUE(prefs.valid);
    EXPECT_EQ(prefs.profile.mName, L"Tester");
    EXPECT_EQ(prefs.profile.mFigure, "man");
    EXPECT_EQ(prefs.profile.mLevel, 1);
    EXPECT_GT(prefs.profile.mPlayTime, 0.0f);
}

} // namespace
