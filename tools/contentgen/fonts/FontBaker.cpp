// The image fonts of fonts\: glyph sheets rendered from DejaVu Sans and the
// descriptions that map them, written as UTF-16LE without a byte-order mark.
#include "assets/Assets.h"
#include "assets/ImageFiles.h"
#include "fonts/GlyphSheet.h"

#include "framework/app/StringUtil.h"
#include "framework/app/Utf16.h"

namespace contentgen {

namespace {

std::wstring Quoted(wchar_t c)
{
    if (c == L'"')
        return L"'\"'";
    if (c == L'\\')
        return L"\"\\\\\"";
    return std::wstring(L"\"") + c + L"\"";
}

std::wstring Num(int v)
{
    return std::to_wstring(v);
}

// The defines every layer of a sheet uses: Chars, Widths, Offsets and Rects
// (a rectangle per glyph, or one strip of spans).
std::wstring Defines(const GlyphSheet& s, bool strip)
{
    std::wstring chars, widths, offsets, rects;
    for (const GlyphCell& c : s.cells) {
        bool first = chars.empty();
        chars += (first ? L"" : L" ") + Quoted(c.ch);
        widths += (first ? L"" : L" ") + Num(c.advance);
        offsets += (first ? L"(" : L" (") + Num(c.offsetX) + L" " + Num(c.offsetY) + L")";
        if (strip)
            rects += (first ? L"" : L" ") + Num(c.width);
        else
            rects += (first ? L"(" : L" (") + Num(c.x) + L" " + Num(c.y) + L" " + Num(c.width) + L" " + Num(c.height) +
                     L")";
    }
    std::wstring out = L"Define Chars (" + chars + L");\n";
    if (strip)
        out += L"CreateHorzSpanRectList Rects (0 0 0 " + Num(s.cells.front().height) + L") (" + rects + L");\n";
    else
        out += L"Define Rects (" + rects + L");\n";
    out += L"Define Widths (" + widths + L");\n";
    out += L"Define Offsets (" + offsets + L");\n";
    return out;
}

// A layer drawing the glyphs of image over Chars and Rects.
std::wstring Layer(const std::wstring& name, const std::wstring& image, const GlyphSheet& s)
{
    std::wstring out = L"CreateLayer " + name + L";\n";
    out += L"LayerSetImage " + name + L" '" + image + L"';\n";
    out += L"LayerSetImageMap " + name + L" Chars Rects;\n";
    out += L"LayerSetCharWidths " + name + L" Chars Widths;\n";
    out += L"LayerSetCharOffsets " + name + L" Chars Offsets;\n";
    out += L"LayerSetAscent " + name + L" " + Num(s.ascent) + L";\n";
    out += L"LayerSetHeight " + name + L" " + Num(s.lineHeight) + L";\n";
    return out;
}

std::wstring Kerning(const std::wstring& layer, const GlyphSheet& s)
{
    if (s.kerning.empty())
        return L"";
    std::wstring pairs, values;
    for (const auto& k : s.kerning) {
        pairs += (pairs.empty() ? L"'" : L" '") + k.first + L"'";
        values += (values.empty() ? L"" : L" ") + Num(k.second);
    }
    return L"LayerSetKerningPairs " + layer + L" (" + pairs + L") (" + values + L");\n";
}

std::vector<uint8_t> Utf16NoMark(const std::wstring& text)
{
    std::string bytes = Zelk::WideToUtf16LE(text);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

std::wstring Header(const std::wstring& what)
{
    return L"# " + what + L"\n# Rendered from DejaVu Sans by contentgen.\n\n";
}

void AddSheet(std::vector<OutFile>& files, const std::string& stem, const GlyphSheet& s)
{
    files.push_back(OutFile{"fonts\\" + stem + "_fill.png", EncodePng(s.fill)});
    if (s.stroke.width > 0)
        files.push_back(OutFile{"fonts\\" + stem + "_stroke.png", EncodePng(s.stroke)});
}

void AddDescription(std::vector<OutFile>& files, const std::string& name, const std::wstring& text)
{
    files.push_back(OutFile{"fonts\\" + name + ".txt", Utf16NoMark(text)});
}

} // namespace

std::vector<OutFile> BakeSmallPrint()
{
    std::vector<OutFile> files;
    // One strip of spans; the "outline" tag swaps the plain layer for the outlined one.
    GlyphSheet tiny = RenderGlyphSheet(false, 10, 1.0, true);
    AddSheet(files, "tiny", tiny);
    std::wstring d = Header(L"Small print: DejaVu Sans Book 10 px in one strip; the tag outline picks the outlined layer.");
    d += L"SetDefaultPointSize 10;\n" + Defines(tiny, true) + L"\n";
    d += Layer(L"PLAIN", L"tiny_fill.png", tiny) + L"LayerExcludeTags PLAIN ('outline');\n\n";
    d += Layer(L"OUTLINE", L"tiny_stroke.png", tiny) + L"LayerRequireTags OUTLINE ('outline');\n"
                                                       L"LayerSetColorMult OUTLINE (0.06 0.14 0.23 1);\n\n";
    d += Layer(L"OUTLINE_FILL", L"tiny_fill.png", tiny) + L"LayerRequireTags OUTLINE_FILL ('outline');\n";
    AddDescription(files, "tiny", d);
    return files;
}

std::vector<OutFile> BakeFonts()
{
    std::vector<OutFile> files;

    // Titles: fill with every layer setting, a dark stroke, a shadow and a glow
    // that only a "glow" tag turns on.
    GlyphSheet title = RenderGlyphSheet(true, 30, 2.0, false);
    AddSheet(files, "title", title);
    std::wstring d = Header(L"Titles: DejaVu Sans Bold 30 px with outline, shadow and glow.");
    d += L"SetDefaultPointSize 30;\n" + Defines(title, false);
    d += L"Define Digits (\"0\" \"1\" \"2\" \"3\" \"4\" \"5\" \"6\" \"7\" \"8\" \"9\");\n\n";
    d += Layer(L"FILL", L"title_fill.png", title);
    d += L"LayerSetAscentPadding FILL 0;\nLayerSetLineSpacingOffset FILL 2;\nLayerSetSpacing FILL 0;\n";
    d += Kerning(L"FILL", title);
    d += L"LayerSetPointSize FILL 30;\nLayerSetCharOrders FILL Digits (1 1 1 1 1 1 1 1 1 1);\n";
    d += L"LayerSetCharOffsetsShift FILL 0;\n\n";
    d += L"CreateLayerFrom OUTLINE FILL;\nLayerSetImage OUTLINE 'title_stroke.png';\n"
         L"LayerSetColorMult OUTLINE (0.06 0.14 0.23 1);\nLayerSetBaseOrder OUTLINE -1;\n\n";
    d += L"CreateLayerFrom SHADOW FILL;\nLayerSetOffset SHADOW (3 3);\nLayerSetColorMult SHADOW 0x80000000;\n"
         L"LayerSetBaseOrder SHADOW -2;\n\n";
    d += L"CreateLayerFrom GLOW FILL;\nLayerSetDrawMode GLOW 1;\nLayerSetColorAdd GLOW (0.3 0.25 0 0);\n"
         L"LayerRequireTags GLOW ('glow');\n";
    AddDescription(files, "title", d);

    GlyphSheet big = RenderGlyphSheet(true, 24, 2.0, false);
    AddSheet(files, "big", big);
    d = Header(L"Money and scores: DejaVu Sans Bold 24 px with an outline.");
    d += L"SetDefaultPointSize 24;\n" + Defines(big, false) + L"\n";
    d += Layer(L"FILL", L"big_fill.png", big) + Kerning(L"FILL", big) + L"\n";
    d += Layer(L"OUTLINE", L"big_stroke.png", big) + L"LayerSetColorMult OUTLINE (0.06 0.14 0.23 1);\n"
                                                     L"LayerSetBaseOrder OUTLINE -1;\n";
    AddDescription(files, "big", d);

    // The three text layers of the buttons, one description each.
    GlyphSheet button = RenderGlyphSheet(true, 17, 1.5, false);
    AddSheet(files, "button", button);
    const struct {
        const char* name;
        const wchar_t* what;
        const wchar_t* image;
        const wchar_t* extra;
    } kButton[] = {
        {"button", L"Button labels", L"button_fill.png", L""},
        {"button_outline", L"Button label outlines", L"button_stroke.png", L""},
        {"button_shadow", L"Button label shadows", L"button_fill.png", L"LayerSetOffset MAIN (2 2);\n"},
    };
    for (const auto& b : kButton) {
        d = Header(std::wstring(b.what) + L": DejaVu Sans Bold 17 px.");
        d += L"SetDefaultPointSize 17;\n" + Defines(button, false) + L"\n";
        d += Layer(L"MAIN", b.image, button) + b.extra;
        AddDescription(files, b.name, d);
    }

    GlyphSheet text = RenderGlyphSheet(false, 15, 0.0, false);
    AddSheet(files, "text", text);
    d = Header(L"Body text: DejaVu Sans Book 15 px, for every point size.");
    d += L"SetDefaultPointSize 15;\n" + Defines(text, false) + L"\n";
    d += Layer(L"FILL", L"text_fill.png", text) + L"LayerPointRange FILL 1 999;\n" + Kerning(L"FILL", text);
    AddDescription(files, "text", d);

    GlyphSheet hud = RenderGlyphSheet(true, 16, 0.0, false);
    AddSheet(files, "hud", hud);
    d = Header(L"HUD: DejaVu Sans Bold 16 px; a small and a large layer over the same glyphs.");
    d += L"SetDefaultPointSize 16;\n" + Defines(hud, false) + L"\n";
    d += Layer(L"SMALL", L"hud_fill.png", hud) + L"LayerPointRange SMALL 1 17;\n\n";
    d += Layer(L"LARGE", L"hud_fill.png", hud) + L"LayerPointRange LARGE 18 99;\nLayerSetSpacing LARGE 1;\n";
    AddDescription(files, "hud", d);

    GlyphSheet popup = RenderGlyphSheet(true, 20, 2.0, false);
    AddSheet(files, "popup", popup);
    d = Header(L"Cash and bonus pop-ups: DejaVu Sans Bold 20 px.");
    d += L"SetDefaultPointSize 20;\n" + Defines(popup, false) + L"\n" + Layer(L"MAIN", L"popup_fill.png", popup);
    AddDescription(files, "popup", d);
    d = Header(L"Outlines of the cash and bonus pop-ups: DejaVu Sans Bold 20 px.");
    d += L"SetDefaultPointSize 20;\n" + Defines(popup, false) + L"\n" + Layer(L"MAIN", L"popup_stroke.png", popup);
    AddDescription(files, "popup_outline", d);

    const std::vector<OutFile> small = BakeSmallPrint();
    files.insert(files.end(), small.begin(), small.end());
    return files;
}

} // namespace contentgen
