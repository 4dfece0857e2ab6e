#pragma once
#include "tools/imagefixtures/GifWriter.h"

#include <string>

// The launcher's busy picture: a 32 x 32 GIF89a spinner of 18 frames with
// 128-entry global and local tables, a NETSCAPE2.0 loop block of count 0,
// and control blocks of delay 0, disposal 1 and no transparency.
namespace fixtures {

// Its frames and tables, and the GIF written from them.
GifFile BusyPictureFile();
std::string BusyPictureGif();

} // namespace fixtures
