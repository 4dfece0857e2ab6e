#include "platform/net/IcmpEcho.h"

#include "platform/loop/Canceller.h"
#include "platform/net/TcpSocket.h"

#include <atomic>
#include <chrono>
#include <cstring>
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

uint16_t Be16(const uint8_t* p)
{
    return uint16_t(p[0] << 8 | p[1]);
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
    uint32_t target = 0;
    if (!ResolveHost(host, target)) {
        Fail(error, "host not found");
        return EchoStatus::Error;
    }
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

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
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
        const uint8_t* icmp = buf;
        size_t size = size_t(got);
        if (raw) { // the IP header comes first
            if (size < 20)
                continue;
            const size_t ipLength = size_t(buf[0] & 15) * 4;
            if (ipLength < 20 || ipLength + 8 > size)
                continue;
            icmp += ipLength;
            size -= ipLength;
        }
        if (size < 8)
            continue;
        if (icmp[0] == 0 && icmp[1] == 0) { // echo reply
            if (from.sin_addr.s_addr == target && Be16(icmp + 4) == id && Be16(icmp + 6) == 0)
                return EchoStatus::Echo;
            continue;
        }
        if (raw && icmp[0] == 3 && size >= 8 + 20 + 8) { // unreachable: is it about our request?
            const uint8_t* inner = icmp + 8;
            const size_t innerIp = size_t(inner[0] & 15) * 4;
            if (innerIp < 20 || 8 + innerIp + 8 > size)
                continue;
            uint32_t innerTarget;
            memcpy(&innerTarget, inner + 16, 4);
            const uint8_t* innerIcmp = inner + innerIp;
            if (innerTarget == target && innerIcmp[0] == 8 && Be16(innerIcmp + 4) == id) {
                Fail(error, "unreachable");
                return EchoStatus::Unreachable;
            }
        }
    }
}

} // namespace plat
