#include "game/world/AnmFile.h"

#include "framework/resources/PakFileAccess.h"

#include <cstring>

namespace {

constexpr size_t kFileHeaderBytes = 12;
constexpr size_t kImageHeaderBytes = 8;
constexpr uint64_t kRecordBytes = 140;
constexpr uint64_t kSequenceBytes = 24;
constexpr uint64_t kFrameBytes = 24;

uint32_t U32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

int32_t I32(const uint8_t* p) { return int32_t(U32(p)); }

// The bytes before the first NUL, at most kNameBytes.
std::string Name(const uint8_t* p)
{
    const void* nul = std::memchr(p, 0, AnmFile::kNameBytes);
    size_t length = nul ? size_t(static_cast<const uint8_t*>(nul) - p) : AnmFile::kNameBytes;
    return std::string(reinterpret_cast<const char*>(p), length);
}

// Where a link points in the image, when count items of itemBytes lie there
// inside the image; false otherwise. The link of an empty array must point
// inside the image too.
bool Resolve(uint32_t link, uint32_t base, uint64_t count, uint64_t itemBytes, uint32_t imageSize, uint32_t& offset)
{
    offset = link - base;
    return offset <= imageSize && count * itemBytes <= uint64_t(imageSize - offset);
}

std::unique_ptr<AnmFile> Refuse(std::string* why, const std::string& reason)
{
    if (why)
        *why = reason;
    return nullptr;
}

} // namespace

std::unique_ptr<AnmFile> AnmFile::Load(const std::string& path)
{
    PakFile* file = PakFOpen(path, "rb");
    if (!file)
        return nullptr;
    std::vector<uint8_t> bytes;
    uint8_t block[65536];
    for (;;) {
        size_t got = PakFRead(block, 1, sizeof block, file);
        bytes.insert(bytes.end(), block, block + got);
        if (got < sizeof block)
            break;
    }
    PakFClose(file);
    return Parse(bytes.data(), bytes.size());
}

std::unique_ptr<AnmFile> AnmFile::Parse(const uint8_t* data, size_t size, std::string* why)
{
    if (!data || size < kFileHeaderBytes || U32(data) != kMagic)
        return Refuse(why, "not an animation file (no \"ANM!\")");
    const uint32_t base = U32(data + 4);
    const uint32_t imageSize = U32(data + 8);
    if (imageSize > size - kFileHeaderBytes)
        return Refuse(why, "the image is cut short: " + std::to_string(size - kFileHeaderBytes) + " of " +
                               std::to_string(imageSize) + " bytes");
    if (imageSize < kImageHeaderBytes)
        return Refuse(why, "the image has no room for its header");
    std::unique_ptr<AnmFile> anm(new AnmFile);
    anm->mBase = base;
    anm->mImage.assign(data + kFileHeaderBytes, data + kFileHeaderBytes + imageSize);
    const uint8_t* image = anm->mImage.data();

    const int32_t count = I32(image);
    uint32_t records = 0;
    if (count < 0 || !Resolve(U32(image + 4), base, uint64_t(count), kRecordBytes, imageSize, records))
        return Refuse(why, "the " + std::to_string(count) + " records do not lie inside the image");
    anm->mRecords.resize(size_t(count));
    uint64_t frames = 0;
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t* r = image + records + kRecordBytes * uint64_t(i);
        AnmRecord& record = anm->mRecords[size_t(i)];
        record.imageName = Name(r);
        record.name = Name(r + 68);
        record.canvasWidth = I32(r + 132);
        auto refuse = [&](const std::string& what) {
            return Refuse(why, "record " + std::to_string(i + 1) + " (" + record.name + "): " + what);
        };
        uint32_t sequence = 0;
        if (!Resolve(U32(r + 136), base, 1, kSequenceBytes, imageSize, sequence))
            return refuse("its sequence does not lie inside the image");
        const uint8_t* s = image + sequence;
        AnmSequence& seq = record.sequence;
        seq.unused0 = U32(s);
        seq.unused1 = U32(s + 4);
        seq.mode = I32(s + 8);
        seq.framesPerSecond = I32(s + 12);
        seq.frameCount = I32(s + 16);
        seq.frameLink = U32(s + 20);
        if (seq.framesPerSecond < 0)
            return refuse("negative fps " + std::to_string(seq.framesPerSecond));
        if (seq.frameCount < 0)
            return refuse("negative frame count " + std::to_string(seq.frameCount));
        if (!Resolve(seq.frameLink, base, uint64_t(seq.frameCount), kFrameBytes, imageSize, record.framesOffset))
            return refuse("its " + std::to_string(seq.frameCount) + " frames do not lie inside the image");
        frames += uint64_t(seq.frameCount);
        if (frames > kMaxFrames)
            return refuse("more than " + std::to_string(kMaxFrames) + " frames in all");
    }
    return anm;
}

AnmFrame AnmFile::GetFrame(const AnmRecord& record, int index) const
{
    const uint8_t* p = mImage.data() + record.framesOffset + kFrameBytes * uint64_t(index);
    AnmFrame frame;
    frame.x = I32(p);
    frame.y = I32(p + 4);
    frame.w = I32(p + 8);
    frame.h = I32(p + 12);
    frame.offsetX = I32(p + 16);
    frame.offsetY = I32(p + 20);
    return frame;
}
