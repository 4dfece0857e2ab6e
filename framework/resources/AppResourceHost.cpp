#include "framework/resources/AppResourceHost.h"

#include "framework/app/ZelkAppBase.h"

namespace Zelk {

SharedImageRef AppResourceHost::GetSharedImage(const std::string& path, const std::string& variant, bool* isNew)
{
    *isNew = false;
    Image* image = mApp ? mApp->GetSharedImage(path, variant, isNew) : nullptr;
    if (!image)
        return SharedImageRef();
    // The application hands out the image itself and keeps it; the record
    // here only counts the manager's holds.
    SharedImage& record = mRecords[image];
    record.mImage = image;
    return SharedImageRef(&record);
}

bool AppResourceHost::Is3DAccelerated()
{
    return mApp && mApp->Is3DAccelerated();
}

SoundManager* AppResourceHost::GetSoundManager()
{
    return mApp ? mApp->mSoundManager : nullptr;
}

// Surface images (DDImage) complete these two.
void AppResourceHost::SetSurfaceWanted(MemoryImage* image) {}
bool AppResourceHost::HasSurface(MemoryImage* image) { return false; }

// The system-font and image-font classes complete these.
Font* AppResourceHost::MakeSysFont(const std::string& face, int size, bool bold, bool italic, bool underline,
                                   bool shadow, bool simulateBold)
{
    return nullptr;
}

Font* AppResourceHost::MakeImageFont(const std::string& path) { return nullptr; }
bool AppResourceHost::IsImageFont(Font* font) { return true; }
bool AppResourceHost::ImageFontLoaded(Font* font) { return false; }
void AppResourceHost::AddTag(Font* font, const std::string& tag) {}
void AppResourceHost::Prepare(Font* font) {}

} // namespace Zelk
