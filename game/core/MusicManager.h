#pragma once
#include "game/core/XmlFunctions.h"

// The music tracks of cfg\office.xml ("music/stream") and the one playing.
// Filled in by the music system; pausing and resuming may be asked from any
// stepping thread.
class MusicManager {
public:
    MusicManager();
    ~MusicManager();
    // Reads the "music/stream" nodes of the office node; true when all were read.
    bool Load(const XmlNode& office);
    void Pause();
    void Resume();
};
