#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Zelk {

// One image of the application's set of memory images, as the dump sees it.
struct ImageDumpEntry {
    int32_t width = 0;
    int32_t height = 0;
    bool hasBits = false;       // ARGB pixels in memory
    bool hasSurface = false;    // a display surface
    bool hasPalette = false;    // 8-bit indices and a 256-entry colour table
    bool hasNativeData = false; // pixels in the display's own format
    bool hasRLAlpha = false;    // alpha run lengths
    bool hasRLAdditive = false; // additive run lengths
    bool hasTexture = false;
    int64_t textureBytes = 0;
    int32_t textureFormat = 0; // 1 A8R8G8B8, 2 A4R4G4B4, 4 R5G6B5, 8 Palette8
    bool isVolatile = false;
    bool forced = false;
    bool hasAlpha = false;
    bool hasTrans = false;
    std::string filePath;
    // A copy of the ARGB pixels (width x height, top row first).
    std::function<std::vector<uint32_t>()> pixels;
};

// Bytes an image takes, by kind, and their total. 64-bit: a large set of
// images passes the 32-bit range.
struct ImageDumpSizes {
    int64_t bits = 0, surface = 0, palette = 0, nativeAlpha = 0, rlAlpha = 0, rlAdditive = 0, texture = 0;
    int64_t total = 0;
};

// The image dump: a folder with "imagelist.html" (one table row per image,
// largest first), a PNG of every image and a 64 x 64 JPEG thumbnail of it.
class ImageDump {
public:
    static constexpr int kThumbSize = 64;
    using Writer = std::function<bool(const std::string& path, int width, int height, const uint32_t* pixels)>;

    static ImageDumpSizes Sizes(const ImageDumpEntry& image);
    static const char* TextureFormatName(int32_t code);
    // Indices of the images, largest total first; equal totals keep their order.
    static std::vector<size_t> Order(const std::vector<ImageDumpEntry>& images);
    // The nearest source pixel for every thumbnail pixel.
    static std::vector<uint32_t> Thumbnail(const uint32_t* pixels, int width, int height);
    static std::string HtmlEscape(const std::string& text);

    // Deletes the folder with everything in it, makes it anew and writes the
    // dump into it. timeText is the local time as asctime gives it. Images
    // without pixels keep their row but get no pictures. False when the
    // list file could not be written.
    static bool Write(const std::string& folder, const std::string& timeText, const std::vector<ImageDumpEntry>& images,
                      const Writer& writePng, const Writer& writeJpeg);
};

} // namespace Zelk
