#include "platform/audio/Mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace plat {

namespace {

uint64_t StepFor(uint32_t rate) { return (uint64_t(rate) << 32) / Mixer::kOutputRate; }

int32_t GainQ16(float gain)
{
    if (!(gain > 0.0f))
        return 0;
    if (gain > 8.0f)
        gain = 8.0f;
    return int32_t(std::lround(gain * 65536.0f));
}

// One channel of one frame as a signed 16-bit value.
// a + (b - a) x frac / 65536 in 64 bits: neighbours of opposite full scale
// differ by up to 65535, which times a 16-bit fraction does not fit 32 bits.
inline int32_t Lerp(int32_t a, int32_t b, int32_t frac)
{
    return a + int32_t((int64_t(b - a) * frac) >> 16);
}

// The gain a ramp from `from` to `to` has with `left` of its frames to go.
inline int32_t RampGain(int32_t from, int32_t to, uint32_t left)
{
    return to + int32_t(int64_t(from - to) * left / Mixer::kGainRampFrames);
}

inline int32_t SampleAt(const uint8_t* bytes, uint32_t frame, uint32_t block, uint32_t channel, uint16_t bits)
{
    if (bits == 8)
        return (int32_t(bytes[frame * block + channel]) - 128) * 256;
    int16_t s;
    std::memcpy(&s, bytes + frame * block + channel * 2, 2);
    return s;
}

} // namespace

Mixer::Voice* Mixer::Find(VoiceId voice)
{
    auto it = mVoices.find(voice);
    return it == mVoices.end() ? nullptr : &it->second;
}

Mixer::VoiceId Mixer::CreateVoice(std::shared_ptr<SampleData> data, uint32_t rate)
{
    std::lock_guard<std::mutex> g(mLock);
    VoiceId id = mNextId++;
    if (mNextId == 0)
        mNextId = 1;
    Voice& v = mVoices[id];
    v.data = std::move(data);
    v.step = StepFor(rate);
    return id;
}

void Mixer::DestroyVoice(VoiceId voice)
{
    std::lock_guard<std::mutex> g(mLock);
    mVoices.erase(voice);
}

void Mixer::SetRate(VoiceId voice, uint32_t rate)
{
    std::lock_guard<std::mutex> g(mLock);
    if (Voice* v = Find(voice))
        v->step = StepFor(rate);
}

void Mixer::SetGains(VoiceId voice, float left, float right)
{
    std::lock_guard<std::mutex> g(mLock);
    if (Voice* v = Find(voice)) {
        const int32_t l = GainQ16(left), r = GainQ16(right);
        if (v->playing) {
            // From where the wave is now, even in the middle of a ramp.
            v->fromLeft = RampGain(v->fromLeft, v->gainLeft, v->rampLeft);
            v->fromRight = RampGain(v->fromRight, v->gainRight, v->rampLeft);
        } else {
            v->fromLeft = l;
            v->fromRight = r;
        }
        v->gainLeft = l;
        v->gainRight = r;
        v->rampLeft = v->fromLeft == l && v->fromRight == r ? 0 : kGainRampFrames;
    }
}

void Mixer::Start(VoiceId voice, bool loop)
{
    std::lock_guard<std::mutex> g(mLock);
    if (Voice* v = Find(voice)) {
        v->loop = loop;
        v->playing = v->data && v->data->Frames() > 0;
    }
}

bool Mixer::Stop(VoiceId voice)
{
    std::lock_guard<std::mutex> g(mLock);
    Voice* v = Find(voice);
    if (!v)
        return false;
    bool was = v->playing;
    v->playing = false;
    return was;
}

bool Mixer::IsPlaying(VoiceId voice)
{
    std::lock_guard<std::mutex> g(mLock);
    Voice* v = Find(voice);
    return v && v->playing;
}

bool Mixer::IsLooping(VoiceId voice)
{
    std::lock_guard<std::mutex> g(mLock);
    Voice* v = Find(voice);
    return v && v->playing && v->loop;
}

void Mixer::SetPosition(VoiceId voice, uint32_t frame)
{
    std::lock_guard<std::mutex> g(mLock);
    if (Voice* v = Find(voice)) {
        uint32_t frames = v->data ? v->data->Frames() : 0;
        v->position = uint64_t(std::min(frame, frames)) << 32;
    }
}

uint32_t Mixer::GetPosition(VoiceId voice)
{
    std::lock_guard<std::mutex> g(mLock);
    Voice* v = Find(voice);
    return v ? uint32_t(v->position >> 32) : 0;
}

uint64_t Mixer::FramesMixed()
{
    std::lock_guard<std::mutex> g(mLock);
    return mFramesMixed;
}

bool Mixer::SkipIfSilent(size_t frames)
{
    std::lock_guard<std::mutex> g(mLock);
    for (auto& entry : mVoices)
        if (entry.second.playing)
            return false;
    mFramesMixed += frames;
    return true;
}

size_t Mixer::VoiceCount()
{
    std::lock_guard<std::mutex> g(mLock);
    return mVoices.size();
}

void Mixer::MixVoice(Voice& v, int32_t* acc, size_t frames)
{
    const SampleData& d = *v.data;
    const uint8_t* bytes = d.bytes.data();
    const uint32_t block = d.BlockAlign();
    const uint32_t count = d.Frames();
    const uint64_t end = uint64_t(count) << 32;
    const bool stereo = d.channels == 2;
    // Memory still being filled: a voice plays up to the last ready frame
    // (with the next one to blend with) and waits there, playing nothing.
    const uint32_t ready = d.ReadyFrames();
    const bool filling = ready < count;
    for (size_t f = 0; f < frames; ++f) {
        if (v.position >= end) {
            if (!v.loop || count == 0) {
                v.playing = false;
                v.position = 0;
                return;
            }
            v.position %= end;
        }
        uint32_t i = uint32_t(v.position >> 32);
        if (filling && uint64_t(i) + 1 >= ready)
            return;
        int32_t frac = int32_t((v.position >> 16) & 0xFFFF);
        uint32_t next = i + 1 < count ? i + 1 : (v.loop ? 0 : i);
        int32_t l0 = SampleAt(bytes, i, block, 0, d.bits);
        int32_t l1 = SampleAt(bytes, next, block, 0, d.bits);
        int32_t left = Lerp(l0, l1, frac);
        int32_t right = left;
        if (stereo) {
            int32_t r0 = SampleAt(bytes, i, block, 1, d.bits);
            int32_t r1 = SampleAt(bytes, next, block, 1, d.bits);
            right = Lerp(r0, r1, frac);
        }
        int32_t gainLeft = v.gainLeft, gainRight = v.gainRight;
        if (v.rampLeft > 0) {
            --v.rampLeft;
            gainLeft = RampGain(v.fromLeft, v.gainLeft, v.rampLeft);
            gainRight = RampGain(v.fromRight, v.gainRight, v.rampLeft);
        }
        acc[2 * f] += int32_t((int64_t(left) * gainLeft) >> 16);
        acc[2 * f + 1] += int32_t((int64_t(right) * gainRight) >> 16);
        v.position += v.step;
    }
    if (v.position >= end && !v.loop) {
        v.playing = false;
        v.position = 0;
    }
}

void Mixer::Mix(int16_t* out, size_t frames)
{
    std::lock_guard<std::mutex> g(mLock);
    mAccum.assign(frames * 2, 0);
    for (auto& entry : mVoices) {
        Voice& v = entry.second;
        if (v.playing && v.data)
            MixVoice(v, mAccum.data(), frames);
    }
    for (size_t i = 0; i < frames * 2; ++i)
        out[i] = int16_t(std::clamp(mAccum[i], -32768, 32767));
    mFramesMixed += frames;
}

} // namespace plat
