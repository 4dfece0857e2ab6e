#pragma once

namespace GIFImage {

class Bitmap;

// A picture that draws itself (the stand-in for metafiles): it paints over a
// 24-bit canvas of its size and leaves untouched what it does not cover.
class VectorPicture {
public:
    virtual ~VectorPicture() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void Draw(Bitmap& canvas) const = 0;
};

} // namespace GIFImage
