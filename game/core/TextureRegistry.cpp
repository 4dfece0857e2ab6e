#include "game/core/TextureRegistry.h"

#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDImage.h"

#include <vector>

TextureRegistry::TextureRegistry(Zelk::ZelkAppBase* app) : mApp(app) {}

TextureRegistry::~TextureRegistry()
{
    std::map<std::string, TextureRecord> textures;
    {
        std::lock_guard<std::mutex> guard(mLock);
        textures.swap(mTextures);
    }
    for (auto& entry : textures)
        delete entry.second.image;
}

void TextureRegistry::Load(const XmlNode& root)
{
    std::vector<XmlNode> nodes;
    if (!root.Select(L"texture", nodes))
        return;
    std::lock_guard<std::mutex> guard(mLock);
    for (const XmlNode& node : nodes) {
        std::string id, file;
        if (!XmlGetAttrString(node, L"id", id) || !XmlGetAttrString(node, L"file", file))
            break;
        mTextures[id].file = file;
    }
}

Zelk::Image* TextureRegistry::Get(const std::string& id)
{
    std::string file;
    {
        std::lock_guard<std::mutex> guard(mLock);
        auto it = mTextures.find(id);
        if (it == mTextures.end())
            return nullptr;
        if (it->second.image) {
            ++it->second.refCount;
            return it->second.image;
        }
        file = it->second.file;
    }
    Zelk::Image* loaded = mApp ? mApp->GetImage(file, true) : nullptr;
    Zelk::Image* surplus = nullptr;
    Zelk::Image* result = nullptr;
    {
        std::lock_guard<std::mutex> guard(mLock);
        auto it = mTextures.find(id);
        if (it == mTextures.end()) {
            surplus = loaded;
        } else if (it->second.image) {
            // Another thread loaded it meanwhile.
            ++it->second.refCount;
            surplus = loaded;
            result = it->second.image;
        } else {
            it->second.image = loaded;
            it->second.refCount = 1;
            result = loaded;
        }
    }
    delete surplus;
    return result;
}

void TextureRegistry::DropReference(TextureRecord& record, Zelk::Image*& toDelete)
{
    if (record.refCount <= 0)
        return;
    if (--record.refCount == 0) {
        toDelete = record.image;
        record.image = nullptr;
    }
}

void TextureRegistry::Release(const std::string& id)
{
    Zelk::Image* toDelete = nullptr;
    {
        std::lock_guard<std::mutex> guard(mLock);
        auto it = mTextures.find(id);
        if (it != mTextures.end())
            DropReference(it->second, toDelete);
    }
    delete toDelete;
}

void TextureRegistry::ReleaseImage(Zelk::Image* image)
{
    if (!image)
        return;
    Zelk::Image* toDelete = nullptr;
    {
        std::lock_guard<std::mutex> guard(mLock);
        for (auto& entry : mTextures) {
            if (entry.second.image == image) {
                DropReference(entry.second, toDelete);
                break;
            }
        }
    }
    delete toDelete;
}

int TextureRegistry::GetRefCount(const std::string& id) const
{
    std::lock_guard<std::mutex> guard(mLock);
    auto it = mTextures.find(id);
    return it == mTextures.end() ? 0 : it->second.refCount;
}
