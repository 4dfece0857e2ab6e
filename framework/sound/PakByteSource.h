#pragma once
#include "framework/resources/PakFileAccess.h"
#include "platform/audio/ByteSource.h"

namespace Zelk {

// A sound file opened through the archive layer, as the sound readers read
// it. Owns the file and closes it.
class PakByteSource : public plat::ByteSource {
public:
    explicit PakByteSource(PakFile* file) : mFile(file) {}
    ~PakByteSource() override;
    PakByteSource(const PakByteSource&) = delete;
    PakByteSource& operator=(const PakByteSource&) = delete;

    size_t Read(void* buffer, size_t bytes) override;
    int Seek(int64_t offset, int origin) override;
    int64_t Tell() override;

private:
    PakFile* mFile;
};

} // namespace Zelk
