#include "launcher/gif/TGIFExtensionList.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/StreamIO.h"
#include "launcher/gif/TExtensionList.h"
#include "launcher/gif/TGIFExtension.h"
#include "launcher/gif/TGIFSubImage.h"

namespace GIFImage {

namespace {

const TGIFExtensionClass* FindClass(Stream& s)
{
    int label = StreamIO::ReadByteOrEnd(s);
    const TGIFExtensionClass* cls = label < 0 ? nullptr : TExtensionList::Instance().FindExt(uint8_t(label));
    // Each step reads further into the block; a class answers itself once it
    // is the most specific one.
    while (cls) {
        const TGIFExtensionClass* sub = cls->FindSub(s);
        if (sub == cls)
            break;
        cls = sub;
    }
    return cls;
}

} // namespace

TGIFExtension* TGIFExtensionList::Extension(int index) const
{
    return static_cast<TGIFExtension*>(Item(index));
}

void TGIFExtensionList::LoadFromStream(Stream& s, TGIFItem* parent)
{
    auto* subImage = static_cast<TGIFSubImage*>(parent);
    int b = StreamIO::ReadByteOrEnd(s);
    if (b < 0)
        return;
    while (b != ',' && b != ';') {
        if (b != '!') {
            Warning(gsWarning, Msg::kBadExtensionIntroducer);
            break;
        }
        int64_t position = s.Position();
        const TGIFExtensionClass* cls = FindClass(s);
        s.Seek(position);
        if (!cls)
            throw GIFException(Msg::kUnknownExtension);
        s.Seek(position - 1);
        std::unique_ptr<TGIFExtension> extension = cls->Create(subImage);
        extension->LoadFromStream(s);
        Add(std::move(extension));
        b = StreamIO::ReadByteOrEnd(s);
        if (b < 0)
            return;
    }
    s.Seek(s.Position() - 1);
}

} // namespace GIFImage
