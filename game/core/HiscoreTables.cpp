#include "game/core/HiscoreTables.h"

#include "framework/app/StringUtil.h"
#include "game/core/GameApp.h"
#include "game/core/LocTable.h"
#include "game/core/PrefFile.h"

#include <climits>

HiscoreTables::HiscoreTables() = default;
HiscoreTables::~HiscoreTables() = default;

void HiscoreTables::LoadDefaults(GameApp* app)
{
    if (app && app->GetLocTable())
        LoadDefaults(*app->GetLocTable());
}

void HiscoreTables::LoadDefaults(const LocTable& texts)
{
    for (int table = 0; table < 2; ++table) {
        const char* kind = table == 0 ? "survival" : "career";
        for (int place = 0; place < kPlaces; ++place) {
            HiscoreEntry& entry = mTables[table][place];
            entry.mName = PrefFile::CutName(texts.Get(Zelk::StrFormat("record_%s_name_%02d", kind, place + 1)));
            entry.mScore = ParseLeadingInt(texts.Get(Zelk::StrFormat("record_%s_value_%02d", kind, place + 1)));
        }
    }
}

bool HiscoreTables::Read(const uint8_t* data, size_t size)
{
    bool cut = false;
    for (int table = 0; table < 2; ++table) {
        const size_t start = table == 0 ? PrefFile::kSurvivalOffset : PrefFile::kCareerOffset;
        for (int place = 0; place < kPlaces; ++place) {
            const size_t at = start + size_t(place) * PrefFile::kEntrySize;
            if (at + PrefFile::kEntrySize <= size)
                cut |= PrefFile::ReadEntry(data + at, mTables[table][place]);
        }
    }
    return cut;
}

void HiscoreTables::Write(uint8_t* data) const
{
    for (int table = 0; table < 2; ++table) {
        const size_t start = table == 0 ? PrefFile::kSurvivalOffset : PrefFile::kCareerOffset;
        for (int place = 0; place < kPlaces; ++place)
            PrefFile::WriteEntry(mTables[table][place], data + start + size_t(place) * PrefFile::kEntrySize);
    }
}

int HiscoreTables::Insert(bool survival, const std::wstring& name, int32_t score)
{
    if (score < 1)
        return kPlaces;
    HiscoreEntry* table = GetTable(survival);
    int place = kPlaces;
    while (place > 0 && table[place - 1].mScore <= score)
        --place;
    if (place == kPlaces)
        return kPlaces;
    for (int i = kPlaces - 1; i > place; --i)
        table[i] = table[i - 1];
    table[place].mName = PrefFile::CutName(name);
    table[place].mScore = score;
    return place;
}

HiscoreEntry* HiscoreTables::GetTable(bool survival) { return mTables[survival ? 0 : 1]; }

const HiscoreEntry* HiscoreTables::GetTable(bool survival) const { return mTables[survival ? 0 : 1]; }

int32_t ParseLeadingInt(const std::wstring& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    int64_t value = 0;
    const int64_t limit = negative ? -int64_t(INT_MIN) : int64_t(INT_MAX);
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > limit)
            value = limit;
    }
    return int32_t(negative ? -value : value);
}
