#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace Zelk {

// The symbolic name of a display, 3D or sound result code ("DDERR_SURFACELOST"),
// or the code in lower-case hexadecimal when it has no name (0 gives "0").
std::string DirectXErrorName(int32_t code);
// How many codes have a name.
size_t DirectXErrorNameCount();

} // namespace Zelk
