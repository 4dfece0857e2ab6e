#include "framework/fonts/FontImageLoader.h"

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
    out = app->GetSharedImage(fileName, "", &isNew);
    return out.GetImage() != nullptr;
}

} // namespace

bool LoadFontImage(ZelkAppBase* app, const std::string& fileName, SharedImageRef& out, bool& isNew)
{
    isNew = false;
    FontImageLoader loader = gFontImageLoader ? gFontImageLoader : AppSharedImage;
    return loader(app, fileName, out, isNew) && out.GetImage() != nullptr;
}

} // namespace Zelk
