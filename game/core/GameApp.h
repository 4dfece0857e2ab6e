#pragma once
#include "framework/app/ZelkAppBase.h"
#include "game/core/HiscoreTables.h"
#include "game/core/PrefHeader.h"
#include "game/core/ProfileRecord.h"

#include <cstdint>
#include <string>
#include <vector>

class CareerScreen;
class CursorManager;
class FontRegistry;
class GlobalBackground;
class HelpDialog;
class HiscoresDialog;
class LoadingScreen;
class LocTable;
class MainMenu;
class MusicManager;
class OfficeScreen;
class OptionsDialog;
class PakInterface;
class PrefStore;
class ParticleRegistry;
class SfxManager;
class SoundSystem;
class SplashScreen;
class StringTable;
class SurvivalScreen;
class TextureRegistry;
class UiDialog;

namespace Zelk {
class Font;
class Graphics;
} // namespace Zelk

// The game program's one application object. It makes the game folder
// current, opens the archives, creates the game's services, loads the
// configuration and builds every screen once the framework has finished
// loading, pauses the game while the window has no focus, draws the game's
// cursor over every frame, and takes everything down in order at the end.
// Other game parts reach it through GetGameApp.
class GameApp : public Zelk::ZelkAppBase {
public:
    // The instance handle is the one the entry point received; it is kept.
    explicit GameApp(uintptr_t instance);
    ~GameApp() override;

    void OnLoadingComplete() override;
    // The loading thread has nothing to load: it ends at once.
    void LoadContent() override;
    void Init() override;
    void OnGotFocus() override;
    void OnLostFocus() override;
    bool AppStep(bool* updated) override;
    void DrawOverlay(Zelk::Graphics* g) override;

    // Raises the input blocker above every top-level widget and shows it, so
    // no widget below takes input; UnlockWidgets hides it again.
    void LockWidgets();
    void UnlockWidgets();

    // The profiles file pref.dat (GameAppPrefs.cpp). Every change replaces
    // the whole file atomically; a damaged file is kept aside first.
    // Header, hiscore tables and the header's profile from the file (defaults
    // for what it lacks), then the settings applied and the file saved.
    void LoadPrefs();
    // Header (with the windowed choice), tables and, while valid, the current
    // profile (appended when new). False when nothing was written; nothing is
    // written before LoadPrefs has read the file.
    bool SavePrefs();
    // Volumes (0 for both when muted) and the windowed choice of the header.
    void ApplySettings();
    // A new current profile (an empty name becomes "unknown"), appended by the
    // save; until that succeeds it stays current with index -1.
    bool CreateProfile(const std::wstring& name, const std::string& figure);
    // Slot n becomes the current profile and its texts are published.
    bool SelectProfile(int slot);
    // The current profile at its slot (appended when new), header untouched.
    bool WriteCurrentProfile();
    // Appends every profile of the file, in slot order.
    void ListProfiles(std::vector<ProfileRecord>& profiles);
    // Removes slot n (never the current profile's); true when removed.
    bool DeleteProfile(int slot);
    // The current profile's UI text variables, while it is valid.
    void PublishProfileTexts();

    // Getters: the members as they are.
    Zelk::Font* GetFont(const std::string& name);
    SfxManager* GetSfxManager() { return mSfxManager; }
    MusicManager* GetMusicManager() { return mMusicManager; }
    TextureRegistry* GetTextureRegistry() { return mTextureRegistry; }
    ParticleRegistry* GetParticleRegistry() { return mParticleRegistry; }
    CursorManager* GetCursorManager() { return mCursorManager; }
    LocTable* GetLocTable() { return mLocTable; }
    StringTable* GetStringTable() { return mStringTable; }
    OfficeScreen* GetOfficeScreen() { return mOfficeScreen; }
    ProfileRecord* GetCurrentProfile() { return &mCurrentProfile; }
    HiscoreTables* GetHiscoreTables() { return &mHiscoreTables; }

    uintptr_t mInstance = 0;
    ParticleRegistry* mParticleRegistry = nullptr;
    CursorManager* mCursorManager = nullptr;
    PakInterface* mPakInterface = nullptr;
    GlobalBackground* mGlobalBackground = nullptr;
    OfficeScreen* mOfficeScreen = nullptr;
    MainMenu* mMainMenu = nullptr;
    HelpDialog* mHelpDialog = nullptr;
    CareerScreen* mCareerScreen = nullptr;
    HiscoresDialog* mHiscoresDialog = nullptr;
    OptionsDialog* mOptionsDialog = nullptr;
    SurvivalScreen* mSurvivalScreen = nullptr;
    LoadingScreen* mLoadingScreen = nullptr;
    SplashScreen* mSplashScreen = nullptr;
    UiDialog* mInputBlocker = nullptr;
    SoundSystem* mSoundSystem = nullptr;
    SfxManager* mSfxManager = nullptr;
    MusicManager* mMusicManager = nullptr;
    TextureRegistry* mTextureRegistry = nullptr;
    FontRegistry* mFontRegistry = nullptr;
    PrefHeader mPrefHeader{};
    ProfileRecord mCurrentProfile{};
    bool mProfileValid = false;
    bool mPrefsLoaded = false;       // LoadPrefs read the file (or found none): saves may write
    bool mPrefsPathReported = false; // a missing pref.dat folder was reported
    LocTable* mLocTable = nullptr;
    StringTable* mStringTable = nullptr;
    HiscoreTables mHiscoreTables;
    // The expert money of career level n at n - 1; -1 where no level file
    // gives one.
    static constexpr int kLevelCount = 60;
    int32_t mExpertTargets[kLevelCount];

private:
    // pref.dat at its path, on the application's state.
    PrefStore Prefs();
};

// The application, set while it lives (gGameApp from the start of its
// construction, gApp once the entry point has made it).
extern GameApp* gGameApp;
extern GameApp* gApp;
GameApp* GetGameApp();

// The program's entry: makes, runs and deletes the application, then opens
// "play.url" and starts the second launcher; 0.
int WinMain(uintptr_t instance, uintptr_t previousInstance, const std::string& commandLine, int showCommand);
