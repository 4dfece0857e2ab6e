#pragma once
// Sound buffers in memory, played by the program's mixer: the device object the
// framework's sound manager was written against. Result codes (DxResult.h) and
// flag bits keep their documented values, because callers compare and log them.
#include "platform/audio/Mixer.h"
#include "platform/dx/DxResult.h"
#include "platform/window/WindowSystem.h"

#include <cstdint>
#include <memory>

namespace plat {

class AudioOutput;

using DsResult = int32_t;

// The two results the sound interface shares with the generic errors.
constexpr DsResult DSERR_INVALIDPARAM = E_INVALIDARG;
constexpr DsResult DSERR_OUTOFMEMORY = E_OUTOFMEMORY;

// Cooperative levels.
enum : uint32_t { DSSCL_NORMAL = 1, DSSCL_PRIORITY = 2, DSSCL_EXCLUSIVE = 3, DSSCL_WRITEPRIMARY = 4 };

// Buffer capability flags.
enum : uint32_t {
    DSBCAPS_PRIMARYBUFFER = 0x1,
    DSBCAPS_STATIC = 0x2,
    DSBCAPS_LOCHARDWARE = 0x4,
    DSBCAPS_LOCSOFTWARE = 0x8,
    DSBCAPS_CTRLFREQUENCY = 0x20,
    DSBCAPS_CTRLPAN = 0x40,
    DSBCAPS_CTRLVOLUME = 0x80,
    DSBCAPS_GLOBALFOCUS = 0x8000,
};

enum : uint32_t { DSBPLAY_LOOPING = 0x1 };
enum : uint32_t { DSBSTATUS_PLAYING = 0x1, DSBSTATUS_LOOPING = 0x4 };

enum : int32_t {
    DSBVOLUME_MIN = -10000,
    DSBVOLUME_MAX = 0,
    DSBPAN_LEFT = -10000,
    DSBPAN_RIGHT = 10000,
};
enum : uint32_t {
    DSBFREQUENCY_ORIGINAL = 0,
    DSBFREQUENCY_MIN = 100,
    DSBFREQUENCY_MAX = 100000,
    DSBSIZE_MIN = 4,
    DSBSIZE_MAX = 0x0FFFFFFF,
};
enum : uint16_t { WAVE_FORMAT_PCM = 1 };

// The PCM format record (18 bytes in its stored form).
struct WaveFormat {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint16_t extraSize = 0;
};
constexpr uint32_t kWaveFormatRecordSize = 18;

struct SoundBufferDesc {
    uint32_t size = 20;
    uint32_t flags = 0;
    uint32_t bufferBytes = 0;
    const WaveFormat* format = nullptr;
};

struct DSoundDevice;

// One buffer: the primary buffer (only a format) or a secondary buffer with
// sample memory, shared with its duplicates, and its own volume, pan,
// frequency and play position. Deleting it stops it.
class SoundBuffer {
public:
    ~SoundBuffer();
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

    DsResult SetFormat(const WaveFormat& format);
    // With a null record only the record's size is given back.
    DsResult GetFormat(WaveFormat* format, uint32_t size, uint32_t* written);
    DsResult Lock(uint32_t offset, uint32_t bytes, void** data, uint32_t* locked);
    DsResult Unlock(void* data, uint32_t bytes);
    DsResult GetFrequency(uint32_t* frequency);
    DsResult SetFrequency(uint32_t frequency);
    // Hundredths of a decibel, DSBVOLUME_MIN (silence) .. DSBVOLUME_MAX.
    DsResult GetVolume(int32_t* volume);
    DsResult SetVolume(int32_t volume);
    DsResult GetPan(int32_t* pan);
    DsResult SetPan(int32_t pan);
    DsResult Play(uint32_t flags);
    DsResult Stop();
    DsResult GetCurrentPosition(uint32_t* play);
    DsResult SetCurrentPosition(uint32_t bytes);
    DsResult GetStatus(uint32_t* status);

    uint32_t Flags() const { return mFlags; }
    uint32_t Bytes() const;

private:
    friend class DirectSound;
    explicit SoundBuffer(std::shared_ptr<DSoundDevice> device);
    void ApplyGains();
    bool IsPrimary() const { return (mFlags & DSBCAPS_PRIMARYBUFFER) != 0; }

    std::shared_ptr<DSoundDevice> mDevice;
    std::shared_ptr<SampleData> mData;
    Mixer::VoiceId mVoice = 0;
    uint32_t mFlags = 0;
    WaveFormat mFormat;
    uint32_t mFrequency = 0;
    int32_t mVolume = 0;
    int32_t mPan = 0;
};

// The device object. Buffers keep the device running after it is deleted.
class DirectSound {
public:
    ~DirectSound();
    DirectSound(const DirectSound&) = delete;
    DirectSound& operator=(const DirectSound&) = delete;

    DsResult SetCooperativeLevel(WindowHandle window, uint32_t level);
    DsResult CreateSoundBuffer(const SoundBufferDesc& desc, SoundBuffer** buffer);
    DsResult DuplicateSoundBuffer(SoundBuffer* original, SoundBuffer** duplicate);

    uint32_t CooperativeLevel() const;
    // Buffers of this device alive now (duplicates and the primary included).
    int LiveBuffers() const;

private:
    friend DsResult DirectSoundCreate(DirectSound** out);
    explicit DirectSound(std::shared_ptr<DSoundDevice> device);
    std::shared_ptr<DSoundDevice> mDevice;
};

// Opens the installed audio output; fails with DSERR_NODRIVER without one.
DsResult DirectSoundCreate(DirectSound** out);

// Test seam: make calls fail with a chosen result. After `skip` successful
// calls of the operation the next `times` calls fail (times < 0: all).
enum class DsOp {
    Create,
    SetCooperativeLevel,
    CreateSoundBuffer,
    DuplicateSoundBuffer,
    SetFormat,
    GetFormat,
    Lock,
    Unlock,
    SetFrequency,
    SetVolume,
    SetPan,
    Play,
    GetStatus,
};
void FailDSound(DsOp op, DsResult result, int skip = 0, int times = 1);
void ClearDSoundFaults();

} // namespace plat
