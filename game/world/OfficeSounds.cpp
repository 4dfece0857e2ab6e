#include "game/world/OfficeSounds.h"

#include "game/core/GameApp.h"
#include "game/core/SfxManager.h"

namespace {

SfxManager* Manager()
{
    GameApp* app = GetGameApp();
    return app ? app->GetSfxManager() : nullptr;
}

} // namespace

void PlayOfficeSample(const std::string& name)
{
    if (SfxManager* manager = Manager())
        manager->Play(name);
}

std::unique_ptr<SfxChannel> MakeOfficeChannel(const std::string& name)
{
    SfxManager* manager = Manager();
    return std::unique_ptr<SfxChannel>(manager ? manager->CreateChannel(name) : nullptr);
}

void PlayChannel(const std::unique_ptr<SfxChannel>& channel)
{
    if (channel)
        channel->Play();
}

void StopChannel(const std::unique_ptr<SfxChannel>& channel)
{
    if (channel)
        channel->Stop();
}
