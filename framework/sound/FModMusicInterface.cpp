#include "framework/sound/FModMusicInterface.h"
#include "framework/app/PathUtil.h"
#include "framework/sound/FmodInstance.h"
#include "framework/sound/WaveBytes.h"
#include "platform/files/DiskFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace Zelk {

namespace {

struct SampleShape {
    int channels;
    int bytesPerSample;
    int BlockAlign() const { return channels * bytesPerSample; }
};

SampleShape ShapeOf(unsigned int mode)
{
    return SampleShape{(mode & FSOUND_MONO) ? 1 : 2, (mode & FSOUND_8BITS) ? 1 : 2};
}

} // namespace

FModMusicInterface::FModMusicInterface(plat::WindowHandle window) : mFmod(GetFmodInstance()) {}

FModMusicInterface::~FModMusicInterface()
{
    // Stop and free what is still loaded; modules cannot be freed through the
    // binding, so they are at least stopped.
    for (auto& entry : mSongMap) {
        FModSongInfo& song = entry.second;
        if (song.mModule) {
            mFmod->FMUSIC_StopSong(song.mModule);
        } else if (song.mSample) {
            mFmod->FSOUND_StopSound(entry.first);
            mFmod->FSOUND_Sample_Free(song.mSample);
        }
    }
    mSongMap.clear();
    FreeFmodInstance();
}

const FModSongInfo* FModMusicInterface::GetSong(int songId) const
{
    auto it = mSongMap.find(songId);
    return it == mSongMap.end() ? nullptr : &it->second;
}

bool FModMusicInterface::LoadMusic(int songId, const std::string& fileName)
{
    // An id already loaded keeps its song. Nothing is loaded for it, because a
    // module could not be freed again.
    if (mSongMap.count(songId))
        return true;
    FMusicModule* module = mFmod->FMUSIC_LoadSong(fileName.c_str());
    if (!module)
        return false;
    FModSongInfo song;
    song.mModule = module;
    mSongMap[songId] = song;
    return true;
}

bool FModMusicInterface::LoadSample(int songId, const std::string& fileName, bool repeat)
{
    if (mSongMap.count(songId))
        return true;
    FSoundSample* sample = LoadCachedSample(fileName);
    if (!sample)
        return false;
    FModSongInfo song;
    song.mSample = sample;
    song.mLoop = repeat;
    mSongMap[songId] = song;
    return true;
}

FSoundSample* FModMusicInterface::LoadCachedSample(const std::string& fileName)
{
    std::string cachePath = GetAppDataFolder() + "cached\\" + Zelk::GetFileName(fileName, true) + ".wav";
    CreateDirectories(GetFileDir(cachePath));

    if (FSoundSample* cached = mFmod->FSOUND_Sample_Load(-1, cachePath.c_str(), 0, 0))
        return cached;
    FSoundSample* sample = mFmod->FSOUND_Sample_Load(-1, (fileName + ".ogg").c_str(), 0, 0);
    if (!sample)
        return nullptr;

    SampleShape shape = ShapeOf(mFmod->FSOUND_Sample_GetMode(sample));
    int frequency = 0;
    mFmod->FSOUND_Sample_GetDefaults(sample, &frequency, nullptr, nullptr, nullptr);
    uint32_t dataLength = mFmod->FSOUND_Sample_GetLength(sample) * uint32_t(shape.BlockAlign());
    void* ptr1 = nullptr;
    void* ptr2 = nullptr;
    unsigned int len1 = 0, len2 = 0;
    if (mFmod->FSOUND_Sample_Lock(sample, 0, int(dataLength), &ptr1, &ptr2, &len1, &len2)) {
        if (FILE* f = plat::OpenFile(cachePath, "wb")) {
            WaveBytes header;
            header.Tag("RIFF").U32(dataLength + 36).Tag("WAVE");
            header.Tag("fmt ").U32(16).U16(1).U16(uint16_t(shape.channels)).U32(uint32_t(frequency));
            header.U32(uint32_t(shape.BlockAlign()) * uint32_t(frequency)).U16(uint16_t(shape.BlockAlign()));
            header.U16(uint16_t(shape.bytesPerSample * 8)).Tag("data").U32(dataLength);
            fwrite(header.bytes.data(), 1, header.bytes.size(), f);
            if (ptr1 && len1)
                fwrite(ptr1, 1, len1, f);
            if (ptr2 && len2)
                fwrite(ptr2, 1, len2, f);
            fclose(f);
        }
        mFmod->FSOUND_Sample_Unlock(sample, ptr1, ptr2, len1, len2);
    }
    return sample;
}

bool FModMusicInterface::LoadSampleWithIntro(int songId, const std::string& intro, const std::string& loop,
                                             bool repeat)
{
    if (mSongMap.count(songId))
        return true;
    FSoundSample* introSample = LoadCachedSample(intro);
    FSoundSample* loopSample = LoadCachedSample(loop);
    auto freeSources = [&] {
        if (introSample)
            mFmod->FSOUND_Sample_Free(introSample);
        if (loopSample)
            mFmod->FSOUND_Sample_Free(loopSample);
    };
    if (!introSample || !loopSample) {
        freeSources();
        return false;
    }
    int introFreq = 0, loopFreq = 0;
    mFmod->FSOUND_Sample_GetDefaults(introSample, &introFreq, nullptr, nullptr, nullptr);
    mFmod->FSOUND_Sample_GetDefaults(loopSample, &loopFreq, nullptr, nullptr, nullptr);
    unsigned int introMode = mFmod->FSOUND_Sample_GetMode(introSample);
    unsigned int loopMode = mFmod->FSOUND_Sample_GetMode(loopSample);
    unsigned int introLength = mFmod->FSOUND_Sample_GetLength(introSample);
    unsigned int loopLength = mFmod->FSOUND_Sample_GetLength(loopSample);
    if (introFreq != loopFreq || introMode != loopMode) {
        freeSources();
        return false;
    }
    FSoundSample* sample = mFmod->FSOUND_Sample_Alloc(-1, int(introLength + loopLength), introMode | 2, introFreq,
                                                      255, 128, 0);
    if (!sample) {
        freeSources();
        return false;
    }

    const uint32_t block = uint32_t(ShapeOf(introMode).BlockAlign());
    const uint32_t introBytes = introLength * block;
    const uint32_t loopBytes = loopLength * block;
    void* dst1 = nullptr;
    void* dst2 = nullptr;
    unsigned int dstLen1 = 0, dstLen2 = 0;
    if (!mFmod->FSOUND_Sample_Lock(sample, 0, int(introBytes + loopBytes), &dst1, &dst2, &dstLen1, &dstLen2)) {
        mFmod->FSOUND_Sample_Free(sample);
        freeSources();
        return false;
    }
    auto copyFrom = [&](FSoundSample* source, uint32_t bytes, uint32_t at) {
        void* src1 = nullptr;
        void* src2 = nullptr;
        unsigned int srcLen1 = 0, srcLen2 = 0;
        if (!mFmod->FSOUND_Sample_Lock(source, 0, int(bytes), &src1, &src2, &srcLen1, &srcLen2))
            return;
        uint32_t room = at < dstLen1 ? dstLen1 - at : 0;
        uint32_t n = std::min({bytes, uint32_t(srcLen1), room});
        if (src1 && dst1 && n)
            std::memcpy(static_cast<uint8_t*>(dst1) + at, src1, n);
        mFmod->FSOUND_Sample_Unlock(source, src1, src2, srcLen1, srcLen2);
    };
    copyFrom(introSample, introBytes, 0);
    copyFrom(loopSample, loopBytes, introBytes);
    mFmod->FSOUND_Sample_Unlock(sample, dst1, dst2, dstLen1, dstLen2);

    freeSources();
    mFmod->FSOUND_Sample_SetLoopPoints(sample, int(introLength), int(loopLength));
    FModSongInfo song;
    song.mSample = sample;
    song.mLoop = repeat;
    mSongMap[songId] = song;
    return true;
}

void FModMusicInterface::ApplyVolume(int songId, const FModSongInfo& song)
{
    if (song.mModule)
        mFmod->FMUSIC_SetMasterVolume(song.mModule, int(mMaxMusicVolume * mMasterVolume * song.mVolume));
    else
        mFmod->FSOUND_SetVolume(songId, int(mMaxSampleVolume * mMasterVolume * song.mVolume));
}

void FModMusicInterface::StopSong(int songId, FModSongInfo& song)
{
    if (song.mModule)
        mFmod->FMUSIC_StopSong(song.mModule);
    else
        mFmod->FSOUND_StopSound(songId);
}

void FModMusicInterface::PlayMusic(int songId, int offset, bool noLoop)
{
    auto it = mSongMap.find(songId);
    if (it == mSongMap.end())
        return;
    FModSongInfo& song = it->second;
    song.mVolume = song.mMaxVolume;
    song.mFadeSpeed = 0.0;
    if (song.mModule) {
        ApplyVolume(songId, song);
        mFmod->FMUSIC_SetLooping(song.mModule, noLoop ? 1 : 2);
        mFmod->FMUSIC_PlaySong(song.mModule);
        mFmod->FMUSIC_SetOrder(song.mModule, offset);
    } else {
        mFmod->FSOUND_PlaySound(songId, song.mSample);
        mFmod->FSOUND_SetLoopMode(songId, song.mLoop ? 2 : 1);
        ApplyVolume(songId, song);
    }
}

void FModMusicInterface::StopMusic(int songId)
{
    auto it = mSongMap.find(songId);
    if (it == mSongMap.end())
        return;
    it->second.mVolume = 0.0;
    StopSong(songId, it->second);
}

void FModMusicInterface::PauseMusic(int songId)
{
    auto it = mSongMap.find(songId);
    if (it == mSongMap.end())
        return;
    if (it->second.mModule)
        mFmod->FMUSIC_SetPaused(it->second.mModule, 1);
    else
        mFmod->FSOUND_SetPaused(songId, 1);
}

void FModMusicInterface::ResumeMusic(int songId)
{
    auto it = mSongMap.find(songId);
    if (it == mSongMap.end())
        return;
    if (it->second.mModule)
        mFmod->FMUSIC_SetPaused(it->second.mModule, 0);
    else
        mFmod->FSOUND_SetPaused(songId, 0);
}

void FModMusicInterface::StopAllMusic()
{
    for (auto& entry : mSongMap)
        StopMusic(entry.first);
}

void FModMusicInterface::FadeIn(int songId, int offset, double speed, bool noLoop)
{
    auto it = mSongMap.find(songId);
    if (it == mSongMap.end())
        return;
    FModSongInfo& song = it->second;
    song.mFadeSpeed = speed;
    if (song.mModule) {
        ApplyVolume(songId, song);
        mFmod->FMUSIC_SetLooping(song.mModule, noLoop ? 1 : 2);
        if (!mFmod->FMUSIC_IsPlaying(song.mModule))
            mFmod->FMUSIC_PlaySong(song.mModule);
        if (offset != -1)
            mFmod->FMUSIC_SetOrder(song.mModule, offset);
    } else {
        if (!mFmod->FSOUND_IsPlaying(songId)) {
            mFmod->FSOUND_PlaySound(songId, song.mSample);
            mFmod->FSOUND_SetLoopMode(songId, song.mLoop ? 2 : 1);
        }
        ApplyVolume(songId, song);
    }
}

void FModMusicInterface::FadeOut(int songId, bool stopSong, double speed)
{
    auto it = mSongMap.find(songId);
    if (it == mSongMap.end())
        return;
    it->second.mStopOnFade = stopSong;
    it->second.mFadeSpeed = -speed;
}

void FModMusicInterface::FadeOutAll(bool stopSong, double speed)
{
    for (auto& entry : mSongMap)
        FadeOut(entry.first, stopSong, speed);
}

void FModMusicInterface::SetSongVolume(int songId, double volume)
{
    auto it = mSongMap.find(songId);
    if (it == mSongMap.end())
        return;
    it->second.mVolume = volume;
    ApplyVolume(songId, it->second);
}

bool FModMusicInterface::IsPlaying(int songId)
{
    auto it = mSongMap.find(songId);
    if (it == mSongMap.end())
        return false;
    if (it->second.mModule)
        return mFmod->FMUSIC_IsPlaying(it->second.mModule) != 0;
    return mFmod->FSOUND_IsPlaying(songId) != 0;
}

void FModMusicInterface::SetVolume(double volume)
{
    mMasterVolume = volume;
    for (auto& entry : mSongMap)
        ApplyVolume(entry.first, entry.second);
}

void FModMusicInterface::Update()
{
    for (auto& entry : mSongMap) {
        FModSongInfo& song = entry.second;
        if (song.mFadeSpeed == 0.0)
            continue;
        song.mVolume += song.mFadeSpeed;
        if (song.mVolume > song.mMaxVolume) {
            song.mVolume = song.mMaxVolume;
            song.mFadeSpeed = 0.0;
        } else if (song.mVolume < 0.0) {
            song.mVolume = 0.0;
            song.mFadeSpeed = 0.0;
            if (song.mStopOnFade)
                StopSong(entry.first, song);
        }
        ApplyVolume(entry.first, song);
    }
}

} // namespace Zelk
