#include "platform/files/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
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
} // namespace

bool WriteFileAtomically(const std::string& path, const void* data, size_t size)
{
    MakeParents(path);
    std::string tmp = path + ".tmp" + std::to_string(getpid());
    int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const char* p = static_cast<const char*>(data);
    size_t left = size;
    while (left > 0) {
        ssize_t n = write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            close(fd);
            unlink(tmp.c_str());
            return false;
        }
        p += n;
        left -= size_t(n);
    }
    if (fsync(fd) != 0 || close(fd) != 0) {
        unlink(tmp.c_str());
        return false;
    }
    if (rename(tmp.c_str(), path.c_str()) != 0) {
        unlink(tmp.c_str());
        return false;
    }
    return true;
}

} // namespace plat
