#include "assets/OfficeScene.h"

#include "assets/ArtKit.h"
#include "assets/Puppet.h"

namespace contentgen {

namespace {

// A small seeded sequence (the tool's own; equal seeds, equal scenes).
struct Pick {
    uint32_t state;
    uint32_t Next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
};

void Window(cairo_t* cr, double x, double y, double w, double h, double daylight)
{
    FillRoundedRect(cr, x - 6, y - 6, w + 12, h + 12, 4, palette::kCream);
    cairo_rectangle(cr, x, y, w, h);
    FillWithGradient(cr, 0, y, 0, y + h, Shade(0xFF73B3F2, daylight), Shade(0xFFCCE6FF, daylight));
    // Far towers.
    for (int i = 0; i < 5; ++i) {
        double bw = w / 6, bh = h * (0.3 + 0.1 * ((i * 7) % 4));
        cairo_rectangle(cr, x + 4 + i * (bw + 3), y + h - bh, bw, bh);
        SetColor(cr, Shade(0xFF7F9CB3, daylight));
        cairo_fill(cr);
    }
    SetColor(cr, palette::kCream);
    cairo_set_line_width(cr, 4);
    cairo_move_to(cr, x + w / 2, y);
    cairo_line_to(cr, x + w / 2, y + h);
    cairo_stroke(cr);
}

void Plant(cairo_t* cr, double x, double floorY, double size)
{
    FloorShadow(cr, x, floorY, size * 0.5, size * 0.15);
    Cylinder(cr, x, floorY - size * 0.5, size * 0.3, size * 0.45, 0xFFB5651D);
    for (int i = 0; i < 5; ++i)
        Ellipsoid(cr, x + (i - 2) * size * 0.15, floorY - size * (0.75 + 0.1 * (i % 2)), size * 0.22, size * 0.3,
                  Shade(palette::kPlant, 0.85 + 0.08 * i));
}

void Desk(cairo_t* cr, double x, double y, bool worker, Look look, uint32_t seed)
{
    if (worker) {
        Pose pose;
        pose.heading = "b";
        pose.leftArm = 0.6;
        pose.rightArm = 0.6;
        pose.mood = int(seed % 3) - 1 < 0 ? 0 : 1;
        DrawPuppet(cr, x + 45, y - 8, 80, look, pose);
    }
    FloorShadow(cr, x + 45, y + 34, 60, 8);
    ShadedBox(cr, x, y, 90, 34, 18, palette::kWood);
    // A monitor and papers on top.
    ShadedBox(cr, x + 30, y - 30, 30, 16, 4, 0xFF33393F);
    FillRoundedRect(cr, x + 8, y - 14, 16, 8, 1, palette::kCream);
}

} // namespace

void DrawOfficeScene(cairo_t* cr, const SceneOptions& o)
{
    Pick pick{o.seed * 2654435761u + 1};
    const double d = o.daylight;
    // Back wall and floor.
    cairo_rectangle(cr, 0, 0, 800, 170);
    FillWithGradient(cr, 0, 0, 800, 170, Shade(palette::kWall, 1.15 * d), Shade(palette::kWallDark, d));
    cairo_rectangle(cr, 0, 170, 800, 430);
    SetColor(cr, Shade(palette::kFloor, d));
    cairo_fill(cr);
    // Floor boards, darker towards the front.
    SetColor(cr, Shade(palette::kFloorDark, d));
    cairo_set_line_width(cr, 1.5);
    for (int i = 0; i < 12; ++i) {
        double y = 170 + i * i * 3.2 + i * 4;
        cairo_move_to(cr, 0, y);
        cairo_line_to(cr, 800, y);
    }
    cairo_stroke(cr);
    SetColor(cr, Shade(palette::kWood, 0.8 * d));
    cairo_rectangle(cr, 0, 162, 800, 10);
    cairo_fill(cr);
    // Window and pictures on the wall.
    if (!o.clearTopLeft)
        Window(cr, 30, 40, 120, 95, d);
    Window(cr, 600, 30, 140, 100, d);
    for (int i = 0; i < 2; ++i) {
        double px = 360 + i * 130;
        FillRoundedRect(cr, px, 50, 70, 52, 3, Shade(palette::kWood, d));
        cairo_rectangle(cr, px + 6, 56, 58, 40);
        SetColor(cr, Shade(i ? 0xFF6FA8DC : 0xFFE8A87C, d));
        cairo_fill(cr);
    }
    // Shelves along the wall.
    for (int k = 0; k < 3; ++k)
        ShadedBox(cr, 170 + 60 * k, 122, 50, 48, 8, Shade(0xFF8C7B6B, d));
    // Two rows of desks.
    const Look looks[] = {Look::Worker, Look::Clerk, Look::Student, Look::Worker};
    for (int row = 0; row < 2; ++row)
        for (int k = 0; k < 4; ++k) {
            uint32_t r = pick.Next();
            Desk(cr, 150 + 120 * k, 265 + 130 * row, o.people && r % 4 != 0, looks[(k + row) % 4], r);
        }
    Plant(cr, 40, 250, 70);
    Plant(cr, 640, 380, 60);
    Plant(cr, 30, 560, 80);
    // The service counter in front.
    ShadedBox(cr, 250, 540, 300, 50, 14, Shade(palette::kNavyLight, d));
    if (d < 1.0) {
        cairo_rectangle(cr, 0, 0, 800, 600);
        cairo_set_source_rgba(cr, 0.05, 0.08, 0.18, (1.0 - d) * 0.6);
        cairo_fill(cr);
    }
}

void DrawOfficeGround(cairo_t* cr)
{
    // The wall, lit from the upper left, above the HUD strip's edge too.
    cairo_rectangle(cr, 0, 0, 800, 150);
    FillWithGradient(cr, 0, 0, 800, 150, Shade(palette::kWall, 1.15), palette::kWallDark);
    // Wainscot panels along the lower wall.
    for (int i = 0; i < 16; ++i) {
        RoundedRect(cr, 8 + i * 50, 112, 42, 28, 3);
        SetColor(cr, Shade(palette::kWallDark, 0.92));
        cairo_fill(cr);
    }
    // The floor: boards running away from the viewer, darker towards the back.
    cairo_rectangle(cr, 0, 150, 800, 450);
    FillWithGradient(cr, 0, 150, 0, 600, Shade(palette::kFloor, 0.9), Shade(palette::kFloor, 1.05));
    cairo_set_line_width(cr, 1.2);
    SetColor(cr, Shade(palette::kFloorDark, 1.0));
    for (int i = 0; i < 14; ++i) {
        const double y = 150 + i * i * 2.4 + i * 6;
        cairo_move_to(cr, 0, y);
        cairo_line_to(cr, 800, y);
    }
    for (int i = -8; i <= 24; ++i) {
        // Board joints converge slightly towards the wall.
        const double xBottom = i * 50, xTop = 400 + (xBottom - 400) * 0.82;
        cairo_move_to(cr, xTop, 150);
        cairo_line_to(cr, xBottom, 600);
    }
    cairo_stroke(cr);
    // Skirting.
    cairo_rectangle(cr, 0, 142, 800, 10);
    FillWithGradient(cr, 0, 142, 0, 152, Shade(palette::kWood, 1.1), Shade(palette::kWood, 0.7));
    // The workshop door's frame and step (its leaf is a part).
    FillRoundedRect(cr, 694, 54, 82, 112, 4, Shade(palette::kCream, 0.9));
    cairo_rectangle(cr, 700, 60, 70, 106);
    SetColor(cr, 0xFF2A2F36);
    cairo_fill(cr);
    cairo_rectangle(cr, 690, 162, 90, 6);
    SetColor(cr, Shade(palette::kWood, 0.8));
    cairo_fill(cr);
    // Aisle markings: soft light runners along the five walkways.
    const struct {
        double x0, y0, x1, y1;
    } aisles[] = {{135, 176, 690, 176}, {135, 300, 645, 300}, {20, 470, 790, 470}, {135, 176, 135, 470}, {645, 176, 645, 470}};
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (const auto& aisle : aisles) {
        cairo_set_line_width(cr, 18);
        cairo_set_source_rgba(cr, 1, 0.96, 0.86, 0.16);
        cairo_move_to(cr, aisle.x0, aisle.y0);
        cairo_line_to(cr, aisle.x1, aisle.y1);
        cairo_stroke(cr);
    }
    // The HUD strip's shadow on the wall.
    cairo_rectangle(cr, 0, 44, 800, 6);
    FillWithGradient(cr, 0, 44, 0, 50, 0x50000000, 0x00000000);
}

} // namespace contentgen
