#include "game/core/MusicManager.h"
#include "game/core/MusicStream.h"
#include "game/core/SoundSystem.h"
#include "game/core/XmlFunctions.h"

namespace {

constexpr int kMusicGroup = -1;

struct LoadState {
    std::map<std::string, MusicStream*>* tracks;
    bool complete = true;
};

bool LoadTrack(const XmlNode& node, void* context, void*)
{
    auto* state = static_cast<LoadState*>(context);
    std::string name, path;
    if (!XmlGetAttrString(node, L"name", name) || !XmlGetAttrString(node, L"path", path) ||
        state->tracks->count(name)) {
        state->complete = false;
        return false;
    }
    (*state->tracks)[name] = new MusicStream(path);
    return true;
}

} // namespace

MusicManager::MusicManager() { SetVolume(100); }

MusicManager::~MusicManager()
{
    plat::SoundLibrary::Hold hold(GameSoundLibrary());
    for (auto& [name, track] : mTracks)
        delete track;
    mTracks.clear();
}

bool MusicManager::Load(const XmlNode& office)
{
    plat::SoundLibrary::Hold hold(GameSoundLibrary());
    LoadState state{&mTracks};
    XmlForEachNode(office, L"music/stream", &LoadTrack, &state, nullptr);
    return state.complete;
}

MusicStream* MusicManager::Find(const std::string& name) const
{
    auto it = mTracks.find(name);
    return it == mTracks.end() ? nullptr : it->second;
}

bool MusicManager::PlayMusic(const std::string& name)
{
    plat::SoundLibrary::Hold hold(GameSoundLibrary());
    if (name == mCurrent)
        return true;
    if (MusicStream* next = Find(name))
        next->Play();
    if (MusicStream* old = Find(mCurrent))
        old->FadeOut();
    mCurrent = name;
    return true;
}

void MusicManager::Pause()
{
    plat::SoundLibrary::Hold hold(GameSoundLibrary());
    if (MusicStream* track = Find(mCurrent))
        track->Pause();
}

void MusicManager::Resume()
{
    plat::SoundLibrary::Hold hold(GameSoundLibrary());
    if (MusicStream* track = Find(mCurrent))
        track->Resume();
}

void MusicManager::SetVolume(int volume)
{
    plat::SoundLibrary& lib = GameSoundLibrary();
    plat::SoundLibrary::Hold hold(lib);
    gMusicVolume = volume;
    lib.SetGroupVolume(kMusicGroup, volume);
}

int MusicManager::GetVolume() const
{
    plat::SoundLibrary::Hold hold(GameSoundLibrary());
    return gMusicVolume;
}
