#include "fonts/GlyphSheet.h"

#include "assets/ShelfPacker.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_STROKER_H

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace contentgen {

namespace {

const char* const kFaceFiles[2] = {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                   "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"};

struct Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    FT_Stroker stroker = nullptr;
    Face(bool bold, int pixelSize)
    {
        if (FT_Init_FreeType(&library) != 0)
            throw std::runtime_error("FreeType (libfreetype-dev) does not start");
        const char* file = kFaceFiles[bold ? 1 : 0];
        if (FT_New_Face(library, file, 0, &face) != 0)
            throw std::runtime_error(std::string("cannot open ") + file + ": install the package fonts-dejavu-core");
        FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize));
        FT_Stroker_New(library, &stroker);
    }
    ~Face()
    {
        FT_Stroker_Done(stroker);
        FT_Done_Face(face);
        FT_Done_FreeType(library);
    }
};

// A rendered glyph bitmap with its position relative to the pen on the baseline.
struct Ink {
    int left = 0, top = 0, width = 0, rows = 0;
    std::vector<uint8_t> coverage;
};

Ink Render(FT_Face face, FT_Stroker stroker, wchar_t ch, double strokeRadius, int* advance)
{
    Ink ink;
    if (FT_Load_Char(face, FT_ULong(ch), FT_LOAD_DEFAULT) != 0)
        throw std::runtime_error("FreeType cannot load a glyph of DejaVu Sans");
    if (advance)
        *advance = int((face->glyph->advance.x + 32) >> 6);
    FT_Glyph glyph = nullptr;
    FT_Get_Glyph(face->glyph, &glyph);
    if (strokeRadius > 0) {
        FT_Stroker_Set(stroker, FT_Fixed(strokeRadius * 64), FT_STROKER_LINECAP_ROUND, FT_STROKER_LINEJOIN_ROUND, 0);
        FT_Glyph_StrokeBorder(&glyph, stroker, 0, 1);
    }
    if (FT_Glyph_To_Bitmap(&glyph, FT_RENDER_MODE_NORMAL, nullptr, 1) == 0) {
        auto* bitmap = reinterpret_cast<FT_BitmapGlyph>(glyph);
        ink.left = bitmap->left;
        ink.top = bitmap->top;
        ink.width = int(bitmap->bitmap.width);
        ink.rows = int(bitmap->bitmap.rows);
        for (int r = 0; r < ink.rows; ++r)
            for (int c = 0; c < ink.width; ++c)
                ink.coverage.push_back(bitmap->bitmap.buffer[r * bitmap->bitmap.pitch + c]);
    }
    FT_Done_Glyph(glyph);
    return ink;
}

void Draw(Picture& sheet, const Ink& ink, int x, int y)
{
    for (int r = 0; r < ink.rows; ++r)
        for (int c = 0; c < ink.width; ++c) {
            int px = x + c, py = y + r;
            if (px < 0 || py < 0 || px >= sheet.width || py >= sheet.height)
                continue;
            uint32_t a = ink.coverage[size_t(r) * size_t(ink.width) + size_t(c)];
            if (a)
                sheet.At(px, py) = a << 24 | 0xFFFFFF;
        }
}

} // namespace

std::vector<wchar_t> GlyphSet()
{
    std::vector<wchar_t> set;
    for (wchar_t c = 0x20; c <= 0x7E; ++c)
        set.push_back(c);
    for (wchar_t c = 0xA0; c <= 0xFF; ++c)
        set.push_back(c);
    return set;
}

GlyphSheet RenderGlyphSheet(bool bold, int pixelSize, double strokeRadius, bool oneRow, int sheetWidth)
{
    Face f(bold, pixelSize);
    GlyphSheet s;
    s.ascent = int(f.face->size->metrics.ascender >> 6);
    s.descent = int(-f.face->size->metrics.descender >> 6);
    const int pad = 1 + int(std::ceil(strokeRadius));
    s.lineHeight = s.ascent + s.descent;
    const int cellHeight = s.lineHeight + 2 * pad;

    std::vector<Ink> fills, strokes;
    std::vector<std::pair<int, int>> sizes;
    for (wchar_t ch : GlyphSet()) {
        GlyphCell cell;
        cell.ch = ch;
        fills.push_back(Render(f.face, f.stroker, ch, 0.0, &cell.advance));
        strokes.push_back(strokeRadius > 0 ? Render(f.face, f.stroker, ch, strokeRadius, nullptr) : Ink());
        const Ink& wide = strokeRadius > 0 ? strokes.back() : fills.back();
        int left = std::min({0, fills.back().left, wide.left});
        int right = std::max({cell.advance, fills.back().left + fills.back().width, wide.left + wide.width});
        cell.width = right - left + 2 * pad;
        cell.height = cellHeight;
        cell.offsetX = left - pad;
        cell.offsetY = -pad;
        sizes.push_back({cell.width, cell.height});
        s.cells.push_back(cell);
    }
    int width = 0;
    if (oneRow) {
        for (GlyphCell& cell : s.cells) {
            cell.x = width;
            width += cell.width;
        }
        s.fill = Picture(width, cellHeight);
    } else {
        ShelfPacker packer(sheetWidth, 0, 0);
        std::vector<PackedSpot> spots = packer.Pack(sizes);
        for (size_t i = 0; i < spots.size(); ++i) {
            s.cells[i].x = spots[i].x;
            s.cells[i].y = spots[i].y;
        }
        s.fill = Picture(sheetWidth, packer.UsedHeight());
    }
    if (strokeRadius > 0)
        s.stroke = Picture(s.fill.width, s.fill.height);
    for (size_t i = 0; i < s.cells.size(); ++i) {
        const GlyphCell& c = s.cells[i];
        // The cell's left edge is at pen + offsetX, its top at the line top - pad.
        int baseX = c.x - c.offsetX, baseY = c.y + pad + s.ascent;
        Draw(s.fill, fills[i], baseX + fills[i].left, baseY - fills[i].top);
        if (strokeRadius > 0)
            Draw(s.stroke, strokes[i], baseX + strokes[i].left, baseY - strokes[i].top);
    }
    if (FT_HAS_KERNING(f.face)) {
        const std::wstring letters = L"AFLPTVWYavwyoe.,";
        for (wchar_t a : letters)
            for (wchar_t b : letters) {
                FT_Vector k;
                FT_Get_Kerning(f.face, FT_Get_Char_Index(f.face, FT_ULong(a)), FT_Get_Char_Index(f.face, FT_ULong(b)),
                               FT_KERNING_DEFAULT, &k);
                int px = int(std::lround(double(k.x) / 64.0));
                if (px != 0)
                    s.kerning.push_back({std::wstring{a, b}, px});
            }
    }
    return s;
}

} // namespace contentgen
