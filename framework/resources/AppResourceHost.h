#pragma once
#include "framework/resources/ResourceHost.h"

namespace Zelk {

// The host of a running application. Shared images come from the
// application; the memory-image, sound and font operations fail or do
// nothing until those parts provide them.
class AppResourceHost : public ResourceHost {
public:
    explicit AppResourceHost(ZelkAppBase* app) : mApp(app) {}

    Image* GetSharedImage(const std::string& path, const std::string& variant, bool* isNew) override;
    void ReleaseImage(Image* image, bool owned) override;
    uint32_t* GetBits(Image* image, int* width, int* height) override;
    void MarkBitsChanged(Image* image) override;
    bool AnalyzeBits(Image* image) override;
    void SetBitsDiscarded(Image* image, bool discarded) override;
    bool BitsDiscarded(Image* image) override;
    void DiscardBits(Image* image) override;
    void SetSurfaceWanted(Image* image) override;
    bool HasSurface(Image* image) override;
    void Palettize(Image* image) override;
    void SetPalettized(Image* image) override;
    void AddTextureFlags(Image* image, uint32_t flags) override;
    void SetLayout(Image* image, int rows, int cols, const ResourceAnim* anim) override;
    int GetFreeSoundId() override;
    bool LoadSound(int id, const std::string& path) override;
    void SetBaseVolume(int id, double volume) override;
    void SetBasePan(int id, int pan) override;
    void ReleaseSound(int id) override;
    Font* MakeSysFont(const std::string& face, int size, bool bold, bool italic, bool underline, bool shadow,
                      bool simulateBold) override;
    Font* MakeImageFont(const std::string& path) override;
    Font* DuplicateFont(Font* font) override;
    bool IsImageFont(Font* font) override;
    bool ImageFontLoaded(Font* font) override;
    void AddTag(Font* font, const std::string& tag) override;
    void Prepare(Font* font) override;
    void DeleteFont(Font* font) override;
    bool Is3DAccelerated() override;

private:
    ZelkAppBase* mApp;
};

} // namespace Zelk
