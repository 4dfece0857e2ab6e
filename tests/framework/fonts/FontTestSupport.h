#pragma once
// Helpers of the font tests: description files written as UTF-16, layer images
// served from memory or from PNG files, an application whose error boxes are
// recorded, images read back as pixels, and golden PNG comparison.
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/SharedImage.h"
#include "platform/NullPlatform.h"
#include "tests/support/TempDir.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Zelk {
class ImageFont;
}

namespace fonttest {

// Upper-cased names of the font's active layers, in order (rebuilt first).
std::vector<std::string> ActiveLayerNames(Zelk::ImageFont& font);

// UTF-16 little-endian bytes of the text, with a byte-order mark first when asked.
std::string Utf16(const std::wstring& text, bool byteOrderMark = false);

// The layer-image loader of the fonts while it lives: images added by path
// first, else PNG files read from disk. Records every path asked for; an
// image counts as newly loaded the first time it is served.
class TestImages {
public:
    TestImages();
    ~TestImages();
    TestImages(const TestImages&) = delete;
    TestImages& operator=(const TestImages&) = delete;

    void Add(const std::string& path, std::unique_ptr<Zelk::MemoryImage> image);
    std::vector<std::string> asked;

private:
    static bool Load(Zelk::ZelkAppBase* app, const std::string& path, Zelk::SharedImageRef& out, bool& isNew);
    std::map<std::string, Zelk::SharedImage> mRecords;
    std::map<std::string, bool> mServed;
};

// An application on the null platform; its fatal-error boxes are the errors
// of the font descriptions.
struct TestApp {
    plat::NullPlatform platform;
    Zelk::ZelkAppBase app;
    std::vector<std::wstring> Boxes();
    void ClearBoxes() { platform.messageBoxes.Clear(); }
};

std::unique_ptr<Zelk::MemoryImage> Filled(int w, int h, uint32_t pixel);
std::vector<uint32_t> Pixels(Zelk::MemoryImage& image);

// Compares pixels with tests/fixtures/<name>.png; ZELK_UPDATE_GOLDENS=1
// writes the file instead.
void CheckGolden(const std::string& name, int w, int h, const std::vector<uint32_t>& pixels);

// Smallest rectangle holding every pixel for which the test is true:
// {x, y, w, h}, all 0 when none is.
struct Box {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Box& o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
    bool operator!=(const Box& o) const { return !(*this == o); }
};
template <typename F> Box BoundingBox(int w, int h, F&& inked)
{
    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (inked(x, y)) {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
    if (x1 < 0)
        return Box();
    return Box{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}
std::ostream& operator<<(std::ostream& out, const Box& b);

} // namespace fonttest
