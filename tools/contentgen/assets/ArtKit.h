#pragma once
#include "assets/Picture.h"

#include <cairo.h>

#include <string>

// The art kit: one palette and one projection for every picture (the scene
// is seen from the south and above, light falls from the upper left), and
// the shapes the pictures are built from, drawn with cairo.
namespace contentgen {

namespace palette {
const uint32_t kFloor = 0xFFD9B07A;     // warm wooden floor
const uint32_t kFloorDark = 0xFFB98F5C;
const uint32_t kWall = 0xFF3E8A87;      // teal walls
const uint32_t kWallDark = 0xFF2C6663;
const uint32_t kNavy = 0xFF1E2F4D;      // panels
const uint32_t kNavyLight = 0xFF2E4670;
const uint32_t kYellow = 0xFFF2C230;    // accents
const uint32_t kCream = 0xFFFFF4DC;
const uint32_t kWood = 0xFF9A6A3F;
const uint32_t kSkin = 0xFFF0C8A0;
const uint32_t kSuitMan = 0xFF34495E;
const uint32_t kSuitWoman = 0xFF8E3B5A;
const uint32_t kPlant = 0xFF4E9A4A;
const uint32_t kRed = 0xFFD9534F;
const uint32_t kGreen = 0xFF5CB85C;
const uint32_t kText = 0xFF1E2A3A;
} // namespace palette

// Scales the colour's red, green and blue (light > 1 brightens).
uint32_t Shade(uint32_t argb, double light);
// A colour part way from a to b.
uint32_t Mix(uint32_t a, uint32_t b, double t);

// A cairo drawing surface of one picture's size.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    cairo_t* cr() const { return mCr; }
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    // The pixels with straight alpha.
    Picture Take();

private:
    int mWidth, mHeight;
    cairo_surface_t* mSurface;
    cairo_t* mCr;
};

void SetColor(cairo_t* cr, uint32_t argb);
// Fills the current path with a gradient from (x0, y0) to (x1, y1).
void FillWithGradient(cairo_t* cr, double x0, double y0, double x1, double y1, uint32_t from, uint32_t to);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void FillRoundedRect(cairo_t* cr, double x, double y, double w, double h, double r, uint32_t argb);
// A rounded panel: navy body lit from the upper left, a yellow rim.
void Panel(cairo_t* cr, double x, double y, double w, double h, uint32_t body = palette::kNavy,
           uint32_t rim = palette::kYellow);
// A box standing on the floor: front face (x, y, w, h), its top face depth
// deep above it, lighter, both shaded from the left.
void ShadedBox(cairo_t* cr, double x, double y, double w, double h, double depth, uint32_t argb);
// An upright cylinder: its top ellipse centred at (cx, top), radius rx.
void Cylinder(cairo_t* cr, double cx, double top, double rx, double height, uint32_t argb);
// A lit ellipsoid centred at (cx, cy).
void Ellipsoid(cairo_t* cr, double cx, double cy, double rx, double ry, uint32_t argb);
// A soft shadow on the floor.
void FloorShadow(cairo_t* cr, double cx, double cy, double rx, double ry);
// Strokes the current path as an accent: a navy rim of width + 3 under a
// yellow line of width, then clears the path.
void StrokeAccent(cairo_t* cr, double width);
// A five-pointed star.
void Star(cairo_t* cr, double cx, double cy, double outer, double inner, uint32_t argb);
// Text in DejaVu Sans (Bold when asked) with its left end of the baseline at
// (x, y); centred on x when centre is set; outlined in a dark rim of the given
// width when outline > 0. Throws when the face is not installed.
void Text(cairo_t* cr, const std::string& utf8, double x, double y, double size, bool bold, uint32_t argb,
          bool centre = false, double outline = 0);

} // namespace contentgen
