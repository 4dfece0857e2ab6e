// The profiles file pref.dat of the application: the operations work on the
// application's header, current profile and hiscore tables through PrefStore.
#include "game/core/GameApp.h"

#include "game/core/MusicManager.h"
#include "game/core/PrefStore.h"
#include "game/core/ProfileTexts.h"
#include "game/core/SfxManager.h"
#include "platform/debug/DebugSink.h"

PrefStore GameApp::Prefs()
{
    std::string path;
    if (!GetPrefsPath(path) && !mPrefsPathReported) {
        mPrefsPathReported = true;
        plat::OutputDebugString("No folder for pref.dat: the game runs on default settings and saves nothing\n");
    }
    return PrefStore(path, mPrefHeader, mCurrentProfile, mProfileValid, mHiscoreTables);
}

void GameApp::LoadPrefs()
{
    // A file that could not be read is never written over this session.
    mPrefsLoaded = Prefs().Load();
    PublishProfileTexts();
    ApplySettings();
    SavePrefs();
}

bool GameApp::SavePrefs()
{
    // Before the file was read there is nothing of the player's to save, and
    // writing would replace their file with empty tables and defaults.
    if (!mPrefsLoaded)
        return false;
    mPrefHeader.mWindowed = mWindowedWanted ? 1 : 0;
    return Prefs().Save();
}

void GameApp::ApplySettings()
{
    const bool muted = mPrefHeader.mMuted != 0;
    if (mSfxManager)
        mSfxManager->SetVolume(muted ? 0 : int(mPrefHeader.mSfxVolume));
    if (mMusicManager)
        mMusicManager->SetVolume(muted ? 0 : int(mPrefHeader.mMusicVolume));
    SetWindowedMode(mPrefHeader.mWindowed != 0);
}

bool GameApp::CreateProfile(const std::wstring& name, const std::string& figure)
{
    mCurrentProfile.Init(name, figure);
    mPrefHeader.mCurrentIndex = -1;
    mProfileValid = true;
    return SavePrefs();
}

bool GameApp::SelectProfile(int slot)
{
    if (!Prefs().SelectProfile(slot))
        return false;
    PublishProfileTexts();
    return true;
}

bool GameApp::WriteCurrentProfile() { return Prefs().WriteCurrentProfile(); }

void GameApp::ListProfiles(std::vector<ProfileRecord>& profiles) { Prefs().ListProfiles(profiles); }

bool GameApp::DeleteProfile(int slot) { return Prefs().DeleteProfile(slot); }

void GameApp::PublishProfileTexts()
{
    if (mProfileValid && mStringTable)
        ::PublishProfileTexts(mCurrentProfile, *mStringTable);
}
