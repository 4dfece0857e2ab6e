#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Builds archives in the format the game's archive layer reads
// (game/core/PakDirectory.h). The one writer of the tool, the tests and the
// build.
class PakWriter {
public:
    // Adds an entry; name with "\" separators, as stored.
    void Add(const std::string& name, const std::string& data, uint64_t fileTime);

    // The whole archive, scrambled. False with a message when a name is over
    // 255 bytes or the archive would reach 2 GiB.
    bool Build(std::string& archive, std::string& error) const;

private:
    struct Entry {
        std::string name;
        std::string data;
        uint64_t fileTime;
    };
    std::vector<Entry> mEntries;
};

// How a folder is packed.
struct PakPackOptions {
    bool fixedTime = false; // every entry gets fileTime instead of its file's time
    uint64_t fileTime = 0;
    bool utf16Xml = false;  // *.xml sources (UTF-8) are stored as UTF-16LE with a byte-order mark
};

// Packs every regular file below folder: names relative to it with "\",
// in byte-wise order. False with a message naming the file on any failure.
bool PackFolder(const std::string& folder, const PakPackOptions& options, std::string& archive, std::string& error);

// UTF-8 text (a leading UTF-8 byte-order mark dropped) as UTF-16LE with a
// byte-order mark; false for malformed UTF-8.
bool Utf8ToUtf16LEWithBom(const std::string& text, std::string& out);

// Writes bytes to a file; false on failure.
bool WriteWholeFile(const std::string& path, const std::string& bytes);
// Reads a whole file; false on failure.
bool ReadWholeFile(const std::string& path, std::string& bytes);
