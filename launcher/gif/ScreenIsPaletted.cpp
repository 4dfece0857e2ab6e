#include "launcher/gif/ScreenIsPaletted.h"
#include <atomic>

namespace GIFImage {

namespace {

std::atomic<bool> gPaletted{false};

} // namespace

bool ScreenIsPaletted()
{
    return gPaletted.load();
}

void SetScreenIsPaletted(bool value)
{
    gPaletted.store(value);
}

} // namespace GIFImage
