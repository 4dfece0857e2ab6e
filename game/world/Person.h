#pragma once
// A character that walks the office's walk graph to the objects it is sent
// to. Filled in with the walking characters.
#include "game/world/SceneObject.h"

class Person : public SceneObject {
};
