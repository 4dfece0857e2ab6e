#include "game/core/SoundSystem.h"

SoundSystem::SoundSystem() = default;
SoundSystem::~SoundSystem() = default;

void SoundSystem::Init(plat::WindowHandle mainWindow) {}
