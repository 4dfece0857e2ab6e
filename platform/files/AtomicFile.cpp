#include "platform/files/AtomicFile.h"

#include "platform/files/WholeFile.h"

#include <cerrno>
#include <climits>
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

// The file a write of path replaces: path itself, or for a symbolic link the
// file its chain of links names in the end (made when missing), so the link
// stays and its target gets the new content. Empty for a loop of links.
std::string WriteTarget(const std::string& path)
{
    std::string target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return target;
        char link[PATH_MAX];
        const ssize_t n = readlink(target.c_str(), link, sizeof link);
        if (n <= 0 || size_t(n) == sizeof link)
            return std::string();
        const size_t slash = target.rfind('/');
        target = link[0] == '/' || slash == std::string::npos ? std::string(link, size_t(n))
                                                               : target.substr(0, slash + 1) + std::string(link, size_t(n));
    }
    return std::string();
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
    const std::string target = WriteTarget(path);
    if (target.empty())
        return false;
    MakeParents(target);
    std::string tmp = target + ".tmp" + std::to_string(getpid());
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
    if (fault == AtomicWriteFault::Rename || rename(tmp.c_str(), target.c_str()) != 0) {
        unlink(tmp.c_str());
        return false;
    }
    SyncFolderOf(target);
    return true;
}

} // namespace plat
