#include "platform/Platform.h"
#include "platform/crash/CrashUi.h"
#include "platform/msgbox/MessageBoxes.h"
#include "platform/text/Utf8.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <unistd.h>

namespace plat {

namespace {

std::atomic<CrashUi*> gCrashUi{nullptr};

} // namespace

std::wstring MessageBoxText(const std::wstring& header, const std::wstring& text)
{
    constexpr size_t kMaxLines = 8, kMaxColumns = 100;
    std::wstring out = header;
    size_t lines = 0, at = 0;
    while (at < text.size() && lines < kMaxLines) {
        size_t end = text.find(L'\n', at);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = text.substr(at, end - at);
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        at = end + 1;
        if (line.empty() && lines == 0)
            continue;
        if (line.size() > kMaxColumns)
            line = line.substr(0, kMaxColumns - 3) + L"...";
        out += (out.empty() ? L"" : lines == 0 ? L"\r\n\r\n" : L"\r\n") + line;
        ++lines;
    }
    if (at < text.size())
        out += L"\r\n...\r\n" + std::wstring(kCrashTextElsewhere);
    return out;
}

CrashUi& GetCrashUi()
{
    static StandInCrashUi standIn;
    CrashUi* ui = gCrashUi.load();
    return ui ? *ui : standIn;
}

void SetCrashUi(CrashUi* ui) { gCrashUi.store(ui); }

void StandInCrashUi::Write(const std::string& text)
{
    // Plain writes: the process may be in poor shape.
    ssize_t ignored = write(2, text.data(), text.size());
    (void)ignored;
    if (!mLogFile.empty()) {
        if (FILE* f = fopen(mLogFile.c_str(), "ab")) {
            fwrite(text.data(), 1, text.size(), f);
            fclose(f);
        }
    }
}

int StandInCrashUi::Open(const CrashWindowDesc& desc)
{
    std::string out = "==== " + WideToUtf8(desc.title) + " ====\n";
    if (!desc.header.empty())
        out += WideToUtf8(desc.header) + "\n";
    if (!desc.text.empty())
        out += WideToUtf8(desc.text) + "\n";
    if (!desc.buttons.empty()) {
        out += "[";
        for (size_t i = 0; i < desc.buttons.size(); ++i) {
            out += (i ? "] [" : "") + WideToUtf8(desc.buttons[i].label);
            if (!desc.buttons[i].enabled)
                out += " (disabled)";
        }
        out += "]\n";
    }
    std::lock_guard<std::mutex> g(mLock);
    Write(out);
    mWindows.push_back({desc, false, false});
    return int(mWindows.size()) - 1;
}

bool StandInCrashUi::NextEvent(int window, CrashEvent& event)
{
    CrashWindowDesc desc;
    {
        std::lock_guard<std::mutex> g(mLock);
        if (window < 0 || size_t(window) >= mWindows.size() || mWindows[size_t(window)].destroyed)
            return false;
        desc = mWindows[size_t(window)].desc;
        if (!mAnswers.empty()) {
            Answer a = mAnswers.front();
            mAnswers.pop_front();
            event.kind = CrashEvent::Close;
            for (size_t i = 0; i < desc.buttons.size(); ++i) {
                if (desc.buttons[i].label == a.label && desc.buttons[i].enabled) {
                    event.kind = CrashEvent::Button;
                    event.index = int(i);
                }
            }
            if (desc.editable)
                mWindows[size_t(window)].desc.text = a.comment;
            Write("> " + (event.kind == CrashEvent::Button ? WideToUtf8(a.label) : std::string("(closed)")) + "\n");
            return true;
        }
    }
    if (!desc.timers.empty()) {
        // Nothing scripted: time passes.
        const uint32_t shortest = *std::min_element(desc.timers.begin(), desc.timers.end());
        std::this_thread::sleep_for(std::chrono::milliseconds(shortest));
        const uint64_t tick = ++mTicks;
        event.kind = CrashEvent::Timer;
        event.index = 0;
        for (size_t i = 0; i < desc.timers.size(); ++i)
            if (desc.timers[i] != shortest && tick % std::max<uint32_t>(1, desc.timers[i] / shortest) == 0)
                event.index = int(i);
        return true;
    }
    int last = -1;
    for (size_t i = 0; i < desc.buttons.size(); ++i)
        if (desc.buttons[i].enabled)
            last = int(i);
    if (desc.buttons.size() == 1 && mUseMessageBox && Get().messageBoxes)
        Get().messageBoxes->ShowFromCrash(MessageBoxText(desc.header, desc.text), desc.title, MB_OK | MB_ICONERROR);
    event.kind = last >= 0 ? CrashEvent::Button : CrashEvent::Close;
    event.index = std::max(last, 0);
    return true;
}

void StandInCrashUi::SetText(int window, const std::wstring& text)
{
    std::lock_guard<std::mutex> g(mLock);
    if (window >= 0 && size_t(window) < mWindows.size())
        mWindows[size_t(window)].desc.text = text;
}

std::wstring StandInCrashUi::GetText(int window)
{
    std::lock_guard<std::mutex> g(mLock);
    return window >= 0 && size_t(window) < mWindows.size() ? mWindows[size_t(window)].desc.text : std::wstring();
}

void StandInCrashUi::Hide(int window)
{
    std::lock_guard<std::mutex> g(mLock);
    if (window >= 0 && size_t(window) < mWindows.size())
        mWindows[size_t(window)].hidden = true;
}

void StandInCrashUi::Destroy(int window)
{
    std::lock_guard<std::mutex> g(mLock);
    if (window >= 0 && size_t(window) < mWindows.size())
        mWindows[size_t(window)].destroyed = true;
}

void StandInCrashUi::QueueAnswer(const std::wstring& label, const std::wstring& comment)
{
    std::lock_guard<std::mutex> g(mLock);
    mAnswers.push_back({label, comment});
}

void StandInCrashUi::SetLogFile(const std::string& path)
{
    std::lock_guard<std::mutex> g(mLock);
    mLogFile = path;
}

void StandInCrashUi::SetUseMessageBox(bool use)
{
    std::lock_guard<std::mutex> g(mLock);
    mUseMessageBox = use;
}

std::vector<StandInCrashUi::Shown> StandInCrashUi::Windows()
{
    std::lock_guard<std::mutex> g(mLock);
    return mWindows;
}

void StandInCrashUi::Clear()
{
    std::lock_guard<std::mutex> g(mLock);
    mWindows.clear();
    mAnswers.clear();
    mTicks = 0;
}

} // namespace plat
