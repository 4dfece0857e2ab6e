#include "game/flow/HeldTexture.h"

#include "game/core/TextureRegistry.h"

Zelk::Image* HeldTexture::Take(TextureRegistry* textures)
{
    if (!mHeld && textures && !mId.empty()) {
        mImage = textures->Get(mId);
        mHeld = true;
    }
    return mImage;
}

void HeldTexture::Hold(TextureRegistry* textures, const std::string& id)
{
    Give(textures);
    mId = id;
}

void HeldTexture::Give(TextureRegistry* textures)
{
    if (mHeld && textures)
        textures->Release(mId);
    mHeld = false;
    mImage = nullptr;
}
