#include "launcher/gif/TGIFItem.h"
#include "launcher/gif/FileBytes.h"
#include "launcher/gif/MemoryStream.h"
#include "launcher/gif/TGIFImage.h"

namespace GIFImage {

void TGIFItem::Warning(TGIFSeverity severity, const std::string& message) const
{
    if (fGIFImage)
        fGIFImage->Warning(this, severity, message);
}

void TGIFItem::SaveToFile(const std::string& filename)
{
    MemoryStream s;
    SaveToStream(s);
    FileBytes::Write(filename, s.Bytes());
}

void TGIFItem::LoadFromFile(const std::string& filename)
{
    MemoryStream s(FileBytes::Read(filename));
    LoadFromStream(s);
}

} // namespace GIFImage
