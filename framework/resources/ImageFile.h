#pragma once
#include "framework/resources/PakFileAccess.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ImageLib {

// An image file opened for reading ("rb") through the framework's file
// operations, closed when it goes.
class Image;

// What a library decoder hands back: pixels made with new[].
struct DecodedPixels {
    int width = 0;
    int height = 0;
    uint32_t* bits = nullptr;
};

// A new image that takes over decoded pixels.
Image* AdoptPixels(const DecodedPixels& decoded);

class ImageFile {
public:
    explicit ImageFile(const std::string& path) : mFile(PakFOpen(path, "rb")) {}
    ~ImageFile()
    {
        if (mFile)
            PakFClose(mFile);
    }
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    PakFile* Get() const { return mFile; }
    explicit operator bool() const { return mFile != nullptr; }

    // Bytes from the current position to the end (the position is kept);
    // -1 when the file cannot tell.
    int64_t Remaining() const;
    // Reads everything from the current position; false when the file is
    // larger than maxBytes.
    bool ReadAll(std::vector<uint8_t>* out, size_t maxBytes) const;

private:
    PakFile* mFile;
};

} // namespace ImageLib
