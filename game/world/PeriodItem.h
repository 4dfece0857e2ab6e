#pragma once
// A machine that becomes ready after a reload time. Filled in with the
// furniture.
#include "game/world/Pickable.h"

class PeriodItem : public Pickable {
public:
    // Ready to be used (until its reload times are kept: always).
    virtual bool IsReady() const { return true; }
};
