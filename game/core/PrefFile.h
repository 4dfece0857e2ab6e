#pragma once
#include "game/core/HiscoreTables.h"
#include "game/core/PrefHeader.h"
#include "game/core/ProfileRecord.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The bytes of pref.dat, little-endian: the 40-byte header, the survival and
// career tables at 40 and 5280 (5240 bytes each), then 1028-byte profile
// slots from 10520. The reader checks every value and mends what is unsafe;
// the writer writes field by field, zeros in padding and after texts.
class PrefFile {
public:
    static constexpr size_t kHeaderSize = 40;
    static constexpr size_t kSurvivalOffset = 40;
    static constexpr size_t kCareerOffset = 5280;
    static constexpr size_t kTableSize = 5240;
    static constexpr size_t kEntrySize = 524;
    static constexpr size_t kSlotsOffset = 10520;
    static constexpr size_t kSlotSize = 1028;
    static constexpr size_t kTextSize = 260; // units of a name, bytes of a figure word
    static constexpr uint32_t kMaxVolume = 100;

    // What the bytes of a pref.dat hold.
    struct Contents {
        // 40 bytes with this program's magic and version; without it the
        // header has its defaults and there are no slots.
        bool headerValid = false;
        // Anything that is not a well-formed file of this program (short or
        // foreign header, a length other than 10520 + k x 1028, a value that
        // had to be mended, a current index that names no slot): the file is
        // kept aside before it is replaced.
        bool damaged = false;
        PrefHeader header;
        std::vector<ProfileRecord> slots; // every whole slot, in order
    };

    // Reads a whole file. With tables, its whole hiscore entries are read into
    // them when the header is valid; the places it does not reach are kept.
    static Contents Read(const std::string& bytes, HiscoreTables* tables);
    // The bytes of a well-formed file.
    static std::string Write(const PrefHeader& header, const HiscoreTables& tables,
                             const std::vector<ProfileRecord>& slots);
    // (size - 10520) / 1028 for a file of at least 10520 bytes, else 0.
    static size_t SlotCount(size_t size);
    static size_t SlotOffset(size_t slot) { return kSlotsOffset + slot * kSlotSize; }

    // Field readers and writers. The readers return true when they had to mend
    // a value. ReadHeader returns false (header untouched) for fewer than 40
    // bytes or a foreign magic or version.
    static bool ReadHeader(const uint8_t* data, size_t size, PrefHeader& header, bool& mended);
    static void WriteHeader(const PrefHeader& header, uint8_t* out);
    static bool ReadRecord(const uint8_t* data, ProfileRecord& record);
    static void WriteRecord(const ProfileRecord& record, uint8_t* out);
    static bool ReadEntry(const uint8_t* data, HiscoreEntry& entry);
    static void WriteEntry(const HiscoreEntry& entry, uint8_t* out);

    // A name as the file keeps it: up to the first zero, at most 259 UTF-16
    // units, a pair never split.
    static std::wstring CutName(const std::wstring& name);
};
