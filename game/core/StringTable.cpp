#include "game/core/StringTable.h"

#include <cstdint>

void StringTable::SetText(const std::string& name, const std::wstring& value)
{
    std::lock_guard<std::mutex> guard(mLock);
    mValues[name] = value;
}

void StringTable::SetNumber(const std::string& name, int value)
{
    int64_t n = value;
    uint64_t magnitude = uint64_t(n < 0 ? -n : n);
    std::wstring digits;
    do {
        digits.insert(digits.begin(), wchar_t(L'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude);
    if (n < 0)
        digits.insert(digits.begin(), L'-');
    SetText(name, digits);
}

std::wstring StringTable::Get(const std::string& name)
{
    std::lock_guard<std::mutex> guard(mLock);
    return mValues[name];
}
