#include "platform/instance/SingleInstance.h"
#include "platform/crash/ThreadStart.h"

#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace plat {

namespace {
std::string SafeName(const std::string& name)
{
    std::string out;
    for (unsigned char c : name)
        out += (c == '/' || c == '\\' || c < 0x20) ? '_' : char(c);
    return out;
}

bool FillAddress(const std::string& path, sockaddr_un& addr)
{
    memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path)
        return false;
    memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return true;
}
} // namespace

SingleInstance::~SingleInstance() { Release(); }

std::string SingleInstance::LockPath(const std::string& name) const
{
    return mFolder + "/" + SafeName(name) + ".lock";
}

std::string SingleInstance::SocketPath(const std::string& name) const
{
    return mFolder + "/" + SafeName(name) + ".sock";
}

bool SingleInstance::Acquire(const std::string& name)
{
    if (mLockFd >= 0)
        return true;
    mkdir(mFolder.c_str(), 0700);
    int fd = open(LockPath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true; // cannot tell: behave as the only copy
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    mLockFd = fd;

    mSocketPath = SocketPath(name);
    sockaddr_un addr;
    if (!FillAddress(mSocketPath, addr))
        return true;
    unlink(mSocketPath.c_str());
    int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0)
        return true;
    if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(s, 4) != 0) {
        close(s);
        return true;
    }
    mListenFd = s;
    if (pipe2(mWakeFd, O_CLOEXEC) != 0) {
        mWakeFd[0] = mWakeFd[1] = -1;
        return true; // no way to stop a listener: nobody will be told of later copies
    }
    mListener = StartThread("zelk-instance", [this] { Listen(); });
    return true;
}

void SingleInstance::Listen()
{
    for (;;) {
        pollfd fds[2] = {{mListenFd, POLLIN, 0}, {mWakeFd[0], POLLIN, 0}};
        int n = poll(fds, 2, -1);
        if (n < 0)
            continue;
        if (fds[1].revents)
            return;
        if (fds[0].revents & POLLIN) {
            int c = accept4(mListenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (c >= 0) {
                close(c);
                if (onNotify)
                    onNotify();
            }
        }
    }
}

bool SingleInstance::NotifyFirst(const std::string& name)
{
    sockaddr_un addr;
    if (!FillAddress(SocketPath(name), addr))
        return false;
    int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0)
        return false;
    bool ok = connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    close(s);
    return ok;
}

void SingleInstance::Release()
{
    if (mListener.joinable()) {
        if (mWakeFd[1] >= 0) {
            char b = 1;
            (void)!write(mWakeFd[1], &b, 1);
        }
        mListener.join();
    }
    for (int* fd : {&mListenFd, &mWakeFd[0], &mWakeFd[1]}) {
        if (*fd >= 0)
            close(*fd);
        *fd = -1;
    }
    if (!mSocketPath.empty()) {
        unlink(mSocketPath.c_str());
        mSocketPath.clear();
    }
    if (mLockFd >= 0) {
        close(mLockFd);
        mLockFd = -1;
    }
}

} // namespace plat
