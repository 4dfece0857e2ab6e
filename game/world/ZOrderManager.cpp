#include "game/world/ZOrderManager.h"

void ZOrderManager::Reset() {}
