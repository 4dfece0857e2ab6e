// Writes a sample image font for the font tests:
//   make_font_fixture OUTDIR
// OUTDIR/sample.txt is the description (UTF-16 with a byte-order mark), and
// sample12.png, sample12o.png, sample24.png, sample24o.png its glyph sheets:
// printable ASCII rendered in DejaVu Sans by the FreeType text device at em
// heights 12 and 24, white with the coverage as alpha, and the same glyphs
// grown by one pixel for the outline layers. Layers:
//   Main (point sizes up to 17, made for 12) with kerning pairs;
//   Outline (tag OUTLINE): a black outline under Main;
//   Bold (tag BOLD): Main again one pixel to the right;
//   Large (point sizes from 18, made for 24) and LargeOutline (tag OUTLINE).
#include "framework/app/StringUtil.h"
#include "framework/app/Utf16.h"
#include "platform/text/FreeTypeTextDevice.h"
#include "tests/framework/graphics/PngFile.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Sheet {
    int width = 0, height = 0, ascent = 0, descent = 0;
    std::vector<uint32_t> fill, outline;
    std::vector<int> cellWidths, advances, offsetX;
};

// Lays the glyphs of ' '..'~' side by side, each in a cell one pixel wider
// than its ink (or advance) on every side, the baseline at row ascent + 1.
bool MakeSheet(plat::TextDevice& device, int emHeight, Sheet& out)
{
    plat::TextFontDesc desc;
    desc.face = "DejaVu Sans";
    desc.height = emHeight;
    auto font = device.CreateFont(desc);
    if (!font || font->Family() != "DejaVu Sans")
        return false;
    out.ascent = font->Metrics().ascent;
    out.descent = font->Metrics().descent;
    out.height = out.ascent + out.descent + 2;
    for (wchar_t c = 0x20; c <= 0x7E; ++c) {
        const plat::Glyph* g = font->GetGlyph(c);
        if (!g)
            return false;
        int left = std::min(0, g->left), right = std::max(g->advance, g->left + g->width);
        out.cellWidths.push_back(right - left + 2);
        out.advances.push_back(g->advance);
        out.offsetX.push_back(left);
        out.width += right - left + 2;
    }
    out.fill.assign(size_t(out.width) * size_t(out.height), 0);
    int x0 = 0;
    for (wchar_t c = 0x20; c <= 0x7E; ++c) {
        const plat::Glyph* g = font->GetGlyph(c);
        size_t i = size_t(c - 0x20);
        int gx = x0 + 1 + g->left - out.offsetX[i], gy = 1 + out.ascent - g->top;
        for (int row = 0; row < g->rows; ++row)
            for (int col = 0; col < g->width; ++col) {
                int x = gx + col, y = gy + row;
                if (x < 0 || y < 0 || x >= out.width || y >= out.height)
                    continue;
                uint32_t a = g->coverage[size_t(row) * size_t(g->width) + size_t(col)];
                out.fill[size_t(y) * size_t(out.width) + size_t(x)] = a << 24 | 0xFFFFFF;
            }
        x0 += out.cellWidths[i];
    }
    // The outline: each pixel takes the strongest alpha around it.
    out.outline.assign(out.fill.size(), 0);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            uint32_t a = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    int sx = x + dx, sy = y + dy;
                    if (sx >= 0 && sy >= 0 && sx < out.width && sy < out.height)
                        a = std::max(a, out.fill[size_t(sy) * size_t(out.width) + size_t(sx)] >> 24);
                }
            out.outline[size_t(y) * size_t(out.width) + size_t(x)] = a << 24 | 0xFFFFFF;
        }
    return true;
}

std::wstring Quoted(wchar_t c)
{
    if (c == L'"')
        return L"'\"'";
    if (c == L'\\')
        return L"\"\\\\\"";
    return std::wstring(L"\"") + c + L"\"";
}

std::wstring Numbers(const std::vector<int>& values)
{
    std::wstring out = L"(";
    for (size_t i = 0; i < values.size(); ++i)
        out += (i ? L" " : L"") + std::to_wstring(values[i]);
    return out + L")";
}

std::wstring Layers(const Sheet& s, const std::wstring& suffix)
{
    std::wstring chars = L"(";
    for (wchar_t c = 0x20; c <= 0x7E; ++c)
        chars += (c > 0x20 ? L" " : L"") + Quoted(c);
    chars += L")";
    std::wstring offsets = L"(";
    for (size_t i = 0; i < s.offsetX.size(); ++i)
        offsets += (i ? L" (" : L"(") + std::to_wstring(s.offsetX[i]) + L" 0)";
    offsets += L")";
    std::wstring out;
    out += L"Define Chars" + suffix + L" " + chars + L";\n";
    out += L"CreateHorzSpanRectList Rects" + suffix + L" (0 0 0 " + std::to_wstring(s.height) + L") " +
           Numbers(s.cellWidths) + L";\n";
    out += L"Define Widths" + suffix + L" " + Numbers(s.advances) + L";\n";
    out += L"Define Offsets" + suffix + L" " + offsets + L";\n";
    return out;
}

std::wstring LayerBody(const std::wstring& name, const std::wstring& suffix, const Sheet& s)
{
    std::wstring out;
    out += L"LayerSetPointSize " + name + L" " + suffix + L";\n";
    out += L"LayerSetImage " + name + L" 'sample" + suffix + L".png';\n";
    out += L"LayerSetImageMap " + name + L" Chars" + suffix + L" Rects" + suffix + L";\n";
    out += L"LayerSetCharWidths " + name + L" Chars" + suffix + L" Widths" + suffix + L";\n";
    out += L"LayerSetCharOffsets " + name + L" Chars" + suffix + L" Offsets" + suffix + L";\n";
    out += L"LayerSetOffset " + name + L" (-1 -1);\n";
    out += L"LayerSetAscent " + name + L" " + std::to_wstring(s.ascent) + L";\n";
    out += L"LayerSetHeight " + name + L" " + std::to_wstring(s.ascent + s.descent) + L";\n";
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    std::string dir = argv[1];
    plat::FreeTypeTextDevice device;
    Sheet small, large;
    if (!MakeSheet(device, 12, small) || !MakeSheet(device, 24, large)) {
        fprintf(stderr, "DejaVu Sans is not installed\n");
        return 1;
    }
    using Zelk::test::WritePng;
    if (!WritePng(dir + "/sample12.png", small.width, small.height, small.fill) ||
        !WritePng(dir + "/sample12o.png", small.width, small.height, small.outline) ||
        !WritePng(dir + "/sample24.png", large.width, large.height, large.fill) ||
        !WritePng(dir + "/sample24o.png", large.width, large.height, large.outline)) {
        fprintf(stderr, "cannot write the glyph sheets into %s\n", dir.c_str());
        return 1;
    }

    std::wstring d;
    d += L"# Sample image font: printable ASCII from DejaVu Sans at 12 and 24 pixels.\n";
    d += L"# Made by make_font_fixture; the glyph cells are one pixel wider than the\n";
    d += L"# glyphs on every side, hence the layer offset (-1 -1).\n\n";
    d += L"SetDefaultPointSize 12;\n\n";
    d += Layers(small, L"12") + L"\n" + Layers(large, L"24") + L"\n";

    d += L"CreateLayer Main;\nLayerPointRange Main -1 17;\n" + LayerBody(L"Main", L"12", small);
    d += L"LayerSetKerningPairs Main ('AV' 'VA' 'To' 'Te' 'LT' 'Yo') (-1 -1 -1 -1 -1 -1);\n\n";
    d += L"CreateLayerFrom Outline Main;\nLayerRequireTags Outline ('OUTLINE');\n"
         L"LayerSetImage Outline 'sample12o.png';\nLayerSetColorMult Outline 0xFF000000;\n"
         L"LayerSetBaseOrder Outline -1;\n\n";
    d += L"CreateLayerFrom Bold Main;\nLayerRequireTags Bold ('BOLD');\nLayerSetOffset Bold (0 -1);\n\n";
    d += L"CreateLayer Large;\nLayerPointRange Large 18 -1;\n" + LayerBody(L"Large", L"24", large) + L"\n";
    d += L"CreateLayerFrom LargeOutline Large;\nLayerRequireTags LargeOutline ('OUTLINE');\n"
         L"LayerSetImage LargeOutline 'sample24o.png';\nLayerSetColorMult LargeOutline 0xFF000000;\n"
         L"LayerSetBaseOrder LargeOutline -1;\n";

    std::string bytes = "\xFF\xFE" + Zelk::WideToUtf16LE(d);
    FILE* f = fopen((dir + "/sample.txt").c_str(), "wb");
    if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || fclose(f) != 0) {
        fprintf(stderr, "cannot write %s/sample.txt\n", dir.c_str());
        return 1;
    }
    return 0;
}
