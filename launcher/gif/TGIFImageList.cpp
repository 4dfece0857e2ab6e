#include "launcher/gif/TGIFImageList.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/StreamIO.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFSubImage.h"

namespace GIFImage {

namespace {

int NextNonZero(Stream& s)
{
    int b;
    do
        b = StreamIO::ReadByteOrEnd(s);
    while (b == 0);
    return b;
}

} // namespace

TGIFSubImage* TGIFImageList::SubImage(int index) const
{
    return static_cast<TGIFSubImage*>(Item(index));
}

void TGIFImageList::LoadFromStream(Stream& s, TGIFItem* parent)
{
    int b = NextNonZero(s);
    if (b < 0)
        return;
    while (b != ';') {
        s.Seek(s.Position() - 1);
        if (b != '!' && b != ',') {
            Warning(gsWarning, Msg::kUnknownBlock);
            return;
        }
        auto frame = std::make_unique<TGIFSubImage>(Image());
        frame->LoadFromStream(s);
        Add(std::move(frame));
        if (Image())
            Image()->Progress(psRunning, s.Size() > 0 ? int(s.Position() * 100 / s.Size()) : 0, Msg::kLoading);
        b = NextNonZero(s);
        if (b < 0)
            return;
    }
    s.Seek(s.Position() - 1);
}

} // namespace GIFImage
