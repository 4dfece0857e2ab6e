#include "game/world/RegionText.h"

#include <cstdint>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// One number from position i as a stream reads it: blanks skipped, a sign,
// then digits up to the first other character.
bool ReadInt(const std::string& text, size_t& i, int32_t& value)
{
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    const size_t first = i;
    int64_t magnitude = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        magnitude = magnitude * 10 + (text[i++] - '0');
        if (magnitude > int64_t(INT32_MAX) + 1)
            return false;
    }
    if (i == first)
        return false;
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT32_MAX)
        return false;
    value = int32_t(signedValue);
    return true;
}

} // namespace

std::vector<plat::RegionPoint> ParseRegionText(const std::string& text)
{
    std::vector<plat::RegionPoint> points;
    size_t i = 0;
    plat::RegionPoint point{0, 0};
    while (ReadInt(text, i, point.x) && ReadInt(text, i, point.y))
        points.push_back(point);
    return points;
}
