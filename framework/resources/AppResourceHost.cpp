#include "framework/resources/AppResourceHost.h"

#include "framework/app/ZelkAppBase.h"
#include "framework/fonts/FontData.h"
#include "framework/fonts/ImageFont.h"
#include "framework/fonts/SysFont.h"
#include "framework/graphics/DDImage.h"

namespace Zelk {

SharedImageRef AppResourceHost::GetSharedImage(const std::string& path, const std::string& variant, bool* isNew)
{
    *isNew = false;
    return mApp ? mApp->GetSharedImage(path, variant, isNew) : SharedImageRef();
}

bool AppResourceHost::Is3DAccelerated()
{
    return mApp && mApp->Is3DAccelerated();
}

SoundManager* AppResourceHost::GetSoundManager()
{
    return mApp ? mApp->mSoundManager : nullptr;
}

void AppResourceHost::SetSurfaceWanted(MemoryImage* image)
{
    if (DDImage* surfaceImage = dynamic_cast<DDImage*>(image))
        surfaceImage->mSurfaceWanted = true;
}

bool AppResourceHost::HasSurface(MemoryImage* image)
{
    DDImage* surfaceImage = dynamic_cast<DDImage*>(image);
    return surfaceImage && surfaceImage->mSurface;
}

Font* AppResourceHost::MakeSysFont(const std::string& face, int size, bool bold, bool italic, bool underline,
                                   bool shadow, bool simulateBold)
{
    auto* font = new SysFont(face, size, bold, italic, underline);
    font->mDrawShadow = shadow;
    font->mSimulateBold = simulateBold;
    return font;
}

Font* AppResourceHost::MakeImageFont(const std::string& path) { return new ImageFont(mApp, path); }
bool AppResourceHost::IsImageFont(Font* font) { return dynamic_cast<ImageFont*>(font) != nullptr; }

bool AppResourceHost::ImageFontLoaded(Font* font)
{
    auto* imageFont = dynamic_cast<ImageFont*>(font);
    return imageFont && imageFont->mFontData->mInitialized;
}

void AppResourceHost::AddTag(Font* font, const std::string& tag)
{
    if (auto* imageFont = dynamic_cast<ImageFont*>(font))
        imageFont->AddTag(tag);
}

void AppResourceHost::Prepare(Font* font)
{
    if (auto* imageFont = dynamic_cast<ImageFont*>(font))
        imageFont->Prepare();
}

} // namespace Zelk
