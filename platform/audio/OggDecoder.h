#pragma once
#include "platform/audio/ByteSource.h"

#include <cstdint>
#include <memory>
#include <string>

namespace plat {

// Decodes an Ogg Vorbis stream (Tremor) from a byte source into 16-bit PCM.
// The one Ogg reader of the program: the sound manager and the sound library
// both decode through it. The source stays the caller's.
class OggDecoder {
public:
    OggDecoder();
    ~OggDecoder();
    OggDecoder(const OggDecoder&) = delete;
    OggDecoder& operator=(const OggDecoder&) = delete;

    // A stream may decode to this many bytes per byte of its file, and to
    // 16 MB whatever its size; Vorbis at its lowest rates stays near 30.
    static constexpr uint64_t kMaxBytesPerFileByte = 64;
    static constexpr uint64_t kFreeBytes = uint64_t(16) << 20;

    // False for anything but a seekable stream of one or two channels with a
    // known, non-zero length that its packets can hold and that stays within
    // the bounds above; the links of a chained stream must agree in rate
    // and channels. Error() then says why.
    bool Open(ByteSource& src);
    const std::string& Error() const { return mError; }
    uint16_t Channels() const { return mChannels; }
    uint32_t Rate() const { return mRate; }
    uint64_t Frames() const { return mFrames; }
    uint64_t Bytes() const { return mFrames * mChannels * 2; }
    // Decodes exactly bytes bytes of interleaved samples; false when the
    // stream ends or breaks before.
    bool Read(uint8_t* dst, uint64_t bytes);

private:
    struct File;
    std::unique_ptr<File> mFile;
    bool mOpen = false;
    uint16_t mChannels = 0;
    uint32_t mRate = 0;
    uint64_t mFrames = 0;
    std::string mError;
};

} // namespace plat
