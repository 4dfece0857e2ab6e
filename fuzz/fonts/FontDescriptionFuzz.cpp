// Font descriptions from the fuzzer: the input is the description file (read
// through the archive layer), every layer image is one 64 x 32 image in
// memory. The description is loaded, and an image font on it measured and
// drawn at its own size and at a larger one.
#include "framework/fonts/FontImageLoader.h"
#include "framework/fonts/ImageFont.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/SharedImage.h"
#include "fuzz/sound/MemoryPak.h"

#include <vector>

namespace {

Zelk::SharedImage* LayerImage()
{
    static Zelk::SharedImage record = [] {
        Zelk::SharedImage r;
        std::vector<uint32_t> px(64 * 32);
        for (size_t i = 0; i < px.size(); ++i)
            px[i] = (i % 7 == 0) ? 0x80FFFFFF : 0xFF000000 | uint32_t(i * 2654435761u >> 8);
        auto* image = new Zelk::MemoryImage(nullptr);
        image->SetBits(px.data(), 64, 32);
        r.mImage = image;
        r.mRefCount = 1; // kept for the whole run
        return r;
    }();
    return &record;
}

bool StubImages(Zelk::ZelkAppBase*, const std::string&, Zelk::SharedImageRef& out, bool& isNew)
{
    out.Assign(LayerImage());
    isNew = false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static MemoryPak pak;
    static bool published = PublishPakInterface(&pak);
    (void)published;
    Zelk::gFontImageLoader = &StubImages;
    pak.Serve("fuzz\\font.txt", data, size);

    Zelk::ImageFont font(nullptr, "fuzz\\font.txt");
    Zelk::MemoryImage canvas(nullptr);
    canvas.Create(64, 32);
    Zelk::Graphics g(&canvas);
    const std::wstring text = L"Ab c\x4E00!";
    for (int size : {font.GetDefaultPointSize(), 2 * font.GetDefaultPointSize() + 1}) {
        font.SetPointSize(size);
        font.StringWidth(text);
        font.GetHeight();
        font.DrawString(&g, 2, 20, text, Zelk::Color::White, Zelk::Rect(0, 0, 64, 32));
    }
    font.GetDefine(L"A");
    return 0;
}
