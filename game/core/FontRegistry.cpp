#include "game/core/FontRegistry.h"

FontRegistry::FontRegistry(GameApp* app) : mApp(app) {}
FontRegistry::~FontRegistry() = default;

void FontRegistry::Load(const XmlNode& root) {}

Zelk::Font* FontRegistry::Get(const std::string& name) { return nullptr; }
