#include "game/world/OfficeWorld.h"

#include "game/world/Client.h"
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

bool RegisterClient(Client* client, int index)
{
    if (!gWorld || index < 0 || index >= OfficeWorld::kClientPlaces)
        return false;
    gWorld->clientSlots[index] = client;
    return true;
}

Client* GetClient(int index)
{
    if (!gWorld || index < 0 || index >= OfficeWorld::kClientPlaces)
        return nullptr;
    return gWorld->clientSlots[index];
}

int FindFreeClientPlace()
{
    for (int i = 0; i < OfficeWorld::kClientPlaces; ++i) {
        Client* client = GetClient(i);
        if (client && client->GetState() == Client::kPlaceFree && !client->IsVisible())
            return i;
    }
    return -1;
}

void ForgetClient(Client* client)
{
    if (!gWorld)
        return;
    for (Client*& slot : gWorld->clientSlots)
        if (slot == client)
            slot = nullptr;
}
