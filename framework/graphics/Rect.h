#pragma once
#include <algorithm>
#include <cstdint>

namespace Zelk {

// v truncated toward zero and saturated at the ends of the int range; NaN
// gives 0. For coordinates that may lie far outside every image.
inline int TruncToInt(double v)
{
    if (v >= 2147483648.0)
        return INT32_MAX;
    if (v > -2147483649.0)
        return int(v);
    return v < 0 ? INT32_MIN : 0;
}

// v saturated at the ends of the int range: sums and differences of
// coordinates are taken in 64 bits and brought back with this.
inline int ClampToInt(int64_t v)
{
    return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : int(v);
}

// Columns x .. x + width - 1 and rows y .. y + height - 1; a width or height
// of 0 or less covers no pixel.
class Rect {
public:
    Rect() = default;
    Rect(int x, int y, int width, int height) : mX(x), mY(y), mWidth(width), mHeight(height) {}

    // Two rectangles touching along an edge give an empty rectangle at the
    // touching position; disjoint ones give (0, 0, 0, 0). The edges are
    // computed in 64 bits so extreme values cannot overflow.
    Rect Intersection(const Rect& o) const
    {
        int64_t left = std::max(mX, o.mX);
        int64_t top = std::max(mY, o.mY);
        int64_t right = std::min(int64_t(mX) + mWidth, int64_t(o.mX) + o.mWidth);
        int64_t bottom = std::min(int64_t(mY) + mHeight, int64_t(o.mY) + o.mHeight);
        if (right - left < 0 || bottom - top < 0)
            return Rect(0, 0, 0, 0);
        return Rect(int(left), int(top), int(right - left), int(bottom - top));
    }

    bool Contains(int x, int y) const
    {
        return x >= mX && y >= mY && int64_t(x) < int64_t(mX) + mWidth && int64_t(y) < int64_t(mY) + mHeight;
    }

    bool operator==(const Rect& o) const
    {
        return mX == o.mX && mY == o.mY && mWidth == o.mWidth && mHeight == o.mHeight;
    }
    bool operator!=(const Rect& o) const { return !(*this == o); }

    int32_t mX = 0;
    int32_t mY = 0;
    int32_t mWidth = 0;
    int32_t mHeight = 0;
};

// The four edges of an outline whose right and bottom edges lie on x + w
// and y + h: top and bottom rows of w + 1 pixels, the sides between them.
// Sums saturate, so an outline at the ends of the int range stays defined.
inline void OutlineEdges(int x, int y, int w, int h, Rect edges[4])
{
    int across = ClampToInt(int64_t(w) + 1), down = ClampToInt(int64_t(h) - 1);
    int below = ClampToInt(int64_t(y) + 1);
    edges[0] = Rect(x, y, across, 1);
    edges[1] = Rect(x, ClampToInt(int64_t(y) + h), across, 1);
    edges[2] = Rect(x, below, 1, down);
    edges[3] = Rect(ClampToInt(int64_t(x) + w), below, 1, down);
}

// Sub-pixel rectangle of the float-position, rotated and stretched blits.
class DoubleRect {
public:
    DoubleRect() = default;
    DoubleRect(double x, double y, double width, double height) : mX(x), mY(y), mWidth(width), mHeight(height) {}
    explicit DoubleRect(const Rect& r) : mX(r.mX), mY(r.mY), mWidth(r.mWidth), mHeight(r.mHeight) {}

    DoubleRect Intersection(const DoubleRect& o) const
    {
        double left = std::max(mX, o.mX);
        double top = std::max(mY, o.mY);
        double width = std::min(mX + mWidth, o.mX + o.mWidth) - left;
        double height = std::min(mY + mHeight, o.mY + o.mHeight) - top;
        if (width < 0 || height < 0)
            return DoubleRect(0, 0, 0, 0);
        return DoubleRect(left, top, width, height);
    }

    double mX = 0.0;
    double mY = 0.0;
    double mWidth = 0.0;
    double mHeight = 0.0;
};

} // namespace Zelk
