#pragma once

namespace Zelk {

// Operating-system tests of the system. This program always behaves as on a
// current system: not Windows 9x, and new enough to keep its data in the
// application data folder.
bool IsWindows9x();
bool IsWindowsVistaOrLater();

} // namespace Zelk
