#pragma once
#include "framework/resources/PakInterface.h"

#include <string>

// The framework's file operations. Each goes to the published archive layer
// when there is one, else to the stream functions on disk (names with "\"
// and any letter case are resolved; see platform/files/DiskFiles.h). A handle
// keeps the route it was opened on: one made without a layer is served from
// disk and freed here even when a layer is published meanwhile.
//
// Binary readers use PakFRead: PakFGetC skips carriage returns on archive
// entries.

PakFile* PakFOpen(const char* name, const char* mode);
inline PakFile* PakFOpen(const std::string& name, const char* mode) { return PakFOpen(name.c_str(), mode); }
int PakFClose(PakFile* file);
size_t PakFRead(void* buffer, size_t size, size_t count, PakFile* file);
int PakFSeek(PakFile* file, long offset, int origin);
long PakFTell(PakFile* file);
int PakFGetC(PakFile* file);
int PakUnGetC(int c, PakFile* file);
// The next 16-bit little-endian unit; 0xFFFF at the end. On disk a plain
// two-byte read.
int PakFGetWC(PakFile* file);
bool PakFEof(PakFile* file);
// A line into buffer (see PakInterfaceBase::FGetS); null when n is below 1.
char* PakFGetS(char* buffer, int n, PakFile* file);
// A line of 16-bit little-endian units, one per wchar_t; on disk our own
// reader (carriage returns dropped, as on an entry).
wchar_t* PakFGetWS(wchar_t* buffer, int n, PakFile* file);

// File searches: the archives first, then the disk (a pattern of "*" and "?"
// in its last component, any letter case). Null when nothing matched.
PakFindData* PakFindFirstFile(const char* pattern, plat::FindData* data);
bool PakFindNextFile(PakFindData* find, plat::FindData* data);
bool PakFindClose(PakFindData* find);

// Fixed-argument forms: a seek from the start, and a read of count bytes.
int PakFSeekSet(PakFile* file, long offset);
size_t PakFReadBytes(void* buffer, size_t count, PakFile* file);

// Stream callbacks in the shape the Ogg Vorbis decoder takes; the data
// source is the PakFile. The seek passes the low 32 bits of the offset on and
// gives -1 for a null source.
size_t PakOggRead(void* buffer, size_t size, size_t count, void* source);
int PakOggSeek(void* source, long long offset, int origin);
int PakOggClose(void* source);
long PakOggTell(void* source);
