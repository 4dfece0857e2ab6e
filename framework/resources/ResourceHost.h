#pragma once
#include "framework/graphics/SharedImage.h"

#include <string>

namespace Zelk {

class Font;
class MemoryImage;
class SoundManager;

// Where the resource manager's loads go outside the manager: the
// application (its shared images, its sound manager, its 3D choice), the
// surface images and the font classes. AppResourceHost serves a running
// application; tests put a fake in its place.
class ResourceHost {
public:
    virtual ~ResourceHost() = default;

    // ---- the application ----
    // The shared image of a file and variant (an empty reference when the file
    // gives no image); isNew when this call made it.
    virtual SharedImageRef GetSharedImage(const std::string& path, const std::string& variant, bool* isNew) = 0;
    virtual bool Is3DAccelerated() = 0;
    // Null when the application has no sound manager.
    virtual SoundManager* GetSoundManager() = 0;

    // ---- surface images ----
    // Keep the image's pixels on a display surface; and whether it has one.
    virtual void SetSurfaceWanted(MemoryImage* image) = 0;
    virtual bool HasSurface(MemoryImage* image) = 0;

    // ---- fonts ----
    // A system font of a face and point size; shadow draws a black copy
    // below right, simulateBold draws a normal-weight font twice.
    virtual Font* MakeSysFont(const std::string& face, int size, bool bold, bool italic, bool underline,
                              bool shadow, bool simulateBold) = 0;
    // An image font from its description file; null, or a font whose
    // description did not load (ImageFontLoaded), on failure.
    virtual Font* MakeImageFont(const std::string& path) = 0;
    virtual bool IsImageFont(Font* font) = 0;
    virtual bool ImageFontLoaded(Font* font) = 0;
    virtual void AddTag(Font* font, const std::string& tag) = 0;
    virtual void Prepare(Font* font) = 0;
};

} // namespace Zelk
