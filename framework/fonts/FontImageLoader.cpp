#include "framework/fonts/FontImageLoader.h"

#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/SharedImage.h"

namespace Zelk {

FontImageLoader gFontImageLoader = nullptr;

namespace {

// The application's shared image of that name (no variant), held through its
// shared record.
bool AppSharedImage(ZelkAppBase* app, const std::string& fileName, SharedImageRef& out, bool& isNew)
{
    isNew = false;
    if (!app)
        return false;
    Image* image = app->GetSharedImage(fileName, "", &isNew);
    if (!image)
        return false;
    CritSectGuard guard(app->DisplayLock());
    auto it = app->mSharedImageMap.find({StringToUpper(fileName), std::string()});
    if (it != app->mSharedImageMap.end() && it->second.mImage == image) {
        out.Assign(&it->second);
    } else {
        out.Release();
        out.mUnsharedImage = image; // held by the application, not by the handle
    }
    return true;
}

} // namespace

bool LoadFontImage(ZelkAppBase* app, const std::string& fileName, SharedImageRef& out, bool& isNew)
{
    isNew = false;
    FontImageLoader loader = gFontImageLoader ? gFontImageLoader : AppSharedImage;
    return loader(app, fileName, out, isNew) && out.GetImage() != nullptr;
}

} // namespace Zelk
