#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace Zelk {

class Font;
class Image;
class ZelkAppBase;

// The animation of an image resource as the manifest gives it; the image's
// animation record is computed from it (cels = the larger of rows and
// columns, first- and last-frame delays).
struct ResourceAnim {
    int type = 0; // 0 none, 1 once, 2 ping-pong, 3 loop
    int frameDelay = 1;
    int beginDelay = 0;
    int endDelay = 0;
    int cels = 1;
    std::vector<int> perFrameDelays;
    std::vector<int> frameMap;
};

// Everything the resource manager asks of other parts of the framework when
// it loads and releases resources: the application's shared images and the
// memory and surface images they are, the sound manager, and the font
// classes. The manager keeps the order of the steps; each operation here is
// one call into the part that owns the object. AppResourceHost serves them
// from the application; tests put a fake in its place.
class ResourceHost {
public:
    virtual ~ResourceHost() = default;

    // ---- images: the application's shared images ----
    // The shared image of a file and variant, held once more; isNew when this
    // call made it. Null when the file gives no image.
    virtual Image* GetSharedImage(const std::string& path, const std::string& variant, bool* isNew) = 0;
    // Lets go of an image: one hold of a shared image, or an image the
    // resource owns (owned), which is deleted.
    virtual void ReleaseImage(Image* image, bool owned) = 0;

    // ---- images: a memory image's pixels and reductions ----
    // The pixels (0xAARRGGBB, rows from the top) and size; null when the
    // image has no pixels to give.
    virtual uint32_t* GetBits(Image* image, int* width, int* height) = 0;
    virtual void MarkBitsChanged(Image* image) = 0;
    // Analyses the alpha channel; true when some pixel is partly transparent.
    virtual bool AnalyzeBits(Image* image) = 0;
    virtual void SetBitsDiscarded(Image* image, bool discarded) = 0;
    virtual bool BitsDiscarded(Image* image) = 0;
    virtual void DiscardBits(Image* image) = 0;
    // A surface image: keep the pixels on a display surface; and whether it
    // has one now.
    virtual void SetSurfaceWanted(Image* image) = 0;
    virtual bool HasSurface(Image* image) = 0;
    virtual void Palettize(Image* image) = 0;
    virtual void SetPalettized(Image* image) = 0;
    virtual void AddTextureFlags(Image* image, uint32_t flags) = 0;
    // The image's sheet layout, and its animation unless anim is null.
    virtual void SetLayout(Image* image, int rows, int cols, const ResourceAnim* anim) = 0;

    // ---- sounds: the sound manager ----
    virtual int GetFreeSoundId() = 0; // below 0 when all are taken
    virtual bool LoadSound(int id, const std::string& path) = 0;
    virtual void SetBaseVolume(int id, double volume) = 0;
    virtual void SetBasePan(int id, int pan) = 0;
    virtual void ReleaseSound(int id) = 0;

    // ---- fonts: system fonts and image fonts ----
    // A system font; simulateBold draws a normal-weight font twice.
    virtual Font* MakeSysFont(const std::string& face, int size, bool bold, bool italic, bool underline,
                              bool shadow, bool simulateBold) = 0;
    // An image font from its description file (null, or one whose
    // description did not load, on failure).
    virtual Font* MakeImageFont(const std::string& path) = 0;
    virtual Font* DuplicateFont(Font* font) = 0;
    virtual bool IsImageFont(Font* font) = 0;
    virtual bool ImageFontLoaded(Font* font) = 0;
    virtual void AddTag(Font* font, const std::string& tag) = 0;
    virtual void Prepare(Font* font) = 0;
    virtual void DeleteFont(Font* font) = 0;

    // ---- the application ----
    virtual bool Is3DAccelerated() = 0;
};

} // namespace Zelk
