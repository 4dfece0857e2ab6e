#pragma once
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace plat {

// The crash catcher's windows ("Fatal Error!", "Error Details", "Submitting
// Report"): a title, a read-only text at the top, a second text field (the
// crash text, the user's comment, or the progress text), buttons and timers.
struct CrashButton {
    std::wstring label;
    bool enabled = true;
};

struct CrashWindowDesc {
    std::wstring title;
    int x = 0, y = 0, width = 0, height = 0; // client area
    std::wstring header;
    std::wstring text;
    bool editable = false; // the second field takes the user's comment
    std::vector<CrashButton> buttons;
    std::vector<uint32_t> timers; // periods in milliseconds
};

struct CrashEvent {
    enum Kind { Close, Button, Timer } kind = Close;
    int index = 0; // the button or timer
};

// The windows run on the faulting thread; each is driven by the crash
// catcher's own loop, one event at a time.
class CrashUi {
public:
    virtual ~CrashUi() = default;
    virtual int Open(const CrashWindowDesc& desc) = 0;
    // The next event of the window; false when none can come any more.
    virtual bool NextEvent(int window, CrashEvent& event) = 0;
    virtual void SetText(int window, const std::wstring& text) = 0;
    virtual std::wstring GetText(int window) = 0;
    virtual void Hide(int window) = 0;
    virtual void Destroy(int window) = 0;
};

// The stand-in for the windows. Every window is written to standard error
// (and to a log file when one is set) and recorded. Its answers come from a
// script of button labels queued by the program or a test; when the script
// is empty, a window with one button is shown through the platform's message
// box and answered with that button, and every other window presses its last
// enabled button ("Close Now", "Abort"). A window with timers delivers its
// timer events between the answers, pausing for the shortest period.
class StandInCrashUi : public CrashUi {
public:
    struct Shown {
        CrashWindowDesc desc;
        bool hidden = false;
        bool destroyed = false;
    };

    int Open(const CrashWindowDesc& desc) override;
    bool NextEvent(int window, CrashEvent& event) override;
    void SetText(int window, const std::wstring& text) override;
    std::wstring GetText(int window) override;
    void Hide(int window) override;
    void Destroy(int window) override;

    // The next button to press (by label), or "" to close the window; a
    // comment queued with it becomes the editable field's text.
    void QueueAnswer(const std::wstring& label, const std::wstring& comment = std::wstring());
    void SetLogFile(const std::string& path);
    // When false, windows never go through the message box.
    void SetUseMessageBox(bool use);
    std::vector<Shown> Windows();
    void Clear();

private:
    struct Answer {
        std::wstring label;
        std::wstring comment;
    };
    void Write(const std::string& text);

    std::mutex mLock;
    std::vector<Shown> mWindows;
    std::deque<Answer> mAnswers;
    std::string mLogFile;
    bool mUseMessageBox = true;
    uint64_t mTicks = 0;
};

// The text of the message box that stands in for a window with one button:
// the header and the first lines of the text, each cut to a width that fits
// any screen; a longer text ends with a line that says where the whole is.
std::wstring MessageBoxText(const std::wstring& header, const std::wstring& text);
constexpr const wchar_t* kCrashTextElsewhere =
    L"The whole report was written to standard error and to crash.txt in the program's data folder.";

// The crash user interface of the process: the one set with SetCrashUi, or a
// process-wide stand-in.
CrashUi& GetCrashUi();
void SetCrashUi(CrashUi* ui);

} // namespace plat
