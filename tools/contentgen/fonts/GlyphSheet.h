#pragma once
#include "assets/Picture.h"

#include <string>
#include <vector>

// Glyphs of one face at one pixel size, rendered by FreeType: white with the
// coverage as alpha, as filled letters and as letters grown by a stroke, in
// cells of one line's height laid out on a sheet.
namespace contentgen {

struct GlyphCell {
    wchar_t ch = 0;
    int x = 0, y = 0, width = 0, height = 0; // the cell on the sheet
    int advance = 0;                        // pen step in pixels
    int offsetX = 0, offsetY = 0;           // cell corner relative to the pen at the line top
};

struct GlyphSheet {
    int ascent = 0, descent = 0, lineHeight = 0;
    std::vector<GlyphCell> cells; // in the order of the glyph set
    Picture fill, stroke;         // stroke is empty when no stroke was asked for
    std::vector<std::pair<std::wstring, int>> kerning; // two letters, pixels
};

// The glyph set of every font: U+0020..U+007E and U+00A0..U+00FF.
std::vector<wchar_t> GlyphSet();

// bold picks DejaVu Sans Bold, else Book. strokeRadius 0: no stroke picture.
// oneRow lays the cells side by side in one strip, else on a sheet of at most
// sheetWidth pixels. Throws when the face is not installed.
GlyphSheet RenderGlyphSheet(bool bold, int pixelSize, double strokeRadius, bool oneRow, int sheetWidth = 512);

} // namespace contentgen
