#pragma once
#include "assets/Assets.h"

#include <vector>

// The pictures that show the office itself, drawn from the same parts the
// game draws: the briefing pictures of the days that bring something new
// (the new thing ringed), the four help pages, and the upgrade options.
namespace contentgen {

std::vector<OutFile> DrawOfficePictures();

} // namespace contentgen
