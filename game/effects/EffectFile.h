#pragma once
// cfg\effect.xml, the effects every game part starts by name: loaded once
// when the application is made and released when it ends.
#include "game/core/XmlFunctions.h"

#include <string>

class Effect;

extern XmlDocument* gEffectDocument; // null before loading and after release
extern XmlNode gEffectsNode;         // the root "effects"; empty likewise

void LoadEffectFile();
void ReleaseEffectFile();
// A new effect built from the "effect" element of that name (exact
// comparison); null when there is none or no file. The caller owns it.
Effect* CreateEffect(const std::string& name);
