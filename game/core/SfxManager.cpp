#include "game/core/SfxManager.h"
#include "game/core/SfxChannel.h"
#include "game/core/SfxSample.h"
#include "game/core/SoundSystem.h"
#include "game/core/XmlFunctions.h"

namespace {

bool LoadSound(const XmlNode& node, void*, void*)
{
    new SfxSample(node); // registers itself in gSfxSamples
    return true;
}

// Runs the operation on every sample of the named group; nothing for an
// unknown group name.
void ForGroup(const std::string& group, void (SfxSample::*operation)())
{
    plat::SoundLibrary::Hold hold(GameSoundLibrary());
    auto it = gSfxGroups.find(group);
    if (it == gSfxGroups.end())
        return;
    for (auto& [name, sample] : gSfxSamples)
        if (sample->Group() == it->second)
            (sample->*operation)();
}

void ForAll(void (SfxSample::*operation)())
{
    plat::SoundLibrary::Hold hold(GameSoundLibrary());
    for (auto& [name, sample] : gSfxSamples)
        (sample->*operation)();
}

SfxSample* Find(const std::string& name)
{
    auto it = gSfxSamples.find(name);
    return it == gSfxSamples.end() ? nullptr : it->second;
}

} // namespace

SfxManager::SfxManager() = default;

SfxManager::~SfxManager()
{
    plat::SoundLibrary::Hold hold(GameSoundLibrary());
    ClearAll();
    gSfxGroups.clear();
}

void SfxManager::Load(const XmlNode& office) { XmlForEachNode(office, L"sounds/sound", &LoadSound, nullptr, nullptr); }

void SfxManager::Play(const std::string& name)
{
    plat::SoundLibrary::Hold hold(GameSoundLibrary());
    if (SfxSample* sample = Find(name))
        sample->Play();
}

SfxChannel* SfxManager::CreateChannel(const std::string& name)
{
    plat::SoundLibrary::Hold hold(GameSoundLibrary());
    SfxSample* sample = Find(name);
    return sample ? new SfxChannel(sample) : nullptr;
}

void SfxManager::PauseGroup(const std::string& group) { ForGroup(group, &SfxSample::Pause); }
void SfxManager::ResumeGroup(const std::string& group) { ForGroup(group, &SfxSample::Resume); }
void SfxManager::StopGroup(const std::string& group) { ForGroup(group, &SfxSample::Stop); }
void SfxManager::PauseAll() { ForAll(&SfxSample::Pause); }
void SfxManager::ResumeAll() { ForAll(&SfxSample::Resume); }

void SfxManager::SetVolume(int volume)
{
    plat::SoundLibrary& lib = GameSoundLibrary();
    plat::SoundLibrary::Hold hold(lib);
    gSfxVolume = volume;
    for (auto& [name, number] : gSfxGroups)
        lib.SetGroupVolume(number, volume);
}

int SfxManager::GetVolume() const
{
    plat::SoundLibrary::Hold hold(GameSoundLibrary());
    return gSfxVolume;
}

void SfxManager::ClearAll()
{
    plat::SoundLibrary::Hold hold(GameSoundLibrary());
    for (auto& [name, sample] : gSfxSamples)
        delete sample;
    gSfxSamples.clear();
}
