#include "assets/PartArt.h"

#include "assets/ArtKit.h"
#include "assets/Puppet.h"

#include <cmath>
#include <map>

namespace contentgen {

namespace {

const double kPi = 3.14159265358979323846;

// How far through its animation a frame is: 0 at the first, towards 1.
double Phase(const PartFrame& f) { return f.frames > 1 ? double(f.frame) / f.frames : 0.0; }
// A swing of -1..1 over one cycle.
double Swing(const PartFrame& f) { return std::sin(2 * kPi * Phase(f)); }

void Line(cairo_t* cr, double x0, double y0, double x1, double y1, double width, uint32_t c)
{
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetColor(cr, c);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_stroke(cr);
}

void Outline(cairo_t* cr, double width, uint32_t c)
{
    cairo_set_line_width(cr, width);
    SetColor(cr, c);
    cairo_stroke(cr);
}

// The product each stage-1 desk makes: one colour and shape a variant.
void Product(cairo_t* cr, int variant, double cx, double cy, double s)
{
    switch (variant) {
    case 1: {  // a letter
        FillRoundedRect(cr, cx - s * 0.42, cy - s * 0.28, s * 0.84, s * 0.56, s * 0.06, 0xFFFFFFFF);
        cairo_move_to(cr, cx - s * 0.42, cy - s * 0.28);
        cairo_line_to(cr, cx, cy + s * 0.05);
        cairo_line_to(cr, cx + s * 0.42, cy - s * 0.28);
        Outline(cr, s * 0.06, 0xFF3C6FB0);
        RoundedRect(cr, cx - s * 0.42, cy - s * 0.28, s * 0.84, s * 0.56, s * 0.06);
        Outline(cr, s * 0.05, 0xFF3C6FB0);
        break;
    }
    case 2: {  // a poster, rolled
        FillRoundedRect(cr, cx - s * 0.34, cy - s * 0.4, s * 0.68, s * 0.8, s * 0.05, 0xFFF2C230);
        Star(cr, cx, cy - s * 0.05, s * 0.24, s * 0.1, palette::kRed);
        Line(cr, cx - s * 0.2, cy + s * 0.26, cx + s * 0.2, cy + s * 0.26, s * 0.06, palette::kRed);
        break;
    }
    case 3: {  // a report with a bar chart
        FillRoundedRect(cr, cx - s * 0.32, cy - s * 0.42, s * 0.64, s * 0.84, s * 0.05, 0xFFFFFFFF);
        RoundedRect(cr, cx - s * 0.32, cy - s * 0.42, s * 0.64, s * 0.84, s * 0.05);
        Outline(cr, s * 0.04, 0xFF5A6A7A);
        const double heights[3] = {0.25, 0.45, 0.35};
        for (int i = 0; i < 3; ++i) {
            cairo_rectangle(cr, cx - s * 0.2 + i * s * 0.15, cy + s * 0.3 - s * heights[i], s * 0.1, s * heights[i]);
            SetColor(cr, i == 1 ? palette::kGreen : 0xFF3C6FB0);
            cairo_fill(cr);
        }
        break;
    }
    case 4: {  // a photo
        FillRoundedRect(cr, cx - s * 0.42, cy - s * 0.34, s * 0.84, s * 0.68, s * 0.04, 0xFFFFFFFF);
        cairo_rectangle(cr, cx - s * 0.34, cy - s * 0.26, s * 0.68, s * 0.46);
        FillWithGradient(cr, 0, cy - s * 0.26, 0, cy + s * 0.2, 0xFF73B3F2, 0xFFCCE6FF);
        cairo_move_to(cr, cx - s * 0.34, cy + s * 0.2);
        cairo_line_to(cr, cx - s * 0.1, cy - s * 0.06);
        cairo_line_to(cr, cx + s * 0.08, cy + s * 0.1);
        cairo_line_to(cr, cx + s * 0.2, cy);
        cairo_line_to(cr, cx + s * 0.34, cy + s * 0.2);
        cairo_close_path(cr);
        SetColor(cr, palette::kPlant);
        cairo_fill(cr);
        break;
    }
    default: {  // a disk
        FillRoundedRect(cr, cx - s * 0.38, cy - s * 0.38, s * 0.76, s * 0.76, s * 0.06, 0xFF2E4670);
        cairo_rectangle(cr, cx - s * 0.2, cy - s * 0.38, s * 0.4, s * 0.26);
        SetColor(cr, 0xFFC8CCD0);
        cairo_fill(cr);
        FillRoundedRect(cr, cx - s * 0.26, cy + s * 0.02, s * 0.52, s * 0.3, s * 0.03, 0xFFFFFFFF);
        break;
    }
    }
}

void Paper(cairo_t* cr, double cx, double cy, double s)
{
    for (int i = 2; i >= 0; --i)
        FillRoundedRect(cr, cx - s * 0.36 + i * s * 0.06, cy - s * 0.4 + i * s * 0.05, s * 0.62, s * 0.74, s * 0.04,
                        Shade(0xFFFFFFFF, 1 - i * 0.08));
    for (int i = 0; i < 4; ++i)
        Line(cr, cx - s * 0.26, cy - s * 0.22 + i * s * 0.13, cx + s * 0.14, cy - s * 0.22 + i * s * 0.13, s * 0.04,
             0xFFB0B8C0);
}

void Ink(cairo_t* cr, double cx, double cy, double s)
{
    Cylinder(cr, cx, cy - s * 0.1, s * 0.3, s * 0.42, 0xFF2E4670);
    Cylinder(cr, cx, cy - s * 0.3, s * 0.14, s * 0.2, 0xFF1A1A1A);
    Ellipsoid(cr, cx - s * 0.1, cy + s * 0.08, s * 0.06, s * 0.1, 0x66FFFFFF);
}

void Clips(cairo_t* cr, double cx, double cy, double s)
{
    for (int i = 0; i < 2; ++i) {
        const double x = cx - s * 0.16 + i * s * 0.26, y = cy - s * 0.06 * i;
        RoundedRect(cr, x - s * 0.12, y - s * 0.36, s * 0.24, s * 0.72, s * 0.12);
        Outline(cr, s * 0.07, i ? 0xFFD9534F : 0xFF8A9AAA);
        RoundedRect(cr, x - s * 0.06, y - s * 0.26, s * 0.12, s * 0.44, s * 0.06);
        Outline(cr, s * 0.05, i ? 0xFFD9534F : 0xFF8A9AAA);
    }
}

void Money(cairo_t* cr, double cx, double cy, double s)
{
    for (int i = 2; i >= 0; --i) {
        const double y = cy - s * 0.12 + i * s * 0.1;
        FillRoundedRect(cr, cx - s * 0.44, y - s * 0.2, s * 0.88, s * 0.4, s * 0.05, Shade(0xFF5CB85C, 1 - i * 0.1));
        RoundedRect(cr, cx - s * 0.44, y - s * 0.2, s * 0.88, s * 0.4, s * 0.05);
        Outline(cr, s * 0.04, 0xFF2E6B2E);
    }
    Ellipsoid(cr, cx, cy - s * 0.12, s * 0.12, s * 0.12, 0xFFE8F5E0);
}

// A stage overlay: a folder (0200), a stamped folder (0300) or a parcel
// (0400) behind and around its product, which stays visible in front.
void StageOverlay(cairo_t* cr, int stage, double cx, double cy, double s)
{
    if (stage == 4) {
        ShadedBox(cr, cx - s * 0.44, cy - s * 0.2, s * 0.88, s * 0.6, s * 0.2, 0xFFB5853D);
        Line(cr, cx, cy - s * 0.4, cx, cy + s * 0.4, s * 0.08, 0xFFD9534F);
        return;
    }
    FillRoundedRect(cr, cx - s * 0.46, cy - s * 0.42, s * 0.36, s * 0.14, s * 0.04, 0xFFE0A030);
    FillRoundedRect(cr, cx - s * 0.46, cy - s * 0.34, s * 0.92, s * 0.76, s * 0.06, 0xFFF2C230);
    if (stage == 3) {
        cairo_arc(cr, cx + s * 0.3, cy + s * 0.26, s * 0.16, 0, 2 * kPi);
        SetColor(cr, palette::kRed);
        cairo_fill(cr);
    }
}

// A head and shoulders for the client types on the bubbles.
void TypeBadge(cairo_t* cr, Look look, double cx, double cy, double s)
{
    Pose pose;
    pose.mood = 1;
    cairo_save(cr);
    cairo_rectangle(cr, cx - s / 2, cy - s / 2, s, s);
    cairo_clip(cr);
    DrawPuppet(cr, cx, cy + s * 1.35, s * 1.9, look, pose);
    cairo_restore(cr);
}

Look ClientLook(const std::string& skin)
{
    static const std::map<std::string, Look> looks = {{"student", Look::Student}, {"clerk", Look::Clerk},
                                                      {"lady", Look::Lady},       {"banker", Look::Banker},
                                                      {"vip", Look::Vip}};
    const auto found = looks.find(skin);
    return found == looks.end() ? Look::Clerk : found->second;
}

// Workers sit at their desks in the br heading; their look by skin.
int WorkerVariant(const std::string& skin) { return skin.size() == 2 && skin[0] == 'w' ? (skin[1] - '1') & 3 : 0; }

void Walker(cairo_t* cr, const PartFrame& f)
{
    Pose pose;
    pose.heading = f.orientation.empty() ? "b" : f.orientation;
    Look look = Look::Man;
    if (f.part == "boss")
        look = f.skin == "woman" ? Look::Woman : Look::Man;
    else if (f.part == "secretary")
        look = Look::Secretary;
    else if (f.part == "engineer")
        look = Look::Engineer;
    const std::string& a = f.clip;
    const double s = Swing(f);
    const bool full = a.find("_full") != std::string::npos;
    if (a.find("move") != std::string::npos) {
        pose.stride = s;
        pose.leftArm = 0.15 - 0.35 * s;
        pose.rightArm = 0.15 + 0.35 * s;
        pose.lift = std::fabs(std::cos(2 * kPi * Phase(f))) * 2;
    } else if (a.find("idle") != std::string::npos) {
        pose.leftArm = 0.15 + 0.05 * s;
        pose.rightArm = 0.15 - 0.05 * s;
        pose.lift = 0.6 + 0.6 * s;
    } else if (a == "boss_phone") {
        pose.rightArm = 2.6;
        pose.leftArm = 0.2 + 0.3 * std::fabs(s);
        pose.mood = f.frame % 4 < 2 ? 0 : 1;
    } else if (a == "boss_conference" || a == "secretary_presentation") {
        pose.leftArm = 0.9 + 0.6 * s;
        pose.rightArm = 0.9 - 0.6 * s;
        pose.mood = 1;
    } else if (a == "boss_drink") {
        pose.rightArm = 0.3 + 2.2 * std::sin(kPi * Phase(f));
        pose.mood = 1;
    } else if (a == "boss_reproach") {
        pose.rightArm = 1.8 + 0.5 * s;
        pose.leftArm = 0.1;
        pose.mood = -1;
    } else if (a == "engineer_repair") {
        pose.leftArm = 1.3 + 0.4 * s;
        pose.rightArm = 1.3 - 0.4 * s;
    }
    if (full) {
        // Carrying: both arms forward.
        pose.leftArm = std::max(pose.leftArm, 0.9);
        pose.rightArm = std::max(pose.rightArm, 0.9);
    }
    DrawPuppet(cr, f.width / 2.0, 106, 100, look, pose);
    if (a == "boss_phone") {
        // The handset at the ear.
        FillRoundedRect(cr, f.width / 2.0 + 6, 12, 6, 14, 3, 0xFF1E2A3A);
    }
    if (a == "engineer_repair") {
        // A wrench in the raised hand.
        Line(cr, f.width / 2.0 + 10, 50 - 4 * s, f.width / 2.0 + 22, 40 - 4 * s, 3, 0xFF8A9AAA);
    }
}

void ClientFigure(cairo_t* cr, const PartFrame& f)
{
    Pose pose;
    const std::string& a = f.clip;
    const double s = Swing(f);
    pose.lift = 0.5 + 0.5 * s;
    if (a == "idle_green" || a == "patience_content" || a == "gratitude" || a == "presentation_reaction") {
        pose.mood = 1;
    } else if (a == "idle_red" || a == "patience_angry" || a == "scandal") {
        pose.mood = -1;
    }
    if (a == "idle_red")
        pose.leftArm = pose.rightArm = 0.6 + 0.2 * s;
    if (a == "idle_thinking")
        pose.rightArm = 2.4;
    if (a == "gratitude" || a == "presentation_reaction") {
        pose.leftArm = 0.6 + 1.4 * std::sin(kPi * Phase(f));
        pose.rightArm = pose.leftArm;
        pose.lift = 3 * std::sin(kPi * Phase(f));
    }
    if (a == "scandal" || a == "patience_angry") {
        pose.leftArm = 2.2 + 0.5 * s;
        pose.rightArm = 2.2 - 0.5 * s;
        pose.lift = 2 * std::fabs(s);
    }
    if (a == "drink_coffee")
        pose.rightArm = 0.3 + 2.2 * std::sin(kPi * Phase(f));
    DrawPuppet(cr, f.width / 2.0, 100, 96, ClientLook(f.skin), pose);
    if (a == "drink_coffee")
        Cylinder(cr, f.width / 2.0 + 18 - 8 * std::sin(kPi * Phase(f)), 62 - 26 * std::sin(kPi * Phase(f)), 4, 7, 0xFFFFFFFF);
}

void SeatedWorker(cairo_t* cr, const PartFrame& f)
{
    Pose pose;
    pose.heading = "br";
    pose.seated = true;
    pose.variant = WorkerVariant(f.skin);
    const std::string& a = f.clip;
    const double s = Swing(f);
    pose.leftArm = 0.45;
    pose.rightArm = 0.45;
    if (a == "work_action") {
        pose.leftArm = 0.6 + 0.25 * s;
        pose.rightArm = 0.6 - 0.25 * s;
        pose.lift = std::fabs(s);
    } else if (a == "idle_done") {
        // Frames 0-3 hold the product up, 4-7 hand it over.
        pose.rightArm = f.frame < 4 ? 2.8 : 1.6;
        pose.mood = 1;
    } else if (a == "idle_distracted") {
        pose.leftArm = 0.3;
        pose.rightArm = 2.4 + 0.2 * s;
        pose.lift = -2;
    } else if (a == "disruption_reaction" || a == "attention") {
        pose.lift = 3 * std::sin(kPi * Phase(f));
        pose.mood = a == "attention" ? 0 : -1;
    } else if (a == "conference_reaction") {
        pose.leftArm = pose.rightArm = 1.2 + 1.2 * std::sin(kPi * Phase(f));
        pose.mood = 1;
    } else if (a == "disruptive_action") {
        pose.rightArm = 1.6 + 0.8 * s;
        pose.mood = 1;
    } else {
        pose.lift = 0.5 * s;
    }
    // The desk in front hides all but the head, shoulders and arms.
    DrawPuppet(cr, 40, 96, 86, Look::Worker, pose);
    if (a == "idle_done" && f.frame < 4)
        Paper(cr, 60, 18, 14);
}

void Desk(cairo_t* cr, const PartFrame& f)
{
    const uint32_t wood = f.skin == "walnut" ? 0xFF6B4226 : 0xFFC49A6C;
    FloorShadow(cr, 52, 86, 50, 6);
    // Legs, then the top and front panel.
    ShadedBox(cr, 4, 52, 92, 36, 22, wood);
    FillRoundedRect(cr, 8, 58, 84, 4, 2, Shade(wood, 0.8));
    // A monitor facing the worker, papers and a mug.
    ShadedBox(cr, 64, 18, 28, 18, 4, 0xFF33393F);
    FillRoundedRect(cr, 76, 36, 4, 6, 1, 0xFF33393F);
    FillRoundedRect(cr, 12, 36, 18, 10, 1, palette::kCream);
    Cylinder(cr, 40, 38, 4, 6, palette::kRed);
}

void Shelf(cairo_t* cr, const PartFrame& f)
{
    const double glow = f.clip == "hover" ? 0.5 + 0.5 * Swing(f) : 0;
    FloorShadow(cr, 25, 70, 24, 3);
    ShadedBox(cr, 2, 8, 46, 64, 0, Shade(palette::kWood, 1 + 0.15 * glow));
    for (int k = 0; k < 3; ++k) {
        const double y = 24 + k * 20;
        FillRoundedRect(cr, 4, y, 42, 3, 1, Shade(palette::kWood, 0.7));
        for (int i = 0; i < 2; ++i) {
            const double cx = 15 + i * 20, cy = y - 8;
            if (f.clip == "activation" && k == 0 && i == 0)
                continue;  // taken
            DrawItemIcon(cr, f.skin, cx, cy, 16);
        }
    }
    if (f.clip == "activation") {
        // The item rises off the shelf.
        DrawItemIcon(cr, f.skin, 15, 16 - 12 * Phase(f), 16);
    }
    if (glow > 0) {
        RoundedRect(cr, 1, 7, 48, 64, 4);
        Outline(cr, 2, Mix(0x00F2C230, palette::kYellow, glow));
    }
}

void Bin(cairo_t* cr, const PartFrame& f)
{
    const double glow = f.clip == "hover" ? 0.5 + 0.5 * Swing(f) : 0;
    FloorShadow(cr, 20, 40, 18, 3);
    Cylinder(cr, 20, 12, 15, 28, Shade(0xFF7A8A9A, 1 + 0.2 * glow));
    if (f.clip == "activation") {
        Ellipsoid(cr, 20, 4 + 10 * Phase(f), 6, 5, 0xFFFFFFFF);
    } else {
        Ellipsoid(cr, 16, 10, 5, 4, 0xFFEEEEEE);
    }
}

void Checkmark(cairo_t* cr, const PartFrame& f)
{
    const double bob = 2 * Swing(f);
    cairo_move_to(cr, 3, 11 + bob);
    cairo_line_to(cr, 8, 16 + bob);
    cairo_line_to(cr, 17, 4 + bob);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    StrokeAccent(cr, 3.5);
}

void Device(cairo_t* cr, const PartFrame& f)
{
    const std::string& p = f.part;
    const double glow = f.clip == "hover" ? 0.5 + 0.5 * Swing(f) : 0;
    const bool ready = f.clip == "ready";
    const double act = f.clip == "activation" ? std::sin(kPi * Phase(f)) : 0;
    const uint32_t lamp = ready ? (f.frame % 2 ? palette::kGreen : Shade(palette::kGreen, 1.3)) : 0xFF556070;
    if (p == "safe") {
        FloorShadow(cr, 28, 54, 26, 4);
        ShadedBox(cr, 4, 14, 48, 42, 10, Shade(0xFF5A6470, 1 + 0.2 * glow));
        cairo_arc(cr, 24, 35, 9, 0, 2 * kPi);
        SetColor(cr, 0xFFC8CCD0);
        cairo_fill(cr);
        Line(cr, 24, 35, 24 + 7 * std::cos(act * 3), 35 + 7 * std::sin(act * 3), 2, 0xFF1E2A3A);
        Ellipsoid(cr, 44, 20, 2.5, 2.5, lamp);
    } else if (p == "cupboard") {
        FloorShadow(cr, 35, 54, 34, 4);
        ShadedBox(cr, 2, 20, 66, 36, 12, Shade(palette::kWood, 1 + 0.2 * glow));
        Line(cr, 35, 24, 35, 54, 1.5, Shade(palette::kWood, 0.6));
        FillRoundedRect(cr, 29, 36, 3, 8, 1, palette::kYellow);
        FillRoundedRect(cr, 38, 36, 3, 8, 1, palette::kYellow);
        if (act > 0)
            FillRoundedRect(cr, 38, 24 - 6 * act, 28, 30, 2, Shade(palette::kWood, 0.7));
        Ellipsoid(cr, 60, 28, 2.5, 2.5, lamp);
    } else if (p == "coffeemachine") {
        ShadedBox(cr, 6, 8, 28, 36, 6, Shade(0xFF4A4A52, 1 + 0.2 * glow));
        FillRoundedRect(cr, 12, 24, 16, 12, 2, 0xFF1E1E22);
        Cylinder(cr, 20, 30, 5, 6, 0xFFFFFFFF);
        if (act > 0 || ready)
            for (int i = 0; i < 3; ++i)
                Ellipsoid(cr, 16 + i * 4, 16 - 6 * Phase(f) - i * 2, 2, 3, 0x99FFFFFF);
        Ellipsoid(cr, 29, 14, 2.5, 2.5, lamp);
    } else if (p == "conference_place") {
        FloorShadow(cr, 50, 56, 46, 8);
        for (int i = 0; i < 3; ++i)
            Ellipsoid(cr, 18 + i * 32, 26, 9, 7, Shade(palette::kNavyLight, 1.2));
        cairo_save(cr);
        cairo_translate(cr, 50, 38);
        cairo_scale(cr, 1, 0.42);
        cairo_arc(cr, 0, 0, 44, 0, 2 * kPi);
        cairo_restore(cr);
        SetColor(cr, Shade(palette::kWood, 1.1 + 0.2 * glow));
        cairo_fill(cr);
        ShadedBox(cr, 46, 44, 8, 16, 0, Shade(palette::kWood, 0.7));
        for (int i = 0; i < 3; ++i)
            FillRoundedRect(cr, 28 + i * 16, 32 + (i % 2) * 4, 10, 7, 1, palette::kCream);
        if (act > 0 || ready)
            Star(cr, 80, 12, 6, 3, palette::kYellow);
        Ellipsoid(cr, 92, 30, 2.5, 2.5, lamp);
    } else if (p == "presentation_place") {
        FloorShadow(cr, 30, 82, 22, 4);
        Line(cr, 14, 80, 24, 30, 3, 0xFF5A6470);
        Line(cr, 46, 80, 36, 30, 3, 0xFF5A6470);
        FillRoundedRect(cr, 6, 6, 48, 44, 2, 0xFFFFFFFF);
        RoundedRect(cr, 6, 6, 48, 44, 2);
        Outline(cr, 1.5, Shade(0xFF5A6470, 1 + glow));
        const double heights[3] = {12, 22, 17};
        for (int i = 0; i < 3; ++i) {
            cairo_rectangle(cr, 14 + i * 11, 42 - heights[i] * (0.6 + 0.4 * (act > 0 ? act : 1)), 8, heights[i] * (0.6 + 0.4 * (act > 0 ? act : 1)));
            SetColor(cr, i == 1 ? palette::kGreen : 0xFF3C6FB0);
            cairo_fill(cr);
        }
        Ellipsoid(cr, 50, 12, 2.5, 2.5, lamp);
    } else if (p == "air_conditioner") {
        ShadedBox(cr, 2, 6, 66, 26, 6, Shade(0xFFE8ECEF, 1 - 0.1 * glow));
        for (int i = 0; i < 4; ++i)
            Line(cr, 8, 22 + i * 2.5, 48, 22 + i * 2.5, 1, 0xFF9AA6B0);
        if (act > 0 || ready)
            for (int i = 0; i < 3; ++i)
                Line(cr, 14 + i * 14, 34, 10 + i * 14 - 4 * Swing(f), 38, 1.5, 0x9973B3F2);
    } else if (p == "stereo_system") {
        FloorShadow(cr, 28, 46, 26, 3);
        ShadedBox(cr, 2, 14, 52, 34, 6, Shade(0xFF2A2F36, 1 + 0.3 * glow));
        for (int side = 0; side < 2; ++side) {
            cairo_arc(cr, 12 + side * 32, 32, 7 + (act > 0 || ready ? std::fabs(Swing(f)) : 0), 0, 2 * kPi);
            SetColor(cr, 0xFF50565E);
            cairo_fill(cr);
        }
        FillRoundedRect(cr, 22, 20, 12, 6, 1, ready ? palette::kGreen : 0xFF73B3F2);
    }
    if (glow > 0) {
        cairo_rectangle(cr, 0, 0, f.width, f.height);
        SetColor(cr, Mix(0x00FFFFFF, 0x22FFF4DC, glow));
        cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
        cairo_fill(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    }
}

void Signal(cairo_t* cr, const PartFrame& f)
{
    const bool lit = f.clip == "ready" && f.frame == 0;
    Ellipsoid(cr, 5, 5, 4.5, 4.5, lit ? palette::kRed : 0xFF4A3A3A);
    if (lit)
        Ellipsoid(cr, 4, 4, 1.5, 1.5, 0xFFFFD0D0);
}

void Phone(cairo_t* cr, const PartFrame& f)
{
    const double shake = f.clip == "ring" ? (f.frame % 2 ? 2 : -2) : 0;
    cairo_save(cr);
    cairo_translate(cr, shake, 0);
    // The base with its dial, the handset resting across it.
    ShadedBox(cr, 7, 18, 26, 14, 7, palette::kRed);
    cairo_arc(cr, 20, 25, 4.5, 0, 2 * kPi);
    SetColor(cr, palette::kCream);
    cairo_fill(cr);
    const double up = std::fabs(shake);
    FillRoundedRect(cr, 9, 9 - up, 22, 5, 2.5, Shade(palette::kRed, 0.8));
    Ellipsoid(cr, 8, 11 - up, 5, 3.5, Shade(palette::kRed, 0.85));
    Ellipsoid(cr, 32, 11 - up, 5, 3.5, Shade(palette::kRed, 0.85));
    cairo_restore(cr);
    if (f.clip == "ring") {
        for (int side = -1; side <= 1; side += 2) {
            cairo_arc(cr, 20 + side * 14, 12, 4 + f.frame % 2 * 2, side < 0 ? 2.3 : -0.8, side < 0 ? 3.9 : 0.8);
            Outline(cr, 1.5, palette::kYellow);
        }
    }
}

void Door(cairo_t* cr, const PartFrame& f)
{
    double open = 0;
    if (f.clip == "open")
        open = double(f.frame + 1) / f.frames;
    else if (f.clip == "close")
        open = 1 - double(f.frame + 1) / f.frames;
    FillRoundedRect(cr, 0, 0, 70, 106, 3, palette::kCream);
    cairo_rectangle(cr, 6, 6, 58, 100);
    SetColor(cr, 0xFF2A2F36);
    cairo_fill(cr);
    // The leaf swings inwards: narrower as it opens.
    const double w = 58 * (1 - 0.8 * open);
    ShadedBox(cr, 6, 6, w, 100, 0, Shade(palette::kWood, 1.05));
    FillRoundedRect(cr, 6 + w - 10, 56, 4, 10, 2, palette::kYellow);
    Text(cr, "WORKSHOP", 35, 24, 8, true, palette::kCream, true, 1.5);
}

void Window(cairo_t* cr, const PartFrame& f)
{
    uint32_t top = 0xFF1E2F4D, bottom = 0xFF8E5A7A, towers = 0xFF26334A;  // evening
    if (f.part == "window_morning") {
        top = 0xFFF2B48C;
        bottom = 0xFFFFE8C8;
        towers = 0xFF9A8AA0;
    } else if (f.part == "window_day") {
        top = 0xFF4F9BE8;
        bottom = 0xFFCCE6FF;
        towers = 0xFF7F9CB3;
    }
    FillRoundedRect(cr, 0, 0, 110, 100, 4, palette::kCream);
    cairo_rectangle(cr, 6, 6, 98, 88);
    FillWithGradient(cr, 0, 6, 0, 94, top, bottom);
    for (int i = 0; i < 6; ++i) {
        const double bw = 14, bh = 24 + 10 * ((i * 7) % 4);
        cairo_rectangle(cr, 8 + i * 16, 94 - bh, bw, bh);
        SetColor(cr, towers);
        cairo_fill(cr);
        if (f.part == "window")
            for (int k = 0; k < 3; ++k)
                FillRoundedRect(cr, 11 + i * 16 + (k % 2) * 5, 94 - bh + 5 + k * 7, 3, 3, 0.5, palette::kYellow);
    }
    Line(cr, 55, 6, 55, 94, 4, palette::kCream);
    Line(cr, 6, 48, 104, 48, 3, palette::kCream);
}

void Decor(cairo_t* cr, const PartFrame& f)
{
    if (f.part == "plant") {
        FloorShadow(cr, 20, 58, 16, 3);
        Cylinder(cr, 20, 40, 11, 18, 0xFFB5651D);
        if (f.skin == "palm") {
            for (int i = 0; i < 6; ++i) {
                const double a = -kPi / 2 + (i - 2.5) * 0.5;
                cairo_save(cr);
                cairo_translate(cr, 20, 24);
                cairo_rotate(cr, a);
                cairo_scale(cr, 1, 0.32);
                cairo_arc(cr, 11, 0, 11, 0, 2 * kPi);
                cairo_restore(cr);
                SetColor(cr, Shade(0xFF3E8A3A, 0.85 + 0.05 * i));
                cairo_fill(cr);
            }
            Line(cr, 20, 40, 20, 24, 3, 0xFF8A5A2B);
        } else {
            for (int i = 0; i < 7; ++i)
                Ellipsoid(cr, 20 + (i - 3) * 4.5, 30 - (i % 3) * 5, 7, 10, Shade(palette::kPlant, 0.8 + 0.06 * i));
        }
    } else if (f.part == "wall_picture") {
        FillRoundedRect(cr, 0, 0, 70, 50, 2, 0xFF6B4226);
        cairo_rectangle(cr, 5, 5, 60, 40);
        if (f.skin == "sea") {
            FillWithGradient(cr, 0, 5, 0, 45, 0xFF9AD0F5, 0xFF2E7FB8);
            Ellipsoid(cr, 50, 14, 5, 5, palette::kYellow);
            cairo_rectangle(cr, 5, 30, 60, 15);
            SetColor(cr, 0xFF1E5A8A);
            cairo_fill(cr);
            cairo_move_to(cr, 20, 30);
            cairo_line_to(cr, 28, 18);
            cairo_line_to(cr, 28, 30);
            cairo_close_path(cr);
            SetColor(cr, 0xFFFFFFFF);
            cairo_fill(cr);
        } else {
            FillWithGradient(cr, 0, 5, 0, 45, 0xFFF2B48C, 0xFF8E5A7A);
            for (int i = 0; i < 5; ++i) {
                const double bh = 12 + 6 * ((i * 5) % 4);
                cairo_rectangle(cr, 8 + i * 11, 45 - bh, 9, bh);
                SetColor(cr, 0xFF2E4670);
                cairo_fill(cr);
            }
        }
    } else if (f.part == "carpet") {
        // A flat woven runner, lit from the upper left, with a bordered edge.
        const uint32_t body = f.skin == "blue" ? 0xFF5A7FA8 : 0xFFA39C90;
        RoundedRect(cr, 4, 4, 472, 112, 18);
        FillWithGradient(cr, 4, 4, 476, 116, Shade(body, 1.1), Shade(body, 0.9));
        RoundedRect(cr, 14, 12, 452, 96, 12);
        Outline(cr, 4, Shade(body, 0.78));
        for (int i = 0; i < 22; ++i)
            Line(cr, 30 + i * 20, 22, 30 + i * 20, 98, 1, Shade(body, 0.95));
    } else if (f.part == "secretary_desk") {
        FloorShadow(cr, 60, 66, 58, 6);
        ShadedBox(cr, 2, 30, 116, 40, 26, 0xFFC49A6C);
        ShadedBox(cr, 14, 8, 26, 16, 4, 0xFF33393F);
        FillRoundedRect(cr, 48, 16, 22, 10, 1, palette::kCream);
    } else if (f.part == "client_place") {
        if (f.skin == "sofa") {
            FloorShadow(cr, 24, 38, 22, 3);
            FillRoundedRect(cr, 2, 4, 44, 22, 8, Shade(0xFF8E3B5A, 0.9));
            FillRoundedRect(cr, 2, 18, 44, 18, 6, 0xFF8E3B5A);
            FillRoundedRect(cr, 0, 14, 8, 22, 4, Shade(0xFF8E3B5A, 0.8));
            FillRoundedRect(cr, 40, 14, 8, 22, 4, Shade(0xFF8E3B5A, 0.8));
        } else {
            FloorShadow(cr, 24, 38, 16, 3);
            Line(cr, 14, 22, 12, 38, 3, 0xFF5A6470);
            Line(cr, 34, 22, 36, 38, 3, 0xFF5A6470);
            Cylinder(cr, 24, 16, 16, 6, palette::kNavyLight);
        }
    }
}

void Indicator(cairo_t* cr, const PartFrame& f)
{
    const std::string& p = f.part;
    const std::string& a = f.clip;
    if (p == "status_hp_back") {
        FillRoundedRect(cr, 0, 0, 14, 64, 4, 0xDD1E2F4D);
        RoundedRect(cr, 0.5, 0.5, 13, 63, 4);
        Outline(cr, 1, palette::kCream);
    } else if (p == "status_hp") {
        FillRoundedRect(cr, 0, 0, 10, 5, 1, palette::kGreen);
        Line(cr, 1, 1, 9, 1, 1, Shade(palette::kGreen, 1.3));
    } else if (p == "status_bubble") {
        const uint32_t body = a == "aggro" ? 0xFFFFD0C8 : 0xFFFFFFFF;
        const uint32_t rim = a == "aggro" ? palette::kRed : palette::kNavy;
        if (a == "cloud") {
            for (int i = 0; i < 5; ++i)
                Ellipsoid(cr, 12 + i * 9, 16 + (i % 2) * 4, 11, 10, body);
            Ellipsoid(cr, 10, 36, 3, 3, body);
            Ellipsoid(cr, 5, 41, 2, 2, body);
        } else if (a == "aggro") {
            cairo_move_to(cr, 30, 1);
            for (int i = 1; i < 16; ++i) {
                const double t = i * 2 * kPi / 16, r = i % 2 ? 14 : 21;
                cairo_line_to(cr, 30 + std::sin(t) * r * 1.35, 19 - std::cos(t) * r * 0.85);
            }
            cairo_close_path(cr);
            SetColor(cr, body);
            cairo_fill_preserve(cr);
            Outline(cr, 1.5, rim);
        } else {
            RoundedRect(cr, 2, 2, 56, 32, 10);
            SetColor(cr, body);
            cairo_fill_preserve(cr);
            Outline(cr, 1.5, rim);
            cairo_move_to(cr, 10, 33);
            cairo_line_to(cr, 6, 43);
            cairo_line_to(cr, 20, 33);
            SetColor(cr, body);
            cairo_fill_preserve(cr);
            Outline(cr, 1.5, rim);
            if (a == "multi_right") {
                Ellipsoid(cr, 50, 10, 6, 6, palette::kYellow);
                Text(cr, "+", 50, 14, 10, true, palette::kNavy, true);
            }
        }
    } else if (p == "status_type") {
        const double c = 14;
        if (a == "ready") {
            Ellipsoid(cr, c, c, 12, 12, palette::kGreen);
            cairo_move_to(cr, 8, 14);
            cairo_line_to(cr, 12, 19);
            cairo_line_to(cr, 20, 9);
            Outline(cr, 3, 0xFFFFFFFF);
        } else if (a == "scandal") {
            Ellipsoid(cr, c, c, 12, 12, palette::kRed);
            Text(cr, "!", c, 21, 18, true, 0xFFFFFFFF, true);
        } else if (a == "coffee") {
            Cylinder(cr, 12, 10, 8, 13, 0xFFFFFFFF);
            Ellipsoid(cr, 12, 10, 6, 2, 0xFF6B4226);
            cairo_arc(cr, 21, 16, 4, -1.2, 1.2);
            Outline(cr, 2, 0xFFC8CCD0);
        } else if (a == "sleep" || a == "snore") {
            Text(cr, "z", 8, 24, 12, true, palette::kNavyLight, true, 1);
            Text(cr, "Z", 18, 16, a == "snore" ? 18 : 14, true, palette::kNavyLight, true, 1);
        } else if (a.rfind("timer", 0) == 0) {
            const int step = a.back() - '0';
            Ellipsoid(cr, c, c, 12, 12, 0xFFFFFFFF);
            cairo_move_to(cr, c, c);
            cairo_arc(cr, c, c, 10, -kPi / 2, -kPi / 2 + 2 * kPi * (step + 1) / 5.0);
            cairo_close_path(cr);
            SetColor(cr, step < 2 ? palette::kGreen : step < 4 ? palette::kYellow : palette::kRed);
            cairo_fill(cr);
            cairo_arc(cr, c, c, 12, 0, 2 * kPi);
            Outline(cr, 1.5, palette::kNavy);
        } else {
            Ellipsoid(cr, c, c, 13, 13, palette::kCream);
            TypeBadge(cr, ClientLook(a), c, c, 24);
        }
    } else if (p == "status_production") {
        DrawItemIcon(cr, a, 12, 12, 22);
    } else if (p == "spec") {
        static const std::map<std::string, std::string> words = {
            {"spec_l1t1", "0101"}, {"spec_l1t2", "0102"}, {"spec_l1t3", "0103"}, {"spec_l1t4", "0104"},
            {"spec_l1t5", "0105"}, {"spec_l2t0", "0200"}, {"spec_l3t0", "0300"}, {"spec_l4t0", "0400"}};
        FillRoundedRect(cr, 1, 1, 22, 22, 4, palette::kNavy);
        RoundedRect(cr, 1.5, 1.5, 21, 21, 4);
        Outline(cr, 1, palette::kYellow);
        const auto found = words.find(f.skin);
        DrawItemIcon(cr, found == words.end() ? "0101" : found->second, 12, 12, 17);
    }
}

// A worker at the mini bar: seen from behind on a stool, drinking (up) or
// dozing with the head on the counter (down).
void BarGuest(cairo_t* cr, const PartFrame& f)
{
    static const std::map<std::string, int> looks = {{"worker01a", 2}, {"worker02a", 0}, {"worker03a", 3},
                                                     {"worker04a", 1}, {"worker01b", 1}, {"worker02b", 2},
                                                     {"worker03b", 0}, {"worker04b", 3}};
    const auto found = looks.find(f.clip);
    Pose pose;
    pose.heading = "t";
    pose.variant = found == looks.end() ? 0 : found->second;
    const bool up = f.part.find("_up") != std::string::npos;
    Line(cr, f.width / 2.0, f.height - 22, f.width / 2.0, f.height - 2, 3, 0xFF5A6470);
    Cylinder(cr, f.width / 2.0, f.height - 26, 12, 4, palette::kRed);
    if (up) {
        pose.rightArm = 1.2 + 0.9 * std::fabs(Swing(f));
        pose.lift = std::fabs(Swing(f));
        DrawPuppet(cr, f.width / 2.0, f.height + 8, 74, Look::Worker, pose);
    } else {
        pose.leftArm = pose.rightArm = 2.2;
        pose.lift = -6;
        DrawPuppet(cr, f.width / 2.0, f.height - 4, 60, Look::Worker, pose);
        Text(cr, "z", f.width - 8.0, 12, 10, true, palette::kCream, true, 1);
    }
}

void MiniBar(cairo_t* cr, const PartFrame& f)
{
    FloorShadow(cr, 52, 68, 50, 4);
    ShadedBox(cr, 2, 34, 100, 34, 10, 0xFF6B4226);
    FillRoundedRect(cr, 2, 22, 100, 6, 3, 0xFFC8CCD0);
    const uint32_t bottles[5] = {palette::kGreen, 0xFF8E3B5A, palette::kYellow, 0xFF3C6FB0, palette::kRed};
    for (int i = 0; i < 5; ++i) {
        const double lift = f.clip == "active" && i == f.frame % 5 ? 3 : 0;
        FillRoundedRect(cr, 10 + i * 18, 4 - lift, 8, 18, 3, bottles[i]);
        FillRoundedRect(cr, 12 + i * 18, 0 - lift, 4, 6, 1, Shade(bottles[i], 0.7));
    }
    Text(cr, "BAR", 52, 56, 10, true, palette::kYellow, true, 1);
}

} // namespace

void DrawItemIcon(cairo_t* cr, const std::string& word, double cx, double cy, double size)
{
    if (word == "paper")
        return Paper(cr, cx, cy, size);
    if (word == "ink")
        return Ink(cr, cx, cy, size);
    if (word == "clips")
        return Clips(cr, cx, cy, size);
    if (word == "money")
        return Money(cr, cx, cy, size);
    if (word.size() == 4 && word[0] == '0') {
        const int stage = word[1] - '0';
        const int variant = word[3] - '0';
        if (stage >= 2)
            StageOverlay(cr, stage, cx, cy, size);
        if (variant >= 1)
            Product(cr, variant, cx - (stage >= 2 ? size * 0.08 : 0), cy + (stage >= 2 ? size * 0.06 : 0),
                    stage >= 2 ? size * 0.7 : size);
        else if (stage < 2)
            Paper(cr, cx, cy, size);
        if (stage >= 2 && variant == 0) {
            // The overlay alone: a badge with its stage number.
            Ellipsoid(cr, cx, cy + size * 0.05, size * 0.2, size * 0.2, palette::kNavy);
            Text(cr, std::to_string(stage), cx, cy + size * 0.18, size * 0.3, true, palette::kYellow, true);
        }
    }
}

Picture DrawPartFrame(const PartFrame& f)
{
    Canvas canvas(f.width, f.height);
    cairo_t* cr = canvas.cr();
    const std::string& p = f.part;
    if (p == "boss" || p == "secretary" || p == "engineer")
        Walker(cr, f);
    else if (p == "client")
        ClientFigure(cr, f);
    else if (p == "worker_up")
        SeatedWorker(cr, f);
    else if (p == "table")
        Desk(cr, f);
    else if (p == "shelving")
        Shelf(cr, f);
    else if (p == "trash_bin")
        Bin(cr, f);
    else if (p == "checkmark")
        Checkmark(cr, f);
    else if (p == "held_items")
        DrawItemIcon(cr, f.clip, f.width / 2.0, f.height / 2.0, f.height - 2);
    else if (p == "phone")
        Phone(cr, f);
    else if (p == "door")
        Door(cr, f);
    else if (p == "window" || p == "window_day" || p == "window_morning")
        Window(cr, f);
    else if (p == "air_conditioner_signal" || p == "stereo_system_signal")
        Signal(cr, f);
    else if (p == "mini_bar")
        MiniBar(cr, f);
    else if (p.rfind("minibar_pers", 0) == 0)
        BarGuest(cr, f);
    else if (p.rfind("status_", 0) == 0 || p == "spec")
        Indicator(cr, f);
    else if (p == "plant" || p == "wall_picture" || p == "carpet" || p == "secretary_desk" || p == "client_place")
        Decor(cr, f);
    else
        Device(cr, f);
    return canvas.Take();
}

} // namespace contentgen
