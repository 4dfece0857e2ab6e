#pragma once
#include <cstdint>
#include <string>

namespace Zelk {

// A named position in a demo: the update count it stands for.
struct DemoMarker {
    std::string name;
    int32_t update = 0;
};

} // namespace Zelk
