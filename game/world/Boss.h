#pragma once
// The character the player steers. Filled in with the boss.
#include "game/world/Person.h"

class Boss : public Person {
};
