#include "game/ui/UiTextImage.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"

UiTextImage::UiTextImage() = default;
UiTextImage::~UiTextImage() = default;

void UiTextImage::Drop() { mImage.reset(); }

bool UiTextImage::Fits(int width, int height) const
{
    return mImage && mImage->mWidth == width && mImage->mHeight == height;
}

Zelk::MemoryImage* UiTextImage::Make(int width, int height)
{
    mImage.reset();
    if (width <= 0 || height <= 0 || (long long)width * height > kMaxPixels)
        return nullptr;
    auto image = std::make_unique<Zelk::MemoryImage>();
    image->Create(width, height);
    if (!image->GetBits())
        return nullptr;
    mImage = std::move(image);
    return mImage.get();
}

void UiTextImage::DrawStretched(Zelk::Graphics* g, int width, int height)
{
    if (!mImage)
        return;
    g->DrawImageRegionScaled(mImage.get(), Zelk::Rect(0, 0, width, height),
                             Zelk::Rect(0, 0, mImage->mWidth, mImage->mHeight));
}
