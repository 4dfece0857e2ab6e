#include "platform/net/HttpClient.h"

#include "platform/loop/Canceller.h"
#include "platform/net/HostLookup.h"
#include "platform/net/HttpResponseParser.h"
#include "platform/net/TcpSocket.h"

#include <chrono>
#include <poll.h>

namespace plat {

namespace {

bool StartsWithNoCase(const std::string& s, const char* prefix)
{
    for (size_t i = 0; prefix[i]; ++i) {
        if (i >= s.size())
            return false;
        char c = s[i];
        if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
        if (c != prefix[i])
            return false;
    }
    return true;
}

using SteadyClock = std::chrono::steady_clock;

int64_t MsLeft(SteadyClock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
    return left < 0 ? 0 : int64_t(left);
}

enum class Ready { Yes, Timeout, Cancelled };

// Waits for the socket (read or write) until the deadline or a cancel.
Ready WaitSocket(int fd, bool write, SteadyClock::time_point deadline, const Canceller* cancel)
{
    for (;;) {
        const int64_t left = MsLeft(deadline);
        if (left <= 0)
            return Ready::Timeout;
        pollfd p[2] = {{fd, short(write ? POLLOUT : POLLIN), 0}, {cancel ? cancel->Fd() : -1, POLLIN, 0}};
        const int n = poll(p, cancel ? 2 : 1, int(left > 0x7FFFFFFF ? 0x7FFFFFFF : left));
        if (n < 0)
            continue; // EINTR
        if (cancel && (p[1].revents & POLLIN))
            return Ready::Cancelled;
        if (n > 0)
            return Ready::Yes;
    }
}

// One request, no redirects.
HttpResult GetOnce(const std::string& url, SteadyClock::time_point deadline, const HttpGetOptions& options,
                   std::string& location)
{
    HttpResult r;
    r.finalUrl = url;
    HttpUrl u;
    if (!ParseHttpUrl(url, u)) {
        r.error = "not an http address";
        return r;
    }
    // The look-up is inside the deadline: a name server that never answers
    // costs the budget, not more.
    HostLookup lookup(u.host);
    switch (lookup.Wait(MsLeft(deadline), options.cancel)) {
    case HostLookup::State::Found:
        break;
    case HostLookup::State::NotFound:
        r.error = "host not found";
        return r;
    case HostLookup::State::Pending:
        r.error = "timed out";
        return r;
    case HostLookup::State::Cancelled:
        r.error = "cancelled";
        return r;
    }
    const uint32_t address = lookup.Address();
    if (MsLeft(deadline) <= 0) {
        r.error = "timed out";
        return r;
    }
    TcpSocket s;
    if (!s.Open()) {
        r.error = "no socket";
        return r;
    }
    TcpSocket::ConnectState c = s.Connect(address, u.port);
    if (c == TcpSocket::ConnectState::InProgress) {
        const Ready w = WaitSocket(s.Fd(), true, deadline, options.cancel);
        if (w != Ready::Yes) {
            r.error = w == Ready::Timeout ? "timed out" : "cancelled";
            return r;
        }
        c = s.PendingError() == 0 ? TcpSocket::ConnectState::Connected : TcpSocket::ConnectState::Failed;
    }
    if (c != TcpSocket::ConnectState::Connected) {
        r.error = "connection refused";
        return r;
    }
    const std::string request = HttpRequestBytes(u);
    size_t sent = 0;
    while (sent < request.size()) {
        const long n = s.Send(request.data() + sent, request.size() - sent);
        if (n < 0) {
            r.error = "send failed";
            return r;
        }
        sent += size_t(n);
        if (sent < request.size()) {
            const Ready w = WaitSocket(s.Fd(), true, deadline, options.cancel);
            if (w != Ready::Yes) {
                r.error = w == Ready::Timeout ? "timed out" : "cancelled";
                return r;
            }
        }
    }
    HttpResponseParser parser(options.bodyCap);
    char buf[16384];
    while (parser.Current() == HttpResponseParser::State::NeedMore) {
        const long n = s.Receive(buf, sizeof buf);
        if (n == TcpSocket::kWouldBlock) {
            const Ready w = WaitSocket(s.Fd(), false, deadline, options.cancel);
            if (w != Ready::Yes) {
                r.error = w == Ready::Timeout ? "timed out" : "cancelled";
                return r;
            }
            continue;
        }
        if (n < 0) {
            r.error = "receive failed";
            return r;
        }
        if (n == 0)
            parser.Finish();
        else
            parser.Feed(buf, size_t(n));
        if (MsLeft(deadline) <= 0 && parser.Current() == HttpResponseParser::State::NeedMore) {
            r.error = "timed out";
            return r;
        }
    }
    if (parser.Current() == HttpResponseParser::State::Error) {
        r.status = parser.Status();
        r.error = parser.Error();
        return r;
    }
    r.status = parser.Status();
    r.contentType = parser.Header("Content-Type");
    location = parser.Header("Location");
    if (r.status >= 200 && r.status < 300) {
        r.ok = true;
        r.body = parser.Body();
    } else {
        r.error = "status " + std::to_string(r.status);
    }
    return r;
}

// The target of a Location header: absolute, or a path on the same host.
std::string Resolve(const std::string& base, const std::string& location)
{
    if (StartsWithNoCase(location, "http://") || location.find("://") != std::string::npos)
        return location;
    HttpUrl u;
    if (!ParseHttpUrl(base, u) || location.empty())
        return std::string();
    return "http://" + u.hostHeader + (location[0] == '/' ? location : "/" + location);
}

} // namespace

bool ParseHttpUrl(const std::string& url, HttpUrl& out)
{
    if (!StartsWithNoCase(url, "http://"))
        return false;
    const std::string rest = url.substr(7);
    const size_t slash = rest.find_first_of("/?#");
    std::string authority = rest.substr(0, slash);
    std::string path = slash == std::string::npos ? "/" : rest.substr(slash);
    if (!path.empty() && path[0] != '/')
        path = "/" + path;
    const size_t hash = path.find('#');
    if (hash != std::string::npos)
        path.erase(hash);
    if (const size_t at = authority.rfind('@'); at != std::string::npos)
        authority.erase(0, at + 1); // user information is not sent
    out = HttpUrl();
    const size_t colon = authority.find(':');
    out.host = authority.substr(0, colon);
    if (out.host.empty())
        return false;
    if (colon != std::string::npos) {
        const std::string port = authority.substr(colon + 1);
        if (port.empty() || port.size() > 5)
            return false;
        unsigned value = 0;
        for (char c : port) {
            if (c < '0' || c > '9')
                return false;
            value = value * 10 + unsigned(c - '0');
        }
        if (value == 0 || value > 65535)
            return false;
        out.port = uint16_t(value);
    }
    out.hostHeader = out.port == 80 ? out.host : out.host + ":" + std::to_string(out.port);
    static const char hex[] = "0123456789ABCDEF";
    out.path.clear();
    for (unsigned char c : path) {
        if (c <= 0x20 || c >= 0x7F) {
            out.path += '%';
            out.path += hex[c >> 4];
            out.path += hex[c & 15];
        } else {
            out.path += char(c);
        }
    }
    return true;
}

std::string HttpRequestBytes(const HttpUrl& url)
{
    return "GET " + url.path + " HTTP/1.1\r\n" + "Host: " + url.hostHeader + "\r\n" +
           "Accept: text/html, */*\r\n"
           "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
           "Connection: close\r\n"
           "\r\n";
}

HttpResult HttpGet(const std::string& url, const HttpGetOptions& options)
{
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(options.budgetMs < 0 ? 0 : options.budgetMs);
    std::string current = url;
    for (int hop = 0;; ++hop) {
        std::string location;
        HttpResult r = GetOnce(current, deadline, options, location);
        const bool redirect = r.status >= 300 && r.status < 400 && !location.empty();
        if (!redirect || hop >= options.maxRedirects)
            return r;
        current = Resolve(current, location);
        if (current.empty())
            return r;
    }
}

} // namespace plat
