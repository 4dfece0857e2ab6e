#include "OfficePictures.h"

#include "OfficeModel.h"
#include "Tables.h"
#include "assets/ArtKit.h"
#include "assets/ImageFiles.h"
#include "assets/OfficeScene.h"
#include "assets/PartArt.h"
#include "assets/Puppet.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>

namespace contentgen {

namespace {

const double kPi = 3.14159265358979323846;

// Someone standing in the picture: a look posed with the feet at (x, y).
struct Figure {
    Look look;
    double x;
    double y;
    Pose pose;
};

// What a picture of the office shows: objects in a skin each, and people.
struct Shot {
    std::map<std::string, std::string> skins;  // object -> skin ("" for none)
    std::vector<Figure> figures;
};

// The office every day from the first month on: the room, the shelves, the
// first row of desks, four client places with their clients.
Shot RegularOffice()
{
    Shot shot;
    for (const char* name : {"window", "picture01", "picture02", "secretary_desk", "door03"})
        shot.skins[name] = "";
    shot.skins["carpet01"] = "grey";
    for (const char* name : {"plant01", "plant02", "plant03"})
        shot.skins[name] = "fern";
    shot.skins["picture01"] = shot.skins["picture02"] = "city";
    shot.skins["shelving01"] = "paper";
    shot.skins["shelving02"] = "ink";
    shot.skins["trash_bin"] = "";
    const char* looks[4] = {"w3", "w1", "w4", "w2"};
    const char* plates[4] = {"spec_l1t1", "spec_l1t2", "spec_l1t3", "spec_l1t4"};
    for (int k = 1; k <= 4; ++k) {
        const std::string s = "0" + std::to_string(k) + "a";
        shot.skins["worker" + s] = looks[k - 1];
        shot.skins["table" + s] = "plain";
        shot.skins["worker" + s + "_spec"] = plates[k - 1];
    }
    const char* clients[4] = {"student", "clerk", "student", "clerk"};
    for (int n = 2; n <= 5; ++n) {
        shot.skins["client_place0" + std::to_string(n)] = "stool";
        shot.skins["client0" + std::to_string(n)] = clients[n - 2];
    }
    return shot;
}

// The second row of desks, as from the second month.
void AddRowB(Shot& shot, const char* const plates[4])
{
    const char* looks[4] = {"w2", "w3", "w1", "w4"};
    for (int k = 1; k <= 4; ++k) {
        const std::string s = "0" + std::to_string(k) + "b";
        shot.skins["worker" + s] = looks[k - 1];
        shot.skins["table" + s] = "plain";
        shot.skins["worker" + s + "_spec"] = plates[k - 1];
    }
    shot.skins["shelving03"] = "clips";
}

// The room drawn as the game draws it: the ground, then the parts back to
// front, each in its first animation's first frame, and the people among
// them by where they stand.
void DrawShot(cairo_t* cr, const Shot& shot)
{
    DrawOfficeGround(cr);
    std::set<std::string> names;
    for (const auto& entry : shot.skins)
        names.insert(entry.first);
    std::vector<PartPlacement> placed = PartPlacements(names);
    std::vector<Figure> figures = shot.figures;
    std::sort(figures.begin(), figures.end(), [](const Figure& a, const Figure& b) { return a.y < b.y; });
    size_t nextFigure = 0;
    auto drawFiguresUpTo = [&](double depth) {
        for (; nextFigure < figures.size() && figures[nextFigure].y <= depth; ++nextFigure)
            DrawPuppet(cr, figures[nextFigure].x, figures[nextFigure].y, 100, figures[nextFigure].look,
                       figures[nextFigure].pose);
    };
    for (const PartPlacement& place : placed) {
        const PartAnimationTable* table = FindPartAnimationTable(place.part);
        if (!table || place.part == "window_morning" || place.part == "window_day" || place.part.find("_signal") != std::string::npos)
            continue;
        if (place.part.rfind("minibar_pers", 0) == 0 && place.part.find("_up") == std::string::npos)
            continue;
        drawFiguresUpTo(place.depth);
        PartFrame frame;
        frame.part = place.part;
        const std::string& skin = shot.skins.at(place.object);
        frame.skin = std::find(table->skins.begin(), table->skins.end(), skin) != table->skins.end() ? skin
                                                                                                      : table->skins.front();
        frame.orientation = table->orientations.front();
        frame.clip = table->clips.front().name;
        frame.frames = table->clips.front().frames;
        frame.width = table->width;
        frame.height = table->height;
        const Picture picture = DrawPartFrame(frame);
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, picture.width, picture.height);
        uint32_t* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface));
        const int stride = cairo_image_surface_get_stride(surface) / 4;
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x) {
                // cairo wants premultiplied alpha.
                const uint32_t p = picture.At(x, y), a = p >> 24;
                auto pre = [&](int shift) { return ((p >> shift & 0xFF) * a + 127) / 255 << shift; };
                data[y * stride + x] = a << 24 | pre(16) | pre(8) | pre(0);
            }
        cairo_surface_mark_dirty(surface);
        // Workers at the right-hand desks face the other way (mirrored).
        cairo_save(cr);
        const bool mirror = place.part == "worker_up" && (place.object[7] == '3' || place.object[7] == '4');
        if (mirror) {
            cairo_translate(cr, place.x + picture.width, place.y);
            cairo_scale(cr, -1, 1);
            cairo_set_source_surface(cr, surface, 0, 0);
        } else {
            cairo_set_source_surface(cr, surface, place.x, place.y);
        }
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_destroy(surface);
    }
    drawFiguresUpTo(1e9);
}

// A ring round what a picture points at.
void Ring(cairo_t* cr, double cx, double cy, double r)
{
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    StrokeAccent(cr, 4);
}

// An arrow from one place to another, in the accent colour.
void Arrow(cairo_t* cr, double x0, double y0, double x1, double y1)
{
    const double angle = std::atan2(y1 - y0, x1 - x0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int pass = 0; pass < 2; ++pass) {
        cairo_set_line_width(cr, pass ? 4 : 8);
        SetColor(cr, pass ? palette::kYellow : palette::kNavy);
        cairo_move_to(cr, x0, y0);
        cairo_line_to(cr, x1 - 8 * std::cos(angle), y1 - 8 * std::sin(angle));
        cairo_stroke(cr);
        cairo_move_to(cr, x1, y1);
        cairo_line_to(cr, x1 - 16 * std::cos(angle - 0.5), y1 - 16 * std::sin(angle - 0.5));
        cairo_line_to(cr, x1 - 16 * std::cos(angle + 0.5), y1 - 16 * std::sin(angle + 0.5));
        cairo_close_path(cr);
        if (pass) {
            cairo_fill(cr);
        } else {
            cairo_set_line_width(cr, 4);
            cairo_stroke_preserve(cr);
            cairo_fill(cr);
        }
    }
}

// The office seen through a w x h picture: the point (cx, cy) of the room
// in its middle, zoomed.
Picture Framed(int w, int h, const Shot& shot, double cx, double cy, double zoom,
               const std::function<void(cairo_t*)>& over = nullptr)
{
    Canvas canvas(w, h);
    cairo_t* cr = canvas.cr();
    RoundedRect(cr, 0, 0, w, h, 10);
    cairo_clip(cr);
    // The view stays inside the room.
    const double halfW = w / 2.0 / zoom, halfH = h / 2.0 / zoom;
    cx = halfW * 2 >= 800 ? 400 : std::clamp(cx, halfW, 800 - halfW);
    cy = halfH * 2 >= 600 ? 300 : std::clamp(cy, halfH, 600 - halfH);
    cairo_save(cr);
    cairo_translate(cr, w / 2.0, h / 2.0);
    cairo_scale(cr, zoom, zoom);
    cairo_translate(cr, -cx, -cy);
    DrawShot(cr, shot);
    if (over)
        over(cr);
    cairo_restore(cr);
    RoundedRect(cr, 1.5, 1.5, w - 3, h - 3, 9);
    cairo_set_line_width(cr, 3);
    SetColor(cr, palette::kNavy);
    cairo_stroke(cr);
    return canvas.Take();
}

Pose Facing(const char* heading, int mood = 1)
{
    Pose pose;
    pose.heading = heading;
    pose.mood = mood;
    return pose;
}

struct Briefing {
    int day;
    std::function<void(Shot&)> add;
    double cx, cy, zoom, ring;
};

std::vector<Briefing> Briefings()
{
    static const char* const kStageOne[4] = {"spec_l1t4", "spec_l1t5", "spec_l2t0", "spec_l1t1"};
    return {
        {5, [](Shot& s) { s.skins["phone"] = ""; }, 755, 208, 2.2, 30},
        {6, [](Shot& s) { s.skins["worker01a_spec"] = "spec_l2t0"; }, 212, 245, 1.6, 30},
        {7, [](Shot& s) { s.skins["safe"] = ""; }, 768, 322, 1.8, 36},
        {8,
         [](Shot& s) {
             s.skins["cupboard"] = s.skins["coffeemachine"] = "";
             s.figures.push_back({Look::Secretary, 660, 200, Facing("b")});
         },
         630, 130, 1.3, 56},
        {10, [](Shot& s) { s.skins["mini_bar"] = ""; s.skins["minibar_pers1_up"] = ""; }, 707, 420, 1.3, 62},
        {12,
         [](Shot& s) {
             s.skins["conference_place"] = "";
             s.figures.push_back({Look::Man, 140, 330, Facing("mr")});
         },
         80, 300, 1.3, 62},
        {16,
         [](Shot& s) {
             s.skins["presentation_place"] = "";
             s.figures.push_back({Look::Secretary, 715, 372, Facing("t")});
         },
         700, 310, 1.3, 56},
        {21,
         [](Shot& s) {
             s.skins["air_conditioner"] = "";
             s.figures.push_back({Look::Engineer, 470, 182, Facing("t")});
         },
         455, 100, 1.3, 50},
        {24, [](Shot& s) { s.skins["stereo_system"] = ""; }, 533, 136, 1.6, 38},
        {26,
         [](Shot& s) {
             AddRowB(s, kStageOne);
             s.skins["worker03b_spec"] = "spec_l3t0";
         },
         452, 385, 1.6, 30},
        {41,
         [](Shot& s) {
             AddRowB(s, kStageOne);
             for (auto& entry : s.skins)
                 if (entry.first.rfind("table", 0) == 0)
                     entry.second = "walnut";
             s.skins["worker04b_spec"] = "spec_l4t0";
         },
         572, 385, 1.5, 30},
    };
}

// The help pages: what each page's text explains.
Picture HelpPage(int page)
{
    Shot shot = RegularOffice();
    const int w = 300, h = 220;
    switch (page) {
    case 1:  // clients order; supplies come from the shelves
        shot.figures.push_back({Look::Man, 260, 400, Facing("t")});
        return Framed(w, h, shot, 400, 300, 0.375, [](cairo_t* cr) {
            Ring(cr, 250, 530, 62);
            Ring(cr, 205, 115, 70);
            Arrow(cr, 260, 390, 215, 200);
        });
    case 2:  // supplies to a desk; the product comes back
        shot.figures.push_back({Look::Man, 330, 290, Facing("t")});
        return Framed(w, h, shot, 320, 220, 1.15, [](cairo_t* cr) {
            DrawItemIcon(cr, "paper", 300, 170, 26);
            Arrow(cr, 310, 180, 345, 215);
            DrawItemIcon(cr, "0102", 375, 150, 30);
            Ring(cr, 330, 215, 58);
        });
    case 3:  // the product to the client's place, before patience runs out
        shot.figures.push_back({Look::Man, 290, 560, Facing("mbr")});
        return Framed(w, h, shot, 300, 470, 1.0, [](cairo_t* cr) {
            DrawItemIcon(cr, "0101", 300, 480, 26);
            Arrow(cr, 300, 470, 330, 500);
            for (int k = 0; k < 8; ++k)
                FillRoundedRect(cr, 370, 540 - 6 * k, 10, 5, 1, k < 5 ? palette::kGreen : 0x40000000);
            Ring(cr, 345, 520, 50);
        });
    default:  // coffee, presentation, stereo and the mini bar
        for (const char* name : {"cupboard", "coffeemachine", "presentation_place", "stereo_system", "mini_bar",
                                 "minibar_pers1_up"})
            shot.skins[name] = "";
        return Framed(w, h, shot, 630, 290, 0.52, [](cairo_t* cr) {
            Ring(cr, 615, 115, 50);
            Ring(cr, 533, 136, 36);
            Ring(cr, 698, 308, 52);
            Ring(cr, 707, 425, 62);
        });
    }
}

// An upgrade option: the part it brings or re-skins, on a light card.
Picture UpgradeCard(const std::string& option)
{
    Shot shot;
    double cx = 400, cy = 300, zoom = 1.0;
    if (option == "coffee" || option == "fast_coffee") {
        shot.skins = {{"cupboard", ""}, {"coffeemachine", ""}};
        shot.figures.push_back({Look::Secretary, 660, 196, Facing("b")});
        cx = 620, cy = 125, zoom = 1.05;
    } else if (option == "minibar" || option == "mini_bar") {
        shot.skins = {{"mini_bar", ""}, {"minibar_pers1_up", ""}};
        cx = 707, cy = 420, zoom = 1.1;
    } else if (option == "conference") {
        shot.skins = {{"conference_place", ""}};
        cx = 70, cy = 300, zoom = 1.3;
    } else if (option == "presentation") {
        shot.skins = {{"presentation_place", ""}};
        shot.figures.push_back({Look::Secretary, 740, 372, Facing("tr")});
        cx = 705, cy = 305, zoom = 1.1;
    } else if (option == "stereo") {
        shot.skins = {{"stereo_system", ""}};
        cx = 533, cy = 134, zoom = 1.8;
    } else if (option == "walnut_desks" || option == "walnut_tables") {
        shot.skins = {{"table02a", "walnut"}, {"worker02a", "w1"}, {"worker02a_spec", "spec_l1t2"}};
        cx = 320, cy = 200, zoom = 1.1;
    } else if (option == "sofa_seats") {
        shot.skins = {{"client_place04", "sofa"}, {"client_place05", "sofa"}};
        cx = 392, cy = 555, zoom = 1.3;
    } else if (option == "palm_plants") {
        shot.skins = {{"plant02", "palm"}};
        cx = 645, cy = 322, zoom = 1.6;
    } else if (option == "sea_pictures") {
        shot.skins = {{"picture01", "sea"}};
        cx = 560, cy = 85, zoom = 1.8;
    } else if (option == "extra_desk") {
        shot.skins = {{"table01a", "plain"}, {"worker01a", "w3"}, {"worker01a_spec", "spec_l2t0"}};
        cx = 200, cy = 200, zoom = 1.1;
    } else if (option == "second_shelf") {
        shot.skins = {{"shelving02", "ink"}, {"shelving03", "clips"}};
        cx = 265, cy = 120, zoom = 1.5;
    } else if (option == "air_conditioner") {
        shot.skins = {{"air_conditioner", ""}};
        cx = 455, cy = 80, zoom = 1.6;
    } else if (option == "phone_line") {
        shot.skins = {{"secretary_desk", ""}, {"phone", ""}};
        cx = 740, cy = 215, zoom = 1.4;
    } else {
        // An option without a picture of its own: the whole office.
        shot = RegularOffice();
        zoom = 0.2;
    }
    return Framed(160, 120, shot, cx, cy, zoom);
}

} // namespace

std::vector<OutFile> DrawOfficePictures()
{
    std::vector<OutFile> out;
    for (const Briefing& briefing : Briefings()) {
        Shot shot = RegularOffice();
        briefing.add(shot);
        const Picture picture = Framed(175, 190, shot, briefing.cx, briefing.cy, briefing.zoom,
                                       [&](cairo_t* cr) { Ring(cr, briefing.cx, briefing.cy, briefing.ring); });
        out.push_back({"images\\briefing\\brief_l" + std::to_string(briefing.day) + ".png", EncodePng(picture)});
    }
    for (int page = 1; page <= 4; ++page) {
        // One loader kind a page: PNG, GIF, PNG, JPEG-2000.
        const Picture picture = HelpPage(page);
        const std::string stem = "images\\help\\help" + std::to_string(page);
        if (page == 2)
            out.push_back({stem + ".gif", EncodeGif(picture)});
        else if (page == 4)
            out.push_back({stem + ".jp2", EncodeJp2(picture)});
        else
            out.push_back({stem + ".png", EncodePng(picture)});
    }
    for (const std::string& option : UpgradeOptions())
        out.push_back({"images\\upgrades\\" + option + ".png", EncodePng(UpgradeCard(option))});
    return out;
}

} // namespace contentgen
