#include "tools/makeanm/AnmReader.h"

namespace makeanm {

namespace {

uint32_t Get32(const uint8_t* at)
{
    return uint32_t(at[0]) | (uint32_t(at[1]) << 8) | (uint32_t(at[2]) << 16) | (uint32_t(at[3]) << 24);
}

std::string Name(const uint8_t* at)
{
    size_t length = 0;
    while (length < kNameBytes && at[length] != 0)
        ++length;
    return std::string(reinterpret_cast<const char*>(at), length);
}

// The image offset a link names when count items of itemBytes each lie
// there inside the image; false otherwise.
bool Resolve(uint32_t link, uint32_t base, uint64_t count, uint64_t itemBytes, uint64_t imageBytes, uint64_t& offset)
{
    offset = uint32_t(link - base);
    return offset <= imageBytes && count * itemBytes <= imageBytes - offset;
}

} // namespace

bool ReadAnm(const uint8_t* data, size_t size, AnmFile& file, std::string& error)
{
    if (size < kFileHeaderBytes || Get32(data) != kMagic) {
        error = "not an animation file (no \"ANM!\")";
        return false;
    }
    AnmFile out;
    out.base = Get32(data + 4);
    const uint64_t imageBytes = Get32(data + 8);
    if (imageBytes > size - kFileHeaderBytes) {
        error = "the image is cut short: " + std::to_string(size - kFileHeaderBytes) + " of " +
                std::to_string(imageBytes) + " bytes";
        return false;
    }
    const uint8_t* image = data + kFileHeaderBytes;
    if (imageBytes < kImageHeaderBytes) {
        error = "the image has no room for its header";
        return false;
    }
    const int32_t count = int32_t(Get32(image));
    uint64_t records = 0;
    if (count < 0 || !Resolve(Get32(image + 4), out.base, uint64_t(count), kRecordBytes, imageBytes, records)) {
        error = "the " + std::to_string(count) + " records do not lie inside the image";
        return false;
    }
    uint64_t totalFrames = 0;
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t* record = image + records + kRecordBytes * uint64_t(i);
        Animation a;
        a.image = Name(record);
        a.reserved = Get32(record + 64);
        a.name = Name(record + 68);
        a.canvasWidth = int32_t(Get32(record + 132));
        const std::string label = "record " + std::to_string(i + 1) + " (" + a.name + ")";
        uint64_t sequence = 0;
        if (!Resolve(Get32(record + 136), out.base, 1, kSequenceBytes, imageBytes, sequence)) {
            error = label + ": its sequence does not lie inside the image";
            return false;
        }
        const uint8_t* s = image + sequence;
        a.unused[0] = Get32(s);
        a.unused[1] = Get32(s + 4);
        a.mode = int32_t(Get32(s + 8));
        a.fps = int32_t(Get32(s + 12));
        const int32_t frames = int32_t(Get32(s + 16));
        if (a.fps < 0 || frames < 0) {
            error = label + ": negative fps or frame count";
            return false;
        }
        uint64_t first = 0;
        if (!Resolve(Get32(s + 20), out.base, uint64_t(frames), kFrameBytes, imageBytes, first)) {
            error = label + ": its " + std::to_string(frames) + " frames do not lie inside the image";
            return false;
        }
        totalFrames += uint64_t(frames);
        if (totalFrames > kMaxFramesRead) {
            error = "more than " + std::to_string(kMaxFramesRead) + " frames in all";
            return false;
        }
        for (int32_t f = 0; f < frames; ++f) {
            const uint8_t* at = image + first + kFrameBytes * uint64_t(f);
            Frame frame;
            int32_t* fields[6] = {&frame.x, &frame.y, &frame.w, &frame.h, &frame.offsetX, &frame.offsetY};
            for (size_t k = 0; k < 6; ++k)
                *fields[k] = int32_t(Get32(at + 4 * k));
            a.frames.push_back(frame);
        }
        out.animations.push_back(a);
    }
    file = out;
    return true;
}

} // namespace makeanm
