#pragma once
// Small fixtures of the graphics tests: images from pixel lists, a fixed
// metric font that records what it draws, an image that records the drawing
// calls it receives.
#include "framework/app/ZelkAppBase.h"
#include "framework/fonts/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "platform/NullPlatform.h"

#include <memory>
#include <string>
#include <vector>

namespace Zelk {
namespace test {

// An application object on the null platform (images register with it).
struct TestApplication {
    plat::NullPlatform platform;
    ZelkAppBase app;
};

inline std::unique_ptr<MemoryImage> MakeImage(int w, int h, const std::vector<uint32_t>& pixels)
{
    auto image = std::make_unique<MemoryImage>(nullptr);
    image->SetBits(pixels.data(), w, h);
    return image;
}

inline std::unique_ptr<MemoryImage> MakeFilled(int w, int h, uint32_t pixel)
{
    return MakeImage(w, h, std::vector<uint32_t>(size_t(w) * h, pixel));
}

inline std::vector<uint32_t> Pixels(MemoryImage& image)
{
    const uint32_t* bits = image.GetBits();
    return std::vector<uint32_t>(bits, bits + image.PixelCount());
}

// 8 pixels per character, ascent 10, height 14, no padding.
class FakeFont : public Font {
public:
    struct Call {
        int x, y;
        std::wstring text;
        Color color;
    };
    FakeFont()
    {
        mAscent = 10;
        mHeight = 14;
    }
    int StringWidth(const std::wstring& text) override { return 8 * int(text.size()); }
    void DrawString(Graphics*, int x, int y, const std::wstring& text, const Color& color, const Rect&) override
    {
        calls.push_back({x, y, text, color});
    }
    Font* Duplicate() override { return new FakeFont(*this); }

    std::vector<Call> calls;
};

// Logs the fills and blits Graphics hands to it: their rectangles as text
// (log), and each stretched blit with its colour and draw mode (draws).
class RecordingImage : public Image {
public:
    struct Draw {
        Rect dest;
        Rect src;
        Color color;
        int drawMode;
        bool mirrored;
    };
    RecordingImage(int w, int h)
    {
        mWidth = w;
        mHeight = h;
    }
    void FillRect(const Rect& r, const Color&, int) override { log.push_back("FillRect" + Str(r)); }
    void DrawRect(const Rect& r, const Color&, int) override { log.push_back("DrawRect" + Str(r)); }
    void Blit(Image*, int x, int y, const Rect& src, const Color&, int) override
    {
        log.push_back("Blit(" + std::to_string(x) + "," + std::to_string(y) + ")" + Str(src));
    }
    void BlitStretched(Image*, const Rect& d, const Rect& s, const Rect& clip, const Color& color, int drawMode,
                       bool fast) override
    {
        log.push_back("BlitStretched" + Str(d) + Str(s) + Str(clip) + (fast ? "fast" : "smooth"));
        draws.push_back({d, s, color, drawMode, false});
    }
    void BlitStretchedMirrored(Image*, const Rect& d, const Rect& s, const Rect&, const Color& color, int drawMode,
                               bool) override
    {
        log.push_back("BlitStretchedMirrored" + Str(d) + Str(s));
        draws.push_back({d, s, color, drawMode, true});
    }
    static std::string Str(const Rect& r)
    {
        return "(" + std::to_string(r.mX) + "," + std::to_string(r.mY) + "," + std::to_string(r.mWidth) + "," +
               std::to_string(r.mHeight) + ")";
    }
    std::vector<std::string> log;
    std::vector<Draw> draws;
};

} // namespace test
} // namespace Zelk
