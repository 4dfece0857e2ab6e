// The resource manager's calls into the application, the graphics, sound and
// font parts. Shared images come from the application; what the memory and
// surface images, the sound manager and the font classes will do here is
// done as little as keeps the manager honest: nothing is pretended to load.
#include "framework/app/ZelkAppBase.h"
#include "framework/resources/AppResourceHost.h"

namespace Zelk {

Image* AppResourceHost::GetSharedImage(const std::string& path, const std::string& variant, bool* isNew)
{
    *isNew = false;
    return mApp ? mApp->GetSharedImage(path, variant, isNew) : nullptr;
}

// Shared images belong to the application; owned images are deleted once
// the image classes are here.
void AppResourceHost::ReleaseImage(Image* image, bool owned) {}

uint32_t* AppResourceHost::GetBits(Image* image, int* width, int* height)
{
    *width = *height = 0;
    return nullptr;
}

void AppResourceHost::MarkBitsChanged(Image* image) {}
bool AppResourceHost::AnalyzeBits(Image* image) { return false; }
void AppResourceHost::SetBitsDiscarded(Image* image, bool discarded) {}
bool AppResourceHost::BitsDiscarded(Image* image) { return false; }
void AppResourceHost::DiscardBits(Image* image) {}
void AppResourceHost::SetSurfaceWanted(Image* image) {}
bool AppResourceHost::HasSurface(Image* image) { return false; }
void AppResourceHost::Palettize(Image* image) {}
void AppResourceHost::SetPalettized(Image* image) {}
void AppResourceHost::AddTextureFlags(Image* image, uint32_t flags) {}
void AppResourceHost::SetLayout(Image* image, int rows, int cols, const ResourceAnim* anim) {}

int AppResourceHost::GetFreeSoundId() { return -1; }
bool AppResourceHost::LoadSound(int id, const std::string& path) { return false; }
void AppResourceHost::SetBaseVolume(int id, double volume) {}
void AppResourceHost::SetBasePan(int id, int pan) {}
void AppResourceHost::ReleaseSound(int id) {}

Font* AppResourceHost::MakeSysFont(const std::string& face, int size, bool bold, bool italic, bool underline,
                                   bool shadow, bool simulateBold)
{
    return nullptr;
}

Font* AppResourceHost::MakeImageFont(const std::string& path) { return nullptr; }
Font* AppResourceHost::DuplicateFont(Font* font) { return nullptr; }
bool AppResourceHost::IsImageFont(Font* font) { return font != nullptr; }
bool AppResourceHost::ImageFontLoaded(Font* font) { return false; }
void AppResourceHost::AddTag(Font* font, const std::string& tag) {}
void AppResourceHost::Prepare(Font* font) {}
void AppResourceHost::DeleteFont(Font* font) {}

bool AppResourceHost::Is3DAccelerated()
{
    return mApp && mApp->Is3DAccelerated();
}

} // namespace Zelk
