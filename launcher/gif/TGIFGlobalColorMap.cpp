#include "launcher/gif/TGIFGlobalColorMap.h"
#include "launcher/gif/TGIFHeader.h"

namespace GIFImage {

void TGIFGlobalColorMap::Warning(TGIFSeverity severity, const std::string& message) const
{
    fHeader->Warning(severity, message);
}

} // namespace GIFImage
