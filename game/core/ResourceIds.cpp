#include "game/core/ResourceIds.h"

#include "framework/graphics/SharedImage.h"
#include "framework/resources/ResourceManager.h"

#include <map>

Zelk::Font* FONT_ARIAL10 = nullptr;
Zelk::Font* FONT_DEFAULT = nullptr;
Zelk::Font* FONT_ARIAL8 = nullptr;
Zelk::Font* FONT_ARIAL6 = nullptr;
Zelk::Image* GFX_GAME_GROUND = nullptr;

namespace ResourceIds {

namespace {

const char* const kNames[RESOURCE_ID_MAX] = {"FONT_ARIAL10", "FONT_DEFAULT", "FONT_ARIAL8", "FONT_ARIAL6",
                                             "GFX_GAME_GROUND"};

bool& NeedsRebuild()
{
    static bool needsRebuild = true;
    return needsRebuild;
}

bool ValidId(int id) { return id >= 0 && id < RESOURCE_ID_MAX; }

} // namespace

bool ExtractInit(Zelk::ResourceManager* manager)
{
    NeedsRebuild() = true;
    FONT_ARIAL10 = manager->GetFontThrow("FONT_ARIAL10");
    FONT_ARIAL6 = manager->GetFontThrow("FONT_ARIAL6");
    FONT_ARIAL8 = manager->GetFontThrow("FONT_ARIAL8");
    FONT_DEFAULT = manager->GetFontThrow("FONT_DEFAULT");
    GFX_GAME_GROUND = manager->GetImageThrow("GFX_GAME_GROUND").GetImage();
    return true;
}

bool ExtractGroup(Zelk::ResourceManager* manager, const std::string& group)
{
    if (group == "Init")
        return ExtractInit(manager);
    return false;
}

int IdOfName(const std::string& name)
{
    static const std::map<std::string, int> ids = [] {
        std::map<std::string, int> m;
        for (int id = 0; id < RESOURCE_ID_MAX; ++id)
            m[kNames[id]] = id;
        return m;
    }();
    auto it = ids.find(name);
    return it == ids.end() ? RESOURCE_ID_MAX : it->second;
}

std::string NameOfId(int id) { return ValidId(id) ? kNames[id] : std::string(); }

void* SlotOfId(int id)
{
    switch (id) {
    case FONT_ARIAL10_ID: return &FONT_ARIAL10;
    case FONT_DEFAULT_ID: return &FONT_DEFAULT;
    case FONT_ARIAL8_ID: return &FONT_ARIAL8;
    case FONT_ARIAL6_ID: return &FONT_ARIAL6;
    case GFX_GAME_GROUND_ID: return &GFX_GAME_GROUND;
    default: return nullptr;
    }
}

void* ResourceOfId(int id)
{
    if (id == GFX_GAME_GROUND_ID)
        return GFX_GAME_GROUND;
    void* slot = SlotOfId(id);
    return slot ? *static_cast<Zelk::Font**>(slot) : nullptr;
}

int IdOfResource(const void* resource)
{
    static std::map<const void*, int> ids;
    if (NeedsRebuild()) {
        ids.clear();
        for (int id = 0; id < RESOURCE_ID_MAX; ++id)
            if (void* r = ResourceOfId(id))
                ids.emplace(r, id);
        NeedsRebuild() = false;
    }
    auto it = ids.find(resource);
    return it == ids.end() ? RESOURCE_ID_MAX : it->second;
}

Zelk::Image* ReloadImage(Zelk::ResourceManager* manager, int id)
{
    if (id != GFX_GAME_GROUND_ID)
        return nullptr;
    GFX_GAME_GROUND = manager->GetImageOrLoad(kNames[id]).GetImage();
    NeedsRebuild() = true;
    return GFX_GAME_GROUND;
}

int SetImage(Zelk::ResourceManager* manager, int id, Zelk::Image* image)
{
    if (id == GFX_GAME_GROUND_ID) {
        manager->ReplaceImage(kNames[id], image);
        GFX_GAME_GROUND = image;
        NeedsRebuild() = true;
    }
    return id;
}

} // namespace ResourceIds
