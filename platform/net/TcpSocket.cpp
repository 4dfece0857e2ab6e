#include "platform/net/TcpSocket.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace plat {

bool TcpSocket::Open()
{
    Close();
    mFd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
    return mFd >= 0;
}

void TcpSocket::Close()
{
    if (mFd >= 0)
        close(mFd);
    mFd = -1;
}

TcpSocket::ConnectState TcpSocket::Connect(uint32_t address, uint16_t port)
{
    sockaddr_in to;
    std::memset(&to, 0, sizeof to);
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = address;
    if (connect(mFd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0)
        return ConnectState::Connected;
    return errno == EINPROGRESS || errno == EINTR ? ConnectState::InProgress : ConnectState::Failed;
}

int TcpSocket::PendingError()
{
    int err = 0;
    socklen_t len = sizeof err;
    if (getsockopt(mFd, SOL_SOCKET, SO_ERROR, &err, &len) != 0)
        return errno;
    return err;
}

TcpSocket::WaitState TcpSocket::Wait(bool wantRead, bool wantWrite, int timeoutMs)
{
    pollfd p;
    p.fd = mFd;
    p.events = short((wantRead ? POLLIN : 0) | (wantWrite ? POLLOUT : 0));
    p.revents = 0;
    int n = poll(&p, 1, timeoutMs);
    if (n < 0)
        return errno == EINTR ? WaitState::Timeout : WaitState::Error;
    if (n == 0)
        return WaitState::Timeout;
    if (p.revents & POLLNVAL)
        return WaitState::Error;
    // A pending error with the socket readable, writable or hung up is left
    // to the next call (receive, send, or the SO_ERROR of a connect), which
    // tells what happened after any data that did arrive.
    if (p.revents & (POLLIN | POLLOUT | POLLHUP))
        return WaitState::Ready;
    return (p.revents & POLLERR) ? WaitState::Error : WaitState::Timeout;
}

long TcpSocket::Send(const char* data, size_t size)
{
    ssize_t n = send(mFd, data, size, MSG_NOSIGNAL);
    if (n >= 0)
        return long(n);
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? 0 : -1;
}

long TcpSocket::Receive(char* data, size_t size)
{
    ssize_t n = recv(mFd, data, size, 0);
    if (n >= 0)
        return long(n);
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? kWouldBlock : -1;
}

} // namespace plat
