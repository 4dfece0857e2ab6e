#pragma once
// Where workers on a break sit. Filled in with the workers.
#include "game/world/SceneObject.h"

class MiniBar : public SceneObject {
};
