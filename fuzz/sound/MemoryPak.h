#pragma once
// An archive layer that serves one file from memory: the fuzz input.
#include "framework/resources/PakInterface.h"
#include "framework/resources/PakLineReader.h"

#include <algorithm>
#include <cstring>
#include <string>

struct PakRecord {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

class MemoryPak : public PakInterfaceBase {
public:
    void Serve(const std::string& name, const uint8_t* data, size_t size)
    {
        mName = name;
        mRecord.data = data;
        mRecord.size = size;
    }
    PakFile* FOpen(const char* name, const char* mode) override
    {
        if (mName != name)
            return nullptr;
        PakFile* f = new PakFile;
        f->record = &mRecord;
        return f;
    }
    int FClose(PakFile* file) override
    {
        delete file;
        return 0;
    }
    int FSeek(PakFile* file, long offset, int origin) override
    {
        long base = origin == SEEK_CUR ? file->position : origin == SEEK_END ? long(mRecord.size) : 0;
        long pos = std::clamp<long>(base + offset, 0, long(mRecord.size));
        file->position = int32_t(pos);
        return 0;
    }
    long FTell(PakFile* file) override { return file->position; }
    size_t FRead(void* buffer, size_t size, size_t count, PakFile* file) override
    {
        if (size == 0 || count == 0)
            return 0;
        size_t left = mRecord.size - size_t(file->position);
        size_t n = std::min(left / size, count);
        std::memcpy(buffer, mRecord.data + file->position, n * size);
        file->position += int32_t(n * size);
        return n;
    }
    int FGetC(PakFile* file) override
    {
        return size_t(file->position) < mRecord.size ? mRecord.data[file->position++] : -1;
    }
    int FGetWC(PakFile* file) override
    {
        int lo = FGetC(file), hi = FGetC(file);
        return lo < 0 || hi < 0 ? 0xFFFF : lo | hi << 8;
    }
    int UngetC(int c, PakFile* file) override
    {
        if (file->position > 0)
            --file->position;
        return c;
    }
    char* FGetS(char* buffer, int n, PakFile* file) override
    {
        return ReadPakLine(buffer, n, [&] { return FGetC(file); });
    }
    PakFindData* FindFirstFile(const char*, plat::FindData*) override { return nullptr; }
    bool FindNextFile(PakFindData*, plat::FindData*) override { return false; }
    bool FindClose(PakFindData* find) override
    {
        delete find;
        return true;
    }
    bool FEof(PakFile* file) override { return size_t(file->position) >= mRecord.size; }

private:
    std::string mName;
    PakRecord mRecord;
};
