#include "launcher/gif/GIFException.h"
#include "launcher/gif/GraphicRegistry.h"
#include "launcher/gif/MemoryStream.h"
#include "launcher/gif/ResourceModule.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFSubImage.h"
#include "tools/imagefixtures/BusyPicture.h"
#include <gtest/gtest.h>

using namespace GIFImage;

namespace {

// Every frame's indices, in order.
std::vector<std::vector<uint8_t>> FrameData(const TGIFImage& image)
{
    std::vector<std::vector<uint8_t>> out;
    for (int i = 0; i < image.Images().Count(); ++i) {
        const TGIFSubImage* f = image.Images().SubImage(i);
        out.emplace_back(f->Data(), f->Data() + size_t(f->Width()) * size_t(f->Height()));
    }
    return out;
}

MemoryStream Over(const std::string& bytes)
{
    return MemoryStream(bytes.data(), bytes.size());
}

} // namespace

TEST(GifFormData, TheClassNameThenTheStreamMakesAndReadsAGIFImage)
{
    const std::string gif = fixtures::BusyPictureGif();
    MemoryStream s = Over(std::string("\x09TGIFImage", 10) + gif);
    std::unique_ptr<Graphic> graphic = GraphicRegistry::LoadFromFormData(s);
    auto* image = dynamic_cast<TGIFImage*>(graphic.get());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Images().Count(), 18);

    // Written back as form data, it reads back the same.
    MemoryStream out;
    GraphicRegistry::SaveToFormData(out, TGIFImage::kClassName, *image);
    ASSERT_GT(out.Bytes().size(), 10u);
    EXPECT_EQ(std::string(out.Bytes().begin(), out.Bytes().begin() + 10), std::string("\x09TGIFImage", 10));
    out.Seek(0);
    std::unique_ptr<Graphic> again = GraphicRegistry::LoadFromFormData(out);
    EXPECT_EQ(FrameData(dynamic_cast<TGIFImage&>(*again)), FrameData(*image));
}

TEST(GifFormData, BadFormDataIsAClearError)
{
    struct Case {
        std::string data, error;
    } cases[] = {
        {"", "Picture data without a class name"},
        {std::string("\x00", 1), "Picture data without a class name"},
        {"\x09TGIF", "Picture data without a class name"},
        {"\x07TBitmapBM", "Unknown picture class \"TBitmap\""},
        {std::string("\x09TGIFImage", 10) + "BMP89a" + std::string(7, '\0'), "Invalid GIF signature"},
        {std::string("\x09TGIFImage", 10) + "GIF89a", "Premature end of data"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        MemoryStream s = Over(c.data);
        try {
            GraphicRegistry::LoadFromFormData(s);
            ADD_FAILURE() << "no error";
        } catch (const GraphicError& e) {
            EXPECT_EQ(std::string(e.what()), c.error);
        }
    }
}

TEST(GifFormData, TheUnitIsRegisteredForTheGIFExtension)
{
    for (const char* extension : {"GIF", "gif", ".Gif"}) {
        SCOPED_TRACE(extension);
        EXPECT_EQ(GraphicRegistry::Description(extension), "GIF Image");
        EXPECT_NE(dynamic_cast<TGIFImage*>(GraphicRegistry::CreateByExtension(extension).get()), nullptr);
    }
    EXPECT_EQ(GraphicRegistry::CreateByExtension("png"), nullptr);
    EXPECT_EQ(GraphicRegistry::Description("png"), "");
    EXPECT_NE(dynamic_cast<TGIFImage*>(GraphicRegistry::CreateByClassName("TGIFImage").get()), nullptr);
    EXPECT_EQ(GraphicRegistry::CreateByClassName("tgifimage"), nullptr);
}

TEST(GifFormData, LoadFromResourceNameReadsTheModulesBlock)
{
    const std::string gif = fixtures::BusyPictureGif();
    ResourceModule module;
    module.Add("BUSY", reinterpret_cast<const uint8_t*>(gif.data()), gif.size());
    TGIFImage image;
    image.LoadFromResourceName(module, "busy");
    EXPECT_EQ(image.Images().Count(), 18);
    try {
        image.LoadFromResourceName(module, "OTHER");
        ADD_FAILURE() << "no error";
    } catch (const GraphicError& e) {
        EXPECT_EQ(std::string(e.what()), "Resource \"OTHER\" not found");
    }
    EXPECT_EQ(image.Images().Count(), 18) << "a missing resource changes nothing";
}
