#include "assets/ArtKit.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <mutex>
#include <stdexcept>

namespace contentgen {

uint32_t Shade(uint32_t argb, double light)
{
    auto ch = [&](int shift) {
        double v = double(argb >> shift & 0xFF) * light;
        return uint32_t(std::clamp(std::lround(v), 0L, 255L)) << shift;
    };
    return (argb & 0xFF000000u) | ch(16) | ch(8) | ch(0);
}

uint32_t Mix(uint32_t a, uint32_t b, double t)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        double v = double(a >> shift & 0xFF) * (1 - t) + double(b >> shift & 0xFF) * t;
        out |= uint32_t(std::clamp(std::lround(v), 0L, 255L)) << shift;
    }
    return out;
}

Canvas::Canvas(int width, int height)
    : mWidth(width), mHeight(height), mSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      mCr(cairo_create(mSurface))
{
    if (cairo_surface_status(mSurface) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cairo (libcairo2-dev) cannot make a surface of " + std::to_string(width) + " x " +
                                 std::to_string(height));
}

Canvas::~Canvas()
{
    cairo_destroy(mCr);
    cairo_surface_destroy(mSurface);
}

Picture Canvas::Take()
{
    cairo_surface_flush(mSurface);
    Picture p(mWidth, mHeight);
    const unsigned char* data = cairo_image_surface_get_data(mSurface);
    int stride = cairo_image_surface_get_stride(mSurface);
    for (int y = 0; y < mHeight; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        for (int x = 0; x < mWidth; ++x) {
            uint32_t px = row[x], a = px >> 24;
            if (a == 0) {
                p.At(x, y) = 0;
                continue;
            }
            auto un = [&](int shift) { return std::min(255u, ((px >> shift & 0xFF) * 255 + a / 2) / a) << shift; };
            p.At(x, y) = a << 24 | un(16) | un(8) | un(0);
        }
    }
    return p;
}

void SetColor(cairo_t* cr, uint32_t c)
{
    cairo_set_source_rgba(cr, (c >> 16 & 0xFF) / 255.0, (c >> 8 & 0xFF) / 255.0, (c & 0xFF) / 255.0,
                          (c >> 24) / 255.0);
}

namespace {

void AddStop(cairo_pattern_t* p, double at, uint32_t c)
{
    cairo_pattern_add_color_stop_rgba(p, at, (c >> 16 & 0xFF) / 255.0, (c >> 8 & 0xFF) / 255.0, (c & 0xFF) / 255.0,
                                      (c >> 24) / 255.0);
}

} // namespace

void FillWithGradient(cairo_t* cr, double x0, double y0, double x1, double y1, uint32_t from, uint32_t to)
{
    cairo_pattern_t* g = cairo_pattern_create_linear(x0, y0, x1, y1);
    AddStop(g, 0, from);
    AddStop(g, 1, to);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r)
{
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

void FillRoundedRect(cairo_t* cr, double x, double y, double w, double h, double r, uint32_t argb)
{
    RoundedRect(cr, x, y, w, h, r);
    SetColor(cr, argb);
    cairo_fill(cr);
}

void Panel(cairo_t* cr, double x, double y, double w, double h, uint32_t body, uint32_t rim)
{
    double r = std::min(18.0, std::min(w, h) / 4);
    RoundedRect(cr, x + 3, y + 4, w - 3, h - 4, r);
    SetColor(cr, 0x50000000);
    cairo_fill(cr);
    RoundedRect(cr, x, y, w - 3, h - 4, r);
    FillWithGradient(cr, x, y, x + w * 0.4, y + h, Shade(body, 1.35), body);
    double inset = std::max(1.5, std::min(w, h) / 40);
    RoundedRect(cr, x + inset, y + inset, w - 3 - 2 * inset, h - 4 - 2 * inset, std::max(1.0, r - inset));
    SetColor(cr, rim);
    cairo_set_line_width(cr, std::max(1.0, inset * 0.9));
    cairo_stroke(cr);
}

void ShadedBox(cairo_t* cr, double x, double y, double w, double h, double depth, uint32_t c)
{
    cairo_rectangle(cr, x, y, w, h);
    FillWithGradient(cr, x, y, x + w, y, Shade(c, 1.05), Shade(c, 0.8));
    cairo_rectangle(cr, x, y - depth, w, depth);
    FillWithGradient(cr, x, y - depth, x + w, y, Shade(c, 1.35), Shade(c, 1.1));
    SetColor(cr, Shade(c, 0.6));
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, x + 0.5, y - depth + 0.5, w - 1, h + depth - 1);
    cairo_stroke(cr);
}

void Cylinder(cairo_t* cr, double cx, double top, double rx, double height, uint32_t c)
{
    double ry = rx * 0.35;
    cairo_move_to(cr, cx - rx, top);
    cairo_line_to(cr, cx - rx, top + height);
    cairo_save(cr);
    cairo_translate(cr, cx, top + height);
    cairo_scale(cr, rx, ry);
    cairo_arc_negative(cr, 0, 0, 1, M_PI, 0);
    cairo_restore(cr);
    cairo_line_to(cr, cx + rx, top);
    cairo_close_path(cr);
    FillWithGradient(cr, cx - rx, 0, cx + rx, 0, Shade(c, 1.25), Shade(c, 0.7));
    cairo_save(cr);
    cairo_translate(cr, cx, top);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColor(cr, Shade(c, 1.4));
    cairo_fill(cr);
}

void Ellipsoid(cairo_t* cr, double cx, double cy, double rx, double ry, uint32_t c)
{
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_pattern_t* g = cairo_pattern_create_radial(-0.35, -0.4, 0.05, 0, 0, 1.05);
    AddStop(g, 0, Shade(c, 1.4));
    AddStop(g, 0.6, c);
    AddStop(g, 1, Shade(c, 0.7));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
}

void FloorShadow(cairo_t* cr, double cx, double cy, double rx, double ry)
{
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColor(cr, 0x40000000);
    cairo_fill(cr);
}

void StrokeAccent(cairo_t* cr, double width)
{
    cairo_set_line_width(cr, width + 3);
    SetColor(cr, palette::kNavy);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, width);
    SetColor(cr, palette::kYellow);
    cairo_stroke(cr);
}

void Star(cairo_t* cr, double cx, double cy, double outer, double inner, uint32_t c)
{
    for (int i = 0; i < 10; ++i) {
        double a = -M_PI / 2 + i * M_PI / 5, r = i % 2 ? inner : outer;
        if (i == 0)
            cairo_move_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
        else
            cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    cairo_close_path(cr);
    SetColor(cr, c);
    cairo_fill_preserve(cr);
    SetColor(cr, Shade(c, 0.7));
    cairo_set_line_width(cr, std::max(0.5, outer / 12));
    cairo_stroke(cr);
}

namespace {

cairo_font_face_t* FontFace(bool bold)
{
    static std::mutex lock;
    static FT_Library library = nullptr;
    static cairo_font_face_t* faces[2] = {nullptr, nullptr};
    std::lock_guard<std::mutex> hold(lock);
    if (!faces[bold ? 1 : 0]) {
        if (!library && FT_Init_FreeType(&library) != 0)
            throw std::runtime_error("FreeType (libfreetype-dev) does not start");
        const char* file = bold ? "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
                                : "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
        FT_Face face = nullptr;
        if (FT_New_Face(library, file, 0, &face) != 0)
            throw std::runtime_error(std::string("cannot open ") + file + ": install the package fonts-dejavu-core");
        faces[bold ? 1 : 0] = cairo_ft_font_face_create_for_ft_face(face, 0);
    }
    return faces[bold ? 1 : 0];
}

} // namespace

void Text(cairo_t* cr, const std::string& utf8, double x, double y, double size, bool bold, uint32_t argb, bool centre,
          double outline)
{
    cairo_save(cr);
    cairo_set_font_face(cr, FontFace(bold));
    cairo_set_font_size(cr, size);
    if (centre) {
        cairo_text_extents_t e;
        cairo_text_extents(cr, utf8.c_str(), &e);
        x -= e.x_advance / 2;
    }
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, utf8.c_str());
    if (outline > 0) {
        SetColor(cr, 0xFF10233A);
        cairo_set_line_width(cr, outline * 2);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
    }
    SetColor(cr, argb);
    cairo_fill(cr);
    cairo_restore(cr);
}

} // namespace contentgen
