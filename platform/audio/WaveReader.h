#pragma once
#include "platform/audio/ByteSource.h"

#include <cstdint>
#include <functional>
#include <string>

namespace plat {

// What the header of a RIFF/WAVE file says about its samples. A file without
// a "fmt " chunk is 16-bit mono at 22050 Hz.
struct WaveHeader {
    uint16_t channels = 1;
    uint32_t rate = 22050;
    uint16_t bits = 16;
    uint32_t dataSize = 0;
    uint8_t key = 0; // an "xor " chunk scrambles the samples with this byte
};

// The one wave reader of the program (the sound manager and the sound library
// both read through it). Accepts PCM only (format 1), 8 or 16 bits, a data
// chunk that the file really holds; chunks follow each other without pad
// bytes. A "dep " chunk (name and file time of the file a cached wave was
// made from) is handed to the check, which refuses a stale cache; without a
// check it is skipped. On success the source stands at the first data byte.
class WaveReader {
public:
    using DependencyCheck = std::function<bool(const std::string& name, uint64_t fileTime)>;

    static bool ReadHeader(ByteSource& src, WaveHeader& header, const DependencyCheck& check = nullptr);
    // Reads the header's data bytes into dst and undoes the scrambling.
    static bool ReadData(ByteSource& src, const WaveHeader& header, uint8_t* dst);
};

} // namespace plat
