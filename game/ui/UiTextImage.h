#pragma once
// The text of a widget rendered once at the widget's layout size and
// stretched over the widget while an effect draws it scaled.
#include <memory>

namespace Zelk {
class Graphics;
class MemoryImage;
} // namespace Zelk

class UiTextImage {
public:
    UiTextImage();
    ~UiTextImage();
    UiTextImage(const UiTextImage&) = delete;
    UiTextImage& operator=(const UiTextImage&) = delete;

    // The largest image made, in pixels; a larger layout makes none.
    static constexpr long long kMaxPixels = 4096LL * 4096LL;

    void Drop();
    bool Has() const { return mImage != nullptr; }
    // Whether the image exists at this size.
    bool Fits(int width, int height) const;
    // A new transparent image of the size in place of the old one; null (and
    // no image) for a size of 0 or less or above kMaxPixels.
    Zelk::MemoryImage* Make(int width, int height);
    // The whole image stretched into 0, 0, width, height with the current
    // colour of g (modulated); nothing without an image.
    void DrawStretched(Zelk::Graphics* g, int width, int height);

private:
    std::unique_ptr<Zelk::MemoryImage> mImage;
};
