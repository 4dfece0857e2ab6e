#pragma once
// The phone a VIP client calls on. Filled in with the furniture.
#include "game/world/Pickable.h"
#include "game/world/StatusSource.h"

class Phone : public Pickable, public StatusSource {
public:
    // A VIP's call is waiting; while it rings no client comes in.
    virtual bool IsRinging() const { return false; }
};
