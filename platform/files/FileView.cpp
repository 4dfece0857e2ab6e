#include "platform/files/FileView.h"

#include "platform/files/DiskFiles.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace plat {

FileView::~FileView()
{
    Close();
}

FileView::FileView(FileView&& other) noexcept
    : mData(std::exchange(other.mData, nullptr)), mSize(std::exchange(other.mSize, 0)),
      mOpen(std::exchange(other.mOpen, false))
{
}

FileView& FileView::operator=(FileView&& other) noexcept
{
    if (this != &other) {
        Close();
        mData = std::exchange(other.mData, nullptr);
        mSize = std::exchange(other.mSize, 0);
        mOpen = std::exchange(other.mOpen, false);
    }
    return *this;
}

bool FileView::Open(const std::string& name)
{
    Close();
    const std::string path = ResolvePath(name);
    if (path.empty())
        return false;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    if (st.st_size > 0) {
        void* view = ::mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (view == MAP_FAILED) {
            ::close(fd);
            return false;
        }
        mData = static_cast<const uint8_t*>(view);
    }
    ::close(fd); // the mapping keeps the file's pages
    mSize = uint64_t(st.st_size);
    mOpen = true;
    return true;
}

void FileView::Close()
{
    if (mData)
        ::munmap(const_cast<uint8_t*>(mData), size_t(mSize));
    mData = nullptr;
    mSize = 0;
    mOpen = false;
}

} // namespace plat
