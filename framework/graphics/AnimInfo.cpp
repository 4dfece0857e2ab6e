#include "framework/graphics/AnimInfo.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace Zelk {

namespace {

int ClampDelay(int delay)
{
    return std::min(delay, AnimInfo::kMaxFrameDelay);
}

} // namespace

void AnimInfo::Compute(int numCels, int beginFrameTime, int endFrameTime)
{
    numCels = std::min(numCels, kMaxFrames);
    mNumFrames = numCels < 1 ? 1 : numCels;
    mFrameDelay = std::max(1, ClampDelay(mFrameDelay));
    beginFrameTime = ClampDelay(beginFrameTime);
    endFrameTime = ClampDelay(endFrameTime);

    if (mAnimType == ANIM_PINGPONG && numCels >= 2) {
        mFrameMap.clear();
        for (int i = 0; i < numCels; ++i)
            mFrameMap.push_back(i);
        for (int i = numCels - 2; i >= 1; --i)
            mFrameMap.push_back(i);
    }
    if (int64_t(mFrameMap.size()) > kMaxFrames)
        mFrameMap.resize(kMaxFrames);
    if (!mFrameMap.empty())
        mNumFrames = int(mFrameMap.size());

    if (beginFrameTime >= 1) {
        if (mPerFrameDelay.empty())
            mPerFrameDelay.resize(1);
        mPerFrameDelay[0] = beginFrameTime;
    }
    if (endFrameTime >= 1) {
        if (int(mPerFrameDelay.size()) < mNumFrames)
            mPerFrameDelay.resize(mNumFrames);
        mPerFrameDelay[mNumFrames - 1] = endFrameTime;
    }

    int64_t total = 0;
    if (!mPerFrameDelay.empty()) {
        mPerFrameDelay.resize(mNumFrames);
        for (int& delay : mPerFrameDelay) {
            delay = delay < 1 ? mFrameDelay : ClampDelay(delay);
            total += delay;
        }
    } else {
        total = int64_t(mNumFrames) * mFrameDelay;
    }
    mTotalAnimTime = int(std::min<int64_t>(total, INT_MAX));
}

} // namespace Zelk
