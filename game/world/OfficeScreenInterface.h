#pragma once
// What the office's objects need of the office screen, reached through an
// interface the screen installs. Without one the office is a career day
// with no hovered object, and object changes are not made.
#include "game/world/StageObject.h"

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
};

// Installs the screen (null: none); it outlives its installation.
void SetOfficeScreenInterface(OfficeScreenInterface* screen);
// The installed screen, or one that answers career, changes nothing and
// hovers nothing.
OfficeScreenInterface& GetOfficeScreenInterface();
