#pragma once
#include "launcher/gif/GIFTypes.h"
#include "launcher/gif/TDitherEngine.h"
#include <memory>

namespace GIFImage {

// The ditherer of a mode (dmNearest: no diffusion); null for an unknown mode.
std::unique_ptr<TDitherEngine> CreateDitherer(TDitherMode mode, int width, TColorLookup* lookup);

} // namespace GIFImage
