#pragma once
// A customer at a client place. Filled in with the clients.
#include "game/world/Pickable.h"
#include "game/world/StatusSource.h"

class Client : public Pickable, public StatusSource {
};
