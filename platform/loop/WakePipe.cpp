#include "platform/loop/WakePipe.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace plat {

WakePipe::WakePipe()
{
    int fds[2];
    if (pipe2(fds, O_NONBLOCK | O_CLOEXEC) == 0) {
        mRead = fds[0];
        mWrite = fds[1];
    }
}

WakePipe::~WakePipe()
{
    if (mRead >= 0)
        close(mRead);
    if (mWrite >= 0)
        close(mWrite);
}

void WakePipe::Wake()
{
    if (mWrite >= 0) {
        const char b = 1;
        ssize_t r = write(mWrite, &b, 1); // a full pipe is awake already
        (void)r;
    }
}

bool WakePipe::Woken() const
{
    pollfd p{mRead, POLLIN, 0};
    return mRead >= 0 && poll(&p, 1, 0) > 0;
}

void WakePipe::Drain()
{
    char buf[64];
    while (mRead >= 0 && read(mRead, buf, sizeof buf) > 0) {
    }
}

} // namespace plat
