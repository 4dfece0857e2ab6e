#include "game/core/CursorManager.h"

CursorManager::CursorManager(TextureRegistry* textures) : mTextures(textures) {}
CursorManager::~CursorManager() = default;

void CursorManager::Load(const XmlNode& root) {}
void CursorManager::Select(const std::string& mode) {}
void CursorManager::Draw(Zelk::Graphics* g) {}
