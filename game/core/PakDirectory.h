#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The archive format: every byte is stored XORed with kPakKey; a u32 magic,
// a u32 version, the directory records {u8 flags (kPakEndFlag ends the
// directory, that record is the one byte), u8 name length, name with "\"
// separators, u32 size, u64 FILETIME}, then the entries' data in directory
// order without gaps. All numbers little-endian.
constexpr uint8_t kPakKey = 0x5D;
constexpr uint32_t kPakMagic = 0xBAC04AC0;
constexpr uint32_t kPakVersion = 0;
constexpr uint8_t kPakEndFlag = 0x80;
constexpr size_t kPakMaxNameLength = 255;
// Archives are addressed with signed 32-bit positions: 2 GiB or more is refused.
constexpr uint64_t kPakMaxArchiveSize = 0x7FFFFFFF;

// One entry as the directory gives it; offset is from the start of the archive.
struct PakDirectoryEntry {
    std::string name;
    uint32_t size = 0;
    uint64_t fileTime = 0;
    uint32_t offset = 0;
};

// Reads the directory of a whole archive as stored (scrambled). False, with
// entries left empty, on a wrong magic or version, a directory cut short, an
// entry whose data reaches past the end, or an archive of 2 GiB or more.
bool ParsePakDirectory(const uint8_t* data, uint64_t size, std::vector<PakDirectoryEntry>& entries);

// XORs n bytes of src with the archive key into dst (they may be the same).
void DescramblePak(uint8_t* dst, const uint8_t* src, size_t n);
