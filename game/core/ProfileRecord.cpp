#include "game/core/ProfileRecord.h"

#include "game/core/PrefFile.h"

#include <algorithm>

void ProfileRecord::Init(const std::wstring& name, const std::string& figure)
{
    *this = ProfileRecord();
    mFigure = figure.substr(0, std::min(figure.find('\0'), PrefFile::kTextSize - 1));
    mName = PrefFile::CutName(name);
    if (mName.empty())
        mName = L"unknown";
}
