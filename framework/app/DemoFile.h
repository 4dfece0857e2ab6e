#pragma once
#include "framework/app/Buffer.h"
#include "framework/app/DemoMarker.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Zelk {

// A demo file (".dmo"): the recorded stream of a run and what is needed to
// replay it. Little-endian:
//
//   u32 magic 0x42BEEF78, u32 version (2 when written), u32 random seed,
//   u16 n and n bytes of the recording program's product version,
//   version >= 2 only: u32 m and an m-byte Buffer holding the marker count
//   (WriteLong) and per marker its name (WriteString) and update (WriteLong),
//   u32 recorded end (the update count when recording ended),
//   the stream: every remaining byte.
//
// Demo files are outside input: loading checks every size against the bytes
// really there, and a file that does not add up is "Invalid demo file.".
class DemoFile {
public:
    static constexpr uint32_t kMagic = 0x42BEEF78;
    static constexpr uint32_t kVersion = 2;
    // Only this much of the product version text is read back.
    static constexpr size_t kMaxVersionText = 255;
    // The largest file the format can describe: the fixed fields, the version
    // text read back, and a marker block and a stream as large as a Buffer
    // holds. A larger file is refused before it is read.
    static constexpr uint64_t kMaxFileBytes =
        4 + 4 + 4 + 2 + kMaxVersionText + 4 + Buffer::kMaxBytes + 4 + Buffer::kMaxBytes;

    uint32_t version = kVersion;
    uint32_t seed = 0;
    std::string productVersion;
    std::vector<DemoMarker> markers;
    int32_t recordedEnd = 0;
    Buffer stream; // after loading, read from the front

    // Reads the file and checks it for a program whose product version is
    // `expectedVersion`. Reading stops as soon as the bytes cannot be a demo
    // file (a wrong magic number, more than kMaxFileBytes), so no file or
    // device, however large, is held in memory. On failure `error` holds the
    // message to show:
    // "Demo file not found: " + path, "Invalid demo file." or
    // "This demo file appears to be for '" + the file's version text + "'".
    bool Load(const std::string& path, const std::string& expectedVersion, std::string& error);
    // The same over the bytes of a file.
    bool Parse(const uint8_t* data, size_t size, const std::string& expectedVersion, std::string& error);

    // The bytes of the file as written at the end of a recording (version 2).
    std::vector<uint8_t> Encode() const;
    // Writes the file; false (and nothing reported) when it cannot be made.
    // False with the reason in why (when given) when the file could not be written.
    bool Save(const std::string& path, std::string* why = nullptr) const;
};

} // namespace Zelk
