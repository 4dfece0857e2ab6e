#pragma once
#include "LayoutRules.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace contentgen {

// The colour (0xAARRGGBB) of the outline an image font draws around every
// glyph: a layer of its own picture behind the fill, tinted by
// LayerSetColorMult. False for a font without one.
bool FontOutline(const std::wstring& description, uint32_t& colour);

// What lies under the layouts: the front-end backdrop or the office floor.
struct Backdrops {
    const DecodedPicture* frontEnd = nullptr;
    const DecodedPicture* floor = nullptr;
};

// The readability rule of cfg\ui.xml: every text reads against what is
// really under it at its screen position. Each layout is painted as the game
// draws it (the backdrop the game shows it over, then every element's
// picture in drawing order); a text's colour, and its hover colour over its
// "over" picture, has a contrast of at least 4.5:1 (3:1 in the title fonts)
// with the outline its font or its "stroke" layer draws, or else with the
// pixels under its box (the median of their contrasts: the glyphs stand in
// the middle, away from a cell's rim). Dialogs of one box are pages shown one
// at a time.
void CheckReadability(const plat::XmlNode& ui, const TexturePicture& picture, const Backdrops& backdrops,
                      const std::map<std::string, uint32_t>& fontOutlines, std::vector<Finding>& findings);

// The contrast of two opaque colours (1 to 21), as accessibility guidance
// defines it over their relative luminance.
double Contrast(uint32_t a, uint32_t b);

} // namespace contentgen
