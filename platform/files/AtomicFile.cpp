#include "platform/files/AtomicFile.h"

#include "platform/files/WholeFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {

namespace {
void MakeParents(const std::string& path)
{
    for (size_t i = 1; i < path.size(); ++i) {
        if (path[i] == '/')
            mkdir(path.substr(0, i).c_str(), 0755);
    }
}

std::mutex gFaultLock;
AtomicWriteFault gFault = AtomicWriteFault::None;
std::string gFaultPathEnd;

// The fault armed for this path, disarmed once taken.
AtomicWriteFault TakeFault(const std::string& path)
{
    std::lock_guard<std::mutex> hold(gFaultLock);
    if (gFault == AtomicWriteFault::None)
        return gFault;
    if (path.size() < gFaultPathEnd.size() ||
        path.compare(path.size() - gFaultPathEnd.size(), gFaultPathEnd.size(), gFaultPathEnd) != 0)
        return AtomicWriteFault::None;
    AtomicWriteFault fault = gFault;
    gFault = AtomicWriteFault::None;
    return fault;
}

} // namespace

void FailNextAtomicWrite(AtomicWriteFault fault, const std::string& pathEnd)
{
    std::lock_guard<std::mutex> hold(gFaultLock);
    gFault = fault;
    gFaultPathEnd = pathEnd;
}

bool WriteFileAtomically(const std::string& path, const void* data, size_t size)
{
    const AtomicWriteFault fault = TakeFault(path);
    MakeParents(path);
    std::string tmp = path + ".tmp" + std::to_string(getpid());
    int fd = fault == AtomicWriteFault::Open ? -1 : open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const char* p = static_cast<const char*>(data);
    if (fault == AtomicWriteFault::Write || !WriteAll(fd, p, size)) {
        close(fd);
        unlink(tmp.c_str());
        return false;
    }
    if (fault == AtomicWriteFault::Fsync || fsync(fd) != 0) {
        close(fd);
        unlink(tmp.c_str());
        return false;
    }
    if (close(fd) != 0) {
        unlink(tmp.c_str());
        return false;
    }
    if (fault == AtomicWriteFault::StopAfterTemp)
        return false;
    if (fault == AtomicWriteFault::Rename || rename(tmp.c_str(), path.c_str()) != 0) {
        unlink(tmp.c_str());
        return false;
    }
    SyncFolderOf(path);
    return true;
}

} // namespace plat
