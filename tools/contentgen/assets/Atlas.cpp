// The UI atlases: every button state and widget piece the layouts use,
// drawn at its size and packed shelf by shelf onto pages of 1024 x 1024.
#include "assets/Assets.h"
#include "assets/ArtKit.h"
#include "assets/ImageFiles.h"
#include "assets/ShelfPacker.h"

#include <cmath>
#include <stdexcept>

namespace contentgen {

namespace {

const int kPage = 1024;

// Body colours of a control in a state.
uint32_t StateColour(const std::string& state, uint32_t normal)
{
    if (state == "over" || state == "check_over")
        return Shade(normal, 1.25);
    if (state == "down")
        return Shade(normal, 0.8);
    if (state == "disabled" || state == "check_disabled")
        return 0xFF6E7680;
    return normal;
}

void Button(cairo_t* cr, const std::string& state, double w, double h)
{
    uint32_t body = StateColour(state, 0xFF2F6FB0);
    double press = state == "down" ? 1.5 : 0;
    double r = std::min(12.0, h / 3);
    FillRoundedRect(cr, 1, 2, w - 2, h - 2, r, 0x60000000);
    RoundedRect(cr, 1, 1 + press, w - 3, h - 4, r);
    cairo_path_t* outline = cairo_copy_path(cr);
    FillWithGradient(cr, 0, 0, 0, h, Shade(body, 1.3), body);
    cairo_append_path(cr, outline);
    cairo_path_destroy(outline);
    SetColor(cr, state == "disabled" ? 0xFF9AA3AE : palette::kYellow);
    cairo_set_line_width(cr, state == "over" ? 2.5 : 1.5);
    cairo_stroke(cr);
}

void Tick(cairo_t* cr, double w, double h, uint32_t colour)
{
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, std::max(2.0, w / 7));
    cairo_move_to(cr, w * 0.22, h * 0.52);
    cairo_line_to(cr, w * 0.42, h * 0.74);
    cairo_line_to(cr, w * 0.8, h * 0.26);
    SetColor(cr, 0xFF10233A);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, std::max(1.0, w / 12));
    SetColor(cr, colour);
    cairo_stroke(cr);
}

void Arrow(cairo_t* cr, double w, double h, bool up)
{
    cairo_move_to(cr, w * 0.25, up ? h * 0.62 : h * 0.38);
    cairo_line_to(cr, w * 0.5, up ? h * 0.32 : h * 0.68);
    cairo_line_to(cr, w * 0.75, up ? h * 0.62 : h * 0.38);
    cairo_close_path(cr);
    SetColor(cr, 0xFFFFFFFF);
    cairo_fill(cr);
}

void Ring(cairo_t* cr, double w, double h, uint32_t colour)
{
    cairo_save(cr);
    cairo_translate(cr, w / 2, h / 2);
    cairo_scale(cr, w / 2 - 3, h / 2 - 3);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_set_line_width(cr, 4);
    SetColor(cr, colour);
    cairo_stroke(cr);
}

void DrawItem(cairo_t* cr, const AtlasItem& item)
{
    const std::string& k = item.kind;
    const std::string& s = item.state;
    const double w = item.width, h = item.height;
    if (k == "button") {
        Button(cr, s, w, h);
    } else if (k == "check") {
        FillRoundedRect(cr, 2, 2, w - 4, h - 4, 6, StateColour(s, palette::kCream));
        RoundedRect(cr, 2, 2, w - 4, h - 4, 6);
        SetColor(cr, s == "over" || s == "check_over" ? palette::kYellow : palette::kNavy);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        if (s.rfind("check_", 0) == 0)
            Tick(cr, w, h, s == "check_disabled" ? 0xFFB0B0B0 : palette::kGreen);
    } else if (k == "slider_back" || k == "list_back" || k == "edit_back") {
        FillRoundedRect(cr, 0, 0, w, h, std::min(8.0, h / 2), s == "disabled" ? 0xFFC9CDD2 : 0xFFF7F3E8);
        RoundedRect(cr, 0.75, 0.75, w - 1.5, h - 1.5, std::min(8.0, h / 2));
        SetColor(cr, palette::kNavyLight);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    } else if (k == "bar_fill" || k == "bar_empty") {
        cairo_rectangle(cr, 0, 0, w, h);
        SetColor(cr, k == "bar_fill" ? palette::kYellow : 0xFF3A4450);
        cairo_fill(cr);
        cairo_rectangle(cr, w - 1, 0, 1, h);
        SetColor(cr, 0x50000000);
        cairo_fill(cr);
    } else if (k == "thumb") {
        Ellipsoid(cr, w / 2, h / 2, w / 2 - 1, h / 2 - 1, StateColour(s, palette::kYellow));
    } else if (k == "scroll_up" || k == "scroll_down") {
        Button(cr, s, w, h);
        Arrow(cr, w, h, k == "scroll_up");
    } else if (k == "tick") {
        Tick(cr, w, h, palette::kGreen);
    } else if (k == "ring" || k == "calendar_mark") {
        Ring(cr, w, h, palette::kRed);
    } else if (k == "mark") {
        Star(cr, w / 2, h / 2, std::min(w, h) / 2 - 1, std::min(w, h) / 5, palette::kYellow);
    } else if (k == "life_full" || k == "life_lost") {
        bool full = k == "life_full";
        Ellipsoid(cr, w / 2, h / 2, w / 2 - 2, h / 2 - 2, full ? palette::kRed : 0xFF5A5F66);
        Star(cr, w / 2, h / 2, w / 4, w / 10, full ? palette::kCream : 0xFF8A8F99);
    } else if (k == "hint") {
        double tail = std::min(14.0, h / 6);
        FillRoundedRect(cr, 0, 0, w, h - tail, 14, palette::kCream);
        cairo_move_to(cr, w * 0.2, h - tail - 1);
        cairo_line_to(cr, w * 0.18, h);
        cairo_line_to(cr, w * 0.32, h - tail - 1);
        cairo_close_path(cr);
        cairo_fill(cr);
        RoundedRect(cr, 1, 1, w - 2, h - tail - 2, 14);
        SetColor(cr, palette::kYellow);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    } else if (k == "caption") {
        FillRoundedRect(cr, 0, 0, w, h, 12, 0xD8FFF4DC);
    } else if (k == "highlight") {
        FillRoundedRect(cr, 0, 0, w, h, std::min(10.0, h / 2), s == "over" ? 0x90F2C230 : 0x50F2C230);
    } else {
        throw std::runtime_error("no drawing for the atlas item kind \"" + k + "\" (" + item.key + ")");
    }
}

} // namespace

std::vector<OutFile> DrawAtlas(const std::string& stem, const std::vector<AtlasItem>& items,
                               std::map<std::string, AtlasSpot>& spots)
{
    const bool onePage = stem == "images\\ui\\widgets";
    std::vector<std::pair<int, int>> sizes;
    for (const AtlasItem& item : items) {
        if (item.width <= 0 || item.height <= 0)
            throw std::runtime_error("the atlas item " + item.key + " has no size");
        sizes.push_back({item.width, item.height});
    }
    ShelfPacker packer(kPage, kPage, 2);
    std::vector<PackedSpot> placed = packer.Pack(sizes);
    if (onePage && packer.Pages() > 1)
        throw std::runtime_error("the widgets do not fit on one atlas page of 1024 x 1024");
    std::vector<Picture> pages(size_t(std::max(1, packer.Pages())), Picture(kPage, kPage));
    for (size_t i = 0; i < items.size(); ++i) {
        Canvas c(items[i].width, items[i].height);
        DrawItem(c.cr(), items[i]);
        pages[size_t(placed[i].page)].Put(c.Take(), placed[i].x, placed[i].y);
        spots[items[i].key] = AtlasSpot{placed[i].page, placed[i].x, placed[i].y};
    }
    std::vector<OutFile> out;
    for (size_t p = 0; p < pages.size(); ++p)
        out.push_back(OutFile{stem + (onePage ? std::string() : std::to_string(p)) + ".png", EncodePng(pages[p])});
    return out;
}

} // namespace contentgen
