#include "game/world/OfficeWorld.h"

#include "game/world/OfficeEffectWorld.h"
#include "game/world/SceneObject.h"

#include <cassert>

float gFrameDelta = 0.0f;

namespace {
OfficeWorld* gWorld = nullptr;
OfficeEffectWorld gEffectWorld;
} // namespace

OfficeWorld::OfficeWorld()
{
    for (const char* walker : {"boss", "secretary", "engineer"})
        walkGraphs.emplace(walker, std::make_unique<PathGraphSet>(walker));
}

OfficeWorld::~OfficeWorld()
{
    // Objects left behind go with their world (each removes itself).
    while (!sceneObjects.empty())
        delete sceneObjects.front();
    if (gWorld == this)
        InstallOfficeWorld(nullptr);
}

void InstallOfficeWorld(OfficeWorld* world)
{
    gWorld = world;
    SetEffectWorld(world ? &gEffectWorld : nullptr);
}

OfficeWorld& GetOfficeWorld()
{
    assert(gWorld && "no office world is installed");
    return *gWorld;
}

bool HasOfficeWorld() { return gWorld != nullptr; }
