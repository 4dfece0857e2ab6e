#pragma once
#include "game/core/XmlFunctions.h"

// The sound effects of cfg\office.xml ("sounds/sound"), played by name.
// Filled in by the sound system; pausing and resuming may be asked from any
// stepping thread.
class SfxManager {
public:
    SfxManager();
    ~SfxManager();
    // Makes a sample for every "sounds/sound" node of the office node.
    void Load(const XmlNode& office);
    void PauseAll();
    void ResumeAll();
};
