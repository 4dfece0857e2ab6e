#pragma once
// The parabola a t^2 + b t + c through three points, computed in single
// precision at every call as the easing callbacks use it.
inline float ParabolaThrough(float x0, float y0, float x1, float y1, float x2, float y2, float t)
{
    float a = ((x1 - x0) * y2 - (x1 - x0) * y0 - (y1 - y0) * x2 - (y0 - y1) * x0) /
              ((x1 * x1 - x0 * x0) * x0 - (x1 * x1 - x0 * x0) * x2 + (x2 * x2 - x0 * x0) * (x1 - x0));
    float b = (y1 - (x1 * x1 - x0 * x0) * a - y0) / (x1 - x0);
    float c = y0 - x0 * x0 * a - x0 * b;
    return a * t * t + b * t + c;
}
