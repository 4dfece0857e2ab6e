#include "launcher/gif/TGIFCommentExtension.h"
#include "launcher/gif/TextSubBlocks.h"

namespace GIFImage {

const TGIFExtensionClass TGIFCommentExtension::Class{"TGIFCommentExtension", nullptr,
    [](TGIFSubImage* f) -> std::unique_ptr<TGIFExtension> { return std::make_unique<TGIFCommentExtension>(f); },
    nullptr};

void TGIFCommentExtension::LoadFromStream(Stream& s)
{
    ReadIntroducer(s);
    fText = TextSubBlocks::Read(s);
}

void TGIFCommentExtension::SaveToStream(Stream& s)
{
    WriteIntroducer(s);
    TextSubBlocks::Write(s, fText);
}

} // namespace GIFImage
