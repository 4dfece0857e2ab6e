#include "game/core/LineIntersection.h"

#include <cmath>

bool IntersectLines(int x1, int y1, float angle1, int x2, int y2, float angle2, Zelk::Point& point)
{
    // Single precision in this order of operations: the truncation below
    // makes the result sensitive to each rounding.
    float k1 = std::tan(angle1 / 180.0f * 3.1415927f);
    float k2 = std::tan(angle2 / 180.0f * 3.1415927f);
    if (k1 == k2)
        return false;
    float b1 = -float(y1) - k1 * float(x1);
    float b2 = -float(y2) - k2 * float(x2);
    float x = (b2 - b1) / (k1 - k2);
    float y = -(k1 * x + b1);
    point.mX = int32_t(x);
    point.mY = int32_t(y);
    return true;
}
