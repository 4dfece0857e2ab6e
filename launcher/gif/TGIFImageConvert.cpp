// Conversion, copying and the clipboard of TGIFImage.
#include "launcher/gif/Clipboard.h"
#include "launcher/gif/ClipboardFormats.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/MemoryStream.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFSubImage.h"

namespace GIFImage {

namespace {

template <class Picture>
int AddConverted(TGIFImage& image, const Picture& picture)
{
    auto frame = std::make_unique<TGIFSubImage>(&image);
    frame->Assign(picture);
    return image.Add(std::move(frame));
}

} // namespace

int TGIFImage::Add(const Bitmap& picture)
{
    return AddConverted(*this, picture);
}

int TGIFImage::Add(const Icon& picture)
{
    return AddConverted(*this, picture);
}

int TGIFImage::Add(const VectorPicture& picture)
{
    return AddConverted(*this, picture);
}

void TGIFImage::Assign(const TGIFImage& source)
{
    if (&source == this)
        return;
    Clear();
    OnWarning = source.OnWarning;
    OnProgress = source.OnProgress;
    Progress(psStarting, 0, Msg::kCopying);
    try {
        fHeader.Assign(source.fHeader);
        fColorReduction = source.fColorReduction;
        fDitherMode = source.fDitherMode;
        for (int i = 0; i < source.fImages.Count(); ++i) {
            auto frame = std::make_unique<TGIFSubImage>(this);
            frame->Assign(*source.fImages.SubImage(i));
            fImages.Add(std::move(frame));
            Progress(psRunning, (i + 1) * 100 / source.fImages.Count(), Msg::kCopying);
        }
        GrowScreenToFrames();
    } catch (...) {
        Progress(psEnding, 0, Msg::kCopying);
        OnWarning = nullptr;
        OnProgress = nullptr;
        throw;
    }
    Progress(psEnding, 100, Msg::kCopying);
    OnWarning = nullptr;
    OnProgress = nullptr;
    Changed();
}

unsigned TGIFImage::ClipboardFormat()
{
    static const unsigned format = ClipboardFormats::Register(Msg::kDescription);
    return format;
}

void TGIFImage::LoadFromClipboardFormat(unsigned format, const Clipboard& clipboard)
{
    if (format == ClipboardFormat()) {
        if (auto bytes = clipboard.Data(format)) {
            MemoryStream s(std::move(*bytes));
            LoadFromStream(s);
            return;
        }
    } else if (format == ClipboardFormats::kBitmap) {
        if (auto bitmap = clipboard.GetBitmap()) {
            Clear();
            Add(*bitmap);
            return;
        }
    }
    throw GIFException(Msg::kUnsupportedClipboard);
}

void TGIFImage::AssignTo(Bitmap& dest)
{
    Bitmap* bitmap = GetBitmap();
    dest = bitmap ? *bitmap : Bitmap();
    dest.OnChange = nullptr;
}

void TGIFImage::SaveToClipboardFormat(Clipboard& clipboard)
{
    if (Empty())
        return;
    Bitmap picture;
    AssignTo(picture);
    clipboard.SetBitmap(picture);
    MemoryStream s;
    SaveToStream(s);
    clipboard.SetData(ClipboardFormat(), s.Bytes());
}

} // namespace GIFImage
