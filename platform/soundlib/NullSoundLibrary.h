#pragma once
#include "platform/soundlib/SoundLibrary.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace plat {

class NullClock;

// The sound library of the null platform: the same library on the null audio
// device, with due workers run on the test's thread as the test advances
// simulated time, a log of every call with its arguments, and failures a test
// can script. What the real library decodes in the background is decoded on
// the test's thread too: all of it before simulated time moves on, or block
// by block when the test holds the decoding back.
class NullSoundLibrary : public SoundLibrary {
public:
    explicit NullSoundLibrary(NullClock& clock) : SoundLibrary(false), mClock(clock) {}

    // Finishes the pending decoding (unless held), then advances the clock by
    // ms, stopping at each due worker's time (the mix is brought up to that
    // moment, then the worker runs), in time order.
    void Advance(uint32_t ms);
    // While held, samples being decoded get only the blocks a test asks for.
    void HoldDecoding(bool hold = true) { mDecodingHeld = hold; }
    // Decodes up to that many blocks; false when nothing is left to decode.
    bool DecodeBlocks(size_t blocks) { return SoundLibrary::DecodeBlocks(blocks); }

    std::vector<std::string> Calls();
    // The calls logged since the last TakeCalls (or the start).
    std::vector<std::string> TakeCalls();
    void FailInit(bool fail = true);
    // Loads of this path fail as if the file could not be read.
    void FailLoad(const std::string& path);
    // The next load finds no memory for its samples.
    void FailNextAllocation() { mFailAllocation = true; }

protected:
    void Record(const std::string& call) override { mCalls.push_back(call); }
    bool Recording() const override { return true; }
    bool RefuseInit() override { return mFailInit; }
    bool RefuseLoad(const std::string& path) override { return mFailLoads.count(path) > 0; }
    bool RefuseAllocation() override { return std::exchange(mFailAllocation, false); }

private:
    NullClock& mClock;
    std::vector<std::string> mCalls;
    bool mFailInit = false;
    bool mFailAllocation = false;
    bool mDecodingHeld = false;
    std::set<std::string> mFailLoads;
};

} // namespace plat
