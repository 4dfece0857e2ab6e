#pragma once
#include "launcher/TOpt.h"
#include "platform/loop/EventLoop.h"
#include "platform/window/WindowSystem.h"

#include <string>
#include <vector>

namespace vorsel {

class BusyPicture;
class LauncherHost;
class PageView;
class UpdateNetwork;

// The launcher's main form: it reads the configuration, may check the update
// host, shows the advertisement for a bounded time, starts the game and ends.
// Every handler runs on the loop's thread; handlers nest through the loop's
// ProcessPending and return at once when the launcher ended meanwhile.
class TForm1 {
public:
    struct Parts {
        plat::EventLoop* loop;
        plat::WindowSystem* windows;
        PageView* browser;           // WebBrowser1
        UpdateNetwork* network;      // IdIcmpClient1 and IdHTTP1
        LauncherHost* host;
        BusyPicture* picture;        // the picture of Image1
    };
    // exeDir: the launcher's folder, ending in "/".
    TForm1(const Parts& parts, const std::string& exeDir);
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // Creation, then the first showing of the window (when not ended).
    void FormCreate();
    void Show();

    // The handlers.
    void FormResize();
    void FormCloseQuery(bool& CanClose);
    void Timer3Timer();
    void Timer1Timer();
    void Timer2Timer();
    void IdIcmpClient1Reply(bool echo);
    void WebBrowser1DocumentComplete();
    // A shutdown, an interrupt or the end of the session: end, start nothing.
    void TerminationRequested();

    // The unit's routines.
    void QuitLauncher();
    void RunGame();
    void ShowAdvert();
    bool GetDocumentSource(std::vector<std::string>& list);

    bool Ended() const { return mEnded; }
    bool GameStarted() const { return mGameStarted; }
    const TOpt& Opt() const { return mOpt; }
    bool PingOk() const { return mPingOk; }
    bool Image1Visible() const { return mImage1Visible; }
    plat::WindowHandle Window() const { return mWindow; }
    plat::EventLoop::TimerId Timer1() const { return mTimer1; }
    plat::EventLoop::TimerId Timer2() const { return mTimer2; }
    plat::EventLoop::TimerId Timer3() const { return mTimer3; }

    // The host the echo goes to, cut out of the update address.
    static std::wstring EchoHost(const std::wstring& urlVorsel);
    // Seconds to a timer's interval: 64-bit, clamped to 1 .. 0x7FFFFFFF ms;
    // a negative count of seconds is the longest interval.
    static uint32_t TimerMs(int32_t seconds);
    // A share of the check's budget (factor ms per second), clamped to
    // 0x7FFFFFFF ms; 0 or less when there is no time.
    static int64_t BudgetMs(int32_t seconds, int64_t factor);

    static constexpr size_t kConfigCap = size_t(1) << 20;
    static constexpr int kMaxSide = 16384;
    static constexpr int kImageLeft = 304, kImageTop = 224, kImageSize = 32;

private:
    void CloseForm();
    void ApplyWindowSettings();
    void Repaint();
    void PollWindowMessages();
    bool ReadConfiguration();

    Parts mParts;
    std::string ExeDir;
    TOpt mOpt;
    TOpt OptRemote;
    std::wstring LocalPathExecute;
    bool mPingOk = false;
    bool mEnded = false;
    bool mGameStarted = false;
    bool mImage1Visible = true;
    bool mBrowserFills = false; // from the check on, the page view fills the client area
    plat::WindowHandle mWindow = 0;
    plat::EventLoop::TimerId mTimer1, mTimer2, mTimer3;
    std::vector<uint32_t> mFrame;
};

} // namespace vorsel
