#pragma once
// A worker at a table who turns items into products. Filled in with the
// workers.
#include "game/world/SceneObject.h"
#include "game/world/StatusSource.h"

class Worker : public SceneObject, public StatusSource {
};
