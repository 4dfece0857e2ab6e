#pragma once
// An object the player can click: furniture, client places, clients. Filled in
// with the clickable objects.
#include "game/world/SceneObject.h"

class Pickable : public SceneObject {
};
