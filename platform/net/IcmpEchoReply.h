#pragma once
#include <cstddef>
#include <cstdint>

namespace plat {

// What one datagram received on the echo socket says about our request.
enum class EchoReplyKind {
    Other,       // not about our request (someone else's traffic, our own request on loopback, damage)
    Echo,        // the target's echo reply with our identifier and sequence 0
    Unreachable, // the network's report that our request cannot reach the target
};

// Reads a datagram of `size` bytes: the ICMP message itself from a datagram
// socket, or the IPv4 header and then the message from a raw socket.
// `from` and `target` are addresses in network byte order, `id` the
// identifier of our request. Reads no byte past `size`.
EchoReplyKind ReadEchoReply(const uint8_t* data, size_t size, bool raw, uint32_t from, uint32_t target, uint16_t id);

} // namespace plat
