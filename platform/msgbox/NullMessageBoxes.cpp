#include "platform/msgbox/MessageBoxes.h"

namespace plat {

int NullMessageBoxes::Show(const std::wstring& text, const std::wstring& caption, uint32_t flags)
{
    std::lock_guard<std::mutex> g(mLock);
    mLog.push_back({text, caption, flags});
    if (!mAnswers.empty()) {
        int a = mAnswers.front();
        mAnswers.pop_front();
        return a;
    }
    return (flags & 0xF) == MB_YESNO ? IDYES : IDOK;
}

void NullMessageBoxes::QueueAnswer(int answer)
{
    std::lock_guard<std::mutex> g(mLock);
    mAnswers.push_back(answer);
}

std::vector<NullMessageBoxes::Shown> NullMessageBoxes::Log()
{
    std::lock_guard<std::mutex> g(mLock);
    return mLog;
}

void NullMessageBoxes::Clear()
{
    std::lock_guard<std::mutex> g(mLock);
    mLog.clear();
    mAnswers.clear();
}

} // namespace plat
