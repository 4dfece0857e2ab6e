#pragma once
#include <vector>

namespace Zelk {

enum AnimType { ANIM_NONE = 0, ANIM_ONCE = 1, ANIM_PINGPONG = 2, ANIM_LOOP = 3 };

// How the cels of an image animate.
class AnimInfo {
public:
    // Completes the record after the manifest attributes were read into it:
    // frame count, ping-pong frame map, first/last frame delays, total time.
    // Delays above kMaxFrameDelay and frames beyond kMaxFrames are cut there,
    // and the total stops at INT_MAX, so hostile manifests cannot wrap it.
    void Compute(int numCels, int beginFrameTime = 0, int endFrameTime = 0);

    static constexpr int kMaxFrameDelay = 3600000; // one hour
    static constexpr int kMaxFrames = 65536;

    int mAnimType = ANIM_NONE;
    int mFrameDelay = 1;
    int mNumFrames = 1;
    std::vector<int> mPerFrameDelay;
    std::vector<int> mFrameMap;
    int mTotalAnimTime = 0;
};

} // namespace Zelk
