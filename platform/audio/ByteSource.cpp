#include "platform/audio/ByteSource.h"

#include <cstdio>

namespace plat {

uint64_t ByteSource::BytesLeft()
{
    int64_t here = Tell();
    if (here < 0 || Seek(0, SEEK_END) != 0)
        return 0;
    int64_t end = Tell();
    Seek(here, SEEK_SET);
    return end > here ? uint64_t(end - here) : 0;
}

} // namespace plat
