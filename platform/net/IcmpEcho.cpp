#include "platform/net/IcmpEcho.h"

#include "platform/loop/Canceller.h"
#include "platform/net/HostLookup.h"
#include "platform/net/IcmpEchoReply.h"

#include <atomic>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace plat {

namespace {

std::atomic<uint16_t> gNextId{0};

// Opens a datagram ICMP socket, else a raw one; -1 when neither opens.
int OpenIcmpSocket(bool& raw)
{
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    raw = false;
    if (fd >= 0)
        return fd;
    fd = socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    raw = true;
    return fd;
}

uint16_t Checksum(const uint8_t* data, size_t size)
{
    uint32_t sum = 0;
    for (size_t i = 0; i + 1 < size; i += 2)
        sum += uint32_t(data[i]) << 8 | data[i + 1];
    if (size & 1)
        sum += uint32_t(data[size - 1]) << 8;
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return uint16_t(~sum);
}

bool Fail(std::string* error, const char* why)
{
    if (error)
        *error = why;
    return false;
}

} // namespace

bool IcmpAvailable()
{
    bool raw = false;
    const int fd = OpenIcmpSocket(raw);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

EchoStatus IcmpEcho(const std::string& host, int64_t timeoutMs, const Canceller* cancel, std::string* error)
{
    if (timeoutMs <= 0) {
        Fail(error, "no time to wait");
        return EchoStatus::Error;
    }
    // One deadline over the look-up and the wait for the answer.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    HostLookup lookup(host);
    switch (lookup.Wait(timeoutMs, cancel)) {
    case HostLookup::State::Found:
        break;
    case HostLookup::State::NotFound:
        Fail(error, "host not found");
        return EchoStatus::Error;
    case HostLookup::State::Pending:
        Fail(error, "name look-up timed out");
        return EchoStatus::TimedOut;
    case HostLookup::State::Cancelled:
        Fail(error, "cancelled");
        return EchoStatus::Error;
    }
    const uint32_t target = lookup.Address();
    bool raw = false;
    const int fd = OpenIcmpSocket(raw);
    if (fd < 0) {
        Fail(error, "no ICMP socket");
        return EchoStatus::Error;
    }
    struct Closer {
        int fd;
        ~Closer() { close(fd); }
    } closer{fd};

    uint16_t id = uint16_t(getpid() * 31 + gNextId.fetch_add(1));
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = target;
    uint8_t request[8] = {8, 0, 0, 0, uint8_t(id >> 8), uint8_t(id), 0, 0};
    const uint16_t sum = Checksum(request, sizeof request);
    request[2] = uint8_t(sum >> 8);
    request[3] = uint8_t(sum);
    if (sendto(fd, request, sizeof request, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) != sizeof request) {
        Fail(error, "send failed");
        return EchoStatus::Error;
    }
    if (!raw) { // the kernel chose the identifier: the socket's local port
        sockaddr_in local{};
        socklen_t len = sizeof local;
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &len) == 0)
            id = ntohs(local.sin_port);
    }

    uint8_t buf[1500];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0)
            return EchoStatus::TimedOut;
        pollfd p[2] = {{fd, POLLIN, 0}, {cancel ? cancel->Fd() : -1, POLLIN, 0}};
        const int n = poll(p, cancel ? 2 : 1, int(left > 0x7FFFFFFF ? 0x7FFFFFFF : left));
        if (n < 0)
            continue;
        if (cancel && (p[1].revents & POLLIN)) {
            Fail(error, "cancelled");
            return EchoStatus::Error;
        }
        if (n == 0 || !(p[0].revents & (POLLIN | POLLERR)))
            continue;
        sockaddr_in from{};
        socklen_t fromLen = sizeof from;
        const ssize_t got = recvfrom(fd, buf, sizeof buf, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &fromLen);
        if (got < 0)
            continue; // an error queued for the socket, or nothing after all
        switch (ReadEchoReply(buf, size_t(got), raw, from.sin_addr.s_addr, target, id)) {
        case EchoReplyKind::Echo:
            return EchoStatus::Echo;
        case EchoReplyKind::Unreachable:
            Fail(error, "unreachable");
            return EchoStatus::Unreachable;
        case EchoReplyKind::Other:
            break;
        }
    }
}

} // namespace plat
