#pragma once
#include "framework/resources/ResourceHost.h"

namespace Zelk {

class ZelkAppBase;

// The host of a running application. Shared images, the 3D choice and the
// sound manager come from the application, fonts from the font classes,
// surfaces from its surface images.
class AppResourceHost : public ResourceHost {
public:
    explicit AppResourceHost(ZelkAppBase* app) : mApp(app) {}

    SharedImageRef GetSharedImage(const std::string& path, const std::string& variant, bool* isNew) override;
    bool Is3DAccelerated() override;
    SoundManager* GetSoundManager() override;
    void SetSurfaceWanted(MemoryImage* image) override;
    bool HasSurface(MemoryImage* image) override;
    Font* MakeSysFont(const std::string& face, int size, bool bold, bool italic, bool underline, bool shadow,
                      bool simulateBold) override;
    Font* MakeImageFont(const std::string& path) override;
    bool IsImageFont(Font* font) override;
    bool ImageFontLoaded(Font* font) override;
    void AddTag(Font* font, const std::string& tag) override;
    void Prepare(Font* font) override;

private:
    ZelkAppBase* mApp;
};

} // namespace Zelk
