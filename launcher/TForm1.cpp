#include "launcher/TForm1.h"

#include "launcher/BusyPicture.h"
#include "launcher/LauncherHost.h"
#include "launcher/PageView.h"
#include "launcher/UpdateNetwork.h"
#include "platform/image/IcoFile.h"
#include "platform/text/Utf8.h"

#include <algorithm>

namespace vorsel {

namespace {

int ClampSide(int32_t side)
{
    return std::clamp<int32_t>(side, 1, TForm1::kMaxSide);
}

} // namespace

TForm1::TForm1(const Parts& parts, const std::string& exeDir) : mParts(parts), ExeDir(exeDir)
{
    plat::EventLoop& loop = *mParts.loop;
    mTimer1 = loop.AddTimer([this] { Timer1Timer(); });
    mTimer2 = loop.AddTimer([this] { Timer2Timer(); });
    mTimer3 = loop.AddTimer([this] { Timer3Timer(); });
    loop.SetTimerInterval(mTimer3, 2000);
    loop.AddSource([this] { PollWindowMessages(); });

    plat::WindowDesc desc;
    desc.title = L"Brightfen";
    desc.width = 640;
    desc.height = 480;
    mWindow = mParts.windows->Create(desc);
    mParts.windows->Queue().SetNotify([&loop] { loop.Wake(); });
    mParts.browser->SetBounds(0, 0, 1, 1);
    mParts.browser->onDocumentComplete = [this] { WebBrowser1DocumentComplete(); };
    mParts.picture->SetOnChange([this] {
        if (mImage1Visible)
            Repaint();
    });
}

TForm1::~TForm1()
{
    mParts.network->Cancel();
    mParts.picture->SetOnChange(nullptr);
    mParts.browser->onDocumentComplete = nullptr;
    mParts.windows->Queue().SetNotify(nullptr);
    mParts.windows->Destroy(mWindow);
}

// ---- start-up --------------------------------------------------------------

bool TForm1::ReadConfiguration()
{
    const std::string path = ExeDir + "vorsel.ini";
    std::string bytes;
    if (!mParts.host->IsRegularFile(path) || !mParts.host->ReadFile(path, bytes))
        return false;
    if (!ParseOptText(bytes, mOpt))
        return false;
    LocalPathExecute = mOpt.path_execute;
    return true;
}

void TForm1::FormCreate()
{
    mParts.host->ChangeFolder(ExeDir);
    if (!ReadConfiguration() || mOpt.path_execute.empty()) {
        QuitLauncher();
        return;
    }
    if (mOpt.url_vorsel.empty())
        ShowAdvert();
    else
        mParts.loop->SetTimerEnabled(mTimer3, true);
}

void TForm1::Show()
{
    if (mEnded)
        return;
    mParts.windows->Show(mWindow);
    FormResize();
}

// ---- the window --------------------------------------------------------------

void TForm1::ApplyWindowSettings()
{
    mParts.windows->SetTitle(mWindow, mOpt.caption);
    mParts.windows->SetClientSize(mWindow, ClampSide(mOpt.size_pxls.X), ClampSide(mOpt.size_pxls.Y));
    if (mBrowserFills) {
        int width = 0, height = 0;
        mParts.windows->ClientSize(mWindow, width, height);
        mParts.browser->SetBounds(0, 0, width, height);
    }
    if (mParts.windows->IsMinimized(mWindow))
        mParts.windows->Restore(mWindow);
    Repaint();
}

void TForm1::FormResize()
{
    if (mEnded)
        return;
    ApplyWindowSettings();
}

void TForm1::Repaint()
{
    if (mEnded)
        return;
    int width = 0, height = 0;
    mParts.windows->ClientSize(mWindow, width, height);
    width = std::clamp(width, 1, kMaxSide);
    height = std::clamp(height, 1, kMaxSide);
    mFrame.assign(size_t(width) * size_t(height), 0xFFFFFFFFu);
    Canvas canvas{mFrame.data(), width, height, width};
    if (mImage1Visible)
        mParts.picture->Draw(canvas, kImageLeft, kImageTop, kImageSize, kImageSize);
    mParts.browser->Draw(canvas);
    mParts.windows->Present(mWindow, mFrame.data(), width, height, width);
}

void TForm1::PollWindowMessages()
{
    plat::WindowMessage m;
    while (mParts.windows->Queue().Peek(m)) {
        switch (m.message) {
        case plat::WM_CLOSE:
            mParts.loop->Post([this] { CloseForm(); });
            break;
        case plat::WM_SIZE:
            mParts.loop->Post([this] { FormResize(); });
            break;
        case plat::WM_PAINT:
            mParts.loop->Post([this] { Repaint(); });
            break;
        default:
            break;
        }
    }
}

void TForm1::CloseForm()
{
    if (mEnded)
        return;
    bool canClose = true;
    FormCloseQuery(canClose);
    if (canClose && !mEnded)
        QuitLauncher(); // closing the main form ends the launcher
}

void TForm1::FormCloseQuery(bool& CanClose)
{
    if (mOpt.can_close != 0) {
        RunGame();
        CanClose = false;
    } else {
        CanClose = true;
    }
}

void TForm1::TerminationRequested()
{
    QuitLauncher();
}

// ---- the update check --------------------------------------------------------

std::wstring TForm1::EchoHost(const std::wstring& urlVorsel)
{
    std::wstring host = urlVorsel;
    if (host.find(L"http://") != std::wstring::npos)
        host.erase(0, host.find(L"//") + 2);
    const size_t slash = host.find(L'/');
    if (slash != std::wstring::npos)
        host.erase(slash);
    return host;
}

uint32_t TForm1::TimerMs(int32_t seconds)
{
    if (seconds < 0)
        return 0x7FFFFFFFu;
    return uint32_t(std::clamp<int64_t>(int64_t(seconds) * 1000, 1, 0x7FFFFFFF));
}

int64_t TForm1::BudgetMs(int32_t seconds, int64_t factor)
{
    return std::min<int64_t>(int64_t(seconds) * factor, 0x7FFFFFFF);
}

void TForm1::IdIcmpClient1Reply(bool echo)
{
    mPingOk = echo;
}

void TForm1::Timer3Timer()
{
    plat::EventLoop& loop = *mParts.loop;
    loop.SetTimerEnabled(mTimer3, false);
    int width = 0, height = 0;
    mParts.windows->ClientSize(mWindow, width, height);
    mParts.browser->SetBounds(0, 0, width, height);
    mBrowserFills = true;
    mImage1Visible = false;
    mPingOk = false;
    Repaint();

    const int64_t echoMs = BudgetMs(mOpt.max_time_ldng_conf, 200);
    if (echoMs > 0) {
        bool done = false;
        mParts.network->Echo(plat::WideToUtf8(EchoHost(mOpt.url_vorsel)), echoMs, [this, &done](bool echo) {
            IdIcmpClient1Reply(echo);
            done = true;
        });
        loop.RunUntil([&] { return done || mEnded; });
        if (mEnded)
            return;
    }
    loop.ProcessPending();
    if (mEnded)
        return;
    if (!mPingOk) {
        RunGame();
        return;
    }

    bool done = false, ok = false;
    std::string body;
    mParts.network->Get(plat::WideToUtf8(mOpt.url_vorsel), BudgetMs(mOpt.max_time_ldng_conf, 800), kConfigCap,
                        [&](bool success, const std::string& answer) {
                            ok = success;
                            body = answer;
                            done = true;
                        });
    loop.RunUntil([&] { return done || mEnded; });
    if (mEnded)
        return;
    if (!ok) {
        mPingOk = false;
        ShowAdvert();
        return;
    }
    // The download is read as the file is; a half-parsed copy is never used.
    OptRemote = TOpt();
    if (!ParseOptText(body, OptRemote))
        mPingOk = false;
    if (mPingOk) {
        mOpt = OptRemote;
        mOpt.path_execute = LocalPathExecute;
    }
    ShowAdvert();
}

// ---- the advertisement -------------------------------------------------------

void TForm1::ShowAdvert()
{
    if (mEnded)
        return;
    if (mOpt.max_time_ldng_ad == 0 || mOpt.max_time_ad == 0) {
        RunGame();
        return;
    }
    ApplyWindowSettings();
    const std::string icon = plat::WideToUtf8(mOpt.path_icon);
    std::string bytes;
    plat::IconImage image;
    if (!icon.empty() && mParts.host->IsRegularFile(icon) && mParts.host->ReadFile(icon, bytes) &&
        plat::ReadIco(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image)) // no icon: skipped
        mParts.windows->SetIcon(mWindow, image.argb.data(), image.width, image.height);
    mParts.browser->Navigate(mOpt.url_ad);
    mParts.loop->SetTimerInterval(mTimer1, TimerMs(mOpt.max_time_ldng_ad));
    mParts.loop->SetTimerEnabled(mTimer1, true);
    mParts.loop->ProcessPending();
}

bool TForm1::GetDocumentSource(std::vector<std::string>& list)
{
    std::string source;
    if (!mParts.browser->SaveDocumentSource(source))
        return false;
    list.push_back(source);
    return true;
}

void TForm1::WebBrowser1DocumentComplete()
{
    if (mEnded)
        return;
    plat::EventLoop& loop = *mParts.loop;
    loop.SetTimerEnabled(mTimer1, false);
    std::vector<std::string> list;
    if (GetDocumentSource(list) && list[0] == "close") {
        CloseForm();
        return;
    }
    Repaint();
    loop.SetTimerEnabled(mTimer1, false);
    if (mOpt.max_time_ad > 0) {
        loop.SetTimerInterval(mTimer2, TimerMs(mOpt.max_time_ad));
        loop.SetTimerEnabled(mTimer2, true);
    }
    loop.ProcessPending();
}

void TForm1::Timer1Timer()
{
    mParts.loop->SetTimerEnabled(mTimer1, false);
    mParts.loop->ProcessPending();
    if (mEnded)
        return;
    RunGame();
}

void TForm1::Timer2Timer()
{
    mParts.loop->SetTimerEnabled(mTimer2, false);
    mParts.loop->ProcessPending();
    if (mEnded)
        return;
    RunGame();
}

// ---- ending --------------------------------------------------------------------

void TForm1::QuitLauncher()
{
    if (mEnded)
        return;
    mEnded = true;
    mParts.network->Cancel();
    mParts.loop->Terminate();
}

void TForm1::RunGame()
{
    if (mEnded)
        return;
    std::string path = plat::WideToUtf8(mOpt.path_execute);
    std::string folder;
    if (!mParts.host->ChangeFolder(ExeDir)) {
        // Not in our folder: a relative game path is ours all the same.
        if (!path.empty() && path[0] != '/')
            path = ExeDir + path;
        folder = ExeDir;
    }
    if (!path.empty() && mParts.host->IsRegularFile(path)) {
        mParts.host->StartProgram(path, folder);
        mGameStarted = true;
    }
    QuitLauncher();
}

} // namespace vorsel
