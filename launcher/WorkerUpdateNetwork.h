#pragma once
#include "launcher/UpdateNetwork.h"

#include <memory>

namespace plat {
class BackgroundTask;
class EventLoop;
} // namespace plat

namespace vorsel {

// The update check's calls on a short-lived worker each (the ICMP echo and
// our HTTP client), their outcome posted to the loop; Cancel stops the
// worker and joins it.
class WorkerUpdateNetwork : public UpdateNetwork {
public:
    explicit WorkerUpdateNetwork(plat::EventLoop& loop);
    ~WorkerUpdateNetwork() override;
    void Echo(const std::string& host, int64_t timeoutMs, std::function<void(bool)> done) override;
    void Get(const std::string& url, int64_t budgetMs, size_t bodyCap,
             std::function<void(bool, const std::string&)> done) override;
    void Cancel() override;

private:
    plat::EventLoop& mLoop;
    std::unique_ptr<plat::BackgroundTask> mTask;
};

} // namespace vorsel
