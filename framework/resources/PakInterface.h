#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/files/FolderSearch.h"

// The game's archive layer as the framework sees it. The framework never
// links to the layer: the layer publishes its address in a process-wide named
// slot, and every framework file read goes through it while it is published
// (see PakFileAccess.h). The names stay in the global namespace because the
// game's layer and the framework share them.

// An archive entry; defined by the archive layer.
struct PakRecord;

// An open file: an archive entry (record set) or a stream on disk (file set).
struct PakFile {
    PakRecord* record = nullptr; // the archive entry; null for a file on disk
    int32_t position = 0;        // byte offset into the entry
    FILE* file = nullptr;        // the stream of a file on disk
    // Set on handles the framework made itself because no layer was
    // published; such a handle is never passed to a layer.
    bool madeWithoutLayer = false;
};

// A search started by FindFirstFile: the archive matches come first (the
// key of the last one is kept), then the folder search on disk.
struct PakFindData {
    std::unique_ptr<plat::FolderSearch> search; // the disk search once it runs
    std::string lastKey;                        // the last archive match; empty before the first
    std::string pattern;                        // the normalised pattern
    bool madeWithoutLayer = false;              // as for PakFile
};

// The operations of the archive layer the framework calls. Archive entries
// are served from the layer's archives, everything else from disk.
class PakInterfaceBase {
public:
    virtual ~PakInterfaceBase() = default;

    // "r", "rb" and "rt" (any case) look in the archives first; other modes
    // and names no archive holds go to disk. Null when neither has the file.
    virtual PakFile* FOpen(const char* name, const char* mode) = 0;
    // Closes the stream of a disk file and frees the handle; 0.
    virtual int FClose(PakFile* file) = 0;
    // Origin 0 from the start, 1 from the position, 2 from the end; an entry's
    // position is kept within 0 .. size. 0 for an entry.
    virtual int FSeek(PakFile* file, long offset, int origin) = 0;
    virtual long FTell(PakFile* file) = 0;
    // Whole items read; an item size or count of 0 reads nothing and gives 0.
    virtual size_t FRead(void* buffer, size_t size, size_t count, PakFile* file) = 0;
    // The next byte, or -1 at the end. Archive entries skip carriage returns
    // (13), so binary readers never read byte by byte.
    virtual int FGetC(PakFile* file) = 0;
    // The next 16-bit little-endian unit, or 0xFFFF when no whole unit is left.
    virtual int FGetWC(PakFile* file) = 0;
    // Steps back one byte (several in a row on an entry); gives c.
    virtual int UngetC(int c, PakFile* file) = 0;
    // A line into buffer: bytes up to and including a line feed, at most n-1
    // of them, then a zero byte. Null at the end with nothing stored, and
    // when n is below 1 (nothing is written).
    virtual char* FGetS(char* buffer, int n, PakFile* file) = 0;
    // The same with 16-bit little-endian units. This base gives the buffer
    // back unchanged.
    virtual wchar_t* FGetWS(wchar_t* buffer, int n, PakFile* file) { return buffer; }
    // True at the end: on an entry as soon as the position reaches its size.
    virtual bool FEof(PakFile* file) = 0;

    // A search of the archives, then of the disk. Null when nothing matched.
    virtual PakFindData* FindFirstFile(const char* pattern, plat::FindData* data) = 0;
    // The next match; false when there are no more.
    virtual bool FindNextFile(PakFindData* find, plat::FindData* data) = 0;
    // Ends a search and frees it; true.
    virtual bool FindClose(PakFindData* find) = 0;
};

// The published layer, or null. Read afresh on every call, so a layer
// published later is seen by the next call.
PakInterfaceBase* GetPakInterface();

// Publishes a layer unless one is published already (the first layer made in
// a process stays the published one). True when pak is the published layer.
bool PublishPakInterface(PakInterfaceBase* pak);

// Clears the slot when it holds pak; for layers that end before the process
// does (tests). The game's layer stays published until the process ends.
void WithdrawPakInterface(PakInterfaceBase* pak);
