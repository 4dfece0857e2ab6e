#pragma once
#include <cstdint>

namespace Zelk {

// An integer point (polygon corners).
struct Point {
    int32_t mX = 0;
    int32_t mY = 0;
};

// A float point.
struct FPoint {
    float mX = 0.0f;
    float mY = 0.0f;
};

// One row of pixels: row y, columns x .. x + width - 1.
struct Span {
    int32_t mY = 0;
    int32_t mX = 0;
    int32_t mWidth = 0;
};

// A corner of a textured triangle: destination position, texture coordinates
// 0..1 over the whole source image, and an ARGB colour.
struct TriVertex {
    float mX = 0.0f;
    float mY = 0.0f;
    float mU = 0.0f;
    float mV = 0.0f;
    uint32_t mColor = 0;
};

} // namespace Zelk
