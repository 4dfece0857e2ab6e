#include "launcher/WorkerUpdateNetwork.h"

#include "platform/loop/BackgroundTask.h"
#include "platform/net/HttpClient.h"
#include "platform/net/IcmpEcho.h"

namespace vorsel {

WorkerUpdateNetwork::WorkerUpdateNetwork(plat::EventLoop& loop) : mLoop(loop) {}

WorkerUpdateNetwork::~WorkerUpdateNetwork()
{
    Cancel();
}

void WorkerUpdateNetwork::Echo(const std::string& host, int64_t timeoutMs, std::function<void(bool)> done)
{
    Cancel();
    auto status = std::make_shared<plat::EchoStatus>(plat::EchoStatus::Error);
    mTask = std::make_unique<plat::BackgroundTask>(
        mLoop, [host, timeoutMs, status](const plat::Canceller& c) { *status = plat::IcmpEcho(host, timeoutMs, &c); },
        [status, done = std::move(done)] { done(*status == plat::EchoStatus::Echo); });
}

void WorkerUpdateNetwork::Get(const std::string& url, int64_t budgetMs, size_t bodyCap,
                              std::function<void(bool, const std::string&)> done)
{
    Cancel();
    auto result = std::make_shared<plat::HttpResult>();
    mTask = std::make_unique<plat::BackgroundTask>(
        mLoop,
        [url, budgetMs, bodyCap, result](const plat::Canceller& c) {
            plat::HttpGetOptions options;
            options.budgetMs = budgetMs;
            options.bodyCap = bodyCap;
            options.cancel = &c;
            *result = plat::HttpGet(url, options);
        },
        [result, done = std::move(done)] { done(result->ok, result->body); });
}

void WorkerUpdateNetwork::Cancel()
{
    mTask.reset();
}

} // namespace vorsel
