#pragma once

// cfg\effect.xml, the effects every game part starts by name: loaded once
// when the application is made and released when it ends. Filled in by the
// effects system.
void LoadEffectFile();
void ReleaseEffectFile();
