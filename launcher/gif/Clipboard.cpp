#include "launcher/gif/Clipboard.h"

namespace GIFImage {

Clipboard& Clipboard::Instance()
{
    static Clipboard clipboard;
    return clipboard;
}

void Clipboard::Clear()
{
    std::lock_guard<std::mutex> guard(fLock);
    fData.clear();
    fBitmap.reset();
}

void Clipboard::SetData(unsigned format, std::vector<uint8_t> bytes)
{
    std::lock_guard<std::mutex> guard(fLock);
    fData[format] = std::move(bytes);
}

void Clipboard::SetBitmap(const Bitmap& bitmap)
{
    std::lock_guard<std::mutex> guard(fLock);
    fBitmap = bitmap;
}

std::optional<std::vector<uint8_t>> Clipboard::Data(unsigned format) const
{
    std::lock_guard<std::mutex> guard(fLock);
    auto it = fData.find(format);
    if (it == fData.end())
        return std::nullopt;
    return it->second;
}

std::optional<Bitmap> Clipboard::GetBitmap() const
{
    std::lock_guard<std::mutex> guard(fLock);
    return fBitmap;
}

} // namespace GIFImage
