#pragma once
#include <string>

namespace Zelk {
class Image;
}
class TextureRegistry;

// One reference of a screen to a picture of the texture registry. Every
// Take is matched by one Give of the same id, also when the registry gave no
// picture (it counts that reference too); a second Take without a Give
// takes nothing.
class HeldTexture {
public:
    explicit HeldTexture(std::string id = std::string()) : mId(std::move(id)) {}
    ~HeldTexture() = default;
    HeldTexture(const HeldTexture&) = delete;
    HeldTexture& operator=(const HeldTexture&) = delete;

    // Takes the id's picture when none is held; the picture (null when the
    // registry has none).
    Zelk::Image* Take(TextureRegistry* textures);
    // Gives back what is held, then holds another id (nothing taken yet).
    void Hold(TextureRegistry* textures, const std::string& id);
    // Gives back what is held.
    void Give(TextureRegistry* textures);

    Zelk::Image* Get() const { return mImage; }
    bool IsHeld() const { return mHeld; }
    const std::string& Id() const { return mId; }

private:
    std::string mId;
    Zelk::Image* mImage = nullptr;
    bool mHeld = false;
};
