// The HTTP answer reader: the input is fed in pieces whose sizes come from
// the first byte, then the connection ends.
#include "platform/net/HttpResponseParser.h"

#include <algorithm>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t piece = size_t(data[0] % 64) + 1;
    plat::HttpResponseParser parser(4096);
    for (size_t at = 1; at < size && parser.Current() == plat::HttpResponseParser::State::NeedMore; at += piece)
        parser.Feed(reinterpret_cast<const char*>(data) + at, std::min(piece, size - at));
    parser.Finish();
    return 0;
}
