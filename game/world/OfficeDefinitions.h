#pragma once
// cfg\office.xml turned into the office world, and a level file applied to
// it. Both run on the main thread while the office screen is hidden.
#include "game/core/XmlFunctions.h"

class SceneObject;

// The office root: the tuning values, every "objects/object" in document
// order, then the client, worker and walker records.
void LoadOfficeDefinitions(const XmlNode& office);
// One object element: the kind of its class word, bound by name, its
// parts, approach points, pair items and picks, its own attributes, then
// the parts' effect positions. An unknown class word makes nothing (null).
SceneObject* CreateObjectFromDefinition(const XmlNode& element);
// The "part" children of an object element, then its "point" children, in
// document order (the first steps of CreateObjectFromDefinition).
void LoadObjectParts(SceneObject* object, const XmlNode& element);
void LoadApproachPoints(SceneObject* object, const XmlNode& element);
// The level root: every object reset, then given the level's element of its
// name (the first "object" below "objects" in document order) or left
// hidden; the timelines and the level's goal and expert money.
void LoadLevelObjects(const XmlNode& level);
