// The icon reader over any bytes.
#include "platform/image/IcoFile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    plat::IconImage image;
    if (plat::ReadIco(data, size, image) && image.argb.size() != size_t(image.width) * size_t(image.height))
        __builtin_trap();
    return 0;
}
