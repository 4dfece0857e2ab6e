#pragma once
// A door that lets a walker in or out. Filled in with the furniture.
#include "game/world/Pickable.h"

class Door : public Pickable {
public:
    // Opens when nobody uses it, handing the engineer a pending target.
    virtual void OpenIfIdle() {}
};
