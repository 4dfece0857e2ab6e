#include "game/core/SfxSample.h"
#include "game/core/SoundSystem.h"

std::map<std::string, SfxSample*> gSfxSamples;
std::map<std::string, int> gSfxGroups;
int gSfxVolume = 100;

namespace {
int gLastSfxGroup = 0;
}

int SfxLastGroupNumber() { return gLastSfxGroup; }

SfxSample::SfxSample(const XmlNode& node)
{
    plat::SoundLibrary& lib = GameSoundLibrary();
    plat::SoundLibrary::Hold hold(lib);
    std::string name, group;
    XmlGetAttrString(node, L"name", name);
    XmlGetAttrString(node, L"group", group);
    XmlGetAttrString(node, L"path", mPath);
    XmlGetAttrBool(node, L"loop", mLoop);

    auto known = gSfxGroups.find(group);
    if (known != gSfxGroups.end())
        mGroup = known->second;
    else
        gSfxGroups[group] = mGroup = ++gLastSfxGroup;

    SfxSample*& slot = gSfxSamples[name];
    delete slot; // a repeated name: the earlier sample goes
    slot = this;

    plat::SoundLibrary::SampleDefaults defaults;
    defaults.group = mGroup;
    defaults.priority = 0;
    defaults.rate = 0;
    defaults.volume = 100;
    defaults.pan = 50;
    defaults.nearDistance = 1.0f;
    defaults.farDistance = 1.0e9f;
    mSample = lib.LoadSample(mPath.c_str(), 0, &defaults);
}

SfxSample::~SfxSample()
{
    plat::SoundLibrary& lib = GameSoundLibrary();
    plat::SoundLibrary::Hold hold(lib);
    lib.StopSample(mSample);
    if (mSample)
        lib.UnloadSample(mSample);
}

void SfxSample::Play()
{
    plat::SoundLibrary& lib = GameSoundLibrary();
    plat::SoundLibrary::Hold hold(lib);
    lib.PlaySample(mSample, false, mGroup, 1, 0, gSfxVolume, 44100, 50);
}

void SfxSample::Stop() { GameSoundLibrary().StopSample(mSample); }

void SfxSample::Pause()
{
    plat::SoundLibrary& lib = GameSoundLibrary();
    plat::SoundLibrary::Hold hold(lib);
    if (mPauseCount == 0)
        lib.PauseSample(mSample, true);
    ++mPauseCount;
}

void SfxSample::Resume()
{
    plat::SoundLibrary& lib = GameSoundLibrary();
    plat::SoundLibrary::Hold hold(lib);
    if (mPauseCount == 0)
        return;
    if (--mPauseCount == 0)
        lib.PauseSample(mSample, false);
}
