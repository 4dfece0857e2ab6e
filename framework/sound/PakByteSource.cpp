#include "framework/sound/PakByteSource.h"

#include <climits>

namespace Zelk {

PakByteSource::~PakByteSource()
{
    if (mFile)
        PakFClose(mFile);
}

size_t PakByteSource::Read(void* buffer, size_t bytes) { return mFile ? PakFRead(buffer, 1, bytes, mFile) : 0; }

int PakByteSource::Seek(int64_t offset, int origin)
{
    if (!mFile || offset > LONG_MAX || offset < LONG_MIN)
        return -1;
    return PakFSeek(mFile, long(offset), origin) == 0 ? 0 : -1;
}

int64_t PakByteSource::Tell() { return mFile ? PakFTell(mFile) : -1; }

} // namespace Zelk
