#pragma once
// The game's cursor pictures by mode ("normal", "active", "text"). While one
// is selected the framework's own cursor is off and the picture is drawn at
// the mouse on top of every frame, also by the loading screen's thread.
#include "game/core/XmlFunctions.h"

#include <atomic>
#include <map>
#include <mutex>
#include <string>

class TextureRegistry;
namespace Zelk {
class Graphics;
class Image;
} // namespace Zelk

class CursorManager {
public:
    explicit CursorManager(TextureRegistry* textures);
    virtual ~CursorManager();
    CursorManager(const CursorManager&) = delete;
    CursorManager& operator=(const CursorManager&) = delete;

    // Reads the "cursors" children of the UI description's root; the first
    // entry of a mode wins.
    void Load(const XmlNode& root);
    // The cursor of the mode, or the standard arrow (Reset) for a mode
    // without one. Virtual so that tests can write the selections down.
    virtual void Select(const std::string& mode);
    void Reset();
    void Enable() { mEnabled.store(true); }
    void Disable() { mEnabled.store(false); }
    // Draws the selected cursor at the mouse position minus its hot spot.
    void Draw(Zelk::Graphics* g);
    // Reset, then every cursor's texture goes back.
    void Clear();

private:
    struct CursorRecord {
        Zelk::Image* image = nullptr;
        int hotSpotX = 0;
        int hotSpotY = 0;
    };

    void ApplyFrameworkCursor(bool custom);

    TextureRegistry* mTextures;
    std::mutex mLock; // the records and the selection
    std::map<std::string, CursorRecord> mCursors;
    const CursorRecord* mSelected = nullptr;
    std::atomic<bool> mEnabled{true};
};
