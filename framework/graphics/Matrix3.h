#pragma once
#include "framework/graphics/Point.h"

namespace Zelk {

// A 3 x 3 transform, row-major m[row][column]; points are column vectors
// (x, y, 1). New transforms are multiplied on the left, so translate(-c),
// rotate(a), translate(c) rotates about c. With y growing downwards a positive
// angle turns (1, 0) to (cos a, -sin a).
class Matrix3 {
public:
    Matrix3(); // identity

    Matrix3 operator*(const Matrix3& other) const; // this x other
    void Translate(float tx, float ty);
    void Rotate(float angle);
    void Scale(float sx, float sy);
    FPoint TransformPoint(const FPoint& p) const;
    void TransformVector(const float in[3], float out[3]) const;

    float m[3][3];
};

} // namespace Zelk
