#pragma once
// The meter above a client or worker. Filled in with the status indicators.
#include "game/world/SceneObject.h"

class StatusHp : public SceneObject {
};
