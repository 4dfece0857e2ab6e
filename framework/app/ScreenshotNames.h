#pragma once
#include <string>

namespace Zelk {

// The number of the next screenshot in a folder: one more than the largest
// number of a file named "image<n>.png" there, 1 when there is none. The
// ".png" of the listing is matched without regard to case.
int NextScreenshotNumber(const std::string& folder);

} // namespace Zelk
