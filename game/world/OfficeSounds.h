#pragma once
// The office objects' sounds: named samples played through the game's
// sound-effect manager and channels kept by an object. Without an
// application or a manager nothing plays and no channel is made.
#include "game/core/SfxChannel.h"

#include <memory>
#include <string>

// Plays the named sample once (nothing without a manager).
void PlayOfficeSample(const std::string& name);
// A channel of the named sample, or null without a manager or sample.
std::unique_ptr<SfxChannel> MakeOfficeChannel(const std::string& name);
// Plays or stops a kept channel; a null channel is skipped.
void PlayChannel(const std::unique_ptr<SfxChannel>& channel);
void StopChannel(const std::unique_ptr<SfxChannel>& channel);
