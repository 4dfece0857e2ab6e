#include "framework/fonts/TextRenderPool.h"

#include <algorithm>

namespace Zelk {

CriticalSection gImageFontLock;
TextRenderPool gTextRenderPool;

void TextRenderPool::Reset()
{
    std::fill(mFirst, mFirst + kBuckets, nullptr);
    std::fill(mLast, mLast + kBuckets, nullptr);
    mUsed = 0;
}

TextRenderRecord* TextRenderPool::Add(int order)
{
    if (mUsed >= kRecords)
        return nullptr;
    int bucket = int(std::clamp<long long>(static_cast<long long>(order) + 128, 0, kBuckets - 1));
    TextRenderRecord* r = &mRecords[mUsed++];
    *r = TextRenderRecord();
    if (mLast[bucket])
        mLast[bucket]->mNext = r;
    else
        mFirst[bucket] = r;
    mLast[bucket] = r;
    return r;
}

} // namespace Zelk
