#pragma once
// Shared by the PNG reader and writer: libpng errors jump back to the
// function that set up png_jmpbuf, so such functions keep only trivially
// destructible locals. Messages go to the developer output.
#include <png.h>

namespace ImageLib {

void PngError(png_structp png, png_const_charp message);
void PngWarning(png_structp png, png_const_charp message);

} // namespace ImageLib
