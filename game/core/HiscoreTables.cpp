#include "game/core/HiscoreTables.h"

HiscoreTables::HiscoreTables() = default;
HiscoreTables::~HiscoreTables() = default;

void HiscoreTables::LoadDefaults(GameApp* app) {}
