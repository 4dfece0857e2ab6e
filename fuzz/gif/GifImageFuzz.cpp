// The GIF unit's reader over any bytes: load; when that works, save and load
// again. The save may refuse with a GIFException (pixels outside their
// table); otherwise every frame with pixels comes back equal.
#include "launcher/gif/GIFException.h"
#include "launcher/gif/MemoryStream.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFSubImage.h"

#include <cstdlib>
#include <vector>

namespace {

std::vector<std::vector<uint8_t>> FramePixels(GIFImage::TGIFImage& image)
{
    std::vector<std::vector<uint8_t>> frames;
    for (int i = 0; i < image.Images().Count(); ++i) {
        GIFImage::TGIFSubImage* f = image.Images().SubImage(i);
        if (!f->Empty())
            frames.emplace_back(f->Data(), f->Data() + f->DataSize());
    }
    return frames;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Large frames only cost time here; the limits themselves are tested.
    const uint64_t kFrame = 1 << 20, kTotal = 4 << 20;
    GIFImage::TGIFImage image;
    image.SetPixelLimits(kFrame, kTotal);
    image.OnWarning = [](const void*, GIFImage::TGIFSeverity, const std::string&) {};
    GIFImage::MemoryStream in(data, size);
    try {
        image.LoadFromStream(in);
    } catch (const GIFImage::GIFException&) {
        return 0;
    }
    GIFImage::MemoryStream out;
    try {
        image.SaveToStream(out);
    } catch (const GIFImage::GIFException&) {
        return 0;
    }
    GIFImage::TGIFImage again;
    again.SetPixelLimits(kFrame, kTotal);
    again.OnWarning = image.OnWarning;
    out.Seek(0);
    again.LoadFromStream(out); // what we wrote must read back without error
    if (FramePixels(again) != FramePixels(image))
        std::abort();
    return 0;
}
