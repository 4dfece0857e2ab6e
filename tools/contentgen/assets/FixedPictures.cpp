// Every picture whose name and size the data set fixes: backdrops, splash
// pages, HUD pieces, portraits, calendars, comic pages, icons, particles,
// cursors and month pictures (the briefing, help and upgrade pictures show
// the office and are drawn from its parts: OfficePictures).
#include "assets/Assets.h"
#include "assets/ArtKit.h"
#include "assets/ImageFiles.h"
#include "assets/OfficeScene.h"
#include "assets/Puppet.h"
#include "Tables.h"

#include <cmath>
#include <functional>

namespace contentgen {

namespace {

using Painter = std::function<void(cairo_t*)>;

Picture Paint(int w, int h, const Painter& paint)
{
    Canvas c(w, h);
    paint(c.cr());
    return c.Take();
}

// The office scene scaled to a picture of w x h.
Painter Scene(int w, int h, SceneOptions o)
{
    return [=](cairo_t* cr) {
        cairo_save(cr);
        cairo_scale(cr, w / 800.0, h / 600.0);
        DrawOfficeScene(cr, o);
        cairo_restore(cr);
    };
}

void Backdrop(cairo_t* cr, int w, int h, uint32_t top, uint32_t bottom)
{
    cairo_rectangle(cr, 0, 0, w, h);
    FillWithGradient(cr, 0, 0, 0, h, top, bottom);
}

const char* const kSkins[2] = {"man", "woman"};
Look SkinLook(int skin)
{
    return skin == 0 ? Look::Man : Look::Woman;
}

// A boss portrait: the figure cut at the picture's bottom, on a backdrop
// unless transparent.
Picture Portrait(int w, int h, int skin, Pose pose, bool backdrop, double scale)
{
    return Paint(w, h, [&](cairo_t* cr) {
        if (backdrop) {
            Backdrop(cr, w, h, Shade(palette::kWall, 1.2), palette::kWallDark);
            cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
            cairo_arc(cr, w * 0.35, h * 0.3, w * 0.45, 0, 2 * M_PI);
            cairo_fill(cr);
        }
        DrawPuppet(cr, w / 2.0, h * (scale + 0.06), h * scale, SkinLook(skin), pose);
    });
}

void Clock(cairo_t* cr, int k)
{
    Ellipsoid(cr, 22, 22, 20, 20, palette::kCream);
    SetColor(cr, palette::kNavy);
    cairo_set_line_width(cr, 2.5);
    cairo_arc(cr, 22, 22, 19, 0, 2 * M_PI);
    cairo_stroke(cr);
    // The passed part of the day in yellow.
    if (k > 0) {
        cairo_move_to(cr, 22, 22);
        cairo_arc(cr, 22, 22, 15, -M_PI / 2, -M_PI / 2 + 2 * M_PI * k / 12.0);
        cairo_close_path(cr);
        SetColor(cr, palette::kYellow);
        cairo_fill(cr);
    }
    for (int i = 0; i < 12; ++i) {
        double a = i * M_PI / 6;
        cairo_move_to(cr, 22 + 14 * std::sin(a), 22 - 14 * std::cos(a));
        cairo_line_to(cr, 22 + 17 * std::sin(a), 22 - 17 * std::cos(a));
    }
    cairo_set_line_width(cr, 1.5);
    SetColor(cr, palette::kNavy);
    cairo_stroke(cr);
    double a = 2 * M_PI * k / 12.0;
    cairo_move_to(cr, 22, 22);
    cairo_line_to(cr, 22 + 13 * std::sin(a), 22 - 13 * std::cos(a));
    cairo_set_line_width(cr, 2.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetColor(cr, palette::kRed);
    cairo_stroke(cr);
}

// A calendar page: columns x rows cells of cw x ch; the days of the month
// (the first in column first) lit, weekends tinted.
void CalendarPage(cairo_t* cr, int cols, int rows, double cw, double ch, int month)
{
    FillRoundedRect(cr, 0, 0, cols * cw, rows * ch, 6, palette::kCream);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            // Day d of the month sits at cell d + offset, row by row.
            int day = r * cols + c - MonthOffset(month + 1);
            bool inMonth = day >= 1 && day <= DaysInMonth(month + 1);
            uint32_t fill = !inMonth ? 0xFFE4DCCB : c >= 5 ? 0xFFF6D9A8 : 0xFFFFFBF0;
            cairo_rectangle(cr, c * cw + 1, r * ch + 1, cw - 2, ch - 2);
            SetColor(cr, fill);
            cairo_fill(cr);
        }
    SetColor(cr, Shade(palette::kNavy, 1.4));
    cairo_set_line_width(cr, 1);
    for (int c = 0; c <= cols; ++c) {
        cairo_move_to(cr, c * cw + 0.5, 0);
        cairo_line_to(cr, c * cw + 0.5, rows * ch);
    }
    for (int r = 0; r <= rows; ++r) {
        cairo_move_to(cr, 0, r * ch + 0.5);
        cairo_line_to(cr, cols * cw, r * ch + 0.5);
    }
    cairo_stroke(cr);
}

void DayCell(cairo_t* cr, uint32_t fill, bool star)
{
    FillRoundedRect(cr, 1, 1, 32, 26, 4, Shade(fill, 0.7));
    FillRoundedRect(cr, 2, 2, 30, 23, 4, fill);
    if (star)
        Star(cr, 27, 7, 5, 2.2, palette::kYellow);
}

void Sparkle(cairo_t* cr, int frame)
{
    double t = (frame + 1) / 6.0;
    const double xs[] = {40, 110, 190, 260, 330, 150, 230};
    const double ys[] = {30, 55, 20, 50, 30, 65, 62};
    for (int i = 0; i < 7; ++i) {
        double phase = std::fmod(t + i * 0.17, 1.0);
        double size = 4 + 14 * std::sin(M_PI * phase);
        Star(cr, xs[i], ys[i], size, size * 0.4, (uint32_t(255 * (1 - 0.6 * phase)) << 24) | 0xFFF2A0);
    }
}

void Icon(cairo_t* cr, const std::string& kind)
{
    Ellipsoid(cr, 48, 48, 44, 44, kind == "quit" || kind.rfind("del", 0) == 0 ? palette::kRed : palette::kNavyLight);
    SetColor(cr, 0xFFFFFFFF);
    cairo_set_line_width(cr, 7);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    if (kind == "restlvl") {
        cairo_arc(cr, 48, 50, 22, -0.3, 1.5 * M_PI);
        cairo_stroke(cr);
        cairo_move_to(cr, 72, 34);
        cairo_line_to(cr, 70, 52);
        cairo_line_to(cr, 56, 42);
        cairo_close_path(cr);
        cairo_fill(cr);
    } else if (kind == "exitmenu") {
        cairo_rectangle(cr, 30, 24, 30, 48);
        cairo_stroke(cr);
        cairo_move_to(cr, 50, 48);
        cairo_line_to(cr, 76, 48);
        cairo_stroke(cr);
    } else if (kind == "quit") {
        cairo_arc(cr, 48, 50, 22, -M_PI / 2 + 0.6, 1.5 * M_PI - 0.6);
        cairo_stroke(cr);
        cairo_move_to(cr, 48, 22);
        cairo_line_to(cr, 48, 48);
        cairo_stroke(cr);
    } else {
        if (kind == "delprof") {
            Ellipsoid(cr, 42, 36, 12, 12, 0xFFFFFFFF);
            Ellipsoid(cr, 42, 66, 20, 12, 0xFFFFFFFF);
        } else {
            cairo_rectangle(cr, 24, 26, 40, 40);
            cairo_stroke(cr);
        }
        SetColor(cr, palette::kYellow);
        cairo_set_line_width(cr, 6);
        cairo_move_to(cr, 58, 54);
        cairo_line_to(cr, 76, 72);
        cairo_move_to(cr, 76, 54);
        cairo_line_to(cr, 58, 72);
        cairo_stroke(cr);
    }
}

void Cursor(cairo_t* cr, const std::string& mode)
{
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    if (mode == "text") {
        SetColor(cr, 0xFF000000);
        cairo_set_line_width(cr, 4);
        for (int pass = 0; pass < 2; ++pass) {
            cairo_move_to(cr, 11, 6);
            cairo_line_to(cr, 19, 6);
            cairo_move_to(cr, 15, 6);
            cairo_line_to(cr, 15, 26);
            cairo_move_to(cr, 11, 26);
            cairo_line_to(cr, 19, 26);
            cairo_stroke(cr);
            SetColor(cr, 0xFFFFFFFF);
            cairo_set_line_width(cr, 2);
        }
        return;
    }
    if (mode == "active") {
        // A pointing hand: finger up at (9, 2).
        RoundedRect(cr, 6, 2, 6, 16, 3);
        RoundedRect(cr, 6, 13, 18, 15, 5);
    } else {
        cairo_move_to(cr, 1, 1);
        cairo_line_to(cr, 1, 24);
        cairo_line_to(cr, 7, 18);
        cairo_line_to(cr, 12, 28);
        cairo_line_to(cr, 16, 26);
        cairo_line_to(cr, 11, 17);
        cairo_line_to(cr, 19, 17);
        cairo_close_path(cr);
    }
    SetColor(cr, 0xFFFFFFFF);
    cairo_fill_preserve(cr);
    SetColor(cr, 0xFF000000);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

// A month picture: a small office scene in the month's light with a
// coloured band.
void MonthPicture(cairo_t* cr, int w, int h, int month, double daylight)
{
    SceneOptions o;
    o.seed = uint32_t(10 + month);
    o.daylight = daylight;
    cairo_save(cr);
    RoundedRect(cr, 0, 0, w, h, 10);
    cairo_clip(cr);
    cairo_scale(cr, w / 800.0, h / 600.0 * 2.0);
    cairo_translate(cr, 0, -150);
    DrawOfficeScene(cr, o);
    cairo_restore(cr);
    const uint32_t bands[3] = {0xFF6FA8DC, 0xFF93C47D, 0xFFE69138};
    RoundedRect(cr, 1.5, 1.5, w - 3, h - 3, 10);
    SetColor(cr, bands[month]);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

// What an upgrade adds or re-skins, on a light card.

void Add(std::vector<OutFile>& out, const std::string& path, std::vector<uint8_t> bytes)
{
    out.push_back(OutFile{path, std::move(bytes)});
}

} // namespace

OutFile DrawVersionPage(const std::string& caption)
{
    Picture p = Paint(800, 600, [&](cairo_t* cr) {
        Backdrop(cr, 800, 600, palette::kNavyLight, palette::kNavy);
        Panel(cr, 200, 240, 400, 120);
        Text(cr, caption, 400, 310, 24, true, palette::kCream, true);
    });
    return OutFile{"images\\splash\\version.png", EncodePng(p)};
}

std::vector<OutFile> DrawFixedPictures()
{
    std::vector<OutFile> out;
    // Backdrops.
    Add(out, "images\\office\\ground.jpg", EncodeJpeg(Paint(800, 600, DrawOfficeGround)));
    SceneOptions front;
    front.clearTopLeft = true;
    front.seed = 2;
    Add(out, "images\\frontend\\background.jpg", EncodeJpeg(Paint(800, 600, Scene(800, 600, front))));
    SceneOptions dim;
    dim.daylight = 0.55;
    dim.seed = 3;
    Add(out, "images\\frontend\\loading.jpg", EncodeJpeg(Paint(800, 600, Scene(800, 600, dim))));
    for (int k = 0; k < 8; ++k)
        Add(out, "images\\frontend\\spin" + std::to_string(k) + ".png", EncodePng(Paint(64, 64, [&](cairo_t* cr) {
                for (int i = 0; i < 8; ++i) {
                    double a = i * M_PI / 4;
                    int age = (k - i + 8) % 8;
                    uint32_t alpha = uint32_t(255 - age * 28) << 24;
                    Ellipsoid(cr, 32 + 22 * std::sin(a), 32 - 22 * std::cos(a), 6 - age * 0.4, 6 - age * 0.4,
                              alpha | (palette::kYellow & 0xFFFFFF));
                }
            })));

    // Splash pages.
    Add(out, "images\\splash\\studio.jpg", EncodeJpeg(Paint(800, 600, [](cairo_t* cr) {
            Backdrop(cr, 800, 600, palette::kNavy, 0xFF0B1424);
            Cylinder(cr, 400, 200, 70, 140, palette::kYellow);
            Star(cr, 400, 180, 60, 25, palette::kCream);
        })));
    SceneOptions title;
    title.seed = 4;
    Add(out, "images\\splash\\title.jpg", EncodeJpeg(Paint(800, 600, Scene(800, 600, title))));
    out.push_back(DrawVersionPage("base data"));

    // The two pictures with words.
    Add(out, "images\\loc\\logo_title.png", EncodePng(Paint(300, 90, [](cairo_t* cr) {
            Cylinder(cr, 30, 18, 10, 52, palette::kYellow);
            Star(cr, 30, 16, 14, 6, palette::kCream);
            Text(cr, "Quillmore", 52, 60, 40, true, palette::kYellow, false, 3);
        })));
    Add(out, "images\\loc\\newflash.png", EncodePng(Paint(90, 44, [](cairo_t* cr) {
            FillRoundedRect(cr, 2, 4, 86, 36, 16, palette::kRed);
            Text(cr, "NEW!", 45, 30, 20, true, 0xFFFFFFFF, true, 1.5);
        })));

    // HUD.
    const struct {
        const char* name;
        uint32_t body, rim;
    } kHudKinds[] = {{"goal", palette::kNavy, palette::kYellow}, {"expert", 0xFF3D2A5C, 0xFFFFD966}};
    for (const auto& k : kHudKinds) {
        Add(out, std::string("images\\hud\\hud_") + k.name + ".png", EncodePng(Paint(800, 44, [&](cairo_t* cr) {
                Backdrop(cr, 800, 44, Shade(k.body, 1.3), k.body);
                cairo_rectangle(cr, 0, 40, 800, 4);
                SetColor(cr, k.rim);
                cairo_fill(cr);
                FillRoundedRect(cr, 192, 10, 258, 24, 6, 0x60000000);
            })));
        Add(out, std::string("images\\hud\\banner_") + k.name + ".png", EncodePng(Paint(400, 150, [&](cairo_t* cr) {
                Panel(cr, 10, 25, 380, 110, k.body, k.rim);
                for (int i = 0; i < 5; ++i)
                    Star(cr, 60 + i * 70, 25, i % 2 ? 14 : 20, i % 2 ? 6 : 8, k.rim);
            })));
    }
    const struct {
        const char* file;
        uint32_t fill;
    } kBars[] = {{"bar", palette::kGreen}, {"bar_ex", 0xFFFFD966}};
    for (const auto& b : kBars)
        Add(out, std::string("images\\hud\\") + b.file + ".png", EncodePng(Paint(10, 32, [&](cairo_t* cr) {
                cairo_rectangle(cr, 0, 0, 10, 16);
                SetColor(cr, b.fill);
                cairo_fill(cr);
                cairo_rectangle(cr, 0, 0, 10, 5);
                SetColor(cr, Shade(b.fill, 1.3));
                cairo_fill(cr);
                cairo_rectangle(cr, 0, 16, 10, 16);
                SetColor(cr, 0xFF2A3440);
                cairo_fill(cr);
                cairo_rectangle(cr, 9, 0, 1, 32);
                SetColor(cr, 0x60000000);
                cairo_fill(cr);
            })));
    Add(out, "images\\hud\\upgrade_glow.png", EncodePng(Paint(124, 50, [](cairo_t* cr) {
            for (int i = 0; i < 6; ++i)
                FillRoundedRect(cr, i * 2, i * 2, 124 - i * 4, 50 - i * 4, 14, 0x28F2C230);
        })));
    for (int k = 0; k <= 12; ++k) {
        char name[40];
        snprintf(name, sizeof name, "images\\hud\\clock%02d.gif", k);
        Add(out, name, EncodeGif(Paint(44, 44, [&](cairo_t* cr) { Clock(cr, k); })));
    }

    // Portraits.
    for (int skin = 0; skin < 2; ++skin) {
        std::string s = kSkins[skin];
        Pose calm;
        Add(out, "images\\portraits\\db06_boss" + s + ".png", EncodePng(Portrait(150, 190, skin, calm, true, 1.75)));
        Pose wave;
        wave.rightArm = 2.4;
        wave.mood = 1;
        Add(out, "images\\portraits\\mn01_boss" + s + ".png", EncodePng(Portrait(220, 300, skin, wave, false, 0.9)));
        Add(out, "images\\portraits\\mn04_boss" + s + ".png", EncodePng(Portrait(90, 120, skin, calm, true, 1.75)));
        const struct {
            const char* kind;
            double arms;
            int mood;
        } kMoods[] = {{"expert", 2.6, 1}, {"goal", 0.5, 1}, {"failure", 0.05, -1}};
        for (const auto& m : kMoods) {
            Pose p;
            p.leftArm = p.rightArm = m.arms;
            p.mood = m.mood;
            Picture boss = Portrait(200, 260, skin, p, false, 0.9);
            std::string name = std::string("db07_boss") + s + "_" + m.kind;
            Add(out, "images\\portraits\\" + name + ".jpg", EncodeJpeg(boss));
            Add(out, "images\\portraits\\_" + name + ".png", EncodeAlphaMask(boss));
        }
    }

    // Calendars.
    const struct {
        const char* kind;
        uint32_t fill;
        bool star;
    } kDays[] = {{"work", palette::kNavyLight, false},
                 {"normal", palette::kGreen, false},
                 {"expert", 0xFFE0A100, true},
                 {"weekend", 0xFFB8B2A6, false}};
    for (const auto& d : kDays)
        Add(out, std::string("images\\calendar\\day_") + d.kind + ".png",
            EncodePng(Paint(34, 28, [&](cairo_t* cr) { DayCell(cr, d.fill, d.star); })));
    for (int m = 0; m < 3; ++m) {
        Add(out, "images\\calendar\\brief_calendar" + std::to_string(m + 1) + ".png",
            EncodePng(Paint(175, 190, [&](cairo_t* cr) { CalendarPage(cr, 7, 5, 25, 38, m); })));
        Add(out, "images\\calendar\\db07_calendar" + std::to_string(m + 1) + ".png",
            EncodePng(Paint(126, 145, [&](cairo_t* cr) { CalendarPage(cr, 7, 5, 18, 29, m); })));
    }

    // Debriefing panels and the score sparkle.
    const struct {
        const char* kind;
        uint32_t body, rim;
    } kResults[] = {{"expert", 0xFF3D2A5C, 0xFFFFD966}, {"goal", palette::kNavy, palette::kYellow},
                    {"failure", 0xFF4A2630, 0xFFB0A090}};
    for (const auto& r : kResults) {
        Add(out, std::string("images\\debriefing\\bosspanel_") + r.kind + ".png",
            EncodePng(Paint(230, 300, [&](cairo_t* cr) { Panel(cr, 0, 0, 230, 300, r.body, r.rim); })));
        Add(out, std::string("images\\debriefing\\moneypanel_") + r.kind + ".png",
            EncodePng(Paint(400, 120, [&](cairo_t* cr) {
                Panel(cr, 0, 0, 400, 120, Shade(r.body, 1.2), r.rim);
                FillRoundedRect(cr, 14, 18, 372, 80, 10, 0x40000000);
            })));
    }
    for (int k = 0; k < 6; ++k)
        Add(out, "images\\debriefing\\spark" + std::to_string(k) + ".png",
            EncodePng(Paint(380, 80, [&](cairo_t* cr) { Sparkle(cr, k); })));

    // Comic pages: the office, the boss telling the story, a caption strip.
    for (int k = 1; k <= 5; ++k)
        for (int skin = 0; skin < 2; ++skin)
            Add(out, "images\\comic\\comix" + std::to_string(k) + "_" + kSkins[skin] + ".jpg",
                EncodeJpeg(Paint(720, 540, [&](cairo_t* cr) {
                    SceneOptions o;
                    o.seed = uint32_t(20 + k);
                    o.daylight = k == 5 ? 0.7 : 1.0;
                    Scene(720, 540, o)(cr);
                    Pose p;
                    p.heading = k % 2 ? "br" : "b";
                    p.rightArm = 0.4 + 0.4 * k;
                    p.mood = k == 3 ? -1 : 1;
                    DrawPuppet(cr, 200 + 60 * k, 470, 300, SkinLook(skin), p);
                    cairo_set_source_rgba(cr, 0.1, 0.16, 0.28, 0.35);
                    cairo_rectangle(cr, 0, 0, 720, 540);
                    cairo_set_line_width(cr, 16);
                    cairo_stroke(cr);
                })));

    // Message box icons.
    for (const char* kind : {"restlvl", "exitmenu", "delcareer", "quit", "delprof"})
        Add(out, std::string("images\\dialogs\\icon_") + kind + ".png",
            EncodePng(Paint(96, 96, [&](cairo_t* cr) { Icon(cr, kind); })));

    // Particles: a Targa star, a star given only as an alpha image, smoke.
    Add(out, "images\\fx\\star_small.tga",
        EncodeTga(Paint(16, 16, [](cairo_t* cr) { Star(cr, 8, 8.5, 7.5, 3.2, palette::kYellow); })));
    Add(out, "images\\fx\\_star_big.png",
        EncodeAlphaMask(Paint(32, 32, [](cairo_t* cr) { Star(cr, 16, 17, 15, 6.5, 0xFFFFFFFF); })));
    Add(out, "images\\fx\\smoke.png", EncodePng(Paint(32, 32, [](cairo_t* cr) {
            for (int i = 0; i < 4; ++i)
                Ellipsoid(cr, 11 + i * 3.5, 18 - (i % 2) * 5, 8, 7, 0x70D8D8D8);
        })));

    // Cursors.
    for (const char* mode : {"normal", "active", "text"})
        Add(out, std::string("images\\cursors\\") + mode + ".tga",
            EncodeTga(Paint(32, 32, [&](cairo_t* cr) { Cursor(cr, mode); })));

    // Month pictures of the career and the survival buttons (normal, over,
    // disabled stacked).
    for (int m = 0; m < 3; ++m) {
        Add(out, "images\\career\\month" + std::to_string(m + 1) + ".png",
            EncodePng(Paint(kCareerMonthWidth, 90, [&](cairo_t* cr) { MonthPicture(cr, kCareerMonthWidth, 90, m, 1.0); })));
        Add(out, "images\\survival\\month" + std::to_string(m + 1) + ".png",
            EncodePng(Paint(230, 510, [&](cairo_t* cr) {
                const double light[3] = {1.0, 1.2, 0.5};
                for (int state = 0; state < 3; ++state) {
                    cairo_save(cr);
                    cairo_translate(cr, 0, 170 * state);
                    MonthPicture(cr, 230, 170, m, std::min(1.0, light[state]));
                    if (state == 1) {
                        RoundedRect(cr, 0, 0, 230, 170, 10);
                        SetColor(cr, 0x30FFF2A0);
                        cairo_fill(cr);
                    }
                    cairo_restore(cr);
                }
            })));
    }

    return out;
}

} // namespace contentgen
