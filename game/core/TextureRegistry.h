#pragma once
// The textures of cfg\ui.xml by id, loaded on first use and counted, so that
// screens take them when shown and give them back when hidden. Safe to use
// from the loading screen's thread: the lock is never held while an image
// loads or dies.
#include "game/core/XmlFunctions.h"

#include <map>
#include <mutex>
#include <string>

namespace Zelk {
class Image;
class ZelkAppBase;
} // namespace Zelk

class TextureRegistry {
public:
    explicit TextureRegistry(Zelk::ZelkAppBase* app);
    ~TextureRegistry();
    TextureRegistry(const TextureRegistry&) = delete;
    TextureRegistry& operator=(const TextureRegistry&) = delete;

    // Reads the "texture" children of the UI description's root; the list
    // ends at the first entry lacking "id" or "file".
    void Load(const XmlNode& root);
    // The image of the id, loaded when it is not; each call counts one
    // reference (a failed load too, so that the next call tries again).
    // Null for an unknown id.
    Zelk::Image* Get(const std::string& id);
    // One reference less; the image is deleted at 0.
    void Release(const std::string& id);
    // The same for the first record (in id order) holding the image.
    void ReleaseImage(Zelk::Image* image);

    Zelk::ZelkAppBase* GetApp() const { return mApp; }
    // The references of the id (0 for an unknown one).
    int GetRefCount(const std::string& id) const;

private:
    struct TextureRecord {
        std::string file;
        Zelk::Image* image = nullptr;
        int refCount = 0;
    };

    void DropReference(TextureRecord& record, Zelk::Image*& toDelete);

    Zelk::ZelkAppBase* mApp;
    mutable std::mutex mLock;
    std::map<std::string, TextureRecord> mTextures;
};
