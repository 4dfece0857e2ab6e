#pragma once
#include "game/core/XmlFunctions.h"

#include <string>

class GameApp;
namespace Zelk {
class Font;
}

// The fonts of cfg\ui.xml by name. Filled in by the registries.
class FontRegistry {
public:
    explicit FontRegistry(GameApp* app);
    ~FontRegistry();
    // Reads the "font" children of the UI description's root.
    void Load(const XmlNode& root);
    // The font of the name; null for a name without a font.
    Zelk::Font* Get(const std::string& name);

private:
    GameApp* mApp;
};
