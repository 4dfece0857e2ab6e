#pragma once

namespace testsupport {

// A name service that never answers: while the object lives it is the host
// resolver (plat::SetHostResolver), and every name look-up blocks until the
// object goes; then the blocked look-ups fail and the real look-up is back.
// A blocked look-up also gives up after a minute, so a caller that waits
// for it cannot hang a test for good. Dotted addresses never reach it.
class SilentResolver {
public:
    SilentResolver();
    ~SilentResolver();
    SilentResolver(const SilentResolver&) = delete;
    SilentResolver& operator=(const SilentResolver&) = delete;

    // Look-ups asked of it so far.
    int Asked() const;
    // Look-ups that came back: none does while the object lives, unless
    // someone waited the whole minute for one.
    int Answered() const;
    // Waits (bounded) until a look-up has been asked.
    bool WaitAsked() const;
};

} // namespace testsupport
