#pragma once
#include "framework/resources/PakInterface.h"
#include "game/core/PakCollection.h"
#include "game/core/PakRecord.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// The game's archive layer: every file the program reads is looked for in
// the added archives first (by normalised upper-case name) and served from
// memory, descrambled; everything else goes to disk. The first layer made in
// a process publishes itself (GetPakInterface); its destructor withdraws it
// and unmaps the archives, so it must outlive every handle it gave out.
//
// The directory is built before other threads read through the layer and is
// read-only afterwards; reads through distinct handles need no lock.
class PakInterface : public PakInterfaceBase {
public:
    PakInterface();
    ~PakInterface() override;
    PakInterface(const PakInterface&) = delete;
    PakInterface& operator=(const PakInterface&) = delete;

    // Maps the archive (path relative to the current folder) and registers
    // its entries; a later entry of one name replaces the earlier, within one
    // archive and across archives. False, with nothing registered, for a
    // missing or unreadable file and for a malformed one (ParsePakDirectory).
    bool AddPakFile(const std::string& path);

    PakFile* FOpen(const char* name, const char* mode) override;
    int FClose(PakFile* file) override;
    int FSeek(PakFile* file, long offset, int origin) override;
    long FTell(PakFile* file) override;
    size_t FRead(void* buffer, size_t size, size_t count, PakFile* file) override;
    int FGetC(PakFile* file) override;
    int FGetWC(PakFile* file) override;
    int UngetC(int c, PakFile* file) override;
    char* FGetS(char* buffer, int n, PakFile* file) override;
    wchar_t* FGetWS(wchar_t* buffer, int n, PakFile* file) override;
    bool FEof(PakFile* file) override;
    PakFindData* FindFirstFile(const char* pattern, plat::FindData* data) override;
    bool FindNextFile(PakFindData* find, plat::FindData* data) override;
    bool FindClose(PakFindData* find) override;

    // The directory: upper-case key to entry, in byte-wise key order.
    const std::map<std::string, PakRecord>& Records() const { return mRecords; }

    // The look-up key of a file name: a leading current folder (any case) is
    // dropped, runs of "\" and "/" become one "\", ".." after a separator
    // removes the folder before it, letters are upper-cased.
    static std::string NormaliseName(const std::string& name);

private:
    bool NextArchiveMatch(PakFindData* find, plat::FindData* data) const;
    static int NextByte(PakFile* file);

    std::map<std::string, PakRecord> mRecords;
    std::vector<std::unique_ptr<PakCollection>> mCollections;
};
