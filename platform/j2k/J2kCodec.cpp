#include "platform/j2k/J2kCodec.h"

#include <openjpeg.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace plat {

const char* const kJ2kCodecModuleName = "j2k-codec.dll";

namespace {

const int kVersion = 0x200000;
const size_t kMaxStream = size_t(64) << 20;
const uint64_t kMaxPixels = uint64_t(1) << 24;
const unsigned kMaxComponents = 4;

enum Error {
    kOk = 0,
    kBadStream,
    kBadFormat,
    kBadHeader,
    kTooLarge,
    kBadArgument,
    kDecodeFailed,
};

thread_local int tLastError = kOk;

int SetError(int code)
{
    tLastError = code;
    return code;
}

void Quiet(const char*, void*) {}

// The whole stream in memory, served to OpenJPEG.
struct Memory {
    std::vector<unsigned char> data;
    size_t pos = 0;
};

OPJ_SIZE_T MemRead(void* buffer, OPJ_SIZE_T size, void* user)
{
    Memory* m = static_cast<Memory*>(user);
    size_t n = std::min(size, m->data.size() - m->pos);
    if (n == 0)
        return OPJ_SIZE_T(-1);
    std::memcpy(buffer, m->data.data() + m->pos, n);
    m->pos += n;
    return n;
}

OPJ_OFF_T MemSkip(OPJ_OFF_T count, void* user)
{
    Memory* m = static_cast<Memory*>(user);
    if (count < 0) {
        size_t back = std::min(size_t(-count), m->pos);
        m->pos -= back;
        return -OPJ_OFF_T(back);
    }
    size_t n = std::min(size_t(count), m->data.size() - m->pos);
    m->pos += n;
    return OPJ_OFF_T(n);
}

OPJ_BOOL MemSeek(OPJ_OFF_T offset, void* user)
{
    Memory* m = static_cast<Memory*>(user);
    if (offset < 0 || size_t(offset) > m->data.size())
        return OPJ_FALSE;
    m->pos = size_t(offset);
    return OPJ_TRUE;
}

struct Codec {
    Memory memory;
    opj_codec_t* codec = nullptr;
    opj_stream_t* stream = nullptr;
    opj_image_t* image = nullptr;
    bool decoded = false;
    J2kCallbacks callbacks = {};
    void* user = nullptr;

    ~Codec()
    {
        if (callbacks.close)
            callbacks.close(user);
        if (image)
            opj_image_destroy(image);
        if (stream)
            opj_stream_destroy(stream);
        if (codec)
            opj_destroy_codec(codec);
    }
};

// What the header claims against what the stream could hold: every tile needs
// its tile-part header and data marker (14 bytes), and every 64 x 64 code-block
// of every component at least one bit. Claims beyond that would make the
// decoder allocate and walk a picture the data cannot describe.
bool FitsInStream(opj_codec_t* codec, uint64_t samples, size_t streamBytes)
{
    opj_codestream_info_v2_t* info = opj_get_cstr_info(codec);
    if (!info)
        return false;
    uint64_t tiles = uint64_t(info->tw) * uint64_t(info->th);
    opj_destroy_cstr_info(&info);
    return tiles * 14 <= streamBytes && samples / 4096 <= uint64_t(streamBytes) * 8;
}

// Sets up the decoder over data and reads the header; null on failure.
Codec* OpenMemory(std::vector<unsigned char> data)
{
    std::unique_ptr<Codec> c(new Codec);
    c->memory.data = std::move(data);
    const std::vector<unsigned char>& d = c->memory.data;
    static const unsigned char kJp2[] = {0, 0, 0, 0x0C, 'j', 'P', ' ', ' '};
    OPJ_CODEC_FORMAT format;
    if (d.size() >= sizeof kJp2 && std::memcmp(d.data(), kJp2, sizeof kJp2) == 0)
        format = OPJ_CODEC_JP2;
    else if (d.size() >= 4 && d[0] == 0xFF && d[1] == 0x4F && d[2] == 0xFF && d[3] == 0x51)
        format = OPJ_CODEC_J2K;
    else {
        SetError(kBadFormat);
        return nullptr;
    }
    c->codec = opj_create_decompress(format);
    if (!c->codec) {
        SetError(kBadFormat);
        return nullptr;
    }
    opj_set_info_handler(c->codec, Quiet, nullptr);
    opj_set_warning_handler(c->codec, Quiet, nullptr);
    opj_set_error_handler(c->codec, Quiet, nullptr);
    opj_dparameters_t params;
    opj_set_default_decoder_parameters(&params);
    c->stream = opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_TRUE);
    if (!c->stream || !opj_setup_decoder(c->codec, &params)) {
        SetError(kBadStream);
        return nullptr;
    }
    opj_stream_set_user_data(c->stream, &c->memory, nullptr);
    opj_stream_set_user_data_length(c->stream, c->memory.data.size());
    opj_stream_set_read_function(c->stream, MemRead);
    opj_stream_set_skip_function(c->stream, MemSkip);
    opj_stream_set_seek_function(c->stream, MemSeek);
    if (!opj_read_header(c->stream, c->codec, &c->image) || !c->image) {
        SetError(kBadHeader);
        return nullptr;
    }
    opj_image_t* im = c->image;
    uint64_t w = im->x1 > im->x0 ? im->x1 - im->x0 : 0;
    uint64_t h = im->y1 > im->y0 ? im->y1 - im->y0 : 0;
    if (w == 0 || h == 0 || w * h > kMaxPixels || im->numcomps == 0 || im->numcomps > kMaxComponents ||
        !FitsInStream(c->codec, w * h * im->numcomps, d.size())) {
        SetError(kTooLarge);
        return nullptr;
    }
    SetError(kOk);
    return c.release();
}

int GetVersion()
{
    return kVersion;
}

void* OpenCustom(void* user, J2kCallbacks* stream)
{
    if (!stream || !stream->seek || !stream->read) {
        SetError(kBadArgument);
        return nullptr;
    }
    std::vector<unsigned char> data;
    if (stream->seek(user, 0) != 0) {
        SetError(kBadStream);
        return nullptr;
    }
    unsigned char block[16384];
    for (;;) {
        int n = stream->read(block, int(sizeof block), user);
        if (n <= 0)
            break;
        if (data.size() + size_t(n) > kMaxStream) {
            SetError(kTooLarge);
            return nullptr;
        }
        data.insert(data.end(), block, block + n);
    }
    Codec* c = OpenMemory(std::move(data));
    if (c) {
        c->callbacks = *stream;
        c->user = user;
    }
    return c;
}

void* OpenFile(const char* fileName)
{
    FILE* f = fileName ? std::fopen(fileName, "rb") : nullptr;
    if (!f) {
        SetError(kBadStream);
        return nullptr;
    }
    std::vector<unsigned char> data;
    unsigned char block[16384];
    size_t n;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0 && data.size() + n <= kMaxStream)
        data.insert(data.end(), block, block + n);
    bool tooLarge = n > 0;
    std::fclose(f);
    if (tooLarge) {
        SetError(kTooLarge);
        return nullptr;
    }
    return OpenMemory(std::move(data));
}

void Close(void* handle)
{
    delete static_cast<Codec*>(handle);
}

int GetInfo(void* handle, int* width, int* height, int* components)
{
    Codec* c = static_cast<Codec*>(handle);
    if (!c)
        return SetError(kBadArgument);
    if (width)
        *width = int(c->image->x1 - c->image->x0);
    if (height)
        *height = int(c->image->y1 - c->image->y0);
    if (components)
        *components = int(c->image->numcomps);
    return kOk;
}

int GetResolutionDimensions(void* handle, int level, int* width, int* height)
{
    Codec* c = static_cast<Codec*>(handle);
    if (!c || level < 0 || level > 31)
        return SetError(kBadArgument);
    uint32_t w = c->image->x1 - c->image->x0, h = c->image->y1 - c->image->y0;
    uint32_t div = uint32_t(1) << level;
    if (width)
        *width = int((w + div - 1) / div);
    if (height)
        *height = int((h + div - 1) / div);
    return kOk;
}

// "key=value" pairs separated by commas; the value of key or fallback.
int Option(const char* options, const char* key, int fallback)
{
    if (!options)
        return fallback;
    std::string text(options);
    std::string want = std::string(key) + "=";
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(',', at);
        if (end == std::string::npos)
            end = text.size();
        if (text.compare(at, want.size(), want) == 0)
            return std::atoi(text.c_str() + at + want.size());
        at = end + 1;
    }
    return fallback;
}

// One 8-bit sample of component c at pixel (x, y) of the full image.
int Sample(const opj_image_comp_t& comp, uint32_t x, uint32_t y)
{
    if (!comp.data || comp.w == 0 || comp.h == 0 || comp.dx == 0 || comp.dy == 0)
        return 0;
    uint32_t cx = std::min(x / comp.dx, comp.w - 1);
    uint32_t cy = std::min(y / comp.dy, comp.h - 1);
    int v = comp.data[size_t(cy) * comp.w + cx];
    if (comp.sgnd && comp.prec >= 1 && comp.prec <= 31)
        v += 1 << (comp.prec - 1);
    if (comp.prec > 8 && comp.prec <= 31)
        v >>= comp.prec - 8;
    else if (comp.prec < 8)
        v <<= 8 - comp.prec;
    return std::clamp(v, 0, 255);
}

int Decode(void* handle, unsigned char** buffer, int* size, const char* options, int* pitch)
{
    Codec* c = static_cast<Codec*>(handle);
    if (!c || !buffer || !*buffer || !size || !pitch)
        return SetError(kBadArgument);
    int bpp = Option(options, "bpp", 4);
    // Only the full resolution is offered.
    if ((bpp != 3 && bpp != 4) || Option(options, "rl", 0) != 0)
        return SetError(kBadArgument);
    if (!c->decoded) {
        if (!opj_decode(c->codec, c->stream, c->image) || !opj_end_decompress(c->codec, c->stream))
            return SetError(kDecodeFailed);
        c->decoded = true;
    }
    int width, height;
    GetResolutionDimensions(c, 0, &width, &height);
    if (*pitch < width * bpp || int64_t(*pitch) * height > *size)
        return SetError(kBadArgument);

    const opj_image_t* im = c->image;
    unsigned n = im->numcomps;
    for (int y = 0; y < height; ++y) {
        unsigned char* out = *buffer + size_t(y) * size_t(*pitch);
        for (int x = 0; x < width; ++x, out += bpp) {
            uint32_t sx = uint32_t(x), sy = uint32_t(y);
            int r, g, b, a = 255;
            if (n < 3) {
                r = g = b = Sample(im->comps[0], sx, sy);
                if (n == 2)
                    a = Sample(im->comps[1], sx, sy);
            } else {
                r = Sample(im->comps[0], sx, sy);
                g = Sample(im->comps[1], sx, sy);
                b = Sample(im->comps[2], sx, sy);
                if (n >= 4)
                    a = Sample(im->comps[3], sx, sy);
            }
            out[0] = (unsigned char)b;
            out[1] = (unsigned char)g;
            out[2] = (unsigned char)r;
            if (bpp == 4)
                out[3] = (unsigned char)a;
        }
    }
    return SetError(kOk);
}

int GetLastError()
{
    return tLastError;
}

const char* GetErrorStr(int code)
{
    switch (code) {
    case kOk: return "no error";
    case kBadStream: return "the stream cannot be read";
    case kBadFormat: return "not a JPEG-2000 file";
    case kBadHeader: return "bad header";
    case kTooLarge: return "image too large";
    case kBadArgument: return "bad argument";
    case kDecodeFailed: return "decoding failed";
    }
    return "unknown error";
}

} // namespace

void* J2kCodecExport(const char* name)
{
    static const struct {
        const char* name;
        void* fn;
    } kExports[] = {
        {"_J2K_getVersion@0", reinterpret_cast<void*>(GetVersion)},
        {"_J2K_OpenCustom@8", reinterpret_cast<void*>(OpenCustom)},
        {"_J2K_OpenFile@4", reinterpret_cast<void*>(OpenFile)},
        {"_J2K_Close@4", reinterpret_cast<void*>(Close)},
        {"_J2K_GetInfo@16", reinterpret_cast<void*>(GetInfo)},
        {"_J2K_GetResolutionDimensions@16", reinterpret_cast<void*>(GetResolutionDimensions)},
        {"_J2K_Decode@20", reinterpret_cast<void*>(Decode)},
        {"_J2K_getLastError@0", reinterpret_cast<void*>(GetLastError)},
        {"_J2K_getErrorStr@4", reinterpret_cast<void*>(GetErrorStr)},
    };
    if (!name)
        return nullptr;
    for (const auto& e : kExports)
        if (std::strcmp(e.name, name) == 0)
            return e.fn;
    return nullptr;
}

} // namespace plat
