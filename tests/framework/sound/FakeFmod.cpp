#include "tests/framework/sound/FakeFmod.h"
#include "framework/app/StringUtil.h"
#include "framework/sound/FmodInstance.h"

#include <algorithm>
#include <cstring>

using Zelk::FMusicModule;
using Zelk::FSoundSample;
using Zelk::FSoundStream;
using Zelk::StrFormat;

FakeFmod* FakeFmod::current = nullptr;

namespace {

FakeFmod& F() { return *FakeFmod::current; }
void Log(const std::string& s) { F().calls.push_back(s); }
FakeFmod::Sample* S(FSoundSample* s) { return reinterpret_cast<FakeFmod::Sample*>(s); }
FakeFmod::Module* M(FMusicModule* m) { return reinterpret_cast<FakeFmod::Module*>(m); }
std::string Name(const char* s) { return s ? s : "(null)"; }

signed char SetBufferSize(int ms)
{
    Log(StrFormat("FSOUND_SetBufferSize(%d)", ms));
    return 1;
}
signed char SetHWND(void* w)
{
    Log(StrFormat("FSOUND_SetHWND(%zu)", size_t(w)));
    return 1;
}
signed char Init(int rate, int channels, unsigned int flags)
{
    Log(StrFormat("FSOUND_Init(%d, %d, %u)", rate, channels, flags));
    return 1;
}
void Close() { Log("FSOUND_Close()"); }

FSoundSample* SampleLoad(int index, const char* name, unsigned int mode, int length)
{
    Log(StrFormat("FSOUND_Sample_Load(%d, %s, %u, %d)", index, Name(name).c_str(), mode, length));
    auto it = F().sampleFiles.find(Name(name));
    if (it == F().sampleFiles.end())
        return nullptr;
    F().samples.push_back(std::make_unique<FakeFmod::Sample>(it->second));
    return reinterpret_cast<FSoundSample*>(F().samples.back().get());
}
FSoundSample* SampleAlloc(int index, int length, unsigned int mode, int freq, int vol, int pan, int pri)
{
    Log(StrFormat("FSOUND_Sample_Alloc(%d, %d, %u, %d, %d, %d, %d)", index, length, mode, freq, vol, pan, pri));
    auto s = std::make_unique<FakeFmod::Sample>();
    s->frequency = freq;
    s->mode = mode;
    s->length = unsigned(length);
    int block = ((mode & 0x20) ? 1 : 2) * ((mode & 0x08) ? 1 : 2);
    s->data.assign(size_t(length) * block, 0xEE);
    F().samples.push_back(std::move(s));
    return reinterpret_cast<FSoundSample*>(F().samples.back().get());
}
void SampleFree(FSoundSample* s)
{
    Log("FSOUND_Sample_Free");
    if (s)
        S(s)->freed = true;
}
signed char SampleLock(FSoundSample* s, int offset, int length, void** p1, void** p2, unsigned int* l1,
                       unsigned int* l2)
{
    Log(StrFormat("FSOUND_Sample_Lock(%d, %d)", offset, length));
    if (F().failSampleLock || !s || offset < 0 || size_t(offset) + size_t(length) > S(s)->data.size())
        return 0;
    *p1 = S(s)->data.data() + offset;
    *l1 = unsigned(length);
    *p2 = nullptr;
    *l2 = 0;
    return 1;
}
signed char SampleUnlock(FSoundSample* s, void* p1, void* p2, unsigned int l1, unsigned int l2)
{
    Log(StrFormat("FSOUND_Sample_Unlock(%u, %u)", l1, l2));
    return 1;
}
signed char SetLoopPoints(FSoundSample* s, int a, int b)
{
    Log(StrFormat("FSOUND_Sample_SetLoopPoints(%d, %d)", a, b));
    return 1;
}
unsigned int GetLength(FSoundSample* s) { return S(s)->length; }
signed char GetDefaults(FSoundSample* s, int* freq, int* vol, int* pan, int* pri)
{
    if (freq)
        *freq = S(s)->frequency;
    if (vol)
        *vol = 255;
    if (pan)
        *pan = 128;
    if (pri)
        *pri = 0;
    return 1;
}
unsigned int GetMode(FSoundSample* s) { return S(s)->mode; }
int PlaySound(int channel, FSoundSample* s)
{
    Log(StrFormat("FSOUND_PlaySound(%d)", channel));
    F().channelPlaying[channel] = true;
    return channel;
}
signed char StopSound(int channel)
{
    Log(StrFormat("FSOUND_StopSound(%d)", channel));
    F().channelPlaying[channel] = false;
    return 1;
}
signed char SetVolume(int channel, int volume)
{
    Log(StrFormat("FSOUND_SetVolume(%d, %d)", channel, volume));
    return 1;
}
signed char SetPaused(int channel, signed char paused)
{
    Log(StrFormat("FSOUND_SetPaused(%d, %d)", channel, paused));
    return 1;
}
signed char SetLoopMode(int channel, unsigned int mode)
{
    Log(StrFormat("FSOUND_SetLoopMode(%d, %u)", channel, mode));
    return 1;
}
signed char IsPlaying(int channel)
{
    Log(StrFormat("FSOUND_IsPlaying(%d)", channel));
    return F().channelPlaying[channel] ? 1 : 0;
}
FSoundStream* StreamOpen(const char*, unsigned int, int) { return nullptr; }
signed char StreamClose(FSoundStream*) { return 0; }
int StreamPlay(int, FSoundStream*) { return -1; }
FMusicModule* LoadSong(const char* name)
{
    Log(StrFormat("FMUSIC_LoadSong(%s)", Name(name).c_str()));
    auto& files = F().mSongFiles;
    if (std::find(files.begin(), files.end(), Name(name)) == files.end())
        return nullptr;
    F().modules.push_back(std::make_unique<FakeFmod::Module>());
    F().modules.back()->name = name;
    return reinterpret_cast<FMusicModule*>(F().modules.back().get());
}
signed char PlaySong(FMusicModule* m)
{
    Log("FMUSIC_PlaySong(" + M(m)->name + ")");
    M(m)->playing = true;
    return 1;
}
signed char StopSong(FMusicModule* m)
{
    Log("FMUSIC_StopSong(" + M(m)->name + ")");
    M(m)->playing = false;
    return 1;
}
signed char SetLooping(FMusicModule* m, signed char looping)
{
    Log(StrFormat("FMUSIC_SetLooping(%s, %d)", M(m)->name.c_str(), looping));
    return 1;
}
signed char SetOrder(FMusicModule* m, int order)
{
    Log(StrFormat("FMUSIC_SetOrder(%s, %d)", M(m)->name.c_str(), order));
    return 1;
}
signed char SetSongPaused(FMusicModule* m, signed char pause)
{
    Log(StrFormat("FMUSIC_SetPaused(%s, %d)", M(m)->name.c_str(), pause));
    return 1;
}
signed char SetMasterVolume(FMusicModule* m, int volume)
{
    Log(StrFormat("FMUSIC_SetMasterVolume(%s, %d)", M(m)->name.c_str(), volume));
    return 1;
}
signed char SongIsPlaying(FMusicModule* m)
{
    Log("FMUSIC_IsPlaying(" + M(m)->name + ")");
    return M(m)->playing ? 1 : 0;
}

template <typename Fn> void* Export(Fn* fn) { return reinterpret_cast<void*>(fn); }

} // namespace

FakeFmod::FakeFmod()
{
    current = this;
    exports = {
        {"_FSOUND_SetBufferSize@4", Export(&SetBufferSize)},
        {"_FSOUND_SetHWND@4", Export(&SetHWND)},
        {"_FSOUND_Init@12", Export(&Init)},
        {"_FSOUND_Close@0", Export(&Close)},
        {"_FSOUND_Sample_Load@16", Export(&SampleLoad)},
        {"_FSOUND_Sample_Alloc@28", Export(&SampleAlloc)},
        {"_FSOUND_Sample_Free@4", Export(&SampleFree)},
        {"_FSOUND_Sample_Lock@28", Export(&SampleLock)},
        {"_FSOUND_Sample_Unlock@20", Export(&SampleUnlock)},
        {"_FSOUND_Sample_SetLoopPoints@12", Export(&SetLoopPoints)},
        {"_FSOUND_Sample_GetLength@4", Export(&GetLength)},
        {"_FSOUND_Sample_GetDefaults@20", Export(&GetDefaults)},
        {"_FSOUND_Sample_GetMode@4", Export(&GetMode)},
        {"_FSOUND_PlaySound@8", Export(&PlaySound)},
        {"_FSOUND_StopSound@4", Export(&StopSound)},
        {"_FSOUND_SetVolume@8", Export(&SetVolume)},
        {"_FSOUND_SetPaused@8", Export(&SetPaused)},
        {"_FSOUND_SetLoopMode@8", Export(&SetLoopMode)},
        {"_FSOUND_IsPlaying@4", Export(&IsPlaying)},
        {"_FSOUND_Stream_OpenFile@12", Export(&StreamOpen)},
        {"_FSOUND_Stream_Close@4", Export(&StreamClose)},
        {"_FSOUND_Stream_Play@8", Export(&StreamPlay)},
        {"_FMUSIC_LoadSong@4", Export(&LoadSong)},
        {"_FMUSIC_PlaySong@4", Export(&PlaySong)},
        {"_FMUSIC_StopSong@4", Export(&StopSong)},
        {"_FMUSIC_SetLooping@8", Export(&SetLooping)},
        {"_FMUSIC_SetOrder@8", Export(&SetOrder)},
        {"_FMUSIC_SetPaused@8", Export(&SetSongPaused)},
        {"_FMUSIC_SetMasterVolume@8", Export(&SetMasterVolume)},
        {"_FMUSIC_IsPlaying@4", Export(&SongIsPlaying)},
    };
    plat::InstallFmodLibrary(&exports);
}

FakeFmod::~FakeFmod()
{
    plat::InstallFmodLibrary(nullptr);
    current = nullptr;
}

void FakeFmod::AddSampleFile(const std::string& name, const std::vector<uint8_t>& data, int frequency,
                             unsigned int mode)
{
    Sample s;
    s.data = data;
    s.frequency = frequency;
    s.mode = mode;
    int block = ((mode & 0x20) ? 1 : 2) * ((mode & 0x08) ? 1 : 2);
    s.length = unsigned(data.size() / block);
    sampleFiles[name] = s;
}

std::vector<std::string> FakeFmod::Calls(const std::string& prefix) const
{
    std::vector<std::string> out;
    for (const auto& c : calls)
        if (c.compare(0, prefix.size(), prefix) == 0)
            out.push_back(c);
    return out;
}

int FakeFmod::LiveSamples() const
{
    int n = 0;
    for (const auto& s : samples)
        if (!s->freed)
            ++n;
    return n;
}
