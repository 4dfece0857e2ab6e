#include "game/effects/EffectFile.h"

void LoadEffectFile() {}

void ReleaseEffectFile() {}
