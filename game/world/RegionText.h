#pragma once
// The click polygon of an office object from its "rgn" text.
#include "platform/region/PolygonRegion.h"

#include <string>
#include <vector>

// Whitespace-separated decimal int32 values taken in pairs x, y. Reading
// stops at the end of the text or at a value that is no int32 (a bad token,
// or one out of range); an unpaired last value is dropped.
std::vector<plat::RegionPoint> ParseRegionText(const std::string& text);
