#include "game/core/SfxManager.h"

SfxManager::SfxManager() = default;
SfxManager::~SfxManager() = default;

void SfxManager::Load(const XmlNode& office) {}
void SfxManager::PauseAll() {}
void SfxManager::ResumeAll() {}
