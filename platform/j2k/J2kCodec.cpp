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
// The largest picture decoded: 4096 x 4096 pixels, and 16 Mi samples over
// all components (2048 x 2048 in four). OpenJPEG holds 32 bits per sample.
const uint64_t kMaxPixels = uint64_t(1) << 24;
const uint64_t kMaxSamples = uint64_t(1) << 24;
// OpenJPEG sets up about half a kilobyte and some microseconds for every
// code-block, coded or not, so a few bytes of header asking for 4 x 4
// code-blocks over a large picture would cost gigabytes and seconds.
const uint64_t kMaxCodeBlocks = uint64_t(1) << 16;
// OpenJPEG sets up several kilobytes for every tile while it reads the main
// header: a 4096 x 4096 picture in 64 x 64 tiles has this many.
const uint64_t kMaxTiles = 4096;
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

uint32_t Get16(const unsigned char* p) { return uint32_t(p[0]) << 8 | p[1]; }
uint32_t Get32(const unsigned char* p) { return Get16(p) << 16 | Get16(p + 2); }

// The coding style of a COD or COC segment: resolution levels, code-block
// size exponents and, per resolution, the precinct size exponents.
struct CodingStyle {
    int resolutions = 1;
    int cbw = 6, cbh = 6;
    int ppx[33], ppy[33];
};

// Reads SPcod or SPcoc at p (n bytes); false when it is cut short or out of
// range (OpenJPEG refuses those itself).
bool ReadCodingStyle(const unsigned char* p, size_t n, bool precincts, CodingStyle& out)
{
    if (n < 5 || p[0] > 32 || p[1] > 8 || p[2] > 8)
        return false;
    out.resolutions = p[0] + 1;
    out.cbw = p[1] + 2;
    out.cbh = p[2] + 2;
    for (int r = 0; r < out.resolutions; ++r) {
        out.ppx[r] = out.ppy[r] = 15;
        if (precincts) {
            if (n < 5 + size_t(r) + 1)
                return false;
            out.ppx[r] = p[5 + r] & 15;
            out.ppy[r] = p[5 + r] >> 4;
        }
    }
    return true;
}

// Where the codestream starts: the data of the "jp2c" box of a JP2 file, or
// the file itself.
size_t CodestreamStart(const std::vector<unsigned char>& d)
{
    if (d.size() >= 4 && d[0] == 0xFF && d[1] == 0x4F)
        return 0;
    size_t at = 0;
    while (at + 8 <= d.size()) {
        uint64_t length = Get32(&d[at]);
        size_t header = 8;
        if (length == 1) {
            if (at + 16 > d.size())
                break;
            length = uint64_t(Get32(&d[at + 8])) << 32 | Get32(&d[at + 12]);
            header = 16;
        } else if (length == 0) {
            length = d.size() - at;
        }
        if (std::memcmp(&d[at + 4], "jp2c", 4) == 0)
            return at + header;
        if (length < header || length > d.size() - at)
            break;
        at += size_t(length);
    }
    return d.size();
}

// Every coding style the codestream names, in its main header and in every
// tile-part header (a tile may code its blocks smaller than the main header
// says).
std::vector<CodingStyle> CodingStyles(const std::vector<unsigned char>& d, unsigned components)
{
    std::vector<CodingStyle> styles;
    size_t at = CodestreamStart(d);
    if (at + 4 > d.size() || Get16(&d[at]) != 0xFF4F)
        return styles;
    at += 2;
    size_t tileEnd = 0; // end of the tile-part whose header is being read; 0 in the main header
    while (at + 4 <= d.size()) {
        uint32_t marker = Get16(&d[at]);
        if (marker == 0xFFD9)
            break;
        if (marker == 0xFF93) { // SOD: skip the tile-part's data
            if (tileEnd == 0 || tileEnd <= at)
                break;
            at = tileEnd;
            tileEnd = 0;
            continue;
        }
        uint32_t length = Get16(&d[at + 2]);
        if ((marker >> 8) != 0xFF || length < 2 || at + 2 + length > d.size())
            break;
        const unsigned char* body = &d[at + 4];
        size_t n = length - 2;
        if (marker == 0xFF90) { // SOT
            if (n < 8)
                break;
            uint32_t psot = Get32(body + 2);
            tileEnd = psot == 0 ? d.size() : at + psot;
            if (tileEnd > d.size() || tileEnd < at + 2 + length)
                tileEnd = d.size();
        }
        CodingStyle style;
        if (marker == 0xFF52 && n >= 5 && ReadCodingStyle(body + 5, n - 5, body[0] & 1, style))
            styles.push_back(style);
        size_t index = components < 257 ? 1 : 2;
        if (marker == 0xFF53 && n >= index + 1 &&
            ReadCodingStyle(body + index + 1, n - index - 1, body[index] & 1, style))
            styles.push_back(style);
        at += 2 + length;
    }
    return styles;
}

uint64_t Blocks(uint64_t size, int exponent)
{
    return (size + (uint64_t(1) << exponent) - 1) >> exponent;
}

// The code-blocks OpenJPEG sets up for the picture in one coding style:
// every sub-band of every resolution of every component, cut into blocks no
// larger than the style's code-blocks and its precincts; each tile adds at
// least one block per sub-band and component.
uint64_t CodeBlockCount(const opj_image_t& im, const CodingStyle& style, uint64_t tiles)
{
    uint64_t count = 0;
    for (unsigned c = 0; c < im.numcomps; ++c) {
        const opj_image_comp_t& comp = im.comps[c];
        uint64_t w = comp.dx ? (uint64_t(im.x1 - im.x0) + comp.dx - 1) / comp.dx : 0;
        uint64_t h = comp.dy ? (uint64_t(im.y1 - im.y0) + comp.dy - 1) / comp.dy : 0;
        for (int r = 0; r < style.resolutions; ++r) {
            int level = style.resolutions - 1 - r;
            int bandLevel = r == 0 ? level : level + 1;
            uint64_t bw = (w + (uint64_t(1) << bandLevel) - 1) >> bandLevel;
            uint64_t bh = (h + (uint64_t(1) << bandLevel) - 1) >> bandLevel;
            int cw = std::max(0, std::min(style.cbw, style.ppx[r] - (r > 0))),
                ch = std::max(0, std::min(style.cbh, style.ppy[r] - (r > 0)));
            uint64_t bands = r == 0 ? 1 : 3;
            count += bands * (Blocks(bw, cw) * Blocks(bh, ch) + tiles);
        }
    }
    return count;
}

// The picture size (SIZ) segment, read before OpenJPEG sees the file: the
// picture, its samples and its tiles within the limits, and 14 bytes of
// tile-part header and data marker in the stream for every tile. A segment
// that cannot be read is left to OpenJPEG.
bool SizeSegmentFits(const std::vector<unsigned char>& d)
{
    size_t at = CodestreamStart(d);
    if (at + 4 + 40 > d.size() || Get16(&d[at]) != 0xFF4F || Get16(&d[at + 2]) != 0xFF51)
        return true;
    const unsigned char* siz = &d[at + 8]; // after the markers, the length and the capabilities
    uint64_t x = Get32(siz), y = Get32(siz + 4), x0 = Get32(siz + 8), y0 = Get32(siz + 12);
    uint64_t tw = Get32(siz + 16), th = Get32(siz + 20), tx0 = Get32(siz + 24), ty0 = Get32(siz + 28);
    uint64_t components = Get16(siz + 32);
    if (x <= x0 || y <= y0 || tw == 0 || th == 0 || tx0 > x0 || ty0 > y0)
        return true;
    uint64_t pixels = (x - x0) * (y - y0);
    uint64_t tiles = ((x - tx0 + tw - 1) / tw) * ((y - ty0 + th - 1) / th);
    return pixels <= kMaxPixels && components <= kMaxComponents && pixels * components <= kMaxSamples &&
           tiles <= kMaxTiles && tiles * 14 <= d.size();
}

// What the header claims against what the decoder would set up: every tile
// needs its tile-part header and data marker (14 bytes) in the stream, and
// the code-blocks of every coding style the file names are counted before
// anything is decoded.
bool FitsInStream(opj_codec_t* codec, const opj_image_t& image, const std::vector<unsigned char>& data)
{
    opj_codestream_info_v2_t* info = opj_get_cstr_info(codec);
    if (!info)
        return false;
    uint64_t tiles = uint64_t(info->tw) * uint64_t(info->th);
    std::vector<CodingStyle> styles = CodingStyles(data, image.numcomps);
    // The main header's style as OpenJPEG read it, too.
    for (unsigned c = 0; info->m_default_tile_info.tccp_info && c < image.numcomps; ++c) {
        const opj_tccp_info_t& t = info->m_default_tile_info.tccp_info[c];
        CodingStyle style;
        style.resolutions = int(std::clamp<OPJ_UINT32>(t.numresolutions, 1, 33));
        style.cbw = int(std::min<OPJ_UINT32>(t.cblkw, 15));
        style.cbh = int(std::min<OPJ_UINT32>(t.cblkh, 15));
        for (int r = 0; r < style.resolutions; ++r) {
            style.ppx[r] = int(std::min<OPJ_UINT32>(t.prcw[r], 15));
            style.ppy[r] = int(std::min<OPJ_UINT32>(t.prch[r], 15));
        }
        styles.push_back(style);
    }
    opj_destroy_cstr_info(&info);
    if (tiles * 14 > data.size())
        return false;
    for (const CodingStyle& style : styles)
        if (CodeBlockCount(image, style, tiles) > kMaxCodeBlocks)
            return false;
    return true;
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
    if (!SizeSegmentFits(d)) {
        SetError(kTooLarge);
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
        w * h * im->numcomps > kMaxSamples || !FitsInStream(c->codec, *im, d)) {
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
