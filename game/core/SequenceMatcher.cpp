#include "game/core/SequenceMatcher.h"

bool SequenceMatcher::Feed(char c)
{
    if (size_t(mMatched) >= mText.size())
        return false;
    if (c != mText[size_t(mMatched)]) {
        mMatched = 0;
        return false;
    }
    ++mMatched;
    return size_t(mMatched) == mText.size();
}
