#pragma once

// A 2D vector of two floats.
struct Vec2 {
    float x = 0.0f;
    float y = 0.0f;

    Vec2() = default;
    Vec2(float x_, float y_) : x(x_), y(y_) {}

    float Length() const;
    // This vector divided by its length; a zero vector stays as it is.
    Vec2 Normalized() const;
    Vec2 DividedBy(float d) const;
};
