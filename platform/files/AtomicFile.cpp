#include "platform/files/AtomicFile.h"

#include "platform/files/WholeFile.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

namespace {

const char kTempMark[] = ".tmp";

// The process id a temporary's name ends with; 0 when the rest of the name
// is not one.
pid_t TempOwner(const std::string& rest)
{
    // Written without leading zeros.
    if (rest.empty() || rest.size() > 10 || rest[0] == '0')
        return 0;
    long long pid = 0;
    for (char c : rest) {
        if (c < '0' || c > '9')
            return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid > 0 && pid <= INT32_MAX ? pid_t(pid) : 0;
}

bool ProcessRuns(pid_t pid)
{
    // A process of another user answers "not permitted": it runs.
    return pid == getpid() || kill(pid, 0) == 0 || errno != ESRCH;
}

} // namespace

void RemoveLeftoverTemporaries(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const std::string prefix = path.substr(slash == std::string::npos ? 0 : slash + 1) + kTempMark;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    std::vector<std::string> leftovers;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const pid_t owner = TempOwner(name.substr(prefix.size()));
        struct stat st;
        const std::string full = folder + "/" + name;
        if (owner && !ProcessRuns(owner) && lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            leftovers.push_back(full);
    }
    closedir(dir);
    for (const std::string& leftover : leftovers)
        unlink(leftover.c_str());
}

bool WriteFileAtomically(const std::string& path, const void* data, size_t size)
{
    const AtomicWriteFault fault = TakeFault(path);
    const std::string target = WriteTarget(path);
    if (target.empty())
        return false;
    MakeParents(target);
    std::string tmp = target + kTempMark + std::to_string(getpid());
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
