#pragma once
#include "framework/app/ModValue.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Zelk {

// Tunable constants: numbers and texts that a developer can change in the
// source files while the program runs. Each constant is compiled into the
// program's data as a slot:
//
//   offset 0                 flag byte, non-zero until the slot is activated
//   offset 1                 pointer to the slot's ModValue (unaligned, native size)
//   offset kHeaderSize       the 10 marker bytes "ZELKMODVAL", no terminator
//   offset kHeaderSize + 10  the tag: the source path directly followed by
//                            "a,b" (a orders the constants of one file, b is
//                            the source line), then a 0 byte
//
// The slots are found by scanning the program's loaded image for the marker.
// ReloadAll re-reads every source file that has an activated constant, finds
// the marks "M(" and "M1(" to "M9(" on the recorded lines and stores the values
// written after them. Main thread only.
class ModValRegistry {
public:
    static constexpr size_t kHeaderSize = 1 + sizeof(void*);
    static constexpr size_t kMarkerLength = 10;
    // The marker bytes (the text is followed by an empty tag, so the scan
    // never registers this copy).
    static const char* Marker();

    struct Entry {
        uint8_t* slot = nullptr;
        int line = 0;
    };
    struct FileEntry {
        bool active = false; // one of the file's constants has been read
        std::map<int, Entry> entries; // by a
    };

    // The program's registry.
    static ModValRegistry& Get();

    ModValRegistry() = default;
    ModValRegistry(const ModValRegistry&) = delete;
    ModValRegistry& operator=(const ModValRegistry&) = delete;

    // Registers the slots of the program's own image. Stops after the first
    // run of adjacent image regions in which slots were found.
    void ScanMemory();
    // Registers the slots of one memory range; true when at least one was found.
    bool ScanRegion(const void* start, size_t length);
    // Splits "path" + "a,b": on success the tag is cut to the path.
    static bool ParseTag(std::string& tag, int& a, int& b);
    // Gives an inactive slot its value object and marks its file for reloads.
    // Called by the code that reads a constant, on the first read.
    ModValue* ActivateSlot(uint8_t* slot);
    // The Alt+R operation: true when a source file changed since the last
    // reload (or since the program was built) and everything parsed.
    bool ReloadAll();

    // The value parsers, each reading the text that follows the mark's "(".
    static bool ParseString(const std::string& text, std::string& value);
    bool ParseInt(const std::string& text, int32_t& value) const;
    static bool ParseDouble(const std::string& text, double& value);

    // Named constants the integer parser knows.
    void SetNamedConstant(const std::string& name, int32_t value) { mNamedConstants[name] = value; }

    // Seconds since 1970 of the newest source file seen; 0 until the first
    // reload, which starts it at the program file's time and scans the image.
    uint32_t GetReferenceTime() const { return mReferenceTime; }
    void SetReferenceTime(uint32_t seconds) { mReferenceTime = seconds; }

    const std::map<std::string, FileEntry>& GetFiles() const { return mFiles; }

    // The slot's flag byte and value pointer.
    static bool SlotIsInactive(const uint8_t* slot) { return slot[0] != 0; }
    static ModValue* SlotValue(const uint8_t* slot);

private:
    void Register(const std::string& tag, uint8_t* slot);
    bool ReloadFile(const std::string& path, FileEntry& file);
    void Store(uint8_t* slot, const ModValue& value);

    std::map<std::string, FileEntry> mFiles;
    std::vector<std::unique_ptr<ModValue>> mValues;
    std::map<std::string, int32_t> mNamedConstants;
    uint32_t mReferenceTime = 0;
};

// The last-write time of a file in seconds since 1970-01-01; 0 when there is
// no such file.
uint32_t GetFileTimeSeconds(const std::string& path);

} // namespace Zelk
