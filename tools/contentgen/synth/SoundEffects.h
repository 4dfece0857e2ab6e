#pragma once
#include "synth/Voice.h"

#include <string>
#include <vector>

// The game's sound effects: one recipe per sound, each a short mono buffer.
namespace contentgen {

struct EffectRecipe {
    const char* name;  // the name the game plays it by
    const char* group; // "ui" (never paused) or "game"
    bool loop;
    const char* file;  // under sounds\ ; ".ogg" files are Ogg Vorbis, the rest PCM wave
    Pcm (*make)();
};

const std::vector<EffectRecipe>& EffectRecipes();

} // namespace contentgen
