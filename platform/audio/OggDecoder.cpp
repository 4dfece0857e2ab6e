#include "platform/audio/OggDecoder.h"

#include <tremor/ivorbisfile.h>

#include <algorithm>
#include <climits>

namespace plat {

struct OggDecoder::File {
    OggVorbis_File vf;
};

namespace {

size_t ReadBytes(void* buffer, size_t size, size_t count, void* source)
{
    if (size == 0 || count == 0)
        return 0;
    return static_cast<ByteSource*>(source)->Read(buffer, size * count) / size;
}

int SeekBytes(void* source, ogg_int64_t offset, int origin)
{
    return static_cast<ByteSource*>(source)->Seek(int64_t(offset), origin);
}

int CloseNothing(void*) { return 0; }

long TellBytes(void* source)
{
    int64_t at = static_cast<ByteSource*>(source)->Tell();
    return at > LONG_MAX ? -1 : long(at);
}

} // namespace

OggDecoder::OggDecoder() : mFile(new File) {}

OggDecoder::~OggDecoder()
{
    if (mOpen)
        ov_clear(&mFile->vf);
}

bool OggDecoder::Open(ByteSource& src)
{
    if (mOpen)
        return false;
    ov_callbacks callbacks;
    callbacks.read_func = &ReadBytes;
    callbacks.seek_func = &SeekBytes;
    callbacks.close_func = &CloseNothing;
    callbacks.tell_func = &TellBytes;
    if (ov_open_callbacks(&src, &mFile->vf, nullptr, 0, callbacks) < 0)
        return false;
    mOpen = true;
    vorbis_info* info = ov_info(&mFile->vf, -1);
    ogg_int64_t frames = ov_pcm_total(&mFile->vf, -1);
    if (!info || frames <= 0 || info->channels < 1 || info->channels > 2 || info->rate <= 0)
        return false;
    mChannels = uint16_t(info->channels);
    mRate = uint32_t(info->rate);
    mFrames = uint64_t(frames);
    return true;
}

bool OggDecoder::Read(uint8_t* dst, uint64_t bytes)
{
    if (!mOpen || mChannels == 0)
        return false;
    uint64_t filled = 0;
    int section = 0;
    while (filled < bytes) {
        long got = ov_read(&mFile->vf, reinterpret_cast<char*>(dst) + filled,
                           int(std::min<uint64_t>(bytes - filled, INT_MAX)), &section);
        if (got <= 0)
            break;
        filled += uint64_t(got);
    }
    return filled == bytes;
}

} // namespace plat
