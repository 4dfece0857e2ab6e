#include "game/core/PrefFile.h"

#include "framework/app/Utf16.h"

#include <cmath>
#include <cstring>

namespace {

uint32_t GetU32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

void PutU32(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

int32_t GetI32(const uint8_t* p) { return int32_t(GetU32(p)); }

// A UTF-16 name field of 260 units: the units before the first zero; true in
// cut when there is none and the name stops at 259 units.
std::wstring ReadName(const uint8_t* p, bool& cut)
{
    size_t units = 0;
    while (units < PrefFile::kTextSize && (p[2 * units] | p[2 * units + 1]) != 0)
        ++units;
    cut = units == PrefFile::kTextSize;
    if (cut)
        units = PrefFile::kTextSize - 1;
    return Zelk::Utf16LEToWide(p, 2 * units);
}

void WriteName(const std::wstring& name, uint8_t* out)
{
    std::string units = Zelk::WideToUtf16LE(PrefFile::CutName(name));
    memset(out, 0, 2 * PrefFile::kTextSize);
    memcpy(out, units.data(), std::min(units.size(), 2 * (PrefFile::kTextSize - 1)));
}

// A narrow text field of 260 bytes, read to the first zero (cut at 259).
std::string ReadNarrow(const uint8_t* p, bool& cut)
{
    size_t n = 0;
    while (n < PrefFile::kTextSize && p[n] != 0)
        ++n;
    cut = n == PrefFile::kTextSize;
    return std::string(reinterpret_cast<const char*>(p), cut ? n - 1 : n);
}

void WriteNarrow(const std::string& text, uint8_t* out)
{
    memset(out, 0, PrefFile::kTextSize);
    size_t n = std::min(text.find('\0'), PrefFile::kTextSize - 1);
    memcpy(out, text.data(), std::min(n, text.size()));
}

} // namespace

std::wstring PrefFile::CutName(const std::wstring& name)
{
    size_t units = 0;
    size_t end = 0;
    for (; end < name.size() && name[end] != 0; ++end) {
        const size_t need = name[end] >= 0x10000 && name[end] <= 0x10FFFF ? 2 : 1;
        if (units + need > kTextSize - 1)
            break;
        units += need;
    }
    return name.substr(0, end);
}

size_t PrefFile::SlotCount(size_t size) { return size < kSlotsOffset ? 0 : (size - kSlotsOffset) / kSlotSize; }

bool PrefFile::ReadHeader(const uint8_t* data, size_t size, PrefHeader& header, bool& mended)
{
    mended = false;
    if (size < kHeaderSize)
        return false;
    PrefHeader h;
    memcpy(h.mMagic, data, sizeof h.mMagic);
    h.mVersion = GetU32(data + 16);
    if (!h.IsCurrentFormat())
        return false;
    h.mMusicVolume = GetU32(data + 20);
    h.mSfxVolume = GetU32(data + 24);
    h.mWindowed = data[28];
    h.mMuted = data[29];
    h.mCurrentIndex = GetI32(data + 32);
    h.mReserved = GetU32(data + 36);
    for (uint32_t* volume : {&h.mMusicVolume, &h.mSfxVolume}) {
        if (*volume > kMaxVolume) {
            *volume = kMaxVolume;
            mended = true;
        }
    }
    for (uint8_t* flag : {&h.mWindowed, &h.mMuted}) {
        if (*flag > 1) {
            *flag = 1;
            mended = true;
        }
    }
    if (h.mCurrentIndex < -1) {
        h.mCurrentIndex = -1;
        mended = true;
    }
    header = h;
    return true;
}

void PrefFile::WriteHeader(const PrefHeader& header, uint8_t* out)
{
    memset(out, 0, kHeaderSize);
    memcpy(out, header.mMagic, sizeof header.mMagic);
    PutU32(out + 16, header.mVersion);
    PutU32(out + 20, header.mMusicVolume);
    PutU32(out + 24, header.mSfxVolume);
    out[28] = header.mWindowed;
    out[29] = header.mMuted;
    PutU32(out + 32, uint32_t(header.mCurrentIndex));
    PutU32(out + 36, header.mReserved);
}

bool PrefFile::ReadRecord(const uint8_t* data, ProfileRecord& record)
{
    bool figureCut = false;
    bool nameCut = false;
    record.mFigure = ReadNarrow(data, figureCut);
    record.mName = ReadName(data + 260, nameCut);
    bool mended = figureCut || nameCut;
    record.mLevel = GetI32(data + 780);
    if (record.mLevel < 1 || record.mLevel > ProfileRecord::kCareerWon) {
        record.mLevel = record.mLevel < 1 ? 1 : ProfileRecord::kCareerWon;
        mended = true;
    }
    for (int i = 0; i < ProfileRecord::kLevelCount; ++i)
        record.mBestMoney[i] = GetI32(data + 784 + 4 * i);
    uint32_t bits = GetU32(data + 1024);
    memcpy(&record.mPlayTime, &bits, sizeof bits);
    if (!std::isfinite(record.mPlayTime) || record.mPlayTime < 0.0f) {
        record.mPlayTime = 0.0f;
        mended = true;
    }
    return mended;
}

void PrefFile::WriteRecord(const ProfileRecord& record, uint8_t* out)
{
    WriteNarrow(record.mFigure, out);
    WriteName(record.mName, out + 260);
    PutU32(out + 780, uint32_t(record.mLevel));
    for (int i = 0; i < ProfileRecord::kLevelCount; ++i)
        PutU32(out + 784 + 4 * i, uint32_t(record.mBestMoney[i]));
    uint32_t bits = 0;
    memcpy(&bits, &record.mPlayTime, sizeof bits);
    PutU32(out + 1024, bits);
}

bool PrefFile::ReadEntry(const uint8_t* data, HiscoreEntry& entry)
{
    bool cut = false;
    entry.mName = ReadName(data, cut);
    entry.mScore = GetI32(data + 520);
    return cut;
}

void PrefFile::WriteEntry(const HiscoreEntry& entry, uint8_t* out)
{
    WriteName(entry.mName, out);
    PutU32(out + 520, uint32_t(entry.mScore));
}

PrefFile::Contents PrefFile::Read(const std::string& bytes, HiscoreTables* tables)
{
    Contents contents;
    contents.header.SetDefaults();
    const uint8_t* data = reinterpret_cast<const uint8_t*>(bytes.data());
    const size_t size = bytes.size();
    bool mended = false;
    if (!ReadHeader(data, size, contents.header, mended)) {
        contents.damaged = true;
        return contents;
    }
    contents.headerValid = true;
    contents.damaged = mended || size < kSlotsOffset || (size - kSlotsOffset) % kSlotSize != 0;
    HiscoreTables scratch;
    contents.damaged |= (tables ? tables : &scratch)->Read(data, size);
    const size_t count = SlotCount(size);
    contents.slots.resize(count);
    for (size_t slot = 0; slot < count; ++slot)
        contents.damaged |= ReadRecord(data + SlotOffset(slot), contents.slots[slot]);
    // An index that names no slot is mended as one below -1 is.
    if (contents.header.mCurrentIndex >= 0 && size_t(contents.header.mCurrentIndex) >= count) {
        contents.header.mCurrentIndex = -1;
        contents.damaged = true;
    }
    return contents;
}

std::string PrefFile::Write(const PrefHeader& header, const HiscoreTables& tables,
                            const std::vector<ProfileRecord>& slots)
{
    std::string bytes(SlotOffset(slots.size()), '\0');
    uint8_t* out = reinterpret_cast<uint8_t*>(bytes.data());
    WriteHeader(header, out);
    tables.Write(out);
    for (size_t slot = 0; slot < slots.size(); ++slot)
        WriteRecord(slots[slot], out + SlotOffset(slot));
    return bytes;
}
