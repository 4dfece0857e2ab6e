#include "platform/files/WholeFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {

WholeFileRead ReadWholeFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? WholeFileRead::Missing : WholeFileRead::Failed;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return WholeFileRead::Failed;
    }
    char buffer[65536];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            close(fd);
            bytes.clear();
            return WholeFileRead::Failed;
        }
        if (n == 0)
            break;
        bytes.append(buffer, size_t(n));
    }
    close(fd);
    return WholeFileRead::Ok;
}

bool WriteAll(int fd, const void* data, size_t size)
{
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = write(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= size_t(n);
    }
    return true;
}

void SyncFolderOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash ? slash : 1);
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

std::string KeepFileAside(const std::string& path, const void* data, size_t size)
{
    for (int n = 0; n < 10000; ++n) {
        std::string aside = n == 0 ? path + ".bad" : path + "." + std::to_string(n) + ".bad";
        int fd = open(aside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return {};
        }
        bool ok = WriteAll(fd, data, size) && fsync(fd) == 0;
        ok = close(fd) == 0 && ok;
        if (!ok) {
            unlink(aside.c_str());
            return {};
        }
        SyncFolderOf(aside);
        return aside;
    }
    return {};
}

} // namespace plat
