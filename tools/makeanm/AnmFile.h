#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// An animation file (anm\<part>.anm) as records: the writer's input.
// AnmWriter.h gives the binary layout and the text form; the game's reader is
// game/world/AnmFile.h.
namespace makeanm {

constexpr uint32_t kMagic = 0x214D4E41;  // "ANM!"
constexpr uint32_t kDefaultBase = 0x10000000;
constexpr size_t kNameBytes = 64;
constexpr size_t kFileHeaderBytes = 12;
constexpr size_t kImageHeaderBytes = 8;
constexpr size_t kRecordBytes = 140;
constexpr size_t kSequenceBytes = 24;
constexpr size_t kFrameBytes = 24;

// Modes of a sequence: the game plays any other value once forward.
constexpr int32_t kModeCycle = 0;
constexpr int32_t kModeOnce = 1;
constexpr int32_t kModeBackward = 2;

struct Frame {
    int32_t x = 0;
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
};

// One animation record with its sequence and frames.
struct Animation {
    std::string image;  // the picture that holds every frame, as the game names it
    std::string name;
    int32_t canvasWidth = 0;
    int32_t mode = kModeCycle;
    int32_t fps = 0;
    std::vector<Frame> frames;

    // Odd values, written only by WriteOddAnm (a sound file leaves them
    // unset): each replaces what the writer would put in its field.
    uint32_t reserved = 0;
    uint32_t unused[2] = {0, 0};
    std::optional<int32_t> frameCount;     // the sequence's count, instead of frames.size()
    std::optional<uint32_t> sequenceLink;  // the record's link to its sequence
    std::optional<uint32_t> framesLink;    // the sequence's link to its frames
    // The index of an earlier animation whose sequence this record links to;
    // its own sequence and frames are then not written. -1: its own.
    int sharesSequenceOf = -1;
};

struct AnmFile {
    uint32_t base = kDefaultBase;
    std::vector<Animation> animations;

    // Odd values for WriteOddAnm, as above.
    uint32_t magic = kMagic;
    std::optional<uint32_t> size;         // the declared image size
    std::optional<int32_t> count;         // the declared record count
    std::optional<uint32_t> recordsLink;  // the image header's link to the records
};

} // namespace makeanm
