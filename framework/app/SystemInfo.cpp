#include "framework/app/SystemInfo.h"

namespace Zelk {

bool IsWindows9x() { return false; }
bool IsWindowsVistaOrLater() { return true; }

} // namespace Zelk
