#pragma once
// The fonts of cfg\ui.xml by name, built once: system fonts and image fonts
// from their description files.
#include "game/core/XmlFunctions.h"

#include <map>
#include <string>

namespace Zelk {
class Font;
class ZelkAppBase;
} // namespace Zelk

class FontRegistry {
public:
    explicit FontRegistry(Zelk::ZelkAppBase* app);
    virtual ~FontRegistry();
    FontRegistry(const FontRegistry&) = delete;
    FontRegistry& operator=(const FontRegistry&) = delete;

    // Reads the "font" children of the UI description's root. Each entry
    // starts from plain style and scale 1; one lacking what its type needs,
    // or of an unknown type, is skipped. A later font of a name replaces
    // (and deletes) the earlier one.
    void Load(const XmlNode& root);
    // The font of the name; null for a name without a font (which is then
    // entered without one).
    Zelk::Font* Get(const std::string& name);

private:
    Zelk::ZelkAppBase* mApp;
    std::map<std::string, Zelk::Font*> mFonts;
};
