#pragma once
#include "platform/audio/ByteSource.h"

#include <cstdint>
#include <memory>

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

    // False for anything but a seekable stream of one or two channels with a
    // known, non-zero length.
    bool Open(ByteSource& src);
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
};

} // namespace plat
