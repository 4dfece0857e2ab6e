#pragma once
// Scripted stand-ins for the launcher's form: network, page view and host,
// all in the loop's simulated time.
#include "launcher/BusyPicture.h"
#include "launcher/LauncherHost.h"
#include "launcher/PageView.h"
#include "launcher/UpdateNetwork.h"
#include "platform/clock/NullClock.h"
#include "platform/loop/EventLoop.h"

#include <map>
#include <string>
#include <vector>

namespace vorseltest {

// A busy picture that never changes: a grey square filling its rectangle.
class StillPicture : public vorsel::BusyPicture {
public:
    void Draw(const vorsel::Canvas& canvas, int x, int y, int width, int height) override
    {
        canvas.Fill(x, y, width, height, 0xFF808080u);
    }
};

// Runs a closure once, at a time from now, through a loop timer.
class OneShot {
public:
    explicit OneShot(plat::EventLoop& loop) : mLoop(loop)
    {
        mId = loop.AddTimer([this] {
            mLoop.SetTimerEnabled(mId, false);
            auto work = std::move(mWork);
            mWork = nullptr;
            if (work)
                work();
        });
    }
    void At(uint32_t delayMs, std::function<void()> work)
    {
        mWork = std::move(work);
        mLoop.SetTimerEnabled(mId, false);
        mLoop.SetTimerInterval(mId, delayMs == 0 ? 1 : delayMs);
        mLoop.SetTimerEnabled(mId, true);
    }
    void Cancel()
    {
        mLoop.SetTimerEnabled(mId, false);
        mWork = nullptr;
    }

private:
    plat::EventLoop& mLoop;
    plat::EventLoop::TimerId mId;
    std::function<void()> mWork;
};

// The update host as a script: the echo answers (or not) after a delay, the
// download gives an outcome after a delay.
class FakeNetwork : public vorsel::UpdateNetwork {
public:
    FakeNetwork(plat::EventLoop& loop, plat::NullClock& clock) : mClock(clock), mEcho(loop), mGet(loop) {}
    bool echoAnswers = true;
    uint32_t echoDelayMs = 10;
    bool getOk = true;
    uint32_t getDelayMs = 10;
    std::string body;

    std::vector<std::string> echoHosts;
    std::vector<int64_t> echoTimeouts;
    std::vector<std::string> getUrls;
    std::vector<int64_t> getBudgets;
    std::vector<uint32_t> echoTimes;
    int cancels = 0;

    void Echo(const std::string& host, int64_t timeoutMs, std::function<void(bool)> done) override
    {
        echoHosts.push_back(host);
        echoTimeouts.push_back(timeoutMs);
        echoTimes.push_back(mClock.NowMs());
        if (echoAnswers && echoDelayMs < timeoutMs)
            mEcho.At(echoDelayMs, [done] { done(true); });
        else
            mEcho.At(uint32_t(timeoutMs), [done] { done(false); });
    }
    void Get(const std::string& url, int64_t budgetMs, size_t, std::function<void(bool, const std::string&)> done) override
    {
        getUrls.push_back(url);
        getBudgets.push_back(budgetMs);
        const bool ok = getOk && getDelayMs < budgetMs;
        const std::string answer = body;
        mGet.At(ok ? getDelayMs : uint32_t(budgetMs), [done, ok, answer] { done(ok, ok ? answer : std::string()); });
    }
    void Cancel() override
    {
        ++cancels;
        mEcho.Cancel();
        mGet.Cancel();
    }

private:
    plat::NullClock& mClock;
    OneShot mEcho, mGet;
};

// The browser as a script: pages by address, each completing after its
// delays (none: it never completes).
class FakePageView : public vorsel::PageView {
public:
    struct Page {
        std::vector<uint32_t> completeAfterMs;
        std::string source;
    };
    FakePageView(plat::EventLoop& loop, plat::NullClock& clock) : mLoop(loop), mClock(clock) {}
    std::map<std::wstring, Page> pages;
    std::vector<std::wstring> navigated;
    std::vector<uint32_t> navigatedAt;
    bool saveWorks = true;

    void Navigate(const std::wstring& url) override
    {
        navigated.push_back(url);
        navigatedAt.push_back(mClock.NowMs());
        mShots.clear();
        mDone = false;
        auto it = pages.find(url);
        if (it == pages.end())
            return;
        mSource = it->second.source;
        for (uint32_t delay : it->second.completeAfterMs) {
            mShots.push_back(std::make_unique<OneShot>(mLoop));
            mShots.back()->At(delay, [this] {
                mDone = true;
                if (onDocumentComplete)
                    onDocumentComplete();
            });
        }
    }
    bool SaveDocumentSource(std::string& source) override
    {
        if (!mDone || !saveWorks)
            return false;
        source = mSource;
        return true;
    }
    void Draw(const vorsel::Canvas&) override {}

private:
    plat::EventLoop& mLoop;
    plat::NullClock& mClock;
    std::vector<std::unique_ptr<OneShot>> mShots;
    std::string mSource;
    bool mDone = false;
};

// Files in memory; programs started are recorded with the time.
class FakeHost : public vorsel::LauncherHost {
public:
    explicit FakeHost(plat::NullClock& clock) : mClock(clock) {}
    std::map<std::string, std::string> files;
    bool chdirWorks = true;
    std::vector<std::string> folders;
    struct Start {
        std::string path, folder;
        uint32_t atMs;
    };
    std::vector<Start> started;

    bool ChangeFolder(const std::string& folder) override
    {
        folders.push_back(folder);
        return chdirWorks;
    }
    bool IsRegularFile(const std::string& path) override { return files.count(Resolve(path)) != 0; }
    bool ReadFile(const std::string& path, std::string& bytes) override
    {
        auto it = files.find(Resolve(path));
        if (it == files.end())
            return false;
        bytes = it->second;
        return true;
    }
    void StartProgram(const std::string& path, const std::string& folder) override
    {
        started.push_back({path, folder, mClock.NowMs()});
    }
    // Relative names count from the current folder, which is the launcher's
    // when changing to it worked.
    std::string Resolve(const std::string& path) const
    {
        if (!path.empty() && path[0] == '/')
            return path;
        return chdirWorks ? "/game/" + path : "/elsewhere/" + path;
    }

private:
    plat::NullClock& mClock;
};

} // namespace vorseltest
