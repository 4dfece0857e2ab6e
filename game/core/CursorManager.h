#pragma once
#include "game/core/XmlFunctions.h"

#include <string>

class TextureRegistry;
namespace Zelk {
class Graphics;
}

// The game's cursor pictures by mode ("normal", "active", "text"), drawn on
// top of every frame. Filled in by the registries.
class CursorManager {
public:
    explicit CursorManager(TextureRegistry* textures);
    ~CursorManager();
    // Reads the "cursors" children of the UI description's root.
    void Load(const XmlNode& root);
    // Selects the cursor of a mode.
    void Select(const std::string& mode);
    // Draws the selected cursor at the mouse position.
    void Draw(Zelk::Graphics* g);

private:
    TextureRegistry* mTextures;
};
