#include "platform/dsound/DirectSound.h"
#include "platform/Platform.h"
#include "platform/audio/AudioOutput.h"

#include <atomic>
#include <cmath>
#include <map>
#include <mutex>
#include <new>

namespace plat {

// What a device and all its buffers share.
struct DSoundDevice {
    explicit DSoundDevice(AudioOutput* output) : output(output), mixer(output->GetMixer()) {}
    ~DSoundDevice() { output->Close(); }
    AudioOutput* output;
    Mixer& mixer;
    std::atomic<uint32_t> level{0};
    std::atomic<int> buffers{0};
};

namespace {

struct Fault {
    DsResult result = DS_OK;
    int skip = 0;
    int times = 0;
};

std::mutex gFaultLock;
std::map<DsOp, Fault> gFaults;

DsResult Injected(DsOp op)
{
    std::lock_guard<std::mutex> g(gFaultLock);
    auto it = gFaults.find(op);
    if (it == gFaults.end())
        return DS_OK;
    Fault& f = it->second;
    if (f.skip > 0) {
        --f.skip;
        return DS_OK;
    }
    DsResult r = f.result;
    if (f.times > 0 && --f.times == 0)
        gFaults.erase(it);
    return r;
}

bool ValidPcm(const WaveFormat& f)
{
    return f.formatTag == WAVE_FORMAT_PCM && (f.channels == 1 || f.channels == 2) &&
           (f.bitsPerSample == 8 || f.bitsPerSample == 16) && f.samplesPerSec >= DSBFREQUENCY_MIN &&
           f.samplesPerSec <= DSBFREQUENCY_MAX && f.blockAlign == f.channels * f.bitsPerSample / 8;
}

// 10^(hundredths of a decibel / 2000); the lowest volume is silence.
float Attenuation(int32_t centibels)
{
    if (centibels <= DSBVOLUME_MIN)
        return 0.0f;
    return float(std::pow(10.0, centibels / 2000.0));
}

} // namespace

void FailDSound(DsOp op, DsResult result, int skip, int times)
{
    std::lock_guard<std::mutex> g(gFaultLock);
    gFaults[op] = Fault{result, skip, times == 0 ? 1 : times};
}

void ClearDSoundFaults()
{
    std::lock_guard<std::mutex> g(gFaultLock);
    gFaults.clear();
}

// ---- SoundBuffer ----------------------------------------------------------

SoundBuffer::SoundBuffer(std::shared_ptr<DSoundDevice> device) : mDevice(std::move(device))
{
    ++mDevice->buffers;
}

SoundBuffer::~SoundBuffer()
{
    if (mVoice) {
        mDevice->output->Sync();
        mDevice->mixer.DestroyVoice(mVoice);
    }
    --mDevice->buffers;
}

uint32_t SoundBuffer::Bytes() const { return mData ? uint32_t(mData->bytes.size()) : 0; }

void SoundBuffer::ApplyGains()
{
    float g = Attenuation(mVolume);
    float left = g * (mPan > 0 ? Attenuation(-mPan) : 1.0f);
    float right = g * (mPan < 0 ? Attenuation(mPan) : 1.0f);
    mDevice->mixer.SetGains(mVoice, left, right);
}

DsResult SoundBuffer::SetFormat(const WaveFormat& format)
{
    if (DsResult r = Injected(DsOp::SetFormat))
        return r;
    if (!IsPrimary())
        return DSERR_INVALIDCALL;
    if (mDevice->level.load() < DSSCL_PRIORITY)
        return DSERR_PRIOLEVELNEEDED;
    if (!ValidPcm(format) || format.samplesPerSec * format.blockAlign != format.avgBytesPerSec)
        return DSERR_BADFORMAT;
    mFormat = format;
    return DS_OK;
}

DsResult SoundBuffer::GetFormat(WaveFormat* format, uint32_t size, uint32_t* written)
{
    if (DsResult r = Injected(DsOp::GetFormat))
        return r;
    if (!format) {
        if (!written)
            return DSERR_INVALIDPARAM;
        *written = kWaveFormatRecordSize;
        return DS_OK;
    }
    if (size < 16)
        return DSERR_INVALIDPARAM;
    *format = mFormat;
    if (size < kWaveFormatRecordSize)
        format->extraSize = 0;
    if (written)
        *written = size < kWaveFormatRecordSize ? size : kWaveFormatRecordSize;
    return DS_OK;
}

DsResult SoundBuffer::Lock(uint32_t offset, uint32_t bytes, void** data, uint32_t* locked)
{
    if (DsResult r = Injected(DsOp::Lock))
        return r;
    if (!data || !locked)
        return DSERR_INVALIDPARAM;
    if (IsPrimary() || !mData)
        return DSERR_INVALIDCALL;
    uint32_t size = Bytes();
    if (bytes == 0 || offset >= size || bytes > size - offset)
        return DSERR_INVALIDPARAM;
    *data = mData->bytes.data() + offset;
    *locked = bytes;
    return DS_OK;
}

DsResult SoundBuffer::Unlock(void* data, uint32_t bytes)
{
    if (DsResult r = Injected(DsOp::Unlock))
        return r;
    if (!mData || !data)
        return DSERR_INVALIDPARAM;
    auto* p = static_cast<uint8_t*>(data);
    uint8_t* begin = mData->bytes.data();
    if (p < begin || p > begin + mData->bytes.size() || bytes > size_t(begin + mData->bytes.size() - p))
        return DSERR_INVALIDPARAM;
    return DS_OK;
}

DsResult SoundBuffer::GetFrequency(uint32_t* frequency)
{
    if (!frequency)
        return DSERR_INVALIDPARAM;
    if (!(mFlags & DSBCAPS_CTRLFREQUENCY))
        return DSERR_CONTROLUNAVAIL;
    *frequency = mFrequency;
    return DS_OK;
}

DsResult SoundBuffer::SetFrequency(uint32_t frequency)
{
    if (DsResult r = Injected(DsOp::SetFrequency))
        return r;
    if (!(mFlags & DSBCAPS_CTRLFREQUENCY) || IsPrimary())
        return DSERR_CONTROLUNAVAIL;
    if (frequency == DSBFREQUENCY_ORIGINAL)
        frequency = mFormat.samplesPerSec;
    if (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX)
        return DSERR_INVALIDPARAM;
    mDevice->output->Sync();
    mFrequency = frequency;
    mDevice->mixer.SetRate(mVoice, frequency);
    return DS_OK;
}

DsResult SoundBuffer::GetVolume(int32_t* volume)
{
    if (!volume)
        return DSERR_INVALIDPARAM;
    if (!(mFlags & DSBCAPS_CTRLVOLUME))
        return DSERR_CONTROLUNAVAIL;
    *volume = mVolume;
    return DS_OK;
}

DsResult SoundBuffer::SetVolume(int32_t volume)
{
    if (DsResult r = Injected(DsOp::SetVolume))
        return r;
    if (!(mFlags & DSBCAPS_CTRLVOLUME) || IsPrimary())
        return DSERR_CONTROLUNAVAIL;
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX)
        return DSERR_INVALIDPARAM;
    mDevice->output->Sync();
    mVolume = volume;
    ApplyGains();
    return DS_OK;
}

DsResult SoundBuffer::GetPan(int32_t* pan)
{
    if (!pan)
        return DSERR_INVALIDPARAM;
    if (!(mFlags & DSBCAPS_CTRLPAN))
        return DSERR_CONTROLUNAVAIL;
    *pan = mPan;
    return DS_OK;
}

DsResult SoundBuffer::SetPan(int32_t pan)
{
    if (DsResult r = Injected(DsOp::SetPan))
        return r;
    if (!(mFlags & DSBCAPS_CTRLPAN) || IsPrimary())
        return DSERR_CONTROLUNAVAIL;
    if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT)
        return DSERR_INVALIDPARAM;
    mDevice->output->Sync();
    mPan = pan;
    ApplyGains();
    return DS_OK;
}

DsResult SoundBuffer::Play(uint32_t flags)
{
    if (DsResult r = Injected(DsOp::Play))
        return r;
    if (IsPrimary())
        return DS_OK;
    mDevice->output->Sync();
    mDevice->mixer.Start(mVoice, (flags & DSBPLAY_LOOPING) != 0);
    return DS_OK;
}

DsResult SoundBuffer::Stop()
{
    if (IsPrimary())
        return DS_OK;
    mDevice->output->Sync();
    mDevice->mixer.Stop(mVoice);
    return DS_OK;
}

DsResult SoundBuffer::GetCurrentPosition(uint32_t* play)
{
    if (!play)
        return DSERR_INVALIDPARAM;
    if (IsPrimary()) {
        *play = 0;
        return DS_OK;
    }
    mDevice->output->Sync();
    *play = mDevice->mixer.GetPosition(mVoice) * mData->BlockAlign();
    return DS_OK;
}

DsResult SoundBuffer::SetCurrentPosition(uint32_t bytes)
{
    if (IsPrimary())
        return DSERR_INVALIDCALL;
    if (bytes > Bytes())
        return DSERR_INVALIDPARAM;
    mDevice->output->Sync();
    mDevice->mixer.SetPosition(mVoice, bytes / mData->BlockAlign());
    return DS_OK;
}

DsResult SoundBuffer::GetStatus(uint32_t* status)
{
    if (DsResult r = Injected(DsOp::GetStatus))
        return r;
    if (!status)
        return DSERR_INVALIDPARAM;
    *status = 0;
    if (IsPrimary())
        return DS_OK;
    mDevice->output->Sync();
    if (mDevice->mixer.IsPlaying(mVoice))
        *status |= DSBSTATUS_PLAYING;
    if (mDevice->mixer.IsLooping(mVoice))
        *status |= DSBSTATUS_LOOPING;
    return DS_OK;
}

// ---- DirectSound ----------------------------------------------------------

DirectSound::DirectSound(std::shared_ptr<DSoundDevice> device) : mDevice(std::move(device)) {}

DirectSound::~DirectSound() = default;

uint32_t DirectSound::CooperativeLevel() const { return mDevice->level.load(); }

int DirectSound::LiveBuffers() const { return mDevice->buffers.load(); }

DsResult DirectSound::SetCooperativeLevel(WindowHandle window, uint32_t level)
{
    if (DsResult r = Injected(DsOp::SetCooperativeLevel))
        return r;
    if (window == 0 || level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY)
        return DSERR_INVALIDPARAM;
    mDevice->level.store(level);
    return DS_OK;
}

DsResult DirectSound::CreateSoundBuffer(const SoundBufferDesc& desc, SoundBuffer** buffer)
{
    if (DsResult r = Injected(DsOp::CreateSoundBuffer))
        return r;
    if (!buffer || (desc.size != 20 && desc.size != 36))
        return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    if (desc.flags & DSBCAPS_PRIMARYBUFFER) {
        if (desc.bufferBytes != 0 || desc.format)
            return DSERR_INVALIDPARAM;
        auto* b = new SoundBuffer(mDevice);
        b->mFlags = desc.flags;
        b->mFormat = WaveFormat{WAVE_FORMAT_PCM, 2, 22050, 88200, 4, 16, 0};
        *buffer = b;
        return DS_OK;
    }
    if (!desc.format || desc.bufferBytes < DSBSIZE_MIN || desc.bufferBytes > DSBSIZE_MAX)
        return DSERR_INVALIDPARAM;
    if (!ValidPcm(*desc.format))
        return DSERR_BADFORMAT;
    std::shared_ptr<SampleData> data;
    try {
        data = std::make_shared<SampleData>(desc.bufferBytes, desc.format->channels, desc.format->bitsPerSample);
    } catch (const std::bad_alloc&) {
        return DSERR_OUTOFMEMORY;
    }
    auto* b = new SoundBuffer(mDevice);
    b->mFlags = desc.flags;
    b->mFormat = *desc.format;
    b->mFormat.avgBytesPerSec = b->mFormat.blockAlign * b->mFormat.samplesPerSec;
    b->mFormat.extraSize = 0;
    b->mFrequency = desc.format->samplesPerSec;
    b->mData = std::move(data);
    b->mVoice = mDevice->mixer.CreateVoice(b->mData, b->mFrequency);
    *buffer = b;
    return DS_OK;
}

DsResult DirectSound::DuplicateSoundBuffer(SoundBuffer* original, SoundBuffer** duplicate)
{
    if (DsResult r = Injected(DsOp::DuplicateSoundBuffer))
        return r;
    if (!original || !duplicate)
        return DSERR_INVALIDPARAM;
    *duplicate = nullptr;
    if (original->IsPrimary() || !original->mData)
        return DSERR_INVALIDCALL;
    auto* b = new SoundBuffer(mDevice);
    b->mFlags = original->mFlags;
    b->mFormat = original->mFormat;
    b->mFrequency = original->mFrequency;
    b->mVolume = original->mVolume;
    b->mPan = original->mPan;
    b->mData = original->mData;
    b->mVoice = mDevice->mixer.CreateVoice(b->mData, b->mFrequency);
    b->ApplyGains();
    *duplicate = b;
    return DS_OK;
}

DsResult DirectSoundCreate(DirectSound** out)
{
    if (!out)
        return DSERR_INVALIDPARAM;
    *out = nullptr;
    if (DsResult r = Injected(DsOp::Create))
        return r;
    AudioOutput* output = Get().audio;
    if (!output || !output->Open())
        return DSERR_NODRIVER;
    *out = new DirectSound(std::make_shared<DSoundDevice>(output));
    return DS_OK;
}

} // namespace plat
