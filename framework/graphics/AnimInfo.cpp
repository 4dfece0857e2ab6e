#include "framework/graphics/AnimInfo.h"

namespace Zelk {

void AnimInfo::Compute(int numCels, int beginFrameTime, int endFrameTime)
{
    mNumFrames = numCels < 1 ? 1 : numCels;
    if (mFrameDelay < 1)
        mFrameDelay = 1;

    if (mAnimType == ANIM_PINGPONG && numCels >= 2) {
        mFrameMap.clear();
        for (int i = 0; i < numCels; ++i)
            mFrameMap.push_back(i);
        for (int i = numCels - 2; i >= 1; --i)
            mFrameMap.push_back(i);
    }
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

    if (!mPerFrameDelay.empty()) {
        mPerFrameDelay.resize(mNumFrames);
        mTotalAnimTime = 0;
        for (int& delay : mPerFrameDelay) {
            if (delay < 1)
                delay = mFrameDelay;
            mTotalAnimTime += delay;
        }
    } else {
        mTotalAnimTime = mNumFrames * mFrameDelay;
    }
}

} // namespace Zelk
