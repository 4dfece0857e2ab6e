#include "launcher/gif/TGIFTrailer.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/StreamIO.h"

namespace GIFImage {

void TGIFTrailer::LoadFromStream(Stream& s)
{
    int b = StreamIO::ReadByteOrEnd(s);
    if (b >= 0 && b != ';')
        Warning(gsWarning, Msg::kBadTrailer);
}

void TGIFTrailer::SaveToStream(Stream& s)
{
    StreamIO::WriteUInt8(s, ';');
}

} // namespace GIFImage
