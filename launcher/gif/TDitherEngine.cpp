#include "launcher/gif/TDitherEngine.h"
#include "launcher/gif/TColorLookup.h"

namespace GIFImage {

int TDitherEngine::Dither(int red, int green, int blue, int& r, int& g, int& b)
{
    int index = fLookup->Lookup(red, green, blue, r, g, b);
    NextColumn();
    return index;
}

void TDitherEngine::NextLine()
{
    fDirection = -fDirection;
    fColumn = fDirection > 0 ? 0 : Width - 1;
}

} // namespace GIFImage
