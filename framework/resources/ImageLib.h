#pragma once
#include <cstdint>
#include <string>

// Image files: Targa, JPEG, PNG, GIF and JPEG-2000 are read into plain
// decoded images, PNG and JPEG are written. Reads go through the framework's
// file operations (archives first, then disk); writes create plain files.
namespace ImageLib {

// A decoded image: width x height pixels 0xAARRGGBB, rows from the top,
// without gaps. Owns its pixels.
class Image {
public:
    Image() = default;
    virtual ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Makes a zeroed pixel array; false (and no pixels) when the size is not
    // positive or larger than any reader accepts.
    bool Create(int width, int height);
    int GetWidth() const { return mWidth; }
    int GetHeight() const { return mHeight; }
    uint32_t* GetBits() { return mBits; }
    const uint32_t* GetBits() const { return mBits; }

    int mWidth = 0;
    int mHeight = 0;
    uint32_t* mBits = nullptr; // new[]
};

// The most pixels any reader accepts (4096 x 4096): a picture of a few
// hundred kilobytes may be that large, and four times it would hold 256 MB.
const int64_t kMaxPixels = int64_t(1) << 24;

// True when width x height is positive, within kMaxPixels, and no more than
// maxPixels could come from the data (maxPixels < 0: no such bound).
bool SizeIsSane(int64_t width, int64_t height, int64_t maxPixels = -1);

// Looks for a separate alpha image next to every image read (on by default).
extern bool gLoadAlphaImages;
// Colour (0x00RRGGBB) of an image made from an alpha image alone.
extern uint32_t gAlphaImageColor;
// JPEG-2000 images are made opaque.
extern bool gJ2kForceOpaque;

// Reads fileName with or without extension ("\" or "/" separators); without
// one the kinds are tried in the order .tga .jpg .png .gif .j2k .jp2. With
// lookForAlphaImage, "_name" (then "name_") next to it gives the alpha
// channel from its blue channel, or stands in for a missing image. Null when
// nothing loads. The caller owns the result.
Image* GetImage(const std::string& fileName, bool lookForAlphaImage = true);

Image* ReadTgaImage(const std::string& path);
Image* ReadJpegImage(const std::string& path);
Image* ReadPngImage(const std::string& path);
Image* ReadGifImage(const std::string& path);
Image* ReadJpeg2000Image(const std::string& path);

// PNG with R, G, B, A bytes; JPEG as RGB at quality 80. False when the file
// cannot be made or the library fails (a partial file may remain).
bool WritePngImage(const std::string& path, const Image* image);
bool WriteJpegImage(const std::string& path, const Image* image);

// The JPEG-2000 codec library "j2k-codec.dll", loaded by name (absent when
// the platform reports it so). Its entry points are bound on first use.
void LoadJ2kCodec();
void FreeJ2kCodec();
// Non-null while the codec library is loaded.
extern void* gJ2kCodecModule;
// Finds an entry point of the codec library by its exported name; the
// platform's codec by default. Tests put a fake codec here.
using J2kExportLookup = void* (*)(const char* name);
extern J2kExportLookup gJ2kExportLookup;

} // namespace ImageLib
