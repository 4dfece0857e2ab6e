#pragma once
#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace plat {

// One running copy per product name. The first copy holds a lock file named
// after the product in the runtime folder and listens on a local socket of the
// same name; a later copy fails to take the lock and pokes that socket, which
// makes the first copy call onNotify (on its listening thread).
class SingleInstance {
public:
    explicit SingleInstance(std::string runtimeFolder) : mFolder(std::move(runtimeFolder)) {}
    ~SingleInstance();
    // True when this process is the first; false when another holds the name.
    bool Acquire(const std::string& name);
    // Tells the first copy that another one was started.
    bool NotifyFirst(const std::string& name);
    void Release();
    std::function<void()> onNotify;

private:
    std::string LockPath(const std::string& name) const;
    std::string SocketPath(const std::string& name) const;
    void Listen();
    std::string mFolder;
    int mLockFd = -1;
    int mListenFd = -1;
    int mWakeFd[2] = {-1, -1};
    std::thread mListener;
    std::string mSocketPath;
};

} // namespace plat
