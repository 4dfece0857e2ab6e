#include "game/core/Vec2.h"

#include <cmath>

float Vec2::Length() const { return std::sqrt(x * x + y * y); }

Vec2 Vec2::Normalized() const
{
    float length = Length();
    return length == 0.0f ? *this : Vec2(x / length, y / length);
}

Vec2 Vec2::DividedBy(float d) const { return Vec2(x / d, y / d); }
