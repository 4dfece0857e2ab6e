#pragma once
// The thirteen office objects the game reaches by name. Each pointer is set
// when an object of its name is made (a later one replaces it, whatever its
// kind) and cleared when that object is deleted. Use a kind's operations
// only through ObjectAs<Kind>, which gives null for another kind.
#include <string>

class SceneObject;

extern SceneObject* gBoss;
extern SceneObject* gSecretary;
extern SceneObject* gEngineer;
extern SceneObject* gPhone;
extern SceneObject* gMiniBar;
extern SceneObject* gSafe;
extern SceneObject* gCoffeeMachine;
extern SceneObject* gAirConditioner;
extern SceneObject* gConferencePlace;
extern SceneObject* gCupboard;
extern SceneObject* gPresentationPlace;
extern SceneObject* gStereoSystem;
extern SceneObject* gBonus;

// Binds the object to the first row of its name; false when no row has it.
bool BindNamedObject(const std::string& name, SceneObject* object);
// Clears every pointer to the object.
void ForgetNamedObject(SceneObject* object);
