#include "platform/loop/Canceller.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace plat {

Canceller::Canceller()
{
    int fds[2];
    if (pipe2(fds, O_NONBLOCK | O_CLOEXEC) == 0) {
        mRead = fds[0];
        mWrite = fds[1];
    }
}

Canceller::~Canceller()
{
    if (mRead >= 0)
        close(mRead);
    if (mWrite >= 0)
        close(mWrite);
}

void Canceller::Cancel()
{
    const char b = 1;
    ssize_t r = write(mWrite, &b, 1);
    (void)r;
}

bool Canceller::Cancelled() const
{
    pollfd p{mRead, POLLIN, 0};
    return poll(&p, 1, 0) > 0;
}

} // namespace plat
