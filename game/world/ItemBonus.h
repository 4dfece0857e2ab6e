#pragma once
// The pool of floating money and bonus texts (the object "bonus"). Filled
// in with the clickable objects.
#include "game/world/SceneObject.h"

class ItemBonus : public SceneObject {
};
