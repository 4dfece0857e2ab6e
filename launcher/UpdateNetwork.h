#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace vorsel {

// The update check's two network calls. Each runs elsewhere and reports
// its outcome once, through the loop, unless Cancel came first.
class UpdateNetwork {
public:
    virtual ~UpdateNetwork() = default;
    // One ICMP echo; done(true) when the host answered in time.
    virtual void Echo(const std::string& host, int64_t timeoutMs, std::function<void(bool)> done) = 0;
    // A GET of an "http://" address within one deadline; done(true, body)
    // for a whole 2xx answer of at most bodyCap bytes.
    virtual void Get(const std::string& url, int64_t budgetMs, size_t bodyCap,
                     std::function<void(bool, const std::string&)> done) = 0;
    // Drops the running call; its done never runs.
    virtual void Cancel() = 0;
};

} // namespace vorsel
