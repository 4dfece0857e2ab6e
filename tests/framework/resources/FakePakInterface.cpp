#include "tests/framework/resources/FakePakInterface.h"
#include "framework/resources/PakLineReader.h"

#include "framework/app/StringUtil.h"
#include "platform/files/DiskFiles.h"

#include <algorithm>

FakePakInterface::~FakePakInterface()
{
    WithdrawPakInterface(this);
}

std::string FakePakInterface::Normalise(const std::string& name)
{
    std::string out;
    for (char c : name) {
        if (c == '/' || c == '\\') {
            if (!out.empty() && out.back() == '\\')
                continue;
            c = '\\';
        }
        out += c;
    }
    return Zelk::StringToUpper(out);
}

void FakePakInterface::Add(const std::string& name, const std::string& bytes)
{
    PakRecord& rec = mEntries[Normalise(name)];
    rec.stored.assign(bytes.begin(), bytes.end());
    for (uint8_t& b : rec.stored)
        b ^= mKey;
}

PakFile* FakePakInterface::FOpen(const char* name, const char* mode)
{
    ++operations;
    opened.push_back(name);
    std::string m = Zelk::StringToLower(mode);
    if (m == "r" || m == "rb" || m == "rt") {
        auto it = mEntries.find(Normalise(name));
        if (it != mEntries.end()) {
            PakFile* file = new PakFile;
            file->record = &it->second;
            ++openHandles;
            return file;
        }
    }
    FILE* stream = plat::OpenFile(name, mode);
    if (!stream)
        return nullptr;
    PakFile* file = new PakFile;
    file->file = stream;
    ++openHandles;
    return file;
}

int FakePakInterface::FClose(PakFile* file)
{
    ++operations;
    if (file->file)
        fclose(file->file);
    delete file;
    --openHandles;
    return 0;
}

int FakePakInterface::FSeek(PakFile* file, long offset, int origin)
{
    ++operations;
    if (!file->record)
        return fseek(file->file, offset, origin);
    int64_t size = int64_t(file->record->stored.size());
    int64_t pos = file->position;
    if (origin == SEEK_SET)
        pos = offset;
    else if (origin == SEEK_CUR)
        pos += offset;
    else if (origin == SEEK_END)
        pos = size + offset;
    file->position = int32_t(std::clamp<int64_t>(pos, 0, size));
    return 0;
}

long FakePakInterface::FTell(PakFile* file)
{
    ++operations;
    return file->record ? file->position : ftell(file->file);
}

size_t FakePakInterface::FRead(void* buffer, size_t size, size_t count, PakFile* file)
{
    ++operations;
    if (!file->record)
        return fread(buffer, size, count, file->file);
    if (size == 0 || count == 0)
        return 0;
    const std::vector<uint8_t>& data = file->record->stored;
    uint64_t left = data.size() - size_t(file->position);
    uint64_t want = uint64_t(size) * count;
    if (want / size != count || want > left)
        want = left;
    uint8_t* out = static_cast<uint8_t*>(buffer);
    const uint8_t* in = data.data() + file->position;
    for (uint64_t i = 0; i < want; ++i)
        out[i] = in[i] ^ mKey;
    file->position += int32_t(want);
    return size_t(want / size);
}

int FakePakInterface::FGetC(PakFile* file)
{
    ++operations;
    if (!file->record)
        return fgetc(file->file);
    const std::vector<uint8_t>& data = file->record->stored;
    while (size_t(file->position) < data.size()) {
        int c = data[size_t(file->position++)] ^ mKey;
        if (c != 13)
            return c;
    }
    return -1;
}

char* FakePakInterface::FGetS(char* buffer, int n, PakFile* file)
{
    ++operations;
    if (!file->record)
        return n < 1 ? nullptr : fgets(buffer, n, file->file);
    const std::vector<uint8_t>& data = file->record->stored;
    return ReadPakLine(buffer, n, [&] {
        return size_t(file->position) < data.size() ? data[size_t(file->position++)] ^ mKey : -1;
    });
}

int FakePakInterface::FGetWC(PakFile* file)
{
    ++operations;
    if (!file->record)
        return plat::ReadWideChar(file->file);
    const std::vector<uint8_t>& data = file->record->stored;
    while (size_t(file->position) + 2 <= data.size()) {
        int c = (data[size_t(file->position)] ^ mKey) | (data[size_t(file->position) + 1] ^ mKey) << 8;
        file->position += 2;
        if (c != 13)
            return c;
    }
    return 0xFFFF;
}

int FakePakInterface::UngetC(int c, PakFile* file)
{
    ++operations;
    if (!file->record)
        return ungetc(c, file->file);
    if (file->position > 0)
        --file->position;
    return c;
}

bool FakePakInterface::FEof(PakFile* file)
{
    ++operations;
    if (!file->record)
        return feof(file->file) != 0;
    return size_t(file->position) >= file->record->stored.size();
}
