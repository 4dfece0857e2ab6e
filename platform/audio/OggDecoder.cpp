#include "platform/audio/OggDecoder.h"

#include <tremor/ivorbisfile.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

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

// What the pages of a file hold, read from their headers alone.
struct PageScan {
    uint64_t packets = 0;   // packets ended on a page
    uint64_t streams = 0;   // first pages of a logical stream
    uint64_t longBlock = 0; // the largest long blocksize of an identification header
    uint64_t bytes = 0;     // the file's bytes from where the scan began
};

// Moves to the next "OggS" at or after the position, as the decoder skips
// bytes that are no page; false when there is none.
bool SyncToPage(ByteSource& src)
{
    uint8_t buffer[4096];
    int64_t at = src.Tell();
    for (;;) {
        size_t n = src.Read(buffer, sizeof buffer);
        if (n < 4)
            return false;
        for (size_t i = 0; i + 4 <= n; ++i)
            if (std::memcmp(buffer + i, "OggS", 4) == 0)
                return src.Seek(at + int64_t(i), SEEK_SET) == 0;
        at += int64_t(n) - 3;
        if (src.Seek(at, SEEK_SET) != 0)
            return false;
    }
}

// Walks the pages from the source's position to the end and goes back to
// where it began.
PageScan ScanPages(ByteSource& src)
{
    PageScan scan;
    const int64_t start = src.Tell();
    uint8_t header[27 + 255];
    while (SyncToPage(src) && src.ReadExact(header, 27) && src.ReadExact(header + 27, header[26])) {
        uint64_t body = 0;
        for (int i = 0; i < header[26]; ++i) {
            body += header[27 + i];
            scan.packets += header[27 + i] < 255;
        }
        uint64_t skip = body;
        if ((header[5] & 2) && body >= 30) {
            ++scan.streams;
            uint8_t id[30];
            if (!src.ReadExact(id, sizeof id))
                break;
            skip -= sizeof id;
            if (std::memcmp(id, "\x01vorbis", 7) == 0)
                scan.longBlock = std::max<uint64_t>(scan.longBlock, uint64_t(1) << std::min(id[28] >> 4, 13));
        }
        if (src.Seek(int64_t(skip), SEEK_CUR) != 0)
            break;
    }
    if (src.Seek(0, SEEK_END) == 0 && start >= 0 && src.Tell() > start)
        scan.bytes = uint64_t(src.Tell() - start);
    src.Seek(start, SEEK_SET);
    return scan;
}

std::string Describe(const vorbis_info& info)
{
    return std::to_string(info.rate) + " Hz, " + std::to_string(info.channels) + " channel" +
           (info.channels == 1 ? "" : "s");
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
    auto refuse = [&](const std::string& why) {
        mError = why;
        mChannels = 0;
        return false;
    };
    const PageScan scan = ScanPages(src);
    ov_callbacks callbacks;
    callbacks.read_func = &ReadBytes;
    callbacks.seek_func = &SeekBytes;
    callbacks.close_func = &CloseNothing;
    callbacks.tell_func = &TellBytes;
    if (ov_open_callbacks(&src, &mFile->vf, nullptr, 0, callbacks) < 0)
        return refuse("not an Ogg Vorbis stream");
    mOpen = true;
    vorbis_info* info = ov_info(&mFile->vf, 0);
    ogg_int64_t frames = ov_pcm_total(&mFile->vf, -1);
    if (!info || !ov_seekable(&mFile->vf) || frames <= 0 || info->channels < 1 || info->channels > 2 ||
        info->rate <= 0)
        return refuse("not a seekable stream of one or two channels with a length");
    // Every link is decoded into the one sample: they must agree.
    for (long link = 1; link < ov_streams(&mFile->vf); ++link) {
        vorbis_info* next = ov_info(&mFile->vf, int(link));
        if (!next || next->rate != info->rate || next->channels != info->channels)
            return refuse("the links of the chained stream differ: " + Describe(*info) + ", then " +
                          (next ? Describe(*next) : std::string("no header")));
    }
    // The length is the last page's word: each audio packet gives at most
    // half a long block.
    uint64_t audioPackets = scan.packets > 3 * scan.streams ? scan.packets - 3 * scan.streams : 0;
    uint64_t most = audioPackets * (scan.longBlock / 2);
    if (uint64_t(frames) > most)
        return refuse("the stream claims " + std::to_string(frames) + " frames; its packets hold at most " +
                      std::to_string(most));
    uint64_t bytes = uint64_t(frames) * uint64_t(info->channels) * 2;
    if (bytes > std::max(kFreeBytes, kMaxBytesPerFileByte * scan.bytes))
        return refuse("the stream decodes to " + std::to_string(bytes) + " bytes, more than " +
                      std::to_string(kMaxBytesPerFileByte) + " times its " + std::to_string(scan.bytes));
    // Opening a chained stream leaves the decoder in its last link.
    if (ov_streams(&mFile->vf) > 1 && ov_raw_seek(&mFile->vf, 0) != 0)
        return refuse("the chained stream cannot be read from its start");
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
