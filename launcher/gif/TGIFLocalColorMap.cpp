#include "launcher/gif/TGIFLocalColorMap.h"
#include "launcher/gif/TGIFSubImage.h"

namespace GIFImage {

void TGIFLocalColorMap::Warning(TGIFSeverity severity, const std::string& message) const
{
    fSubImage->Warning(severity, message);
}

void TGIFLocalColorMap::Changed()
{
    if (fSubImage)
        fSubImage->FreeBitmap();
}

} // namespace GIFImage
