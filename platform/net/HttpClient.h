#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace plat {

class Canceller;

// The parts of an "http://" address (the scheme in any case). The path keeps
// its query and has blanks, control characters and bytes above 0x7E
// percent-encoded; it is "/" when the address has none. False for any other
// scheme or an empty host.
struct HttpUrl {
    std::string host;
    uint16_t port = 80;
    std::string path = "/";
    std::string hostHeader; // host, with ":port" when the port is not 80
};
bool ParseHttpUrl(const std::string& url, HttpUrl& out);

struct HttpResult {
    bool ok = false;  // a 2xx answer arrived whole
    int status = 0;   // 0 when no answer arrived
    std::string body;
    std::string contentType;
    std::string finalUrl; // after redirects
    std::string error;    // why it failed
};

struct HttpGetOptions {
    int64_t budgetMs = 10000;      // one deadline over resolution, connect, send and receive
    size_t bodyCap = 1 << 20;      // a larger body fails the request
    int maxRedirects = 0;          // 3xx answers followed (0: a 3xx fails)
    const Canceller* cancel = nullptr; // a cancel ends the request at once
};

// A blocking HTTP/1.1 GET over IPv4: "GET <path> HTTP/1.1" with Host,
// "Accept: text/html, */*", "User-Agent: Mozilla/3.0 (compatible; Indy
// Library)" and "Connection: close". Success is a whole 2xx answer only.
HttpResult HttpGet(const std::string& url, const HttpGetOptions& options);

// The request bytes HttpGet sends for the address.
std::string HttpRequestBytes(const HttpUrl& url);

} // namespace plat
