// The profiles file pref.dat of the application. Filled in by the profiles.
#include "game/core/GameApp.h"

void GameApp::LoadPrefs() {}

void GameApp::SavePrefs() {}
