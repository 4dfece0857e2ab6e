#include "assets/Puppet.h"

#include "assets/ArtKit.h"

#include <cmath>

namespace contentgen {

namespace {

struct Colours {
    uint32_t suit, hair, shirt;
    bool longHair, tie;
};

Colours ColoursOf(Look look, int variant)
{
    switch (look) {
    case Look::Man:
        return {palette::kSuitMan, 0xFF3B2A1E, 0xFFFFFFFF, false, true};
    case Look::Woman:
        return {palette::kSuitWoman, 0xFF6B3A1E, 0xFFFCE9D8, true, false};
    case Look::Student:
        return {0xFF4A90C2, 0xFF2A1A10, 0xFFFFE08A, false, false};
    case Look::Clerk:
        return {0xFF6B6B6B, 0xFF1A1A1A, 0xFFFFFFFF, false, true};
    case Look::Worker: {
        // Four looks: steady green, quick blue with a tie, calm brown, dreamy violet.
        const Colours workers[4] = {{0xFF3E7D5A, 0xFF8A5A2B, 0xFFE8F0E0, true, false},
                                    {0xFF3C6FB0, 0xFF2A1A10, 0xFFFFFFFF, false, true},
                                    {0xFF8A6A45, 0xFF1A1A1A, 0xFFF5E6C8, false, false},
                                    {0xFF7A5AA0, 0xFFD9A441, 0xFFFCE9F0, true, false}};
        return workers[variant & 3];
    }
    case Look::Secretary:
        return {0xFFC2553A, 0xFF2A1A10, 0xFFFFF4DC, true, false};
    case Look::Engineer:
        return {0xFFE08A2E, 0xFF5A3A20, 0xFF3C6FB0, false, false};
    case Look::Lady:
        return {0xFFB04A8A, 0xFFD9A441, 0xFFFFFFFF, true, false};
    case Look::Banker:
        return {0xFF2A2A33, 0xFF9A9A9A, 0xFFFFFFFF, false, true};
    case Look::Vip:
        return {0xFF5A1E2E, 0xFF1A1A1A, 0xFFF2C230, false, true};
    }
    return {palette::kSuitMan, 0xFF000000, 0xFFFFFFFF, false, false};
}

void Limb(cairo_t* cr, double x, double y, double length, double angle, double width, uint32_t c)
{
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, width);
    SetColor(cr, Shade(c, 0.85));
    cairo_move_to(cr, x, y);
    double ex = x + std::sin(angle) * length, ey = y + std::cos(angle) * length;
    cairo_line_to(cr, ex, ey);
    cairo_stroke(cr);
    Ellipsoid(cr, ex, ey, width * 0.45, width * 0.45, palette::kSkin);
}

} // namespace

void DrawPuppet(cairo_t* cr, double x, double feetY, double height, Look look, const Pose& pose)
{
    const Colours c = ColoursOf(look, pose.variant);
    std::string heading = pose.heading;
    bool mirror = heading == "l" || heading == "tl" || heading == "bl" || heading == "ml" || heading == "mr" ||
                  heading == "mbr" || heading == "mtr";
    if (heading == "l" || heading == "mr")
        heading = "r";
    else if (heading == "bl" || heading == "mbr")
        heading = "br";
    else if (heading == "tl" || heading == "mtr")
        heading = "tr";
    const double u = height / 100.0; // the figure is 100 units tall
    const double turn = heading == "b" ? 0 : heading == "br" ? 0.5 : heading == "r" ? 1 : heading == "tr" ? 0.5 : 0;
    const bool back = heading == "t" || heading == "tr";

    cairo_save(cr);
    cairo_translate(cr, x, feetY);
    if (mirror)
        cairo_scale(cr, -1, 1);
    if (!pose.seated)
        FloorShadow(cr, 0, 0, 18 * u, 5 * u);
    cairo_translate(cr, 0, -pose.lift * u);
    // Legs: a stride swings them apart, front and side on alike.
    if (!pose.seated) {
        const double legGap = 6 * u * (1 - turn * 0.7);
        const double swing = pose.stride * 7 * u * (0.4 + 0.6 * turn);
        const double rise = std::fabs(pose.stride) * 3 * u * (1 - turn * 0.5);
        const uint32_t trousers = look == Look::Woman || look == Look::Lady || look == Look::Secretary
                                      ? Shade(c.suit, 0.55)
                                      : Shade(c.suit, 0.7);
        ShadedBox(cr, -legGap - 5 * u + swing, -38 * u, 9 * u, 38 * u - (pose.stride > 0 ? rise : 0), 0, trousers);
        ShadedBox(cr, legGap - 4 * u - swing, -38 * u, 9 * u, 38 * u - (pose.stride < 0 ? rise : 0), 0,
                  Shade(trousers, 1.08));
        // Shoes.
        Ellipsoid(cr, -legGap - 0.5 * u + swing + turn * 3 * u, -1.5 * u - (pose.stride > 0 ? rise : 0), 5.5 * u, 2.5 * u,
                  0xFF2A2020);
        Ellipsoid(cr, legGap + 0.5 * u - swing + turn * 3 * u, -1.5 * u - (pose.stride < 0 ? rise : 0), 5.5 * u, 2.5 * u,
                  0xFF2A2020);
    }
    // Arm behind the body when turned.
    double bodyW = 30 * u * (1 - turn * 0.35);
    if (turn > 0)
        Limb(cr, bodyW / 2 - 3 * u, -70 * u, 30 * u, -pose.rightArm, 8 * u, c.suit);
    // Torso.
    RoundedRect(cr, -bodyW / 2, -74 * u, bodyW, 40 * u, 8 * u);
    SetColor(cr, c.suit);
    cairo_fill(cr);
    Ellipsoid(cr, -bodyW / 6, -62 * u, bodyW / 3, 10 * u, Shade(c.suit, 1.05));
    if (!back) {
        cairo_move_to(cr, -5 * u + turn * 5 * u, -74 * u);
        cairo_line_to(cr, 5 * u + turn * 5 * u, -74 * u);
        cairo_line_to(cr, turn * 5 * u, -62 * u);
        cairo_close_path(cr);
        SetColor(cr, c.shirt);
        cairo_fill(cr);
        if (c.tie) {
            cairo_move_to(cr, turn * 5 * u - 1.5 * u, -72 * u);
            cairo_line_to(cr, turn * 5 * u + 1.5 * u, -72 * u);
            cairo_line_to(cr, turn * 5 * u + 2 * u, -58 * u);
            cairo_line_to(cr, turn * 5 * u, -55 * u);
            cairo_line_to(cr, turn * 5 * u - 2 * u, -58 * u);
            cairo_close_path(cr);
            SetColor(cr, palette::kRed);
            cairo_fill(cr);
        }
    }
    // Arms.
    Limb(cr, -bodyW / 2 + 2 * u, -70 * u, 30 * u, -pose.leftArm, 8 * u, c.suit);
    if (turn == 0)
        Limb(cr, bodyW / 2 - 2 * u, -70 * u, 30 * u, pose.rightArm, 8 * u, c.suit);
    // Head.
    double hx = turn * 3 * u, hy = -86 * u;
    // Long hair falls behind the head and beside the face, ending above the
    // chin so that it never reads as a beard.
    if (c.longHair) {
        Ellipsoid(cr, hx - turn * 4 * u, hy - 1.5 * u, 12.5 * u, 12.5 * u, c.hair);
        for (int side = -1; side <= 1; side += 2) {
            if (turn >= 1 && side > 0)
                continue;
            FillRoundedRect(cr, hx - turn * 4 * u + side * 10.5 * u - 3.5 * u, hy - 4 * u, 7 * u, 13 * u, 3.5 * u,
                            Shade(c.hair, 0.92));
        }
    }
    Ellipsoid(cr, hx, hy, 10 * u, 12 * u, back ? c.hair : palette::kSkin);
    if (!back) {
        // Hair on top, face features shifted with the turn.
        cairo_save(cr);
        cairo_rectangle(cr, hx - 12 * u, hy - 14 * u, 24 * u, 9 * u);
        cairo_clip(cr);
        Ellipsoid(cr, hx, hy, 10.5 * u, 12.5 * u, c.hair);
        cairo_restore(cr);
        double fx = hx + turn * 5 * u;
        SetColor(cr, 0xFF202020);
        for (int side = -1; side <= 1; side += 2) {
            if (turn >= 1 && side < 0)
                continue;
            cairo_arc(cr, fx + side * 4 * u * (1 - turn * 0.5), hy - 1 * u, 1.3 * u, 0, 2 * M_PI);
            cairo_fill(cr);
        }
        cairo_set_line_width(cr, 1.2 * u);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        double my = hy + 6 * u;
        cairo_move_to(cr, fx - 3.5 * u, my - pose.mood * 1.0 * u);
        cairo_curve_to(cr, fx - 1 * u, my + pose.mood * 2.5 * u, fx + 1 * u, my + pose.mood * 2.5 * u, fx + 3.5 * u,
                       my - pose.mood * 1.0 * u);
        SetColor(cr, 0xFF7A2E2E);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

} // namespace contentgen
