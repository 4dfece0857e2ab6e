#pragma once
#include "game/core/XmlFunctions.h"
class GameApp;

// The textures of cfg\ui.xml by id, loaded while screens use them. Filled in
// by the registries.
class TextureRegistry {
public:
    explicit TextureRegistry(GameApp* app);
    ~TextureRegistry();
    // Reads the "texture" children of the UI description's root.
    void Load(const XmlNode& root);

private:
    GameApp* mApp;
};
