#pragma once
// The assistant who repairs machines. Filled in with the assistants.
#include "game/world/Person.h"

class Engineer : public Person {
};
