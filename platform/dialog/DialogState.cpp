#include "platform/dialog/DialogState.h"

namespace plat {

void DialogState::AddListEntry(int control, const std::wstring& text, intptr_t data)
{
    mEntries[control].push_back({text, data});
}

int DialogState::ListSelection(int control)
{
    auto it = mSelection.find(control);
    if (it == mSelection.end() || it->second < 0 || size_t(it->second) >= mEntries[control].size())
        return -1;
    return it->second;
}

intptr_t DialogState::ListItemData(int control, int index)
{
    const std::vector<Entry>& entries = mEntries[control];
    return index >= 0 && size_t(index) < entries.size() ? entries[size_t(index)].data : 0;
}

void DialogState::SetText(int control, const std::string& text)
{
    mTexts[control] = text;
    mAllSelected[control] = false;
}

std::string DialogState::GetText(int control, size_t maxChars)
{
    const std::string& text = mTexts[control];
    if (maxChars == 0)
        return std::string();
    return text.substr(0, maxChars - 1);
}

void DialogState::SelectAllText(int control) { mAllSelected[control] = true; }

void DialogState::End(int result)
{
    if (mEnded)
        return;
    mEnded = true;
    mResult = result;
}

} // namespace plat
