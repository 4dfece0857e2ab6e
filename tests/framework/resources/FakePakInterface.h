#pragma once
#include "framework/resources/PakInterface.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// An entry of the fake archive: its bytes as stored (scrambled with the key).
struct PakRecord {
    std::vector<uint8_t> stored;
};

// An archive layer held in memory, with the behaviour the game's layer has:
// entries looked up by normalised name for read modes, bytes descrambled with
// a one-byte key, positions clamped, carriage returns skipped by FGetC; any
// other name or mode goes to disk. It records what it was asked for.
class FakePakInterface : public PakInterfaceBase {
public:
    explicit FakePakInterface(uint8_t key = 0x5D) : mKey(key) {}
    ~FakePakInterface() override;

    // Adds an entry holding the given (plain) bytes.
    void Add(const std::string& name, const std::string& bytes);
    // Publishes this layer; false when another one is published.
    bool Publish() { return PublishPakInterface(this); }

    std::vector<std::string> opened; // every name FOpen was asked for
    int operations = 0;              // every call this layer received
    int openHandles = 0;             // handles made and not yet closed

    PakFile* FOpen(const char* name, const char* mode) override;
    int FClose(PakFile* file) override;
    int FSeek(PakFile* file, long offset, int origin) override;
    long FTell(PakFile* file) override;
    size_t FRead(void* buffer, size_t size, size_t count, PakFile* file) override;
    int FGetC(PakFile* file) override;
    int FGetWC(PakFile* file) override;
    int UngetC(int c, PakFile* file) override;
    char* FGetS(char* buffer, int n, PakFile* file) override;
    bool FEof(PakFile* file) override;
    // The fake holds no search: every search finds nothing.
    PakFindData* FindFirstFile(const char*, plat::FindData*) override { return nullptr; }
    bool FindNextFile(PakFindData*, plat::FindData*) override { return false; }
    bool FindClose(PakFindData* find) override
    {
        delete find;
        return true;
    }

private:
    static std::string Normalise(const std::string& name);
    uint8_t mKey;
    std::map<std::string, PakRecord> mEntries;
};
