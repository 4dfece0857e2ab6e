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

// Whether count items of itemBytes starting at offset lie inside size bytes.
bool Inside(uint32_t offset, uint64_t count, uint64_t itemBytes, size_t size)
{
    return uint64_t(offset) + count * itemBytes <= uint64_t(size);
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

std::unique_ptr<AnmFile> AnmFile::Parse(const uint8_t* data, size_t size)
{
    if (!data || size < kFileHeaderBytes || U32(data) != kMagic)
        return nullptr;
    const uint32_t base = U32(data + 4);
    const uint32_t imageSize = U32(data + 8);
    if (imageSize > size - kFileHeaderBytes || imageSize < kImageHeaderBytes)
        return nullptr;
    std::unique_ptr<AnmFile> anm(new AnmFile);
    anm->mImage.assign(data + kFileHeaderBytes, data + kFileHeaderBytes + imageSize);
    const uint8_t* image = anm->mImage.data();

    const int32_t count = I32(image);
    const uint32_t records = U32(image + 4) - base;
    if (count < 0 || (count > 0 && !Inside(records, uint64_t(count), kRecordBytes, imageSize)))
        return nullptr;
    anm->mRecords.resize(size_t(count));
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t* r = image + records + kRecordBytes * uint64_t(i);
        AnmRecord& record = anm->mRecords[size_t(i)];
        record.imageName = Name(r);
        record.name = Name(r + 68);
        record.canvasWidth = I32(r + 132);
        const uint32_t sequence = U32(r + 136) - base;
        if (!Inside(sequence, 1, kSequenceBytes, imageSize))
            return nullptr;
        const uint8_t* s = image + sequence;
        AnmSequence& seq = record.sequence;
        seq.unused0 = U32(s);
        seq.unused1 = U32(s + 4);
        seq.mode = I32(s + 8);
        seq.framesPerSecond = I32(s + 12);
        seq.frameCount = I32(s + 16);
        seq.frameLink = U32(s + 20);
        if (seq.framesPerSecond < 0 || seq.frameCount < 0)
            return nullptr;
        record.framesOffset = seq.frameLink - base;
        if (seq.frameCount > 0 && !Inside(record.framesOffset, uint64_t(seq.frameCount), kFrameBytes, imageSize))
            return nullptr;
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
