#pragma once
// The game application started from its game folder on the null platform,
// with pref.dat in the platform's temporary documents folder and localised
// default hiscores.
#include "PrefFixture.h"

#include "framework/app/StringUtil.h"
#include "game/core/GameApp.h"
#include "game/core/LocTable.h"
#include "game/core/StringTable.h"
#include "tests/game/core/GameFolder.h"
#include "tests/support/CurrentFolder.h"

#include <climits>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>
#include <vector>

// Records what reaches the framework's windowed choice.
class RecordingGame : public GameApp {
public:
    RecordingGame() : GameApp(0) {}
    void SetWindowedMode(bool windowed) override
    {
        windowedCalls.push_back(windowed);
        GameApp::SetWindowedMode(windowed);
    }
    std::vector<bool> windowedCalls;
};

class ProfilesGame : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mFolder.Remember());
        prefs.platform.folders.programPath = game.ProgramPath();
        std::string loc = "<root><loc id=\"app_title\" text=\"Test Title\"/>";
        for (const char* kind : {"survival", "career"}) {
            for (int place = 1; place <= 10; ++place) {
                loc += Zelk::StrFormat("<loc id=\"record_%s_name_%02d\" text=\"%s default %d\"/>", kind, place, kind, place);
                loc += Zelk::StrFormat("<loc id=\"record_%s_value_%02d\" text=\"%d\"/>", kind, place, (11 - place) * 100);
            }
        }
        game.WriteXml("cfg/loc.xml", loc + "</root>");
    }
    void TearDown() override
    {
        app.reset();
        mFolder.Restore();
    }

    // A new application through Init, the loading thread and the update that
    // completes the loading (which loads pref.dat).
    RecordingGame& Start()
    {
        app.reset();
        app = std::make_unique<RecordingGame>();
        app->Init();
        app->StartLoadingThread();
        app->WaitForLoadingThread();
        app->UpdateOnce();
        EXPECT_TRUE(app->mLoadingCompleteHandled);
        return *app;
    }

    // The file as read back: its contents and tables.
    PrefFile::Contents OnDisk(HiscoreTables* tables = nullptr) const
    {
        HiscoreTables scratch;
        return PrefFile::Read(prefs.Bytes(), tables ? tables : &scratch);
    }

    static std::vector<std::wstring> Names(const std::vector<ProfileRecord>& records)
    {
        std::vector<std::wstring> names;
        for (const ProfileRecord& r : records)
            names.push_back(r.mName);
        return names;
    }

    PrefFolder prefs;
    GameFolder game;
    std::unique_ptr<RecordingGame> app;
    testsupport::CurrentFolder mFolder;
};
