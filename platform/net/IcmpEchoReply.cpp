#include "platform/net/IcmpEchoReply.h"

#include <cstring>

namespace plat {

namespace {

uint16_t Be16(const uint8_t* p)
{
    return uint16_t(p[0] << 8 | p[1]);
}

} // namespace

EchoReplyKind ReadEchoReply(const uint8_t* data, size_t size, bool raw, uint32_t from, uint32_t target, uint16_t id)
{
    const uint8_t* icmp = data;
    if (raw) { // the IP header comes first
        if (size < 20)
            return EchoReplyKind::Other;
        const size_t ipLength = size_t(data[0] & 15) * 4;
        if (ipLength < 20 || ipLength + 8 > size)
            return EchoReplyKind::Other;
        icmp += ipLength;
        size -= ipLength;
    }
    if (size < 8)
        return EchoReplyKind::Other;
    if (icmp[0] == 0 && icmp[1] == 0) { // echo reply
        if (from == target && Be16(icmp + 4) == id && Be16(icmp + 6) == 0)
            return EchoReplyKind::Echo;
        return EchoReplyKind::Other;
    }
    // Unreachable: the report quotes the IP header and the first 8 bytes of
    // the request it is about. A datagram socket reports it as a socket error
    // instead.
    if (raw && icmp[0] == 3 && size >= 8 + 20 + 8) {
        const uint8_t* inner = icmp + 8;
        const size_t innerIp = size_t(inner[0] & 15) * 4;
        if (innerIp < 20 || 8 + innerIp + 8 > size)
            return EchoReplyKind::Other;
        uint32_t innerTarget;
        std::memcpy(&innerTarget, inner + 16, 4);
        const uint8_t* innerIcmp = inner + innerIp;
        if (innerTarget == target && innerIcmp[0] == 8 && Be16(innerIcmp + 4) == id)
            return EchoReplyKind::Unreachable;
    }
    return EchoReplyKind::Other;
}

} // namespace plat
