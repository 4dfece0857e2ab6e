#pragma once
#include <cairo.h>

#include <cstdint>

// The office as the front end and the comic pages show it: floor, back wall
// with window and pictures, desks with workers, plants, the boss's place.
// Drawn in the 800 x 600 design space; callers scale the context.
namespace contentgen {

struct SceneOptions {
    bool people = true;      // workers at the desks
    bool clearTopLeft = false; // leave the title area of the front end free
    double daylight = 1.0;   // below 1 dims the room
    uint32_t seed = 1;       // which desks are busy, which plants where
};

void DrawOfficeScene(cairo_t* cr, const SceneOptions& options);

// The game's office ground (GFX_GAME_GROUND): only what never changes, the
// back wall (y 44 to 150) with its skirting, the floor, the frame of the
// workshop door and the aisle markings; all furniture is drawn by parts.
void DrawOfficeGround(cairo_t* cr);

} // namespace contentgen
