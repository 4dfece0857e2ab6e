#pragma once
// An animation file, anm\<part name>.anm, checked and decoded. The file is
// "ANM!" (u32 0x214D4E41), u32 base, u32 size and an image of size bytes,
// all little-endian. A link in the image is the offset of its target plus
// base (modulo 2^32); links are resolved on reading, so records may share a
// sequence. The image holds an i32 count and a link to count records of 140
// bytes (image file name char[64], a reserved u32, animation name char[64],
// i32 canvas width, link to a sequence); a sequence is 24 bytes (two unused
// u32, i32 mode, i32 fps, i32 frame count, link to frame count frames of 24
// bytes: i32 x, y, w, h, offset x, offset y).
#include "framework/graphics/SharedImage.h"
#include "game/effects/EffectWorld.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct AnmFrame {
    int32_t x = 0;
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;
    int32_t offsetX = 0; // of the region on the canvas
    int32_t offsetY = 0;
};

// One animation: its picture, name, canvas and timing. The record's picture
// is loaded on demand (what the file's reserved word holds at run time).
struct AnmRecord {
    std::string imageName;
    Zelk::SharedImageRef image;
    bool imageTried = false; // a load was made, whether or not it gave a picture
    std::string name;
    int32_t canvasWidth = 0;
    AnmSequence sequence{};
    uint32_t framesOffset = 0; // where the frames lie in the image
};

class AnmFile {
public:
    static constexpr uint32_t kMagic = 0x214D4E41;
    static constexpr size_t kNameBytes = 64;

    AnmFile(const AnmFile&) = delete;
    AnmFile& operator=(const AnmFile&) = delete;

    // Frames in all that a file may declare, counted once for every record
    // that names them (records may share or overlap frame arrays): far more
    // than any part plays, and a bound on the work of anything that walks
    // every record's frames.
    static constexpr uint64_t kMaxFrames = uint64_t(1) << 20;

    // The whole file read through the archive layer (archives first, then
    // disk) and checked; null when it cannot be opened or is refused.
    static std::unique_ptr<AnmFile> Load(const std::string& path);
    // A file's bytes checked against what is really there: the magic, size
    // bytes of image, the record array, every sequence and every frame array
    // inside the image (an empty array's link too), no negative count, frame
    // count or fps, at most kMaxFrames frames in all. Null when refused, with
    // the reason in why (naming the record) when it is given.
    static std::unique_ptr<AnmFile> Parse(const uint8_t* data, size_t size, std::string* why = nullptr);

    // What the file's links are offset by.
    uint32_t GetBase() const { return mBase; }
    int GetCount() const { return int(mRecords.size()); }
    AnmRecord& GetRecord(int index) { return mRecords[size_t(index)]; }
    const AnmRecord& GetRecord(int index) const { return mRecords[size_t(index)]; }
    // Frame index (0 <= index < the record's frame count) of the record.
    AnmFrame GetFrame(const AnmRecord& record, int index) const;

private:
    AnmFile() = default;

    uint32_t mBase = 0;
    std::vector<uint8_t> mImage;
    std::vector<AnmRecord> mRecords;
};
