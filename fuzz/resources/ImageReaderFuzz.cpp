// One image reader over any bytes, through the framework's file operations.
// ZELK_FUZZ_EXTENSION names the kind (".tga", ".png", ...).
#include "framework/resources/ImageLib.h"
#include "fuzz/resources/FuzzSupport.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::ArchiveWithCodec();
    const std::string name = std::string("input") + ZELK_FUZZ_EXTENSION;
    fuzzsupport::Serve(name, data, size);
    std::unique_ptr<ImageLib::Image> image(ImageLib::GetImage(name, false));
    if (image) {
        // Touch the last pixel: the array must be as large as the image says.
        volatile uint32_t last = image->mBits[size_t(image->mWidth) * size_t(image->mHeight) - 1];
        (void)last;
    }
    return 0;
}
