#pragma once
#include <cstdint>
#include <string>

namespace plat {

class Canceller;

// The outcome of one echo request.
enum class EchoStatus {
    Echo,        // the host answered
    TimedOut,    // no answer (or no address for the name) before the time-out
    Unreachable, // the network reported the host unreachable
    Error,       // the name did not resolve, no ICMP socket could be opened, a send failed, cancelled
};

// Sends one ICMP echo request (IPv4, empty data, sequence 0) to the host and
// waits for the answer; timeoutMs covers the look-up of a host name too. An
// unprivileged datagram ICMP socket is used where the system allows it, else
// a raw one. Only an echo reply from the target address with our identifier
// and sequence counts: a raw socket also sees other traffic, our own request
// on loopback included. A time-out of 0 or less fails at once.
EchoStatus IcmpEcho(const std::string& host, int64_t timeoutMs, const Canceller* cancel = nullptr,
                    std::string* error = nullptr);

// Whether this process can open any ICMP socket (tests skip without one).
bool IcmpAvailable();

} // namespace plat
