#include "framework/resources/PngCommon.h"

#include "framework/app/StringUtil.h"

namespace ImageLib {

void PngError(png_structp png, png_const_charp message)
{
    Zelk::DebugPrint("libpng error: %s\n", message);
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp message)
{
    Zelk::DebugPrint("libpng warning: %s\n", message);
}

} // namespace ImageLib
