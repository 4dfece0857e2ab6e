#pragma once
// What the office's objects share while an office lives: the scene objects
// in creation order, the tuning records, the parameter maps of clients,
// workers and walkers, the level timelines, the drawing order, the clickable
// objects and the walkers' walk graphs. The office screen owns one and
// installs it; tests install their own. A new office starts from a new
// world, so nothing carries over from the last one. Everything here is used
// on the main thread only, without a lock (the office screen is hidden while
// a level loads).
#include "game/world/LevelParams.h"
#include "game/world/LevelTimelines.h"
#include "game/world/ClientParams.h"
#include "game/world/PathGraphSet.h"
#include "game/world/PersParams.h"
#include "game/world/WorkerParams.h"
#include "game/world/ZOrderManager.h"

#include <list>
#include <map>
#include <memory>
#include <string>

class Client;
class Pickable;
class Worker;
class SceneObject;

struct OfficeWorld {
    OfficeWorld();
    ~OfficeWorld();
    OfficeWorld(const OfficeWorld&) = delete;
    OfficeWorld& operator=(const OfficeWorld&) = delete;

    // Every live scene object, in creation order (objects add and remove
    // themselves).
    std::list<SceneObject*> sceneObjects;
    LevelParams levelParams;
    // By client type, worker type (a worker's skin word) and walker name; a
    // name defined twice keeps its first record.
    std::map<std::string, ClientParams> clientParams;
    std::map<std::string, WorkerParams> workerParams;
    std::map<std::string, PersParams> persParams;
    LevelTimelines levelTimelines;
    ZOrderManager zOrder;
    // The client of each of the eight client places (gClientSlots), null
    // until one registers; a client leaves its place when deleted.
    static constexpr int kClientPlaces = 8;
    Client* clientSlots[kClientPlaces] = {};
    // Every live pickable, in creation order (each adds and removes itself).
    std::list<Pickable*> pickables;
    // Every live worker, in creation order (gWorkers; each adds and removes
    // itself).
    std::list<Worker*> workers;
    // One walk-graph set per staff member ("boss", "secretary", "engineer",
    // made in that order), visited by name.
    std::map<std::string, std::unique_ptr<PathGraphSet>> walkGraphs;
};

// Installs the world the office's objects use (null: none) and, with it, the
// office world the effect callbacks see. The world outlives its
// installation.
void InstallOfficeWorld(OfficeWorld* world);
// The installed world; there must be one.
OfficeWorld& GetOfficeWorld();
bool HasOfficeWorld();

// Enters the client at its place (0..7; any other index is ignored); true
// when entered.
bool RegisterClient(Client* client, int index);
// The client of the place, or null (also for an index outside 0..7).
Client* GetClient(int index);
// The first place whose client exists, has its place free (state 10) and is
// not visible; -1 when none.
int FindFreeClientPlace();
// Clears every place that holds the client.
void ForgetClient(Client* client);

// The seconds of the current update: 0.01 while the day runs, 0 while it
// stands still. Written only by the office screen (and tests), read by every
// office object.
extern float gFrameDelta;
