#include "game/core/TextureRegistry.h"

TextureRegistry::TextureRegistry(GameApp* app) : mApp(app) {}
TextureRegistry::~TextureRegistry() = default;

void TextureRegistry::Load(const XmlNode& root) {}
