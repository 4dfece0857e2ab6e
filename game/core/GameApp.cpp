#include "game/core/GameApp.h"

#include "framework/app/PathUtil.h"
#include "framework/app/Random.h"
#include "framework/app/StringUtil.h"
#include "framework/resources/ResourceManager.h"
#include "framework/resources/ResourceManagerException.h"
#include "framework/widgets/WidgetManager.h"
#include "game/core/CursorManager.h"
#include "game/core/FontRegistry.h"
#include "game/core/LocTable.h"
#include "game/core/MusicManager.h"
#include "game/core/PakInterface.h"
#include "game/core/ResourceIds.h"
#include "game/core/SfxManager.h"
#include "game/core/SoundSystem.h"
#include "game/core/StringTable.h"
#include "game/core/TextureRegistry.h"
#include "game/core/XmlFunctions.h"
#include "game/effects/EffectFile.h"
#include "game/effects/ParticleRegistry.h"
#include "game/flow/CareerScreen.h"
#include "game/flow/GlobalBackground.h"
#include "game/flow/HelpDialog.h"
#include "game/flow/HiscoresDialog.h"
#include "game/flow/LoadingScreen.h"
#include "game/flow/MainMenu.h"
#include "game/flow/MessageBoxDialog.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/OptionsDialog.h"
#include "game/flow/SplashScreen.h"
#include "game/flow/SurvivalScreen.h"
#include "game/ui/UiDialog.h"
#include "platform/Platform.h"
#include "platform/debug/DebugSink.h"
#include "platform/folders/Folders.h"

#include <ctime>
#include <unistd.h>

GameApp* gGameApp = nullptr;
GameApp* gApp = nullptr;

GameApp* GetGameApp() { return gGameApp; }

namespace {

// Makes the folder of the program file the current folder, so that every
// relative name of the game (archives, configuration, the files opened at
// the end) is found wherever the program was started from.
void EnterProgramFolder()
{
    plat::Folders* folders = plat::Get().folders;
    if (!folders)
        return;
    std::string folder = Zelk::GetFileDir(folders->ProgramPath(), false);
    if (!folder.empty() && chdir(Zelk::NativePath(folder).c_str()) != 0) {
        // the folder of a running program is there; nothing to do otherwise
    }
}

// Deletes a widget the application made, after taking it out of the widget
// manager (nothing happens there when it is not a top-level widget).
template <class W>
void RemoveAndDelete(Zelk::WidgetManager* manager, W*& widget)
{
    if (!widget)
        return;
    manager->RemoveWidget(widget);
    delete widget;
    widget = nullptr;
}

} // namespace

GameApp::GameApp(uintptr_t instance)
{
    // Nothing here needs the component library initialised first.
    EnterProgramFolder();

    // The archives, each entry replacing the same name of an earlier one; a
    // missing archive is skipped.
    mPakInterface = new PakInterface();
    for (const char* archive : {"loc.pak", "data.pak", "mod.pak"})
        mPakInterface->AddPakFile(archive);

    mInstance = instance;
    mProdName = "Orvane1";
    mTitle.clear();
    mProductVersion = "1.0";
    mRegKey = "Tarnwick Games\\Quillmore";

    gGameApp = this;
    mWidth = 800;
    mHeight = 600;
    mProfileValid = false;
    mPrefHeader.SetDefaults();
    mCurrentProfile.Init(L"unknown", "woman");
    for (int32_t& target : mExpertTargets)
        target = -1;

    LoadEffectFile();

    mSoundSystem = new SoundSystem();
    mSfxManager = new SfxManager();
    mMusicManager = new MusicManager();
    mTextureRegistry = new TextureRegistry(this);
    mFontRegistry = new FontRegistry(this);
    mLocTable = new LocTable();
    mStringTable = new StringTable();
    mParticleRegistry = new ParticleRegistry(mTextureRegistry);
    mCursorManager = nullptr;
    mOfficeScreen = nullptr;

    // The game's cursor is drawn over every frame at the mouse (DrawOverlay):
    // frames are painted whole, so no earlier arrow stays where no screen
    // draws.
    mWidgetManager->mRepaintWholeFrames = true;

    mInputBlocker = new UiDialog(nullptr, this);
    mInputBlocker->SetVisible(false);
    mInputBlocker->Resize(0, 0, 800, 600);
    mWidgetManager->AddWidget(mInputBlocker);
}

GameApp::~GameApp()
{
    // The profiles are saved before anything is taken down.
    SavePrefs();

    if (mHelpDialog)
        mHelpDialog->Hide();
    if (mOptionsDialog)
        mOptionsDialog->Hide();
    if (mOfficeScreen)
        mOfficeScreen->Hide();

    // The front-end screens that are children of the background go with it.
    RemoveAndDelete(mWidgetManager, mGlobalBackground);
    mMainMenu = nullptr;
    mHiscoresDialog = nullptr;
    mCareerScreen = nullptr;
    mSurvivalScreen = nullptr;
    RemoveAndDelete(mWidgetManager, mHelpDialog);
    RemoveAndDelete(mWidgetManager, mOptionsDialog);
    RemoveAndDelete(mWidgetManager, mLoadingScreen);
    RemoveAndDelete(mWidgetManager, mOfficeScreen);
    RemoveAndDelete(mWidgetManager, mInputBlocker);
    DestroyMessageBoxes();
    // What is left at the top level (the splash screen among it).
    mWidgetManager->RemoveAllWidgets(true, false);
    mSplashScreen = nullptr;

    delete mCursorManager;
    mCursorManager = nullptr;
    delete mStringTable;
    mStringTable = nullptr;
    delete mLocTable;
    mLocTable = nullptr;
    delete mSfxManager;
    mSfxManager = nullptr;
    delete mMusicManager;
    mMusicManager = nullptr;
    delete mSoundSystem;
    mSoundSystem = nullptr;
    delete mParticleRegistry;
    mParticleRegistry = nullptr;
    delete mTextureRegistry;
    mTextureRegistry = nullptr;
    delete mFontRegistry;
    mFontRegistry = nullptr;

    ReleaseEffectFile();

    delete mPakInterface;
    mPakInterface = nullptr;

    if (gGameApp == this)
        gGameApp = nullptr;
    if (gApp == this)
        gApp = nullptr;
}

void GameApp::Init()
{
    mAuto3D = true;
    mRefreshPacedWanted = true;
    Zelk::ZelkAppBase::Init();
    LoadResourceManifest();
    Zelk::SRand(uint32_t(time(nullptr)));

    // A resource the group lacks ends the start like a group that failed to
    // load, with the manager's text.
    bool loaded = mResourceManager->LoadResources("Init");
    if (loaded) {
        try {
            ResourceIds::ExtractInit(mResourceManager);
        } catch (const Zelk::ResourceManagerException&) {
            loaded = false;
        }
    }
    if (!loaded) {
        mShutdownRequested = true;
        ShowResourceError(true);
        return;
    }
    mSoundSystem->Init(mMainWindow);
}

void GameApp::LoadContent() {}

void GameApp::OnLoadingComplete()
{
    XmlDocument document;
    XmlCreateDocument(document);

    if (XmlLoadFile("cfg\\office.xml", document)) {
        XmlNode office = document.Node().SelectSingle(L"office");
        if (!office.IsEmpty()) {
            mMusicManager->Load(office);
            mSfxManager->Load(office);
        }
    }

    mLocTable->Load();
    mHiscoreTables.LoadDefaults(this);
    mTitle = mLocTable->Get("app_title");
    // The window is made again, now with its title.
    SwitchScreenMode(true, true, true);
    LoadPrefs();

    // A level file that cannot be read gives no target: the document still
    // holds the file read before it.
    for (int level = 1; level <= kLevelCount; ++level) {
        if (!XmlLoadFile(Zelk::StrFormat("cfg\\l%d.xml", level), document))
            continue;
        XmlNode params = document.Node().SelectSingle(L"//params");
        if (!params.IsEmpty())
            XmlGetAttrInt(params, L"expert", mExpertTargets[level - 1]);
    }

    if (!XmlLoadFile("cfg\\ui.xml", document))
        return;
    XmlNode root = document.Node().SelectSingle(L"root");
    if (root.IsEmpty())
        return;

    mTextureRegistry->Load(root);
    mFontRegistry->Load(root);

    mOfficeScreen = new OfficeScreen(this, root);
    mOfficeScreen->SetVisible(false);
    mGlobalBackground = new GlobalBackground(this, root);
    mGlobalBackground->SetVisible(false);
    mMainMenu = new MainMenu(this, root);
    mMainMenu->SetVisible(false);
    mGlobalBackground->AddChild("main_menu", mMainMenu);
    mHelpDialog = new HelpDialog(this, root);
    mHelpDialog->SetVisible(false);
    mWidgetManager->AddWidget(mHelpDialog);
    mHiscoresDialog = new HiscoresDialog(this, root);
    mHiscoresDialog->SetVisible(false);
    mGlobalBackground->AddChild("hiscores", mHiscoresDialog);
    mCareerScreen = new CareerScreen(this, root);
    mCareerScreen->SetVisible(false);
    mGlobalBackground->AddChild("career", mCareerScreen);
    mSurvivalScreen = new SurvivalScreen(this, root);
    mSurvivalScreen->SetVisible(false);
    mGlobalBackground->AddChild("survival", mSurvivalScreen);
    mOptionsDialog = new OptionsDialog(this, root);
    mOptionsDialog->SetVisible(false);
    mWidgetManager->AddWidget(mOptionsDialog);
    mLoadingScreen = new LoadingScreen(this, root);
    mLoadingScreen->SetVisible(false);
    mWidgetManager->AddWidget(mLoadingScreen);
    mSplashScreen = new SplashScreen(this, root);

    CreateMessageBoxes(this, root);

    mCursorManager = new CursorManager(mTextureRegistry);
    mCursorManager->Load(root);
    mCursorManager->Select("normal");

    mWidgetManager->AddWidget(mGlobalBackground);
    mWidgetManager->AddWidget(mSplashScreen);
    mSplashScreen->Show();
}

void GameApp::OnGotFocus()
{
    Zelk::ZelkAppBase::OnGotFocus();
    plat::OutputDebugString("Got Focus\n");
    mSfxManager->ResumeAll();
    mMusicManager->Resume();
    if (mOfficeScreen)
        mOfficeScreen->SetPaused(false);
}

void GameApp::OnLostFocus()
{
    Zelk::ZelkAppBase::OnLostFocus();
    plat::OutputDebugString("Lost Focus\n");
    mSfxManager->PauseAll();
    mMusicManager->Pause();
    if (mOfficeScreen)
        mOfficeScreen->SetPaused(true);
}

bool GameApp::AppStep(bool* updated) { return Zelk::ZelkAppBase::AppStep(updated); }

void GameApp::DrawOverlay(Zelk::Graphics* g)
{
    if (mCursorManager)
        mCursorManager->Draw(g);
}

void GameApp::LockWidgets()
{
    mWidgetManager->MoveToTop(mInputBlocker);
    mInputBlocker->SetVisible(true);
}

void GameApp::UnlockWidgets() { mInputBlocker->SetVisible(false); }

Zelk::Font* GameApp::GetFont(const std::string& name) { return mFontRegistry->Get(name); }
