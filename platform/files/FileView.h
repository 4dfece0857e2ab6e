#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace plat {

// A read-only view of a whole file in memory (a private mapping). The view
// stays valid, and unchanged by writes to the file, until it is closed or the
// object ends. Reads of the view from several threads need no lock.
class FileView {
public:
    FileView() = default;
    ~FileView();
    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;
    FileView(FileView&& other) noexcept;
    FileView& operator=(FileView&& other) noexcept;

    // Maps the named file (resolved as DiskFiles.h does); false when it cannot
    // be opened, is not a regular file or cannot be mapped. An empty file
    // gives an open view of size 0.
    bool Open(const std::string& name);
    void Close();

    bool IsOpen() const { return mOpen; }
    const uint8_t* Data() const { return mData; }
    uint64_t Size() const { return mSize; }

private:
    const uint8_t* mData = nullptr;
    uint64_t mSize = 0;
    bool mOpen = false;
};

} // namespace plat
