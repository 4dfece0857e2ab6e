#include "framework/resources/PakFileAccess.h"

#include "framework/resources/PakLineReader.h"
#include "platform/files/DiskFiles.h"

namespace {

// The layer that serves a handle, or null when it is a stream of ours.
PakInterfaceBase* LayerFor(PakFile* file)
{
    return file->madeWithoutLayer ? nullptr : GetPakInterface();
}

// A handle the framework can serve from disk itself.
FILE* StreamOf(PakFile* file)
{
    return file->record ? nullptr : file->file;
}

} // namespace

PakFile* PakFOpen(const char* name, const char* mode)
{
    if (!name || !mode)
        return nullptr;
    if (PakInterfaceBase* pak = GetPakInterface())
        return pak->FOpen(name, mode);
    FILE* stream = plat::OpenFile(name, mode);
    if (!stream)
        return nullptr;
    PakFile* file = new PakFile;
    file->file = stream;
    file->madeWithoutLayer = true;
    return file;
}

int PakFClose(PakFile* file)
{
    if (!file)
        return EOF;
    if (PakInterfaceBase* pak = LayerFor(file))
        return pak->FClose(file);
    if (!file->madeWithoutLayer)
        return EOF; // the layer that made it is gone; its handle is not ours to free
    int result = file->file ? fclose(file->file) : 0;
    delete file;
    return result;
}

size_t PakFRead(void* buffer, size_t size, size_t count, PakFile* file)
{
    if (!file)
        return 0;
    if (PakInterfaceBase* pak = LayerFor(file))
        return pak->FRead(buffer, size, count, file);
    FILE* stream = StreamOf(file);
    return stream && size && count ? fread(buffer, size, count, stream) : 0;
}

int PakFSeek(PakFile* file, long offset, int origin)
{
    if (!file)
        return -1;
    if (PakInterfaceBase* pak = LayerFor(file))
        return pak->FSeek(file, offset, origin);
    FILE* stream = StreamOf(file);
    return stream ? fseek(stream, offset, origin) : -1;
}

long PakFTell(PakFile* file)
{
    if (!file)
        return -1;
    if (PakInterfaceBase* pak = LayerFor(file))
        return pak->FTell(file);
    FILE* stream = StreamOf(file);
    return stream ? ftell(stream) : -1;
}

int PakFGetC(PakFile* file)
{
    if (!file)
        return EOF;
    if (PakInterfaceBase* pak = LayerFor(file))
        return pak->FGetC(file);
    FILE* stream = StreamOf(file);
    return stream ? getc(stream) : EOF;
}

int PakUnGetC(int c, PakFile* file)
{
    if (!file)
        return EOF;
    if (PakInterfaceBase* pak = LayerFor(file))
        return pak->UngetC(c, file);
    FILE* stream = StreamOf(file);
    return stream ? ungetc(c, stream) : EOF;
}

int PakFGetWC(PakFile* file)
{
    if (!file)
        return 0xFFFF;
    if (PakInterfaceBase* pak = LayerFor(file))
        return pak->FGetWC(file);
    FILE* stream = StreamOf(file);
    return stream ? plat::ReadWideChar(stream) : 0xFFFF;
}

bool PakFEof(PakFile* file)
{
    if (!file)
        return true;
    if (PakInterfaceBase* pak = LayerFor(file))
        return pak->FEof(file);
    FILE* stream = StreamOf(file);
    return stream ? feof(stream) != 0 : true;
}

char* PakFGetS(char* buffer, int n, PakFile* file)
{
    if (!file || !buffer || n < 1)
        return nullptr;
    if (PakInterfaceBase* pak = LayerFor(file))
        return pak->FGetS(buffer, n, file);
    FILE* stream = StreamOf(file);
    return stream ? fgets(buffer, n, stream) : nullptr;
}

wchar_t* PakFGetWS(wchar_t* buffer, int n, PakFile* file)
{
    if (!file || !buffer || n < 1)
        return nullptr;
    if (PakInterfaceBase* pak = LayerFor(file))
        return pak->FGetWS(buffer, n, file);
    FILE* stream = StreamOf(file);
    if (!stream)
        return nullptr;
    return ReadPakLine(buffer, n, [stream] {
        int c = plat::ReadWideChar(stream);
        return c == 0xFFFF ? -1 : c;
    });
}

PakFindData* PakFindFirstFile(const char* pattern, plat::FindData* data)
{
    if (!pattern || !data)
        return nullptr;
    if (PakInterfaceBase* pak = GetPakInterface())
        return pak->FindFirstFile(pattern, data);
    auto search = plat::FolderSearch::First(pattern, *data);
    if (!search)
        return nullptr;
    PakFindData* find = new PakFindData;
    find->search = std::move(search);
    find->pattern = pattern;
    find->madeWithoutLayer = true;
    return find;
}

bool PakFindNextFile(PakFindData* find, plat::FindData* data)
{
    if (!find || !data)
        return false;
    if (!find->madeWithoutLayer) {
        PakInterfaceBase* pak = GetPakInterface();
        return pak && pak->FindNextFile(find, data);
    }
    return find->search && find->search->Next(*data);
}

bool PakFindClose(PakFindData* find)
{
    if (!find)
        return false;
    if (!find->madeWithoutLayer) {
        PakInterfaceBase* pak = GetPakInterface();
        return pak && pak->FindClose(find);
    }
    delete find;
    return true;
}

int PakFSeekSet(PakFile* file, long offset)
{
    return PakFSeek(file, offset, SEEK_SET);
}

size_t PakFReadBytes(void* buffer, size_t count, PakFile* file)
{
    return PakFRead(buffer, 1, count, file);
}

size_t PakOggRead(void* buffer, size_t size, size_t count, void* source)
{
    return PakFRead(buffer, size, count, static_cast<PakFile*>(source));
}

int PakOggSeek(void* source, long long offset, int origin)
{
    if (!source)
        return -1;
    return PakFSeek(static_cast<PakFile*>(source), long(int32_t(uint32_t(offset))), origin);
}

int PakOggClose(void* source)
{
    return PakFClose(static_cast<PakFile*>(source));
}

long PakOggTell(void* source)
{
    return PakFTell(static_cast<PakFile*>(source));
}
