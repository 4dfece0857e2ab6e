#pragma once
// The bubble above a client or worker. Filled in with the status indicators.
#include "game/world/SceneObject.h"

class StatusBubble : public SceneObject {
};
