#include "tools/makeanm/AnmWriter.h"

#include <cstring>
#include <limits>

namespace makeanm {

namespace {

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + size_t(i)] = uint8_t(value >> (8 * i));
}

void PutName(std::vector<uint8_t>& bytes, size_t at, const std::string& name)
{
    std::memcpy(&bytes[at], name.data(), name.size());
}

std::string Label(size_t index, const Animation& animation)
{
    return "animation " + std::to_string(index + 1) + " (" + animation.name + ")";
}

bool HasOddValue(const Animation& a)
{
    return a.reserved != 0 || a.unused[0] != 0 || a.unused[1] != 0 || a.frameCount || a.sequenceLink ||
           a.framesLink || a.sharesSequenceOf != -1;
}

// Lays the records out as AnmWriter.h describes; names must fit their 64
// bytes (checked by the callers).
bool Lay(const AnmFile& file, std::vector<uint8_t>& bytes, std::string& error)
{
    const std::vector<Animation>& list = file.animations;
    std::vector<uint64_t> sequenceAt(list.size());
    std::vector<uint64_t> framesAt(list.size());
    uint64_t end = kImageHeaderBytes + kRecordBytes * uint64_t(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        const int shared = list[i].sharesSequenceOf;
        if (shared >= 0) {
            if (size_t(shared) >= i) {
                error = Label(i, list[i]) + ": shares the sequence of animation " + std::to_string(shared + 1) +
                        ", which is not an earlier one";
                return false;
            }
            sequenceAt[i] = sequenceAt[size_t(shared)];
            framesAt[i] = framesAt[size_t(shared)];
            continue;
        }
        sequenceAt[i] = end;
        framesAt[i] = end + kSequenceBytes;
        end = framesAt[i] + kFrameBytes * uint64_t(list[i].frames.size());
    }
    if (end > std::numeric_limits<uint32_t>::max()) {
        error = "the image would be 4 GiB or more";
        return false;
    }
    auto link = [&file](uint64_t offset) { return uint32_t(offset + file.base); };
    bytes.assign(kFileHeaderBytes + size_t(end), 0);
    Put32(bytes, 0, file.magic);
    Put32(bytes, 4, file.base);
    Put32(bytes, 8, file.size ? *file.size : uint32_t(end));
    const size_t image = kFileHeaderBytes;
    Put32(bytes, image, uint32_t(file.count ? *file.count : int32_t(list.size())));
    Put32(bytes, image + 4, file.recordsLink ? *file.recordsLink : link(kImageHeaderBytes));
    for (size_t i = 0; i < list.size(); ++i) {
        const Animation& a = list[i];
        const size_t record = image + kImageHeaderBytes + kRecordBytes * i;
        PutName(bytes, record, a.image);
        Put32(bytes, record + 64, a.reserved);
        PutName(bytes, record + 68, a.name);
        Put32(bytes, record + 132, uint32_t(a.canvasWidth));
        Put32(bytes, record + 136, a.sequenceLink ? *a.sequenceLink : link(sequenceAt[i]));
        if (a.sharesSequenceOf >= 0)
            continue;
        const size_t sequence = image + size_t(sequenceAt[i]);
        Put32(bytes, sequence, a.unused[0]);
        Put32(bytes, sequence + 4, a.unused[1]);
        Put32(bytes, sequence + 8, uint32_t(a.mode));
        Put32(bytes, sequence + 12, uint32_t(a.fps));
        Put32(bytes, sequence + 16, uint32_t(a.frameCount ? *a.frameCount : int32_t(a.frames.size())));
        Put32(bytes, sequence + 20, a.framesLink ? *a.framesLink : link(framesAt[i]));
        for (size_t f = 0; f < a.frames.size(); ++f) {
            const Frame& frame = a.frames[f];
            const size_t at = image + size_t(framesAt[i]) + kFrameBytes * f;
            const int32_t values[6] = {frame.x, frame.y, frame.w, frame.h, frame.offsetX, frame.offsetY};
            for (int k = 0; k < 6; ++k)
                Put32(bytes, at + 4 * size_t(k), uint32_t(values[k]));
        }
    }
    return true;
}

} // namespace

bool WriteAnm(const AnmFile& file, std::vector<uint8_t>& bytes, std::string& error, std::vector<std::string>* warnings)
{
    if (file.count && *file.count < 0) {
        error = "negative record count " + std::to_string(*file.count);
        return false;
    }
    bool odd = file.magic != kMagic || file.size || file.count || file.recordsLink;
    for (size_t i = 0; i < file.animations.size(); ++i) {
        const Animation& a = file.animations[i];
        for (const std::string* name : {&a.image, &a.name}) {
            const char* what = name == &a.image ? "image file name" : "animation name";
            if (name->size() >= kNameBytes) {
                error = Label(i, a) + ": " + what + " of 64 bytes or more: " + *name;
                return false;
            }
            if (name->find('\0') != std::string::npos) {
                error = Label(i, a) + ": " + what + " holds a NUL byte";
                return false;
            }
        }
        if (a.fps < 0) {
            error = Label(i, a) + ": negative fps " + std::to_string(a.fps);
            return false;
        }
        if (a.frameCount && *a.frameCount < 0) {
            error = Label(i, a) + ": negative frame count " + std::to_string(*a.frameCount);
            return false;
        }
        odd = odd || HasOddValue(a);
    }
    if (odd) {
        error = "odd values (declared counts or sizes, links, reserved words, shared sequences, another magic) "
                "are written only by WriteOddAnm";
        return false;
    }
    if (file.animations.size() > size_t(std::numeric_limits<int32_t>::max())) {
        error = "more records than a count can hold";
        return false;
    }
    if (!Lay(file, bytes, error))
        return false;
    if (warnings)
        for (size_t i = 0; i < file.animations.size(); ++i) {
            const Animation& a = file.animations[i];
            if (a.mode != kModeCycle && a.frames.size() == 1)
                warnings->push_back(Label(i, a) + ": played once with a single frame, it never reports an end");
        }
    return true;
}

bool WriteOddAnm(const AnmFile& file, std::vector<uint8_t>& bytes, std::string& error)
{
    for (size_t i = 0; i < file.animations.size(); ++i) {
        const Animation& a = file.animations[i];
        if (a.image.size() > kNameBytes || a.name.size() > kNameBytes) {
            error = Label(i, a) + ": a name over 64 bytes does not fit its field";
            return false;
        }
    }
    return Lay(file, bytes, error);
}

} // namespace makeanm
