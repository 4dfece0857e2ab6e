#include "launcher/gif/TGIFExtension.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/StreamIO.h"
#include "launcher/gif/TGIFSubImage.h"

namespace GIFImage {

TGIFExtension::TGIFExtension(TGIFSubImage* subImage)
    : TGIFItem(subImage ? subImage->Image() : nullptr), fSubImage(subImage)
{
}

void TGIFExtension::ReadIntroducer(Stream& s) const
{
    if (StreamIO::ReadUInt8(s) != '!')
        throw GIFException(Msg::kBadExtensionIntroducer);
    if (StreamIO::ReadUInt8(s) != ExtensionType())
        throw GIFException(Msg::kExtensionMismatch);
}

void TGIFExtension::WriteIntroducer(Stream& s) const
{
    StreamIO::WriteUInt8(s, '!');
    StreamIO::WriteUInt8(s, ExtensionType());
}

} // namespace GIFImage
