#pragma once
#include "framework/graphics/Point.h"

// Where the line through (x1, y1) at angle1 meets the line through (x2, y2)
// at angle2 (screen coordinates, y downwards; degrees counter-clockwise from
// the x axis), truncated toward zero. False for lines of equal slope.
bool IntersectLines(int x1, int y1, float angle1, int x2, int y2, float angle2, Zelk::Point& point);
