// The whole game as a player walks it: the program started as it starts
// (WinMain) from the generated game folder on the null platform, on a thread
// of its own, and driven only by keys and clicks posted to its window while
// its main loop sleeps in simulated time; what the player sees is read between
// two of those sleeps, and pref.dat where the player's progress is kept.
#include "GeneratedData.h"

#include "framework/widgets/WidgetManager.h"
#include "game/core/GameApp.h"
#include "game/core/MusicManager.h"
#include "game/core/PrefStore.h"
#include "game/core/SfxSample.h"
#include "game/core/StringTable.h"
#include "game/flow/BriefingDialog.h"
#include "game/flow/CareerScreen.h"
#include "game/flow/ComicDialog.h"
#include "game/flow/DebriefingDialog.h"
#include "game/flow/EscapeMenu.h"
#include "game/flow/HiscoresDialog.h"
#include "game/flow/LoadingScreen.h"
#include "game/flow/MainMenu.h"
#include "game/flow/MessageBoxDialog.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/OptionsDialog.h"
#include "game/flow/SplashScreen.h"
#include "game/ui/UiButton.h"
#include "game/ui/UiCheckBox.h"
#include "game/ui/UiElement.h"
#include "game/ui/UiSlider.h"
#include "game/ui/UiText.h"
#include "platform/NullPlatform.h"
#include "tests/framework/graphics/PngFile.h"
#include "tests/game/peopleday/OfficeHands.h"
#include "tests/support/CurrentFolder.h"

#include <condition_variable>
#include <filesystem>
#include <gtest/gtest.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>

int WinMain(uintptr_t instance, uintptr_t previousInstance, const std::string& commandLine, int showCommand);

namespace {

using peopletest::OfficeHands;

// The program on its own thread, handing the turn to the player each time its
// main thread sleeps (but while a level loads behind the loading screen, whose
// own thread steps the game meanwhile) and going on when the player has acted.
class Program {
public:
    explicit Program(plat::NullPlatform& platform) : mPlatform(platform) {}
    ~Program() { Release(); }

    void Start()
    {
        mPlatform.clock.onSleep = [this](uint32_t) { OnSleep(); };
        mTurn = Turn::kProgram;
        mThread = std::thread([this] {
            mPlatform.clock.SetDrivingThread(std::this_thread::get_id());
            const int code = WinMain(0, 0, "", 1);
            std::lock_guard<std::mutex> lock(mLock);
            mExitCode = code;
            mTurn = Turn::kEnded;
            mSignal.notify_all();
        });
        Tick();
    }

    // The program runs on to its next sleep (or its end).
    void Tick()
    {
        std::unique_lock<std::mutex> lock(mLock);
        if (mTurn == Turn::kEnded)
            return;
        mTurn = Turn::kProgram;
        mSignal.notify_all();
        mSignal.wait(lock, [this] { return mTurn != Turn::kProgram; });
    }

    bool Ended()
    {
        std::lock_guard<std::mutex> lock(mLock);
        return mTurn == Turn::kEnded;
    }
    int ExitCode() const { return mExitCode; }
    // Sleeps of the main thread while the loading screen stepped the game.
    int LoadingSleeps() const { return mLoadingSleeps; }

    // The program goes on alone; a window close ends it where the player
    // left it.
    void Release()
    {
        if (!mThread.joinable())
            return;
        {
            std::lock_guard<std::mutex> lock(mLock);
            mReleased = true;
            if (mTurn != Turn::kEnded) {
                mPlatform.windows.Queue().Post({plat::WM_CLOSE, 0, 0});
                mTurn = Turn::kProgram;
            }
            mSignal.notify_all();
        }
        mThread.join();
        mPlatform.clock.onSleep = nullptr;
    }

private:
    enum class Turn { kProgram, kPlayer, kEnded };

    // Only the main loop's sleeps hand over: before and after it the screens
    // are being made or taken down.
    void OnSleep()
    {
        if (!gGameApp || !gGameApp->mInMainLoop)
            return;
        if (gGameApp->mLoadingScreen && gGameApp->mLoadingScreen->IsStepping()) {
            ++mLoadingSleeps;
            return;
        }
        std::unique_lock<std::mutex> lock(mLock);
        if (mReleased)
            return;
        mTurn = Turn::kPlayer;
        mSignal.notify_all();
        mSignal.wait(lock, [this] { return mTurn != Turn::kPlayer || mReleased; });
    }

    plat::NullPlatform& mPlatform;
    std::thread mThread;
    std::mutex mLock;
    std::condition_variable mSignal;
    Turn mTurn = Turn::kEnded;
    bool mReleased = false;
    int mExitCode = -1;
    int mLoadingSleeps = 0;
};

// What pref.dat holds.
struct Prefs {
    bool exists = false;
    PrefHeader header;
    ProfileRecord profile;
    bool valid = false;
    HiscoreTables tables;
};

class PlayThrough : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        sGame = new testsupport::TempDir();
        contentgentest::WriteFolder(contentgentest::Generated(), false, *sGame);
    }
    static void TearDownTestSuite()
    {
        delete sGame;
        sGame = nullptr;
    }

    void SetUp() override
    {
        if (contentgentest::PicturesArePlaceholders())
            GTEST_SKIP() << "the start needs the real fonts and pictures of the group \"Init\"";
        ASSERT_TRUE(folder.Remember());
        platform.folders.programPath = *sGame / "quillmore";
        platform.folders.appData = user / "appdata";
        platform.folders.documents = user / "documents";
        prefPath = (std::filesystem::path(user.Path()) / "documents" / "Tarnwick Games" / "Quillmore" / "pref.dat").string();
    }
    void TearDown() override
    {
        program.reset();
        folder.Restore();
    }

    // The program started afresh; its loading done.
    void StartProgram()
    {
        program = std::make_unique<Program>(platform);
        program->Start();
        ASSERT_TRUE(Until([] { return gGameApp && gGameApp->mLoadingCompleteHandled; }, 20000));
        app = gGameApp;
    }

    void Tick() { program->Tick(); }
    // Ticks until done, at most limit sleeps of the program.
    bool Until(const std::function<bool()>& done, int limit)
    {
        for (int i = 0; i < limit; ++i) {
            if (program->Ended())
                return false;
            if (done())
                return true;
            Tick();
        }
        return done();
    }
    void Ticks(int n)
    {
        for (int i = 0; i < n && !program->Ended(); ++i)
            Tick();
    }

    // Whether the player sees the element whole and still: it and its
    // parents shown, no show or hide under way, each where its layout puts it
    // (no effect moving or scaling it).
    bool Settled(UiElement* element)
    {
        for (Zelk::WidgetContainer* at = element; at && at != app->mWidgetManager; at = at->mParent) {
            auto* ui = dynamic_cast<UiElement*>(at);
            if (!ui || !ui->mVisible || ui->IsShowInProgress() || ui->IsHideInProgress())
                return false;
            if (ui->mX != ui->GetLayoutX() || ui->mY != ui->GetLayoutY() || ui->mWidth != ui->GetLayoutWidth() ||
                ui->mHeight != ui->GetLayoutHeight())
                return false;
        }
        return true;
    }
    // The element's middle, or the point dx to the right of its left edge.
    Zelk::Point PointOn(UiElement* element, int dx = -1)
    {
        const Zelk::Point at = element->GetScreenPos();
        return {at.mX + (dx >= 0 ? dx : element->mWidth / 2), at.mY + element->mHeight / 2};
    }
    // Settled, and the topmost widget at the point.
    bool Shown(UiElement* element, int dx = -1)
    {
        if (!element || !Settled(element))
            return false;
        const Zelk::Point at = PointOn(element, dx);
        return app->mWidgetManager->GetWidgetAtPoint(at.mX, at.mY) == element;
    }
    // A left click on the element once the player sees it there.
    void ClickAt(UiElement* element, int dx = -1)
    {
        ASSERT_NE(element, nullptr);
        ASSERT_TRUE(Until([&] { return Shown(element, dx); }, 3000)) << "never seen whole";
        hands->Press(PointOn(element, dx));
        Ticks(3);
    }
    void Click(UiElement* from, const std::string& path)
    {
        UiElement* element = Find(from, path);
        ASSERT_NE(element, nullptr) << path;
        ClickAt(element);
        ASSERT_FALSE(HasFatalFailure()) << path;
    }
    static UiElement* Find(UiElement* from, const std::string& path)
    {
        size_t start = 0;
        while (from) {
            const size_t slash = path.find('/', start);
            from = from->FindChild(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
            if (slash == std::string::npos)
                break;
            start = slash + 1;
        }
        return from;
    }
    void Key(int key)
    {
        platform.windows.Queue().Post({plat::WM_KEYDOWN, uintptr_t(key), 0});
        platform.windows.Queue().Post({plat::WM_KEYUP, uintptr_t(key), 0});
        Ticks(3);
    }
    void Type(const std::wstring& text)
    {
        for (wchar_t c : text)
            platform.windows.Queue().Post({plat::WM_CHAR, uintptr_t(c), 0});
        Ticks(3);
    }
    // The question's answer, once its box is up.
    void Answer(const std::string& button)
    {
        ASSERT_TRUE(Until([] { return gMessageBox && gMessageBox->mVisible; }, 500));
        Click(gMessageBox, button);
    }

    Prefs ReadPrefs()
    {
        Prefs prefs;
        prefs.exists = std::filesystem::exists(prefPath);
        if (prefs.exists) {
            PrefStore store(prefPath, prefs.header, prefs.profile, prefs.valid, prefs.tables);
            EXPECT_TRUE(store.Load());
        }
        return prefs;
    }

    void SavePicture(const std::string& name)
    {
        int width = 0, height = 0;
        const std::vector<uint32_t> frame = platform.windows.LastFrame(width, height);
        if (width <= 0)
            return;
        mkdir(SCREENS_FOLDER, 0755);
        Zelk::test::WritePng(std::string(SCREENS_FOLDER) + "/play_" + name + ".png", width, height, frame);
    }

    static testsupport::TempDir* sGame;
    plat::NullPlatform platform;
    testsupport::TempDir user;
    testsupport::CurrentFolder folder;
    std::string prefPath;
    std::unique_ptr<Program> program;
    GameApp* app = nullptr;
    std::unique_ptr<OfficeHands> hands = std::make_unique<OfficeHands>(platform, [this] { Tick(); });
};

testsupport::TempDir* PlayThrough::sGame = nullptr;

TEST_F(PlayThrough, FromTheSplashThroughADayAndBackToTheEnd)
{
    ASSERT_FALSE(ReadPrefs().exists);
    ASSERT_NO_FATAL_FAILURE(StartProgram());

    // Keys skip the splash's pages to the front end.
    SplashScreen* splash = app->mSplashScreen;
    ASSERT_TRUE(splash->mVisible);
    for (size_t page = 0; page < splash->GetPages().size() && splash->mVisible; ++page) {
        ASSERT_TRUE(Until([&] { return !splash->mVisible || splash->GetCurrentPage() == int(page); }, 1000));
        Ticks(20);
        Key(' ');
    }
    MainMenu* menu = app->mMainMenu;
    ASSERT_TRUE(Until([&] { return Shown(Find(menu, "create_profile/create")); }, 2000));
    EXPECT_FALSE(splash->mVisible);
    EXPECT_EQ(app->GetMusicManager()->CurrentName(), "main_menu");
    SavePicture("create_profile");

    // A profile "Ada" with the man's look.
    Click(menu, "create_profile/bossman_btn");
    Click(menu, "create_profile/entername_text");
    Type(L"Ada");
    Click(menu, "create_profile/create");
    ASSERT_TRUE(Until([&] { return Shown(Find(menu, "main_menu_dlg/career")); }, 2000));
    ASSERT_TRUE(app->mProfileValid);
    EXPECT_EQ(app->GetCurrentProfile()->mName, L"Ada");
    EXPECT_EQ(app->GetCurrentProfile()->mFigure, "man");

    // The career calendar with day 1 marked, and its start.
    Click(menu, "main_menu_dlg/career");
    CareerScreen* career = app->mCareerScreen;
    ASSERT_TRUE(Until([&] { return Shown(Find(career, "start")); }, 2000));
    EXPECT_EQ(career->GetSelectedLevel(), 1);
    UiElement* mark = career->FindChild("mark");
    ASSERT_NE(mark, nullptr);
    EXPECT_TRUE(mark->mVisible);
    EXPECT_EQ(mark->GetLayoutX(), career->GetDayButton(1)->GetLayoutX() - 16);
    SavePicture("career");
    Click(career, "start");

    // Behind the loading screen to the day's comic, two pages, the briefing.
    OfficeScreen* office = app->GetOfficeScreen();
    ComicDialog* comic = office->GetComic();
    ASSERT_TRUE(Until([&] { return comic->mVisible; }, 3000));
    EXPECT_GT(program->LoadingSleeps(), 0);
    EXPECT_EQ(office->GetLevel(), 1);
    ASSERT_TRUE(Until([&] { return Shown(comic->GetPageButton(1)); }, 2000));
    SavePicture("comic");
    ClickAt(comic->GetPageButton(1));
    ClickAt(comic->GetPageButton(2));
    BriefingDialog* briefing = office->GetBriefing();
    ASSERT_TRUE(Until([&] { return Shown(Find(briefing, "continue")) && !comic->mVisible; }, 2000));
    EXPECT_FALSE(office->IsDayRunning());
    SavePicture("briefing");
    Click(briefing, "continue");
    ASSERT_TRUE(Until([&] { return office->IsDayRunning(); }, 500));

    // Day 1 played to its end: each client served as it comes.
    for (int served = 0; !office->IsDayOver() && served < 8 && !HasFatalFailure(); ++served) {
        const int place = hands->NextWaitingClient(6000, [&] { return office->IsDayOver(); });
        if (place < 0)
            break;
        ASSERT_NO_FATAL_FAILURE(hands->Serve(place));
        if (served == 0)
            SavePicture("day1");
    }
    ASSERT_TRUE(Until([&] { return office->IsDayOver(); }, 3000));
    DebriefingDialog* debriefing = office->GetDebriefing();
    ASSERT_TRUE(Until([&] { return debriefing->mVisible; }, 1000));
    const std::string result = debriefing->GetResultKind();
    RecordProperty("day1", result);
    const int32_t money = office->GetMoney();
    // The earnings counted up, never down, to the day's money.
    std::vector<std::wstring> earnings;
    for (int i = 0; i < 400; ++i) {
        const std::wstring text = app->GetStringTable()->Get("earnings");
        if (earnings.empty() || earnings.back() != text)
            earnings.push_back(text);
        Tick();
    }
    ASSERT_FALSE(earnings.empty());
    EXPECT_EQ(earnings.back(), std::to_wstring(money));
    if (money > 1)
        EXPECT_GT(earnings.size(), 2u);
    for (size_t i = 1; i < earnings.size(); ++i)
        EXPECT_LT(std::stol(earnings[i - 1]), std::stol(earnings[i]));
    SavePicture("debriefing");
    // pref.dat holds the day as scored.
    Prefs scored = ReadPrefs();
    ASSERT_TRUE(scored.valid);
    EXPECT_EQ(scored.profile.mName, L"Ada");
    EXPECT_EQ(scored.profile.mLevel, result == "failure" ? 1 : 2) << result;
    if (result != "failure")
        EXPECT_EQ(scored.profile.mBestMoney[0], money);

    // On (or again after a failure), behind the loading screen, to the
    // briefing of the next day.
    const int loadsBefore = program->LoadingSleeps();
    Click(debriefing, result == "failure" ? "replay" : "continue");
    ASSERT_TRUE(Until([&] { return comic->mVisible || Shown(Find(briefing, "continue")); }, 3000));
    EXPECT_GT(program->LoadingSleeps(), loadsBefore);
    EXPECT_EQ(office->GetLevel(), result == "failure" ? 1 : 2);
    for (int page = comic->GetCurrentPage(); comic->mVisible && page <= ComicDialog::kPages; ++page)
        ClickAt(comic->GetPageButton(page));
    ASSERT_TRUE(Until([&] { return Shown(Find(briefing, "continue")); }, 2000));
    Click(briefing, "continue");
    ASSERT_TRUE(Until([&] { return office->IsDayRunning(); }, 500));
    Ticks(100);

    // Escape, "quit", yes: the front end with its music, the day's sounds
    // stopped.
    platform.sound.TakeCalls();
    Key(EscapeMenu::kEscapeKey);
    EscapeMenu* escape = office->GetEscapeMenu();
    ASSERT_TRUE(Until([&] { return escape->IsOpen(); }, 100));
    EXPECT_FALSE(office->IsDayRunning());
    Click(escape, "quit");
    Answer("btn_yes");
    ASSERT_TRUE(Until([&] { return Shown(Find(menu, "main_menu_dlg/hiscores")); }, 2000));
    EXPECT_FALSE(app->mWidgetManager->HasWidget(office));
    EXPECT_EQ(app->GetMusicManager()->CurrentName(), "main_menu");
    std::set<std::string> stopped;
    for (const std::string& call : platform.sound.TakeCalls())
        if (call.rfind("StopSample(", 0) == 0)
            stopped.insert(call);
    int gameSamples = 0;
    for (const auto& [name, sample] : gSfxSamples)
        if (sample->Group() == gSfxGroups.at("game") && sample->SampleId() > 0) {
            ++gameSamples;
            EXPECT_EQ(sample->PauseCount(), 0) << name;
            EXPECT_TRUE(stopped.count("StopSample(" + std::to_string(sample->SampleId()) + ")")) << name;
        }
    EXPECT_GT(gameSamples, 0);

    // The hiscores paged through and closed.
    Click(menu, "main_menu_dlg/hiscores");
    HiscoresDialog* hiscores = app->mHiscoresDialog;
    ASSERT_TRUE(Until([&] { return Shown(Find(hiscores, "next_btn")); }, 2000));
    EXPECT_EQ(hiscores->GetPages().GetCurrent(), 0);
    // The career page shows the table pref.dat holds, Ada's day among it
    // where it ranked.
    Prefs stored = ReadPrefs();
    const HiscoreEntry* table = stored.tables.GetTable(false);
    bool adaListed = false;
    for (int place = 0; place < HiscoreTables::kPlaces; ++place) {
        const std::string line = "line" + std::to_string(place);
        auto* name = dynamic_cast<UiText*>(Find(hiscores->GetPages().GetPage(0), line + "/text1"));
        auto* score = dynamic_cast<UiText*>(Find(hiscores->GetPages().GetPage(0), line + "/text2"));
        ASSERT_TRUE(name && score) << line;
        EXPECT_EQ(name->GetSourceText(), table[place].mName) << line;
        EXPECT_EQ(score->GetSourceText(), table[place].mName.empty() ? L"" : std::to_wstring(table[place].mScore))
            << line;
        adaListed = adaListed || (table[place].mName == L"Ada" && table[place].mScore == money);
    }
    EXPECT_TRUE(adaListed || money <= table[HiscoreTables::kPlaces - 1].mScore) << money;
    Click(hiscores, "next_btn");
    EXPECT_EQ(hiscores->GetPages().GetCurrent(), 1);
    EXPECT_TRUE(hiscores->GetPages().GetNext()->mDisabled);
    SavePicture("hiscores");
    Click(hiscores, "close");
    ASSERT_TRUE(Until([&] { return !hiscores->mVisible; }, 1000));

    // Options: music at 40 by the slider, mute, apply.
    Click(menu, "main_menu_dlg/options");
    OptionsDialog* options = app->mOptionsDialog;
    auto* music = dynamic_cast<UiSlider*>(options->FindChild("musvol_slider"));
    ASSERT_NE(music, nullptr);
    ASSERT_TRUE(Until([&] { return Shown(music); }, 2000));
    // The player moves along the track until the thumb shows 40.
    for (int x = 0; x < 400 && music->GetValue() != 40 && !HasFatalFailure(); ++x)
        ClickAt(music, x);
    ASSERT_EQ(music->GetValue(), 40);
    Click(options, "mute_checkbox");
    EXPECT_TRUE(dynamic_cast<UiCheckBox*>(options->FindChild("mute_checkbox"))->IsChecked());
    SavePicture("options");
    Click(options, "apply");
    ASSERT_TRUE(Until([&] { return !options->mVisible; }, 1000));

    // "quit", yes: the program ends with 0.
    const float playTime = app->GetCurrentProfile()->mPlayTime;
    EXPECT_GT(playTime, 0.0f);
    Click(menu, "main_menu_dlg/quit");
    Answer("btn_yes");
    Until([] { return false; }, 2000);
    EXPECT_TRUE(program->Ended());
    program->Release();
    EXPECT_EQ(program->ExitCode(), 0);
    // The one box a first start shows is the 3D test's notice; any other
    // would report data the game could not use.
    for (const auto& shown : platform.messageBoxes.Log()) {
        const std::string text(shown.text.begin(), shown.text.end());
        if (text.rfind("Hardware Acceleration was switched on", 0) != 0)
            ADD_FAILURE() << "message box: " << text;
    }
    const Prefs last = ReadPrefs();
    ASSERT_TRUE(last.valid);
    EXPECT_EQ(last.profile.mName, L"Ada");
    EXPECT_GE(last.profile.mPlayTime, playTime);
    EXPECT_EQ(last.header.mMusicVolume, 40u);
    EXPECT_EQ(last.header.mMuted, 1);

    // A second start: past the splash, the main panel with Ada's texts.
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    splash = app->mSplashScreen;
    menu = app->mMainMenu;
    for (int key = 0; key < 10 && splash->mVisible; ++key) {
        Ticks(20);
        Key(' ');
    }
    ASSERT_TRUE(Until([&] { return Shown(Find(menu, "main_menu_dlg/career")); }, 2000));
    EXPECT_FALSE(Find(menu, "create_profile")->mVisible);
    EXPECT_EQ(app->GetCurrentProfile()->mName, L"Ada");
    const std::string n = std::to_string(menu->GetPairIndex() + 1);
    EXPECT_EQ(app->GetStringTable()->Get("profilename" + n), L"Ada");
    SavePicture("second_start");
}

} // namespace
