#pragma once
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>
#include <utility>
#include <vector>

namespace plat {

// Where sample memory comes from: the process heap, or a pair of functions
// that a user of the mixer gives (the sound library's memory callbacks).
struct SampleMemory {
    void* (*allocate)(size_t bytes) = nullptr;
    void (*release)(void* memory) = nullptr;
    bool operator==(const SampleMemory& o) const { return allocate == o.allocate && release == o.release; }
};

template <typename T> struct SampleAllocator {
    using value_type = T;
    SampleMemory memory;
    SampleAllocator() = default;
    explicit SampleAllocator(SampleMemory m) : memory(m) {}
    template <typename U> SampleAllocator(const SampleAllocator<U>& o) : memory(o.memory) {}
    T* allocate(size_t n)
    {
        if (!memory.allocate)
            return static_cast<T*>(::operator new(n * sizeof(T)));
        void* p = memory.allocate(n * sizeof(T));
        if (!p)
            throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    // Elements made without a value are left as the memory holds them (the
    // owner writes them before they are read); with a value, as usual.
    template <typename U> void construct(U* p) { ::new (static_cast<void*>(p)) U; }
    template <typename U, typename... Args> void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    void deallocate(T* p, size_t)
    {
        if (!memory.allocate)
            ::operator delete(p);
        else if (memory.release)
            memory.release(p);
    }
    template <typename U> bool operator==(const SampleAllocator<U>& o) const { return memory == o.memory; }
    template <typename U> bool operator!=(const SampleAllocator<U>& o) const { return !(memory == o.memory); }
};

// PCM sample memory shared by the voices that play it. The format is fixed
// when it is made; the bytes may be written by their owner. Throws
// std::bad_alloc when the memory cannot be had.
//
// Memory made unfilled (for a file decoded in the background) says how many
// of its frames are ready: the owner writes the frames beyond that count
// only and then raises it; voices play the ready frames and wait at the
// first one that is not.
struct SampleData {
    // Silent memory, all of it ready.
    SampleData(uint32_t bytes, uint16_t channels, uint16_t bits, SampleMemory memory = {})
        : bytes(bytes, 0, SampleAllocator<uint8_t>(memory)), channels(channels), bits(bits), ready(Frames())
    {
    }
    // Memory left as it comes (never touched here), none of it ready.
    struct Unfilled {};
    SampleData(uint32_t bytes, uint16_t channels, uint16_t bits, SampleMemory memory, Unfilled)
        : bytes(bytes, SampleAllocator<uint8_t>(memory)), channels(channels), bits(bits), ready(0)
    {
    }
    std::vector<uint8_t, SampleAllocator<uint8_t>> bytes;
    uint16_t channels; // 1 or 2
    uint16_t bits;     // 8 (unsigned) or 16 (signed)
    uint32_t BlockAlign() const { return channels * bits / 8u; }
    uint32_t Frames() const { return BlockAlign() ? uint32_t(bytes.size() / BlockAlign()) : 0; }
    // Frames from the start that may be played (all of them unless the owner
    // lowered the count while it fills the memory).
    uint32_t ReadyFrames() const { return ready.load(std::memory_order_acquire); }
    void SetReadyFrames(uint32_t frames) { ready.store(std::min(frames, Frames()), std::memory_order_release); }

private:
    std::atomic<uint32_t> ready;
};

// The one software mixer of the program: any number of voices, each playing
// a piece of sample memory at its own rate with a gain for each output side,
// summed into 16-bit stereo at the output rate. Thread-safe: the output
// device calls Mix from its own thread while the program changes the voices.
class Mixer {
public:
    static constexpr uint32_t kOutputRate = 44100;
    using VoiceId = uint32_t; // 0 is no voice

    // A new, stopped voice at position 0 with gains 1; rate in frames per second.
    VoiceId CreateVoice(std::shared_ptr<SampleData> data, uint32_t rate);
    void DestroyVoice(VoiceId voice);

    void SetRate(VoiceId voice, uint32_t rate);
    // Linear gains of the left and right output (1 = unchanged). A playing
    // voice moves to them in a straight line over kGainRampFrames output
    // frames, from the gains it has at that moment, so a change of volume
    // makes no step in the wave; a voice that is not playing takes them at
    // once.
    void SetGains(VoiceId voice, float left, float right);
    static constexpr uint32_t kGainRampFrames = 220; // 5 ms
    // Plays from the current position; looping voices wrap around at the end,
    // others stop there and go back to position 0.
    void Start(VoiceId voice, bool loop);
    // Holds the voice where it is; true when it was playing until now.
    bool Stop(VoiceId voice);
    bool IsPlaying(VoiceId voice);
    bool IsLooping(VoiceId voice);
    void SetPosition(VoiceId voice, uint32_t frame);
    uint32_t GetPosition(VoiceId voice);

    // Mixes the next frames (interleaved left, right) and advances the voices.
    void Mix(int16_t* out, size_t frames);
    // Advances the clock without output; only when nothing plays.
    bool SkipIfSilent(size_t frames);
    // The mixer's clock: every frame mixed (or skipped) so far.
    uint64_t FramesMixed();
    size_t VoiceCount();

private:
    struct Voice {
        std::shared_ptr<SampleData> data;
        uint64_t position = 0; // frames, 32 fraction bits
        uint64_t step = 0;     // per output frame, 32 fraction bits
        int32_t gainLeft = 65536;  // the gains set (Q16), reached at the end of a ramp
        int32_t gainRight = 65536;
        int32_t fromLeft = 65536;  // the gains the ramp started from
        int32_t fromRight = 65536;
        uint32_t rampLeft = 0;     // frames of the ramp still to mix
        bool playing = false;
        bool loop = false;
    };
    Voice* Find(VoiceId voice);
    static void MixVoice(Voice& v, int32_t* acc, size_t frames);

    std::mutex mLock;
    std::unordered_map<VoiceId, Voice> mVoices;
    std::vector<int32_t> mAccum;
    VoiceId mNextId = 1;
    uint64_t mFramesMixed = 0;
};

} // namespace plat
