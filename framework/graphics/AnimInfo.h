#pragma once
#include <vector>

namespace Zelk {

enum AnimType { ANIM_NONE = 0, ANIM_ONCE = 1, ANIM_PINGPONG = 2, ANIM_LOOP = 3 };

// How the cels of an image animate.
class AnimInfo {
public:
    // Completes the record after the manifest attributes were read into it:
    // frame count, ping-pong frame map, first/last frame delays, total time.
    void Compute(int numCels, int beginFrameTime = 0, int endFrameTime = 0);

    int mAnimType = ANIM_NONE;
    int mFrameDelay = 1;
    int mNumFrames = 1;
    std::vector<int> mPerFrameDelay;
    std::vector<int> mFrameMap;
    int mTotalAnimTime = 0;
};

} // namespace Zelk
