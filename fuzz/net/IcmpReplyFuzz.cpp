// The ICMP echo's reading of a received datagram over any bytes. The first
// byte chooses a raw or a datagram socket and whether the sender is the
// target; the next two are our identifier; the rest is the datagram, read
// from a buffer of exactly its size.
#include "platform/net/IcmpEchoReply.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const bool raw = data[0] & 1;
    const uint32_t target = 0x0100007F; // 127.0.0.1
    const uint32_t from = (data[0] & 2) ? target : 0x0200007F;
    const uint16_t id = uint16_t(data[1] << 8 | data[2]);
    const std::vector<uint8_t> datagram(data + 3, data + size);
    const plat::EchoReplyKind kind = plat::ReadEchoReply(datagram.data(), datagram.size(), raw, from, target, id);
    if (kind == plat::EchoReplyKind::Echo && from != target)
        __builtin_trap();
    if (kind == plat::EchoReplyKind::Unreachable && !raw)
        __builtin_trap();
    return 0;
}
