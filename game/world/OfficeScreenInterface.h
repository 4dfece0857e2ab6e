#pragma once
// What the office's objects need of the office screen, reached through an
// interface the screen installs. Without one the office is a career day
// with no hovered object, and object changes are not made.
#include "game/world/StageObject.h"

#include <cstdint>

class SceneObject;

class OfficeScreenInterface {
public:
    virtual ~OfficeScreenInterface() = default;
    // The mode of the current level: survival rather than career.
    virtual bool IsSurvival() const = 0;
    // Changes every object of the change's name, blinking from the old look
    // to the new one.
    virtual void ChangeObjects(const StageObject& change) = 0;
    // The object the last hover update chose, or null.
    virtual SceneObject* GetHoveredObject() const = 0;
    // A game event for the tutorial rules (nothing without a screen).
    virtual void SendTutorialEvent(int event) {}
    // Whether the tutorial allows the action (always without a screen).
    virtual bool IsTutorialActionAllowed(int action) const { return true; }
    // Money earned (negative: lost) during the day (none without a screen).
    virtual void AddDayMoney(int32_t amount) {}
    // Survival: a life less (nothing without a screen).
    virtual void LoseDayLife() {}
    // The rush bonus: kind 1 a successful staff action at the target, kind 0
    // a failed one (nothing without a screen).
    virtual void AdvanceRushBonus(int32_t kind, SceneObject* target) {}
};

// Installs the screen (null: none); it outlives its installation.
void SetOfficeScreenInterface(OfficeScreenInterface* screen);
// The installed screen, or one that answers career, changes nothing and
// hovers nothing.
OfficeScreenInterface& GetOfficeScreenInterface();
