#include "FontTestSupport.h"

#include "framework/app/Utf16.h"
#include "framework/fonts/FontData.h"
#include "framework/fonts/FontImageLoader.h"
#include "framework/fonts/ImageFont.h"
#include "tests/framework/graphics/PngFile.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <ostream>

namespace fonttest {

using namespace Zelk;

std::string Utf16(const std::wstring& text, bool byteOrderMark)
{
    return (byteOrderMark ? std::string("\xFF\xFE", 2) : std::string()) + WideToUtf16LE(text);
}

namespace {
TestImages* gCurrent = nullptr;
}

TestImages::TestImages()
{
    gCurrent = this;
    gFontImageLoader = &TestImages::Load;
}

TestImages::~TestImages()
{
    gFontImageLoader = nullptr;
    gCurrent = nullptr;
    for (auto& entry : mRecords)
        delete entry.second.mImage;
}

void TestImages::Add(const std::string& path, std::unique_ptr<MemoryImage> image)
{
    SharedImage& record = mRecords[path];
    delete record.mImage;
    record.mImage = image.release();
}

bool TestImages::Load(ZelkAppBase*, const std::string& path, SharedImageRef& out, bool& isNew)
{
    TestImages* self = gCurrent;
    self->asked.push_back(path);
    auto it = self->mRecords.find(path);
    isNew = false;
    if (it == self->mRecords.end()) {
        int w = 0, h = 0;
        std::vector<uint32_t> px;
        if (!Zelk::test::ReadPng(path, w, h, px))
            return false;
        auto image = std::make_unique<MemoryImage>(nullptr);
        image->SetBits(px.data(), w, h);
        it = self->mRecords.emplace(path, SharedImage()).first;
        it->second.mImage = image.release();
    }
    isNew = !self->mServed[path];
    self->mServed[path] = true;
    out.Assign(&it->second);
    return true;
}

std::vector<std::string> ActiveLayerNames(ImageFont& font)
{
    font.Prepare();
    std::vector<std::string> names;
    for (auto& active : font.mActiveLayerList)
        for (auto& entry : font.mFontData->mFontLayerMap)
            if (entry.second == active.mBaseLayer)
                names.push_back(entry.first);
    return names;
}

std::vector<std::wstring> TestApp::Boxes()
{
    std::vector<std::wstring> out;
    for (auto& shown : platform.messageBoxes.Log())
        out.push_back(shown.text);
    return out;
}

std::unique_ptr<MemoryImage> Filled(int w, int h, uint32_t pixel)
{
    auto image = std::make_unique<MemoryImage>(nullptr);
    std::vector<uint32_t> px(size_t(w) * size_t(h), pixel);
    image->SetBits(px.data(), w, h);
    return image;
}

std::vector<uint32_t> Pixels(MemoryImage& image)
{
    const uint32_t* bits = image.GetBits();
    return std::vector<uint32_t>(bits, bits + image.PixelCount());
}

void CheckGolden(const std::string& name, int w, int h, const std::vector<uint32_t>& pixels)
{
    std::string path = std::string(ZELK_FIXTURES) + "/" + name + ".png";
    const char* update = std::getenv("ZELK_UPDATE_GOLDENS");
    if (update && std::string(update) == "1") {
        ASSERT_TRUE(Zelk::test::WritePng(path, w, h, pixels)) << path;
        return;
    }
    int gw = 0, gh = 0;
    std::vector<uint32_t> want;
    ASSERT_TRUE(Zelk::test::ReadPng(path, gw, gh, want)) << path;
    ASSERT_EQ(gw, w);
    ASSERT_EQ(gh, h);
    for (size_t i = 0; i < want.size(); ++i)
        ASSERT_EQ(pixels[i], want[i]) << name << " differs at (" << i % size_t(w) << ", " << i / size_t(w) << ")";
}

std::ostream& operator<<(std::ostream& out, const Box& b)
{
    return out << "{" << b.x << ", " << b.y << ", " << b.w << ", " << b.h << "}";
}

} // namespace fonttest
