#include "platform/net/HttpChunkSize.h"

namespace plat {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool ParseHttpChunkSize(const std::string& line, uint64_t& size)
{
    size_t i = 0;
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    uint64_t value = 0;
    bool any = false;
    for (; i < line.size(); ++i) {
        const int d = HexDigit(line[i]);
        if (d < 0)
            break;
        if (value > (kMaxHttpChunkSize - uint64_t(d)) / 16)
            return false;
        value = value * 16 + uint64_t(d);
        any = true;
    }
    if (!any)
        return false;
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    if (i < line.size() && line[i] != ';')
        return false;
    size = value;
    return true;
}

} // namespace plat
