#pragma once
#include <cairo.h>

#include <string>

// A jointed figure built from the art kit's shapes, posed per picture: arms
// swing at the shoulders, the head turns with the heading, the mouth shows
// the mood. Headings are the five drawn ones (t, tr, r, br, b); the mirrored
// ones reuse them flipped.
namespace contentgen {

enum class Look { Man, Woman, Student, Clerk, Worker, Secretary, Engineer, Lady, Banker, Vip };

struct Pose {
    std::string heading = "b";
    double leftArm = 0.15;  // radians from hanging down, outwards positive
    double rightArm = 0.15;
    int mood = 0;           // -1 unhappy, 0 calm, 1 happy
    double stride = 0;      // walking: -1..1, the left leg forward when positive
    double lift = 0;        // the whole figure raised (units of a 100-unit figure)
    bool seated = false;    // only the upper body, sitting behind a desk
    int variant = 0;        // the workers' four looks: 0..3
};

// Draws the figure with its feet at (x, feetY); height is the full figure.
void DrawPuppet(cairo_t* cr, double x, double feetY, double height, Look look, const Pose& pose);

} // namespace contentgen
