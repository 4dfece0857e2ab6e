#pragma once

namespace GIFImage {

// Whether the screen shows 8 bits per pixel or fewer through a palette:
// never on the desktops this runs on. Tests set it to reach the dithering
// that `goAutoDither` reserves for such screens.
bool ScreenIsPaletted();
void SetScreenIsPaletted(bool value);

} // namespace GIFImage
