#include "ReadabilityRule.h"

#include "XmlRead.h"
#include "framework/fonts/DescParser.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwctype>
#include <map>
#include <set>

namespace contentgen {

namespace {

// Reads which layers have pictures of their own and their tints.
class OutlineReader : public Zelk::DescParser {
public:
    bool Read(const std::wstring& text) { return ReadCommands(text); }
    std::vector<std::wstring> imageLayers;  // in the order their pictures are set
    std::map<std::wstring, uint32_t> tints;

private:
    bool HandleCommand(const Zelk::ListDataElement& params) override
    {
        const auto& values = params.mElementVector;
        if (values.size() < 3 || values[0]->mIsList || values[1]->mIsList)
            return true;
        std::wstring word = static_cast<const Zelk::SingleDataElement*>(values[0])->mString;
        for (wchar_t& c : word)
            c = static_cast<wchar_t>(std::towupper(c));
        const std::wstring layer = static_cast<const Zelk::SingleDataElement*>(values[1])->mString;
        if (word == L"LAYERSETIMAGE") {
            imageLayers.push_back(layer);
        } else if (word == L"LAYERSETCOLORMULT" && values[2]->mIsList) {
            const auto& parts = static_cast<const Zelk::ListDataElement*>(values[2])->mElementVector;
            if (parts.size() != 4)
                return true;
            uint32_t colour = 0;
            for (int i = 0; i < 4; ++i) {
                if (parts[i]->mIsList)
                    return true;
                const double v = std::wcstod(static_cast<const Zelk::SingleDataElement*>(parts[i])->mString.c_str(), nullptr);
                const uint32_t byte = uint32_t(std::lround(std::clamp(v, 0.0, 1.0) * 255));
                // (r g b a) -> AARRGGBB
                colour |= i == 3 ? byte << 24 : byte << (16 - 8 * i);
            }
            tints[layer] = colour;
        }
        return true;
    }
};

double Channel(uint32_t c)
{
    const double v = c / 255.0;
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double Luminance(uint32_t argb)
{
    return 0.2126 * Channel((argb >> 16) & 0xFF) + 0.7152 * Channel((argb >> 8) & 0xFF) + 0.0722 * Channel(argb & 0xFF);
}

// src over dst, straight alpha; dst is opaque.
uint32_t Over(uint32_t src, uint32_t dst)
{
    const uint32_t a = src >> 24;
    uint32_t out = 0xFF000000;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t s = (src >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
        out |= ((s * a + d * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

struct Canvas {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(800 * 600, 0xFF000000);

    void Draw(const DecodedPicture& picture, long u, long v, long x, long y, long w, long h)
    {
        for (long row = 0; row < h; ++row)
            for (long col = 0; col < w; ++col) {
                const long px = u + col, py = v + row, sx = x + col, sy = y + row;
                if (px < 0 || py < 0 || px >= picture.width || py >= picture.height || sx < 0 || sy < 0 || sx >= 800 ||
                    sy >= 600)
                    continue;
                uint32_t& d = pixels[size_t(sy) * 800 + size_t(sx)];
                d = Over(picture.At(int(px), int(py)), d);
            }
    }
};

class Painter {
public:
    Painter(const TexturePicture& picture, const std::map<std::string, uint32_t>& outlines, std::vector<Finding>& findings)
        : mPicture(picture), mOutlines(outlines), mFindings(findings)
    {
    }

    void Paint(const plat::XmlNode& element, const std::string& path, long x, long y, Canvas& canvas)
    {
        const long w = Int(Attr(element, L"width"), 0), h = Int(Attr(element, L"height"), 0);
        const DecodedPicture* normal = nullptr;
        const DecodedPicture* over = nullptr;
        long u = 0, v = 0, overU = 0, overV = 0;
        for (const plat::XmlNode& texture : Elements(element, L"texture")) {
            const std::string state = Attr(texture, L"id");
            const std::string id = Attr(texture, L"texture");
            if (id.empty() || id[0] == '+' || Attr(texture, L"mode") == "additive")
                continue;
            if (state == "normal") {
                normal = mPicture(id);
                u = Int(Attr(texture, L"u"), 0);
                v = Int(Attr(texture, L"v"), 0);
            } else if (state == "over") {
                over = mPicture(id);
                overU = Int(Attr(texture, L"u"), 0);
                overV = Int(Attr(texture, L"v"), 0);
            }
        }
        Canvas before;
        if (over)
            before = canvas;
        if (normal)
            canvas.Draw(*normal, u, v, x, y, w, h);
        JudgeText(element, path, x, y, w, h, canvas, L"color");
        if (over) {
            before.Draw(*over, overU, overV, x, y, w, h);
            JudgeText(element, path, x, y, w, h, before, L"hcolor");
        }
        // Dialogs of one box are pages the game shows one at a time: each
        // is painted over what lay there before the first of them.
        std::map<std::string, Canvas> pages;
        for (const plat::XmlNode& child : Elements(element, L"element")) {
            const long cx = x + Int(Attr(child, L"x"), 0), cy = y + Int(Attr(child, L"y"), 0);
            if (Attr(child, L"type") != "quordialog") {
                Paint(child, path + "/" + Attr(child, L"name"), cx, cy, canvas);
                continue;
            }
            const std::string box = std::to_string(cx) + "," + std::to_string(cy) + "," + Attr(child, L"width") + "," +
                                    Attr(child, L"height");
            auto page = pages.find(box);
            if (page == pages.end()) {
                pages[box] = canvas;
                Paint(child, path + "/" + Attr(child, L"name"), cx, cy, canvas);
            } else {
                Canvas alone = page->second;
                Paint(child, path + "/" + Attr(child, L"name"), cx, cy, alone);
            }
        }
    }

private:
    void JudgeText(const plat::XmlNode& element, const std::string& path, long x, long y, long w, long h,
                   const Canvas& canvas, const wchar_t* colourName)
    {
        std::string font;
        std::string colour;
        uint32_t outline = 0;
        bool outlined = false;
        for (const plat::XmlNode& layer : Elements(element, L"textattr")) {
            const std::string id = Attr(layer, L"id");
            const std::string value = Attr(layer, colourName).empty() ? Attr(layer, L"color") : Attr(layer, colourName);
            if (id == "normal") {
                font = Attr(layer, L"font");
                colour = value;
            } else if (id == "stroke" && !Attr(layer, L"font").empty() && value.size() == 8 &&
                       std::strtoul(value.substr(0, 2).c_str(), nullptr, 16) >= 0xC0) {
                outline = uint32_t(std::strtoul(value.c_str(), nullptr, 16));
                outlined = true;
            }
        }
        if (font.empty() || colour.size() != 8 || w <= 0 || h <= 0)
            return;
        const uint32_t text = uint32_t(std::strtoul(colour.c_str(), nullptr, 16));
        if ((text >> 24) < 0x80)
            return;  // a layer that does not show
        auto fontOutline = mOutlines.find(font);
        if (!outlined && fontOutline != mOutlines.end()) {
            outline = fontOutline->second;
            outlined = true;
        }
        const bool title = font == "title" || font == "big";
        const double need = title ? 3.0 : 4.5;
        double contrast = 0;
        std::string against;
        if (outlined) {
            contrast = Contrast(text | 0xFF000000, outline | 0xFF000000);
            against = "its outline";
        } else {
            std::vector<double> contrasts;
            for (long row = std::max(0L, y); row < std::min(600L, y + h); ++row)
                for (long col = std::max(0L, x); col < std::min(800L, x + w); ++col)
                    contrasts.push_back(Contrast(Over(text, canvas.pixels[size_t(row) * 800 + size_t(col)]),
                                                 canvas.pixels[size_t(row) * 800 + size_t(col)]));
            if (contrasts.empty())
                return;
            std::sort(contrasts.begin(), contrasts.end());
            contrast = contrasts[contrasts.size() / 2];
            against = "what lies under it";
        }
        if (contrast + 1e-9 < need) {
            char buffer[160];
            std::snprintf(buffer, sizeof buffer, "%s %s reads at %.1f:1 against %s, below %.1f:1",
                          colourName == std::wstring(L"color") ? "text colour" : "hover colour", colour.c_str(), contrast,
                          against.c_str(), need);
            mFindings.push_back({"cfg\\ui.xml", path, buffer});
        }
    }

    const TexturePicture& mPicture;
    const std::map<std::string, uint32_t>& mOutlines;
    std::vector<Finding>& mFindings;
};

// Where the game shows each layout: over the front-end backdrop, or over the
// office (the others bring their own full-screen pictures).
const std::set<std::string>& FrontEndLayouts()
{
    static const std::set<std::string> names = {"main_menu", "career", "survival", "options", "help", "hiscores"};
    return names;
}

const std::set<std::string>& OfficeLayouts()
{
    static const std::set<std::string> names = {"hud", "briefing", "debriefing", "escape_menu", "upgrade",
                                                "dialogbox_2button"};
    return names;
}

} // namespace

double Contrast(uint32_t a, uint32_t b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool FontOutline(const std::wstring& description, uint32_t& colour)
{
    OutlineReader reader;
    if (!reader.Read(description))
        return false;
    for (size_t i = 1; i < reader.imageLayers.size(); ++i) {
        auto tint = reader.tints.find(reader.imageLayers[i]);
        if (tint != reader.tints.end()) {
            colour = tint->second;
            return true;
        }
    }
    return false;
}

void CheckReadability(const plat::XmlNode& ui, const TexturePicture& picture, const Backdrops& backdrops,
                      const std::map<std::string, uint32_t>& fontOutlines, std::vector<Finding>& findings)
{
    Painter painter(picture, fontOutlines, findings);
    for (const plat::XmlNode& layout : Elements(ui, L"element")) {
        const std::string name = Attr(layout, L"name");
        Canvas canvas;
        const DecodedPicture* backdrop = FrontEndLayouts().count(name) ? backdrops.frontEnd
                                         : OfficeLayouts().count(name) ? backdrops.floor
                                                                       : nullptr;
        if (backdrop)
            canvas.Draw(*backdrop, 0, 0, 0, 0, 800, 600);
        painter.Paint(layout, name, Int(Attr(layout, L"x"), 0), Int(Attr(layout, L"y"), 0), canvas);
    }
}

} // namespace contentgen
