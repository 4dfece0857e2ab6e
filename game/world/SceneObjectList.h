#pragma once
// The operations on every scene object of the installed office world, in
// creation order.
#include <string>

class SceneObject;

// The first object of that exact name, or null.
SceneObject* FindObject(const std::string& name);
void UpdateAllObjects();
void UpdateAllObjectsSmooth(float fraction);
// Switches on every visible object.
void ActivateVisibleObjects();
void DeactivateAllObjects();
// Every object reset, the level timelines emptied and the drawing order
// reset.
void ResetAllObjects();
void DeleteAllObjects();
// Every part of every object into the drawing order, which is then built.
void AddAllObjectsToZOrder();
