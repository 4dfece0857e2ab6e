#pragma once
// The assistant who serves coffee and gives presentations. Filled in with the
// assistants.
#include "game/world/Person.h"

class Secretary : public Person {
};
