#pragma once
#include "launcher/gif/Stream.h"
#include <string>
#include <vector>

namespace GIFImage {

// A stream over bytes held in memory; writing grows it.
class MemoryStream : public Stream {
public:
    MemoryStream() = default;
    MemoryStream(const void* data, size_t size);
    explicit MemoryStream(std::vector<uint8_t> bytes) : fBytes(std::move(bytes)) {}

    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    int64_t Position() const override { return fPosition; }
    void Seek(int64_t position) override;
    int64_t Size() const override { return int64_t(fBytes.size()); }

    const std::vector<uint8_t>& Bytes() const { return fBytes; }

private:
    std::vector<uint8_t> fBytes;
    size_t fPosition = 0;
};

} // namespace GIFImage
