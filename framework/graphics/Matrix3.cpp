#include "framework/graphics/Matrix3.h"

#include <cmath>

namespace Zelk {

Matrix3::Matrix3()
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m[i][j] = i == j ? 1.0f : 0.0f;
}

// Products and sums in double, stored as float.
Matrix3 Matrix3::operator*(const Matrix3& other) const
{
    Matrix3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 3; ++k)
                sum += double(m[i][k]) * double(other.m[k][j]);
            r.m[i][j] = float(sum);
        }
    return r;
}

void Matrix3::Translate(float tx, float ty)
{
    Matrix3 t;
    t.m[0][2] = tx;
    t.m[1][2] = ty;
    *this = t * *this;
}

void Matrix3::Rotate(float angle)
{
    float c = float(std::cos(double(angle)));
    float s = float(std::sin(double(angle)));
    Matrix3 r;
    r.m[0][0] = c;
    r.m[0][1] = s;
    r.m[1][0] = -s;
    r.m[1][1] = c;
    *this = r * *this;
}

void Matrix3::Scale(float sx, float sy)
{
    Matrix3 s;
    s.m[0][0] = sx;
    s.m[1][1] = sy;
    *this = s * *this;
}

FPoint Matrix3::TransformPoint(const FPoint& p) const
{
    FPoint r;
    r.mX = float(double(m[0][0]) * p.mX + double(m[0][1]) * p.mY + double(m[0][2]));
    r.mY = float(double(m[1][0]) * p.mX + double(m[1][1]) * p.mY + double(m[1][2]));
    return r;
}

void Matrix3::TransformVector(const float in[3], float out[3]) const
{
    for (int i = 0; i < 3; ++i)
        out[i] = float(double(m[i][0]) * in[0] + double(m[i][1]) * in[1] + double(m[i][2]) * in[2]);
}

} // namespace Zelk
