#pragma once
#include "assets/Picture.h"

#include <cairo.h>

#include <string>

// The pictures of the office's parts, one frame at a time, in the art kit's
// projection and light: people as posed puppets, furniture and devices as lit
// boxes and rounded shapes, indicators and carried items from one icon set.
namespace contentgen {

struct PartFrame {
    std::string part;
    std::string skin;
    std::string orientation;  // "", or one of the five drawn headings
    std::string clip;         // the animation's name
    int frame = 0;
    int frames = 1;
    int width = 0;            // the frame's canvas
    int height = 0;
};

// One frame of a part's animation on a transparent canvas of the frame's size.
Picture DrawPartFrame(const PartFrame& request);

// The item icons shared by shelves, hands, desk plates and bubbles: paper,
// ink, clips, the products 0101 to 0105, the stage overlays 0200, 0300 and
// 0400 (drawn over a product, which stays visible) and money; centred at
// (cx, cy), size pixels across.
void DrawItemIcon(cairo_t* cr, const std::string& word, double cx, double cy, double size);

} // namespace contentgen
