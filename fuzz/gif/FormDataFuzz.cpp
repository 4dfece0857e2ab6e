// Picture form data over any bytes: the class name, then the graphic's own
// stream. A cut or unknown name and a bad stream are GraphicErrors; nothing
// else may escape.
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GraphicRegistry.h"
#include "launcher/gif/MemoryStream.h"
#include "launcher/gif/TGIFImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Large frames only cost time here: the class is made with small limits.
    static const bool registered = [] {
        GIFImage::GraphicRegistry::RegisterFileFormat("GIF", "GIF Image", GIFImage::TGIFImage::kClassName, [] {
            auto image = std::make_unique<GIFImage::TGIFImage>();
            image->SetPixelLimits(1 << 20, 4 << 20);
            return image;
        });
        return true;
    }();
    (void)registered;
    GIFImage::MemoryStream in(data, size);
    try {
        GIFImage::GraphicRegistry::LoadFromFormData(in);
    } catch (const GIFImage::GraphicError&) {
    }
    return 0;
}
