#include "game/core/MusicManager.h"

MusicManager::MusicManager() = default;
MusicManager::~MusicManager() = default;

bool MusicManager::Load(const XmlNode& office) { return true; }
void MusicManager::Pause() {}
void MusicManager::Resume() {}
