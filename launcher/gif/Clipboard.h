#pragma once
#include "launcher/gif/Bitmap.h"
#include <map>
#include <mutex>
#include <optional>
#include <vector>

namespace GIFImage {

// The clipboard of this process, keyed by format id. The desktop clipboard
// carries only text, so GIF bytes and bitmaps stay here.
class Clipboard {
public:
    static Clipboard& Instance();
    void Clear();
    void SetData(unsigned format, std::vector<uint8_t> bytes);
    void SetBitmap(const Bitmap& bitmap);
    std::optional<std::vector<uint8_t>> Data(unsigned format) const;
    std::optional<Bitmap> GetBitmap() const;

private:
    mutable std::mutex fLock;
    std::map<unsigned, std::vector<uint8_t>> fData;
    std::optional<Bitmap> fBitmap;
};

} // namespace GIFImage
