// A picture and its alpha image ("_" + the name, or the name + "_") from one
// input: byte 0 chooses the picture's kind, byte 1 the alpha image's kind
// (bit 7: the second naming), bytes 2 and 3 the picture's length (little
// endian); the rest is the alpha image. The name without extension tries
// every kind, and the two are merged when their sizes agree, or the alpha
// image alone becomes the picture.
#include "framework/resources/ImageLib.h"
#include "fuzz/resources/FuzzSupport.h"

#include <algorithm>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const char* const kKinds[] = {".tga", ".jpg", ".png", ".gif", ".j2k"};
    if (size < 4)
        return 0;
    const std::string picture = std::string("input") + kKinds[data[0] % 5];
    const std::string alpha = (data[1] & 0x80 ? std::string("input_") : std::string("_input")) + kKinds[(data[1] & 0x7F) % 5];
    const size_t length = std::min<size_t>(size_t(data[2] | data[3] << 8), size - 4);
    FakePakInterface& pak = fuzzsupport::ArchiveWithCodec();
    fuzzsupport::ForgetDeveloperOutput();
    pak.opened.clear();
    // Every name this target serves, empty unless this input fills it, so
    // nothing of an earlier input is found.
    for (const char* kind : kKinds)
        for (const char* name : {"input", "_input", "input_"})
            pak.Add(name + std::string(kind), "");
    pak.Add(picture, fuzzsupport::Bytes(data + 4, length));
    pak.Add(alpha, fuzzsupport::Bytes(data + 4 + length, size - 4 - length));
    std::unique_ptr<ImageLib::Image> image(ImageLib::GetImage("input", true));
    if (image) {
        volatile uint32_t last = image->mBits[size_t(image->mWidth) * size_t(image->mHeight) - 1];
        (void)last;
    }
    return 0;
}
