// The configuration reader over any bytes: decoding, line splitting and the
// ten fields.
#include "launcher/TOpt.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    vorsel::TOpt opt;
    vorsel::ParseOptText(std::string(reinterpret_cast<const char*>(data), size), opt);
    return 0;
}
