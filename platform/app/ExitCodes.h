#pragma once

namespace plat {

// The programs' exit codes. An ordinary end (and a second copy that handed
// over to the first) is 0; each kind of fatal end has a code of its own, so
// whoever started the program can tell a failure from success and one failure
// from another. The README lists them. A crash ends by its signal, as does a
// second termination signal while the program is closing.
constexpr int kExitNoDisplay = 1;      // no desktop, or the display could not be set up
constexpr int kExitBadSwitch = 2;      // an unknown command-line switch
constexpr int kExitBadDemo = 3;        // a demo file that cannot be played
constexpr int kExitMissingData = 4;    // the resource manifest or a resource group could not be loaded
constexpr int kExitMissingLibrary = 5; // a library the program needs (DirectX, fmod)
constexpr int kExitDisplayLost = 6;    // the connection to the display broke while running

} // namespace plat
