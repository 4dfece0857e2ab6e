#include "game/core/PakInterface.h"

#include "framework/app/StringUtil.h"
#include "framework/resources/PakLineReader.h"
#include "game/core/PakDirectory.h"
#include "platform/files/DiskFiles.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <unistd.h>

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool IsReadMode(const char* mode)
{
    std::string m = Zelk::StringToLower(mode);
    return m == "r" || m == "rb" || m == "rt";
}

std::string CurrentFolder()
{
    std::vector<char> buffer(PATH_MAX + 1);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE)
            return std::string();
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

// The length of the current folder plus separator at the start of name
// (letters and separators compared loosely), or 0.
size_t CurrentFolderPrefix(const std::string& name)
{
    if (name.empty() || !IsSeparator(name[0]))
        return 0;
    std::string folder = CurrentFolder();
    if (folder.empty())
        return 0;
    if (!IsSeparator(folder.back()))
        folder += '/';
    if (name.size() < folder.size())
        return 0;
    for (size_t i = 0; i < folder.size(); ++i) {
        char a = name[i], b = folder[i];
        bool same = IsSeparator(a) ? IsSeparator(b) : Zelk::CharToUpper((unsigned char)a) == Zelk::CharToUpper((unsigned char)b);
        if (!same)
            return 0;
    }
    return folder.size();
}

const uint8_t* EntryData(const PakRecord* record)
{
    return record->collection->view.Data() + record->offset;
}

} // namespace

PakInterface::PakInterface()
{
    PublishPakInterface(this);
}

PakInterface::~PakInterface()
{
    WithdrawPakInterface(this);
}

std::string PakInterface::NormaliseName(const std::string& name)
{
    std::string out;
    out.reserve(name.size());
    size_t i = CurrentFolderPrefix(name);
    while (i < name.size()) {
        char c = name[i];
        if (IsSeparator(c)) {
            while (i < name.size() && IsSeparator(name[i]))
                ++i;
            out += '\\';
            continue;
        }
        bool afterSeparator = i > 0 && IsSeparator(name[i - 1]);
        if (c == '.' && afterSeparator && i + 1 < name.size() && name[i + 1] == '.') {
            // Back to just after the "\" before the folder that ends out.
            if (!out.empty() && out.back() == '\\')
                out.pop_back();
            size_t cut = out.rfind('\\');
            out.erase(cut == std::string::npos ? 0 : cut + 1);
            i += 2;
            while (i < name.size() && IsSeparator(name[i]))
                ++i;
            continue;
        }
        out += char(Zelk::CharToUpper((unsigned char)c));
        ++i;
    }
    return out;
}

bool PakInterface::AddPakFile(const std::string& path)
{
    auto collection = std::make_unique<PakCollection>();
    collection->path = path;
    if (!collection->view.Open(path))
        return false;
    std::vector<PakDirectoryEntry> entries;
    if (!ParsePakDirectory(collection->view.Data(), collection->view.Size(), entries))
        return false;
    for (PakDirectoryEntry& entry : entries) {
        if (entry.name.empty())
            continue; // no name can look it up
        PakRecord& record = mRecords[Zelk::StringToUpper(entry.name)];
        record.collection = collection.get();
        record.name = std::move(entry.name);
        record.fileTime = entry.fileTime;
        record.offset = entry.offset;
        record.size = entry.size;
    }
    mCollections.push_back(std::move(collection));
    return true;
}

PakFile* PakInterface::FOpen(const char* name, const char* mode)
{
    if (!name || !mode)
        return nullptr;
    if (IsReadMode(mode)) {
        auto it = mRecords.find(NormaliseName(name));
        if (it != mRecords.end()) {
            PakFile* file = new PakFile;
            file->record = &it->second;
            return file;
        }
    }
    FILE* stream = plat::OpenFile(name, mode);
    if (!stream)
        return nullptr;
    PakFile* file = new PakFile;
    file->file = stream;
    return file;
}

int PakInterface::FClose(PakFile* file)
{
    if (!file)
        return EOF;
    if (file->file)
        fclose(file->file);
    delete file;
    return 0;
}

int PakInterface::FSeek(PakFile* file, long offset, int origin)
{
    if (!file)
        return -1;
    if (!file->record)
        return file->file ? fseek(file->file, offset, origin) : -1;
    const int64_t size = file->record->size;
    int64_t position = file->position;
    // Saturating, so that no offset overflows the sum.
    auto add = [](int64_t base, long delta) {
        int64_t sum;
        return __builtin_add_overflow(base, int64_t(delta), &sum) ? (delta < 0 ? INT64_MIN : INT64_MAX) : sum;
    };
    if (origin == SEEK_SET)
        position = offset;
    else if (origin == SEEK_CUR)
        position = add(position, offset);
    else if (origin == SEEK_END)
        position = add(size, offset);
    file->position = int32_t(std::clamp<int64_t>(position, 0, size));
    return 0;
}

long PakInterface::FTell(PakFile* file)
{
    if (!file)
        return -1;
    if (!file->record)
        return file->file ? ftell(file->file) : -1;
    return file->position;
}

size_t PakInterface::FRead(void* buffer, size_t size, size_t count, PakFile* file)
{
    if (!file || !buffer || size == 0 || count == 0)
        return 0;
    if (!file->record)
        return file->file ? fread(buffer, size, count, file->file) : 0;
    uint64_t wanted;
    if (__builtin_mul_overflow(uint64_t(size), uint64_t(count), &wanted))
        wanted = UINT64_MAX;
    const uint64_t left = uint64_t(file->record->size) - uint64_t(file->position);
    const size_t n = size_t(std::min(wanted, left));
    DescramblePak(static_cast<uint8_t*>(buffer), EntryData(file->record) + file->position, n);
    file->position += int32_t(n);
    return n / size;
}

int PakInterface::NextByte(PakFile* file)
{
    if (uint32_t(file->position) >= file->record->size)
        return -1;
    return EntryData(file->record)[file->position++] ^ kPakKey;
}

int PakInterface::FGetC(PakFile* file)
{
    if (!file)
        return EOF;
    if (!file->record)
        return file->file ? fgetc(file->file) : EOF;
    int c;
    do
        c = NextByte(file);
    while (c == 13);
    return c;
}

int PakInterface::FGetWC(PakFile* file)
{
    if (!file)
        return 0xFFFF;
    if (!file->record)
        return file->file ? plat::ReadWideChar(file->file) : 0xFFFF;
    for (;;) {
        if (uint64_t(file->position) + 2 > file->record->size)
            return 0xFFFF;
        const uint8_t* at = EntryData(file->record) + file->position;
        file->position += 2;
        int unit = (at[0] ^ kPakKey) | (at[1] ^ kPakKey) << 8;
        if (unit != 13)
            return unit;
    }
}

int PakInterface::UngetC(int c, PakFile* file)
{
    if (!file)
        return EOF;
    if (!file->record)
        return file->file ? ungetc(c, file->file) : EOF;
    if (file->position > 0)
        --file->position;
    return c;
}

char* PakInterface::FGetS(char* buffer, int n, PakFile* file)
{
    if (!file || !buffer || n < 1)
        return nullptr;
    if (!file->record)
        return file->file ? fgets(buffer, n, file->file) : nullptr;
    return ReadPakLine(buffer, n, [file] { return NextByte(file); });
}

wchar_t* PakInterface::FGetWS(wchar_t* buffer, int n, PakFile* file)
{
    if (!file || !buffer || n < 1)
        return nullptr;
    if (!file->record) {
        if (!file->file)
            return nullptr;
        return ReadPakLine(buffer, n, [file] {
            int c = plat::ReadWideChar(file->file);
            return c == 0xFFFF ? -1 : c;
        });
    }
    return ReadPakLine(buffer, n, [file] {
        if (uint64_t(file->position) + 2 > file->record->size)
            return -1;
        const uint8_t* at = EntryData(file->record) + file->position;
        file->position += 2;
        return (at[0] ^ kPakKey) | (at[1] ^ kPakKey) << 8;
    });
}

bool PakInterface::FEof(PakFile* file)
{
    if (!file)
        return true;
    if (!file->record)
        return file->file ? feof(file->file) != 0 : true;
    return uint32_t(file->position) >= file->record->size;
}

bool PakInterface::NextArchiveMatch(PakFindData* find, plat::FindData* data) const
{
    const std::string& pattern = find->pattern;
    const size_t star = pattern.find('*');
    if (star == std::string::npos)
        return false;
    const std::string prefix = pattern.substr(0, star);
    const std::string suffix = pattern.substr(star + 1);
    auto it = find->lastKey.empty() ? mRecords.begin() : mRecords.upper_bound(find->lastKey);
    for (; it != mRecords.end(); ++it) {
        const std::string& key = it->first;
        if (key.compare(0, prefix.size(), prefix) != 0 || key.size() < prefix.size())
            continue;
        const bool tail = suffix.empty() || suffix == ".*" ||
                          (key.size() - prefix.size() >= suffix.size() &&
                           key.compare(key.size() - suffix.size(), suffix.size(), suffix) == 0);
        if (!tail)
            continue;
        const PakRecord& record = it->second;
        *data = plat::FindData();
        data->attributes = 0;
        const size_t slash = record.name.rfind('\\');
        data->fileName = slash == std::string::npos ? record.name : record.name.substr(slash + 1);
        data->creationTime = data->lastAccessTime = data->lastWriteTime = record.fileTime;
        data->sizeLow = record.size;
        find->lastKey = key;
        return true;
    }
    find->lastKey.clear();
    return false;
}

PakFindData* PakInterface::FindFirstFile(const char* pattern, plat::FindData* data)
{
    if (!pattern || !data)
        return nullptr;
    auto find = std::make_unique<PakFindData>();
    find->pattern = NormaliseName(pattern);
    if (NextArchiveMatch(find.get(), data))
        return find.release();
    find->search = plat::FolderSearch::First(find->pattern, *data);
    return find->search ? find.release() : nullptr;
}

bool PakInterface::FindNextFile(PakFindData* find, plat::FindData* data)
{
    if (!find || !data)
        return false;
    if (find->search)
        return find->search->Next(*data);
    if (NextArchiveMatch(find, data))
        return true;
    find->search = plat::FolderSearch::First(find->pattern, *data);
    if (!find->search) {
        find->search = std::make_unique<plat::FolderSearch>(); // the disk had nothing: stay at the end
        return false;
    }
    return true;
}

bool PakInterface::FindClose(PakFindData* find)
{
    delete find;
    return true;
}
