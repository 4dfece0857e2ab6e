#include "OfficeModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <queue>
#include <utility>

namespace contentgen {

namespace {

struct BaseLine {
    int x0, y0, x1, y1, x2, y2;
};

struct Part {
    std::string name;
    std::string parentZ;
    int offsX = 0;
    int offsY = 0;
    bool hasBase = false;
    BaseLine base{};
    std::string effect;
};

struct Approach {
    std::string owner;
    std::string direction;
    int x;
    int y;
};

struct ObjectRecord {
    ObjectRecord(std::string name_, std::string cls_, int x_, int y_, std::string orient_ = std::string())
        : name(std::move(name_)), cls(std::move(cls_)), x(x_), y(y_), orient(std::move(orient_))
    {
    }

    std::string name;
    std::string cls;
    int x = 0;
    int y = 0;
    std::string orient;
    std::vector<Part> parts;
    std::vector<Approach> points;
    std::vector<std::pair<std::string, std::string>> extras;  // attribute, value
    std::vector<std::string> pairItems;
    std::vector<std::string> picks;
    std::string rgn;
    std::string effect;
};

std::string Str(const char* format, int value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

Part Ground(const std::string& name, int left, int right, int y)
{
    Part part;
    part.name = name;
    part.hasBase = true;
    part.base = BaseLine{left, y, (left + right) / 2, y, right, y};
    return part;
}

Part Child(const std::string& name, const std::string& parentZ, int offsX = 0, int offsY = 0)
{
    Part part;
    part.name = name;
    part.parentZ = parentZ;
    part.offsX = offsX;
    part.offsY = offsY;
    return part;
}

// Checkmarks sort with their object's first part, or with the ground part
// that part stands on: parent_z never names a parented part.
void AddCheckmarks(ObjectRecord& object)
{
    const Part& first = object.parts.front();
    const std::string parent = first.parentZ.empty() ? object.name + ":" + first.name : first.parentZ;
    object.parts.push_back(Child("checkmark", parent));
    object.parts.push_back(Child("checkmark", parent));
}

const int kTableX[4] = {150, 270, 390, 510};

std::vector<ObjectRecord> MakeModel()
{
    std::vector<ObjectRecord> model;
    {
        ObjectRecord anchor{"anchor", "item", 0, 0};
        Part part = Ground("anchor", 0, 799, 45);
        part.base.x1 = 400;
        anchor.parts.push_back(part);
        model.push_back(anchor);
    }
    {
        ObjectRecord window{"window", "item", 20, 50};
        window.parts.push_back(Ground("window", 20, 130, 150));
        window.parts.push_back(Child("window_day", "window:window"));
        window.parts.push_back(Child("window_morning", "window:window"));
        model.push_back(window);
    }
    {
        ObjectRecord carpet{"carpet01", "item", 140, 290};
        // The carpet lies on the floor: drawn right after the anchor, under everything.
        carpet.parts.push_back(Child("carpet", "anchor:anchor"));
        model.push_back(carpet);
        const int plants[3][2] = {{30, 212}, {625, 352}, {20, 510}};
        for (int k = 0; k < 3; ++k) {
            ObjectRecord plant{Str("plant%02d", k + 1), "item", plants[k][0], plants[k][1]};
            plant.parts.push_back(Ground("plant", plants[k][0], plants[k][0] + 40, plants[k][1]));
            model.push_back(plant);
        }
        const int pictures[2] = {525, 340};
        for (int k = 0; k < 2; ++k) {
            ObjectRecord picture{Str("picture%02d", k + 1), "item", pictures[k], 40};
            picture.parts.push_back(Ground("wall_picture", pictures[k], pictures[k] + 70, 150));
            model.push_back(picture);
        }
    }
    {
        ObjectRecord desk{"secretary_desk", "item", 660, 255};
        desk.parts.push_back(Ground("secretary_desk", 660, 780, 255));
        model.push_back(desk);
    }
    {
        ObjectRecord boss{"boss", "boss", 0, 0, "b"};
        Part body = Child("boss", "", -36, -106);
        boss.parts.push_back(body);
        boss.parts.push_back(Child("held_items", ""));
        boss.parts.push_back(Child("held_items", ""));
        boss.extras.emplace_back("start_point", "boss_home");
        model.push_back(boss);
        ObjectRecord secretary{"secretary", "secretary", 0, 0, "b"};
        secretary.parts.push_back(Child("secretary", "", -34, -104));
        secretary.extras.emplace_back("start_point", "secretary_home");
        model.push_back(secretary);
        ObjectRecord engineer{"engineer", "engineer", 0, 0, "b"};
        engineer.parts.push_back(Child("engineer", "", -36, -106));
        engineer.extras.emplace_back("start_point", "engineer_home");
        model.push_back(engineer);
    }
    {
        ObjectRecord door{"door03", "door", 700, 166};
        door.parts.push_back(Ground("door", 700, 770, 166));
        AddCheckmarks(door);
        door.extras.emplace_back("type", "manual");
        door.rgn = "700 60 770 60 770 166 700 166";
        model.push_back(door);
    }
    const char* const things[3] = {"paper", "ink", "clips"};
    for (int k = 1; k <= 3; ++k) {
        const int x = 150 + 60 * (k - 1);
        ObjectRecord shelf{Str("shelving%02d", k), "shelving", x, 152};
        shelf.parts.push_back(Ground("shelving", x, x + 50, 152));
        AddCheckmarks(shelf);
        shelf.extras.emplace_back("thing", things[k - 1]);
        shelf.points.push_back({"boss", "t", 175 + 60 * (k - 1), 172});
        shelf.rgn = Str("%d 80 ", x) + Str("%d 80 ", x + 50) + Str("%d 152 ", x + 50) + Str("%d 152", x);
        model.push_back(shelf);
    }
    {
        ObjectRecord bin{"trash_bin", "bin", 90, 462};
        bin.parts.push_back(Ground("trash_bin", 70, 110, 462));
        AddCheckmarks(bin);
        bin.points.push_back({"boss", "l", 140, 455});
        bin.rgn = "70 420 110 420 110 462 70 462";
        model.push_back(bin);
    }
    // The service objects: the phone on the secretary's desk, the safe, the
    // cupboard with the coffee machine on it, the conference table, the flip
    // chart, the devices on the back wall and the mini bar.
    {
        ObjectRecord phone{"phone", "phone", 755, 222};
        phone.parts.push_back(Child("phone", "secretary_desk:secretary_desk"));
        AddCheckmarks(phone);
        phone.points.push_back({"boss", "t", 750, 275});
        phone.rgn = "735 196 775 196 775 230 735 230";
        model.push_back(phone);
    }
    struct Service {
        const char* name;
        const char* cls;
        int x, y;             // position
        int left, right, base; // base line along the front edge
        const char* owner;    // the walker who uses it
        const char* direction;
        int px, py;           // approach point
        int top;              // top of the click region
    };
    const Service services[] = {
        {"safe", "period_item", 748, 350, 735, 790, 350, "boss", "t", 770, 368, 295},
        {"cupboard", "period_item", 600, 165, 580, 650, 165, "boss", "t", 625, 182, 110},
        {"coffeemachine", "period_item", 615, 98, 0, 0, 0, "secretary", "t", 660, 182, 70},
        {"conference_place", "period_item", 20, 335, 20, 120, 335, "boss", "l", 128, 320, 270},
        {"presentation_place", "period_item", 690, 350, 668, 728, 352, "secretary", "t", 715, 368, 270},
        {"air_conditioner", "period_item", 420, 150, 420, 490, 150, "engineer", "t", 460, 180, 60},
        {"stereo_system", "period_item", 520, 160, 505, 560, 160, "engineer", "t", 555, 182, 110},
    };
    for (const Service& service : services) {
        ObjectRecord object{service.name, service.cls, service.x, service.y};
        const std::string name = service.name;
        if (name == "coffeemachine")
            object.parts.push_back(Child(name, "cupboard:cupboard"));
        else
            object.parts.push_back(Ground(name, service.left, service.right, service.base));
        if (name == "air_conditioner" || name == "stereo_system")
            object.parts.push_back(Child(name + "_signal", name + ":" + name));
        AddCheckmarks(object);
        if (name == "safe")
            object.extras.emplace_back("thing", "money");
        if (name == "coffeemachine")
            object.extras.emplace_back("thing", "coffe_cup");
        if (name == "cupboard")
            object.picks.push_back("coffeemachine");
        object.points.push_back({service.owner, service.direction, service.px, service.py});
        const int left = name == "coffeemachine" ? 595 : service.left;
        const int right = name == "coffeemachine" ? 640 : service.right;
        const int bottom = name == "coffeemachine" ? 120 : service.base;
        object.rgn = Str("%d ", left) + Str("%d ", service.top) + Str("%d ", right) + Str("%d ", service.top) +
                     Str("%d ", right) + Str("%d ", bottom) + Str("%d ", left) + Str("%d", bottom);
        model.push_back(object);
    }
    {
        ObjectRecord bar{"mini_bar", "mini_bar", 655, 465};
        bar.parts.push_back(Ground("mini_bar", 655, 760, 465));
        // Three stools: seats 0 and 1 share the first pair's pictures, the
        // second of them one stool to the right.
        const struct {
            const char* part;
            int offsX;
        } seats[] = {{"minibar_pers1_up", 0}, {"minibar_pers1_down", 0}, {"minibar_pers1_up", 29},
                     {"minibar_pers1_down", 29}, {"minibar_pers2_up", 0}, {"minibar_pers2_down", 0}};
        for (const auto& seat : seats)
            bar.parts.push_back(Child(seat.part, "mini_bar:mini_bar", seat.offsX, 0));
        model.push_back(bar);
    }
    // Workers before their plates, sources before their indicators.
    const char* const rows[2] = {"a", "b"};
    for (int r = 0; r < 2; ++r) {
        for (int k = 1; k <= 4; ++k) {
            const int seatX = kTableX[k - 1] + 50;
            const int seatY = r == 0 ? 226 : 356;
            ObjectRecord worker{Str("worker%02d", k) + rows[r], "worker", seatX, seatY, k <= 2 ? "br" : "mbr"};
            Part body = Ground("worker_up", seatX - 25, seatX + 25, seatY);
            body.offsX = -40;
            body.offsY = -86;
            worker.parts.push_back(body);
            model.push_back(worker);
        }
    }
    for (int r = 0; r < 2; ++r) {
        for (int k = 1; k <= 4; ++k) {
            const int x0 = kTableX[k - 1];
            const int y = r == 0 ? 265 : 395;
            const std::string s = Str("%02d", k) + rows[r];
            ObjectRecord table{"table" + s, "pickable", x0, y, k <= 2 ? "br" : "mbr"};
            table.parts.push_back(Ground("table", x0, x0 + 100, y));
            Part smoke = Child("table_smoke", "table" + s + ":table", -350, -350);
            table.parts.push_back(smoke);
            AddCheckmarks(table);
            table.points.push_back({"boss", "t", x0 + 50, y + 20});
            table.pairItems = {"table" + s, "worker" + s, "worker" + s + "_spec"};
            table.rgn = Str("%d ", x0) + Str("%d ", y - 90) + Str("%d ", x0 + 100) + Str("%d ", y - 90) +
                        Str("%d ", x0 + 100) + Str("%d ", y) + Str("%d ", x0) + Str("%d", y);
            model.push_back(table);
        }
    }
    for (int r = 0; r < 2; ++r) {
        for (int k = 1; k <= 4; ++k) {
            const std::string s = Str("%02d", k) + rows[r];
            const int y = r == 0 ? 265 : 395;
            ObjectRecord spec{"worker" + s + "_spec", "specialization", kTableX[k - 1] + 62, y - 7};
            spec.parts.push_back(Child("spec", "table" + s + ":table"));
            spec.extras.emplace_back("worker", "worker" + s);
            spec.extras.emplace_back("table", "table" + s);
            model.push_back(spec);
        }
    }
    for (int n = 1; n <= 8; ++n) {
        const int cx = 60 + 95 * (n - 1);
        ObjectRecord client{Str("client%02d", n), "client", cx, 579, "b"};
        Part body = Ground("client", cx - 20, cx + 20, 579);
        body.offsX = -32;
        body.offsY = -100;
        client.parts.push_back(body);
        model.push_back(client);
    }
    for (int n = 1; n <= 8; ++n) {
        const int cx = 60 + 95 * (n - 1);
        const std::string name = Str("client_place%02d", n);
        ObjectRecord place{name, "pickable", cx, 575};
        place.parts.push_back(Ground("client_place", cx - 24, cx + 24, 575));
        AddCheckmarks(place);
        place.points.push_back({"boss", "l", cx + 40, 566});
        place.points.push_back({"secretary", "r", cx - 40, 566});
        place.pairItems = {name, Str("client%02d", n)};
        place.rgn = Str("%d 470 ", cx - 30) + Str("%d 470 ", cx + 30) + Str("%d 580 ", cx + 30) + Str("%d 580", cx - 30);
        model.push_back(place);
    }
    // Indicators stand at their source's position: the meter beside the
    // figure (meterX, meterY), the bubble above its head (bubbleX, bubbleY).
    auto addIndicators = [&model](const std::string& source, const std::string& parent, int meterX, int meterY,
                                  int bubbleX, int bubbleY) {
        ObjectRecord hp{source + "_hp", "status_hp", 0, 0};
        hp.parts.push_back(Child("status_hp_back", parent, meterX, meterY));
        hp.parts.push_back(Child("status_hp", parent, meterX, meterY));
        model.push_back(hp);
        ObjectRecord bubble{source + "_bubble", "status_bubble", 0, 0};
        for (const char* part : {"status_bubble", "status_type", "status_production", "status_production"})
            bubble.parts.push_back(Child(part, parent, bubbleX, bubbleY));
        model.push_back(bubble);
    };
    for (int r = 0; r < 2; ++r)
        for (int k = 1; k <= 4; ++k) {
            const std::string s = Str("%02d", k) + rows[r];
            addIndicators("worker" + s, "table" + s + ":table", 30, -6, -6, -92);
        }
    for (int n = 1; n <= 8; ++n)
        addIndicators(Str("client%02d", n), Str("client%02d", n) + ":client", 26, -8, -6, -100);
    // The phone stands on the secretary's desk: its indicators sort with the desk.
    addIndicators("phone", "secretary_desk:secretary_desk", 24, 0, -50, -40);
    {
        ObjectRecord bonus{"bonus", "item_bonus", 0, 0};
        for (int k = 0; k < 4; ++k) {
            Part cash = Child("cash", "", k == 0 ? -102 : 0, k == 0 ? -150 : 0);
            bonus.parts.push_back(cash);
        }
        for (int k = 0; k < 3; ++k)
            bonus.parts.push_back(Child("bonus", "", k == 0 ? -102 : 0, k == 0 ? -175 : 0));
        model.push_back(bonus);
    }
    return model;
}

// The effect each object and part plays (cfg\effect.xml's object and part
// effects).
void BindEffects(std::vector<ObjectRecord>& model)
{
    static const std::map<std::string, std::string> kPartEffects = {
        {"window_day", "window_part_fx"}, {"window_morning", "window_part_fx"}, {"checkmark", "checkmark_fx"},
        {"cash", "popup_cash"}, {"bonus", "popup_bonus"}, {"table_smoke", "smoke_fx"},
        {"air_conditioner_signal", "signal_fx"}, {"stereo_system_signal", "signal_fx"}};
    static const std::map<std::string, std::string> kClassEffects = {
        {"worker", "add_fx"}, {"specialization", "add_fx"}, {"client", "client_fx"}, {"mini_bar", "add_fx"},
        {"secretary", "add_fx"},
        {"status_hp", "status_hp_fx"}, {"status_bubble", "status_bubble_fx"}};
    static const std::set<std::string> kAdded = {"carpet01", "plant01", "plant02", "plant03", "picture01", "picture02",
                                                 "safe", "cupboard", "coffeemachine", "conference_place",
                                                 "presentation_place", "stereo_system"};
    for (ObjectRecord& record : model) {
        for (Part& part : record.parts) {
            const auto found = kPartEffects.find(part.name);
            if (found != kPartEffects.end())
                part.effect = found->second;
        }
        const auto byClass = kClassEffects.find(record.cls);
        if (byClass != kClassEffects.end())
            record.effect = byClass->second;
        else if (kAdded.count(record.name) || record.name.rfind("client_place", 0) == 0)
            record.effect = "add_fx";
        else if (record.name.rfind("table", 0) == 0)
            record.effect = "table_fx";
        else if (record.name == "window")
            record.effect = "window_fx";
        else if (record.name == "engineer")
            record.effect = "engineer_fx";
    }
}

const std::vector<ObjectRecord>& Model()
{
    static const std::vector<ObjectRecord> model = [] {
        std::vector<ObjectRecord> made = MakeModel();
        BindEffects(made);
        return made;
    }();
    return model;
}

XmlElement ObjectElement(const ObjectRecord& record)
{
    XmlElement object("object");
    object.Set("class", record.cls).Set("name", record.name).Set("pos_x", record.x).Set("pos_y", record.y);
    if (!record.orient.empty())
        object.Set("orient", record.orient);
    if (!record.rgn.empty())
        object.Set("rgn", record.rgn);
    if (!record.effect.empty())
        object.Set("effect", record.effect);
    for (const auto& extra : record.extras)
        object.Set(extra.first, extra.second);
    for (const Part& part : record.parts) {
        XmlElement& element = object.Add("part");
        element.Set("name", part.name);
        if (!part.parentZ.empty())
            element.Set("parent_z", part.parentZ);
        if (!part.effect.empty())
            element.Set("effect", part.effect);
        if (part.offsX || part.offsY)
            element.Set("offs_x", part.offsX).Set("offs_y", part.offsY);
        if (record.cls == "item_bonus") {
            element.Set("font", "popup").Set("sub_font", "popup_outline");
            element.Set("scale_point_x", 102).Set("scale_point_y", 15);
        }
        if (part.name == "checkmark")
            for (const char* skin : {"plain", "walnut", "stool", "sofa", "paper", "ink", "clips"})
                element.Add("exchange_skin").Set("from", skin).Set("to", "");
        if (part.hasBase) {
            element.Set("order0_x", part.base.x0).Set("order0_y", part.base.y0);
            element.Set("order1_x", part.base.x1).Set("order1_y", part.base.y1);
            element.Set("order2_x", part.base.x2).Set("order2_y", part.base.y2);
        }
    }
    for (const Approach& point : record.points)
        object.Add("point").Set("owner", point.owner).Set("direction", point.direction).Set("offs_x", point.x).Set("offs_y", point.y);
    if (record.cls != "item_bonus" && record.cls != "status_hp" && record.cls != "status_bubble") {
        if (record.pairItems.empty())
            object.Add("select_block").Set("pair_item", record.name);
        for (const std::string& item : record.pairItems)
            object.Add("select_block").Set("pair_item", item);
    }
    for (const std::string& pick : record.picks)
        object.Add("picks").Set("pick", pick);
    if (record.cls == "door")
        object.Add("target").Set("object", "engineer");
    return object;
}

// The walk graph: five aisles cut at every stub and crossing.
struct Aisle {
    char name;
    bool horizontal;
    int at;    // y of a horizontal aisle, x of a vertical one
    int from;
    int to;
};
const Aisle kAisles[5] = {{'N', true, 176, 135, 690}, {'M', true, 300, 135, 645}, {'S', true, 470, 20, 790},
                          {'W', false, 135, 176, 470}, {'E', false, 645, 176, 470}};

struct GraphPoint {
    std::string name;
    int x;
    int y;
    std::string direction;
};

struct Graph {
    std::vector<GraphPoint> points;
    std::vector<std::pair<std::string, std::string>> edges;
};

std::string AislePointName(const Aisle& aisle, int x, int y)
{
    // A crossing takes the horizontal aisle's name.
    if (!aisle.horizontal)
        for (const Aisle& other : kAisles)
            if (other.horizontal && other.at == y && x >= other.from && x <= other.to)
                return std::string(1, other.name) + "_" + std::to_string(x);
    return std::string(1, aisle.name) + "_" + std::to_string(aisle.horizontal ? x : y);
}

Graph BuildGraph(const std::string& walker, const std::set<std::string>& names, const std::string& aisleNames)
{
    // Stubs: the walker's approach points of the named objects, joined to
    // the nearest point of an aisle it uses.
    struct Stub {
        std::string target;
        int x;
        int y;
    };
    std::vector<Stub> stubs;
    for (const ObjectRecord& record : Model())
        if (names.count(record.name))
            for (const Approach& point : record.points)
                if (point.owner == walker)
                    stubs.push_back({record.name, point.x, point.y});
    Graph graph;
    if (walker == "boss") {
        stubs.push_back({"boss_home", 400, 470});
        graph.points.push_back({"boss_home", 400, 470, "b"});
    } else if (walker == "secretary") {
        graph.points.push_back({"secretary_home", 720, 205, "b"});
    } else {
        graph.points.push_back({"engineer_home", 735, 186, "b"});
    }
    std::map<char, std::set<int>> cuts;
    std::vector<std::pair<std::string, std::pair<char, int>>> stubEdges;
    for (const Stub& stub : stubs) {
        const Aisle* best = nullptr;
        int bestDistance = 0;
        int along = 0;
        for (const Aisle& aisle : kAisles) {
            if (aisleNames.find(aisle.name) == std::string::npos)
                continue;
            const int across = aisle.horizontal ? stub.y : stub.x;
            const int position = aisle.horizontal ? stub.x : stub.y;
            const int clamped = position < aisle.from ? aisle.from : position > aisle.to ? aisle.to : position;
            const int distance = std::abs(across - aisle.at) + std::abs(position - clamped);
            if (!best || distance < bestDistance) {
                best = &aisle;
                bestDistance = distance;
                along = clamped;
            }
        }
        if (!best)
            continue;
        cuts[best->name].insert(along);
        if (stub.target != "boss_home")
            stubEdges.push_back({stub.target, {best->name, along}});
    }
    // Ends and crossings of the aisles used.
    for (const Aisle& aisle : kAisles) {
        if (aisleNames.find(aisle.name) == std::string::npos)
            continue;
        cuts[aisle.name].insert(aisle.from);
        cuts[aisle.name].insert(aisle.to);
        for (const Aisle& other : kAisles)
            if (other.horizontal != aisle.horizontal && aisleNames.find(other.name) != std::string::npos &&
                other.at >= aisle.from && other.at <= aisle.to && aisle.at >= other.from && aisle.at <= other.to)
                cuts[aisle.name].insert(other.at);
    }
    if (walker != "boss") {
        const GraphPoint& home = graph.points.front();
        cuts['N'].insert(690);
        stubEdges.push_back({home.name, {'N', 690}});
    }
    std::set<std::string> made;
    for (const Aisle& aisle : kAisles) {
        if (!cuts.count(aisle.name))
            continue;
        std::string previous;
        for (int position : cuts[aisle.name]) {
            const int x = aisle.horizontal ? position : aisle.at;
            const int y = aisle.horizontal ? aisle.at : position;
            // A home that lies on an aisle is that aisle's point.
            const GraphPoint& home = graph.points.front();
            const std::string name = home.x == x && home.y == y ? home.name : AislePointName(aisle, x, y);
            if (name != home.name && made.insert(name).second)
                graph.points.push_back({name, x, y, std::string()});
            if (!previous.empty())
                graph.edges.emplace_back(previous, name);
            previous = name;
        }
    }
    for (const auto& stub : stubEdges) {
        const Aisle* aisle = nullptr;
        for (const Aisle& a : kAisles)
            if (a.name == stub.second.first)
                aisle = &a;
        const int x = aisle->horizontal ? stub.second.second : aisle->at;
        const int y = aisle->horizontal ? aisle->at : stub.second.second;
        const GraphPoint& home = graph.points.front();
        const std::string point = home.x == x && home.y == y ? home.name : AislePointName(*aisle, x, y);
        if (point != stub.first)
            graph.edges.emplace_back(point, stub.first);
    }
    return graph;
}

// The animation of every part the office draws, in every skin and
// orientation the code asks for. Characters cycle their idles and walks and
// play their actions once; furniture holds stills (fps 0); carried items
// hold one frame cycled at 1 fps, so the boss's idle chain can stop them at
// a frame.
const std::vector<PartAnimationTable>& AnimationTables()
{
    const int32_t C = 0;
    const int32_t O = 1;
    auto stills = [](std::vector<std::string> names) {
        std::vector<PartClip> clips;
        for (const std::string& name : names)
            clips.push_back({name, 0, 0, 1});
        return clips;
    };
    const std::vector<std::string> sides = {"t", "tr", "r", "br", "b"};
    const std::vector<std::string> none = {""};
    static const std::vector<PartAnimationTable> tables = [&] {
        const std::vector<PartClip> device = {{"idle", C, 0, 1}, {"activation", O, 10, 6}, {"ready", C, 6, 4}, {"hover", C, 6, 4}};
        const std::vector<PartClip> signal = {{"idle", C, 0, 1}, {"activation", C, 0, 1}, {"hover", C, 0, 1}, {"ready", C, 4, 2}};
        const std::vector<PartClip> picked = {{"idle", C, 0, 1}, {"hover", C, 6, 4}, {"activation", O, 10, 6}};
        std::vector<PartClip> minibarUp;
        std::vector<PartClip> minibarDown;
        for (const char* row : {"a", "b"})
            for (int k = 1; k <= 4; ++k) {
                minibarUp.push_back({Str("worker%02d", k) + row, C, 4, 4});
                minibarDown.push_back({Str("worker%02d", k) + row, C, 0, 1});
            }
        std::vector<PartClip> held;
        for (const char* item : {"paper", "ink", "clips", "0101", "0102", "0103", "0104", "0105", "0200", "0300", "0400", "money"})
            held.push_back({item, C, 1, 1});
        return std::vector<PartAnimationTable>{
            {"window", none, none, 110, 100, 0, 0, stills({"idle"})},
            {"window_day", none, none, 110, 100, 0, 0, stills({"idle"})},
            {"window_morning", none, none, 110, 100, 0, 0, stills({"idle"})},
            {"carpet", {"grey", "blue"}, none, 480, 120, 0, 0, stills({"idle"})},
            {"plant", {"fern", "palm"}, none, 40, 60, 0, -60, stills({"idle"})},
            {"wall_picture", {"city", "sea"}, none, 70, 50, 0, 20, stills({"idle"})},
            {"secretary_desk", none, none, 120, 70, 0, -70, stills({"idle"})},
            {"boss", {"man", "woman"}, sides, 72, 112, 0, 0,
             {{"boss_idle_empty", C, 6, 6}, {"boss_idle_full", C, 6, 6}, {"boss_move_empty", C, 12, 8},
              {"boss_move_full", C, 12, 8}, {"boss_phone", O, 8, 16}, {"boss_conference", C, 6, 8},
              {"boss_drink", O, 8, 12}, {"boss_reproach", O, 10, 10}}},
            {"held_items", none, sides, 28, 20, 0, 0, held},
            {"secretary", none, sides, 72, 112, 0, 0,
             {{"secretary_idle", C, 6, 6, none}, {"secretary_presentation", C, 8, 8, none},
              {"secretary_move_empty", C, 12, 8}, {"secretary_move_full", C, 12, 8}}},
            {"engineer", none, sides, 72, 112, 0, 0,
             {{"engineer_idle", C, 6, 6, {"b"}}, {"engineer_move", C, 12, 8}, {"engineer_repair", C, 8, 8}}},
            {"door", none, none, 70, 106, 0, -106, {{"idle", C, 0, 1}, {"open", O, 10, 6}, {"close", O, 10, 6}}},
            {"shelving", {"paper", "ink", "clips"}, none, 50, 72, 0, -72, picked},
            {"checkmark", none, none, 20, 20, -10, -110, {{"idle", C, 10, 6}}},
            {"trash_bin", none, none, 40, 42, -20, -42, picked},
            {"phone", none, none, 40, 34, -20, -34, {{"idle", C, 0, 1}, {"ring", C, 12, 4}}},
            {"safe", none, none, 56, 56, -8, -56, device},
            {"cupboard", none, none, 70, 56, -20, -56, device},
            {"coffeemachine", none, none, 40, 46, -20, -24, device},
            {"conference_place", none, none, 100, 64, 0, -64, device},
            {"presentation_place", none, none, 60, 84, -22, -84, device},
            {"air_conditioner", none, none, 70, 40, 0, -100, device},
            {"stereo_system", none, none, 56, 48, -15, -48, device},
            {"air_conditioner_signal", none, none, 10, 10, 56, -96, signal},
            {"stereo_system_signal", none, none, 10, 10, 30, -44, signal},
            {"mini_bar", none, none, 105, 70, 0, -70, {{"idle", C, 0, 1}, {"active", C, 6, 4}}},
            {"minibar_pers1_up", none, none, 48, 80, 0, -88, minibarUp},
            {"minibar_pers2_up", none, none, 48, 80, 57, -88, minibarUp},
            {"minibar_pers1_down", none, none, 48, 80, 0, -88, minibarDown},
            {"minibar_pers2_down", none, none, 48, 80, 57, -88, minibarDown},
            {"worker_up", {"w1", "w2", "w3", "w4"}, {"br"}, 80, 96, 0, 0,
             {{"idle_usual", C, 6, 6}, {"idle_done", O, 8, 8}, {"work_action", C, 10, 8}, {"idle_distracted", C, 4, 6},
              {"disruption_reaction", O, 8, 6}, {"conference_reaction", O, 8, 8}, {"attention", O, 8, 6},
              {"disruptive_action", O, 8, 8}}},
            {"table", {"plain", "walnut"}, {"br"}, 100, 90, 0, -90, stills({"idle"})},
            {"spec", {"spec_l1t1", "spec_l1t2", "spec_l1t3", "spec_l1t4", "spec_l1t5", "spec_l2t0", "spec_l3t0", "spec_l4t0"},
             none, 24, 24, -12, -24, stills({"idle"})},
            {"client", {"student", "clerk", "lady", "banker", "vip"}, {"b"}, 64, 104, 0, 0,
             {{"idle_green", C, 4, 4}, {"idle_yellow", C, 5, 4}, {"idle_red", C, 8, 4}, {"idle_thinking", C, 4, 4},
              {"presentation_reaction", O, 8, 8}, {"drink_coffee", O, 8, 10}, {"patience_content", O, 8, 6},
              {"patience_angry", O, 8, 6}, {"gratitude", O, 8, 6}, {"scandal", O, 10, 12}}},
            {"client_place", {"stool", "sofa"}, none, 48, 40, -24, -40, stills({"idle"})},
            {"status_hp_back", none, none, 14, 64, -2, -59, stills({"idle"})},
            {"status_hp", none, none, 10, 5, 0, 0, stills({"point"})},
            {"status_bubble", none, none, 60, 44, 0, -44, stills({"cloud", "right", "multi_right", "aggro"})},
            {"status_type", none, none, 28, 28, 16, -38,
             stills({"ready", "scandal", "coffee", "sleep", "snore", "timer00", "timer01", "timer02", "timer03", "timer04",
                     "student", "clerk", "lady", "banker", "vip"})},
            {"status_production", none, none, 24, 24, 4, -36,
             stills({"0101", "0102", "0103", "0104", "0105", "0200", "0300", "0400"})},
        };
    }();
    return tables;
}

} // namespace

const std::vector<std::string>& ModelObjects()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const ObjectRecord& record : Model())
            list.push_back(record.name);
        return list;
    }();
    return names;
}

std::vector<std::string> DayOneObjects()
{
    return {"anchor", "window", "carpet01", "plant01", "plant02", "plant03", "picture01", "picture02", "boss",
            "shelving01", "trash_bin", "worker02a", "worker04a", "table02a", "table04a", "client03", "client04",
            "client_place03", "client_place04", "worker02a_hp", "worker02a_bubble", "worker04a_hp",
            "worker04a_bubble", "client03_hp", "client03_bubble", "client04_hp", "client04_bubble", "bonus"};
}

void AddOfficeObjects(const std::set<std::string>& names, XmlElement& objects)
{
    for (const ObjectRecord& record : Model())
        if (names.count(record.name))
            objects.Add(ObjectElement(record));
}

void AddOfficeGraphs(const std::set<std::string>& names, XmlElement& graphs)
{
    const struct {
        const char* walker;
        const char* aisles;
    } walkers[] = {{"boss", "NMSWE"}, {"secretary", "NES"}, {"engineer", "N"}};
    for (const auto& walker : walkers) {
        const Graph graph = BuildGraph(walker.walker, names, walker.aisles);
        XmlElement& element = graphs.Add("graph");
        element.Set("name", walker.walker);
        XmlElement& points = element.Add("points");
        for (const GraphPoint& point : graph.points) {
            XmlElement& p = points.Add("point");
            p.Set("name", point.name);
            if (!point.direction.empty())
                p.Set("direction", point.direction);
            p.Set("x", point.x).Set("y", point.y);
        }
        XmlElement& edges = element.Add("edges");
        for (const auto& edge : graph.edges)
            edges.Add("edge").Set("p1", edge.first).Set("p2", edge.second).Set("z_order", 0);
    }
}

std::map<std::string, double> BossRoutes(const std::set<std::string>& names, const std::string& from)
{
    const Graph graph = BuildGraph("boss", names, "NMSWE");
    std::map<std::string, std::pair<int, int>> at;
    for (const GraphPoint& point : graph.points)
        at[point.name] = {point.x, point.y};
    for (const ObjectRecord& record : Model())
        if (names.count(record.name))
            for (const Approach& point : record.points)
                if (point.owner == "boss")
                    at[record.name] = {point.x, point.y};
    std::map<std::string, std::vector<std::pair<std::string, double>>> next;
    for (const auto& edge : graph.edges) {
        if (!at.count(edge.first) || !at.count(edge.second))
            continue;
        const auto& a = at[edge.first];
        const auto& b = at[edge.second];
        const double length = std::hypot(double(a.first - b.first), double(a.second - b.second));
        next[edge.first].push_back({edge.second, length});
        next[edge.second].push_back({edge.first, length});
    }
    std::map<std::string, double> best;
    using Entry = std::pair<double, std::string>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    best[from] = 0;
    open.push({0, from});
    while (!open.empty()) {
        const Entry entry = open.top();
        open.pop();
        if (entry.first > best[entry.second])
            continue;
        for (const auto& step : next[entry.second]) {
            const double length = entry.first + step.second;
            auto found = best.find(step.first);
            if (found == best.end() || length < found->second) {
                best[step.first] = length;
                open.push({length, step.first});
            }
        }
    }
    return best;
}

void AddLevelGraphs(const std::set<std::string>& dayNames, XmlElement& root)
{
    std::set<std::string> rowB;
    for (const std::string& name : dayNames)
        if (name.rfind("table", 0) == 0 && name.size() == 8 && name[7] == 'b')
            rowB.insert(name);
    if (rowB.empty())
        return;
    const Graph graph = BuildGraph("boss", dayNames, "NMSWE");
    // The stub edges of the row-b desks and the aisle points they join.
    std::vector<std::pair<std::string, std::string>> edges;
    std::set<std::string> used;
    for (const auto& edge : graph.edges)
        if (rowB.count(edge.first) || rowB.count(edge.second)) {
            edges.push_back(edge);
            used.insert(rowB.count(edge.first) ? edge.second : edge.first);
        }
    // One office edge again, reversed.
    for (const auto& edge : graph.edges)
        if (!rowB.count(edge.first) && !rowB.count(edge.second) && !Model().empty() && edge.first != "boss_home" &&
            edge.second != "boss_home" && edge.first.find('_') == 1 && edge.second.find('_') == 1) {
            edges.emplace_back(edge.second, edge.first);
            used.insert(edge.first);
            used.insert(edge.second);
            break;
        }
    XmlElement& element = root.Add("graphs").Add("graph");
    element.Set("name", "boss");
    XmlElement& points = element.Add("points");
    for (const GraphPoint& point : graph.points)
        if (used.count(point.name))
            points.Add("point").Set("name", point.name).Set("x", point.x).Set("y", point.y);
    XmlElement& list = element.Add("edges");
    for (const auto& edge : edges)
        list.Add("edge").Set("p1", edge.first).Set("p2", edge.second).Set("z_order", 0);
}

std::vector<uint8_t> ZOrderFile(const std::set<std::string>& names)
{
    std::vector<std::string> records;
    for (const ObjectRecord& record : Model())
        if (names.count(record.name))
            for (const Part& part : record.parts)
                if (part.hasBase)
                    records.push_back(record.name + ":" + part.name);
    std::vector<uint8_t> bytes;
    auto putU32 = [&bytes](uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    };
    putU32(1);
    putU32(static_cast<uint32_t>(records.size()));
    for (const std::string& text : records) {
        std::vector<uint8_t> record(260, 0);
        std::copy(text.begin(), text.begin() + std::min<size_t>(text.size(), 259), record.begin());
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

void AddLevelOffice(int level, XmlElement& root)
{
    if (level > 3)
        return;
    AddLevelObjects(level, root);
    struct TimePoint {
        double time;
        const char* client;
        std::vector<const char*> orders;
        const char* window;
    };
    const std::vector<TimePoint> day1 = {{1.0, "student", {"0101"}, nullptr},
                                         {3.0, "student", {"0102"}, nullptr},
                                         {35.0, "clerk", {"0101", "0102"}, nullptr},
                                         {45.0, "student", {"0101"}, "window_morning"}};
    const std::vector<TimePoint> day2 = {{1.0, "clerk", {"0201"}, nullptr},
                                         {40.0, "student", {"0102"}, nullptr},
                                         {50.0, "clerk", {"0201"}, nullptr},
                                         {60.0, "student", {"0101"}, nullptr}};
    // Day 3 keeps day 1's office: its clients come sooner and more often.
    const std::vector<TimePoint> day3 = {{0.0, "student", {"0101"}, nullptr},
                                         {2.0, "clerk", {"0102"}, nullptr},
                                         {12.0, "lady", {"0101", "0102"}, nullptr},
                                         {12.0, "student", {"0102"}, nullptr},
                                         {25.0, "clerk", {"0101"}, "window_day"}};
    XmlElement& timeline = root.Add("events_queue").Add("clients_timeline");
    for (const TimePoint& point : level == 1 ? day1 : level == 2 ? day2 : day3) {
        XmlElement& element = timeline.Add("time_point");
        element.SetFloat("time", point.time).Set("event", point.client);
        if (point.window)
            element.Set("window_event", point.window);
        element.Set("vip", 0);
        XmlElement& orders = element.Add("orders");
        for (const char* order : point.orders)
            orders.Add("order").Set("name", order);
    }
}

std::set<std::string> LevelObjects(int level)
{
    std::vector<std::string> used = DayOneObjects();
    if (level == 2)
        for (const char* name : {"worker01a", "table01a", "worker01a_spec", "worker02a_spec", "worker04a_spec", "door03",
                                 "engineer", "worker01a_hp", "worker01a_bubble"})
            used.push_back(name);
    return std::set<std::string>(used.begin(), used.end());
}

void AddLevelObjects(int level, XmlElement& root)
{
    const std::set<std::string> names = LevelObjects(level);
    static const std::map<std::string, std::string> kWorkerLooks = {
        {"worker01a", "w3"}, {"worker02a", "w1"}, {"worker03a", "w4"}, {"worker04a", "w2"},
        {"worker01b", "w2"}, {"worker02b", "w3"}, {"worker03b", "w1"}, {"worker04b", "w4"}};
    static const std::map<std::string, std::pair<std::string, std::string>> kTransforms = {
        {"worker02a", {"paper", "0102"}}, {"worker04a", {"paper", "0101"}}, {"worker01a", {"0100", "0200"}}};
    static const std::map<std::string, std::string> kDecorSkins = {
        {"carpet", "grey"}, {"plant", "fern"}, {"wall_picture", "city"}};
    XmlElement& objects = root.Add("objects");
    for (const ObjectRecord& record : Model()) {
        if (!names.count(record.name) || record.name == "anchor")
            continue;
        XmlElement& object = objects.Add("object");
        object.Set("name", record.name);
        if (record.cls == "worker") {
            object.Set("skin", kWorkerLooks.at(record.name));
            const auto& transform = kTransforms.at(record.name);
            object.Set("transform_from", transform.first).Set("transform_to", transform.second);
        } else if (record.cls == "shelving") {
            object.Set("skin", "paper").Set("anim", "idle");
        } else if (record.name.rfind("table", 0) == 0) {
            object.Set("skin", "plain").Set("anim", "idle");
        } else if (record.name.rfind("client_place", 0) == 0) {
            object.Set("skin", "stool").Set("anim", "idle");
        } else if (kDecorSkins.count(record.parts.front().name)) {
            object.Set("skin", kDecorSkins.at(record.parts.front().name)).Set("anim", "idle");
        } else if (record.cls == "item" || record.cls == "bin") {
            object.Set("anim", "idle");
        } else if (record.cls == "status_hp" || record.cls == "status_bubble" || record.name == "engineer") {
            object.Set("stop", "true");
        }
        if (level == 2 && (record.name == "worker01a" || record.name == "table01a" || record.name == "door03"))
            object.Set("old_skin", "none");
    }
}

std::vector<PartAnimationTable> PartAnimationTables(const std::set<std::string>& names)
{
    std::vector<PartAnimationTable> out;
    std::set<std::string> seen;
    for (const ObjectRecord& record : Model())
        if (names.count(record.name))
            for (const Part& part : record.parts)
                if (seen.insert(part.name).second)
                    for (const PartAnimationTable& table : AnimationTables())
                        if (table.part == part.name)
                            out.push_back(table);
    return out;
}

const PartAnimationTable* FindPartAnimationTable(const std::string& part)
{
    for (const PartAnimationTable& table : AnimationTables())
        if (table.part == part)
            return &table;
    return nullptr;
}

std::vector<PartPlacement> PartPlacements(const std::set<std::string>& names)
{
    static const std::set<std::string> kRunTime = {"boss", "secretary", "engineer"};
    std::map<std::string, double> groundDepth;
    for (const ObjectRecord& record : Model())
        for (const Part& part : record.parts)
            if (part.hasBase)
                groundDepth[record.name + ":" + part.name] = part.base.y1;
    std::vector<PartPlacement> placed;
    for (const ObjectRecord& record : Model()) {
        if (!names.count(record.name) || kRunTime.count(record.cls) || record.cls == "status_hp" ||
            record.cls == "status_bubble" || record.cls == "item_bonus")
            continue;
        int order = 0;
        for (const Part& part : record.parts) {
            ++order;
            const PartAnimationTable* table = FindPartAnimationTable(part.name);
            if (!table || part.name == "checkmark")
                continue;
            double depth = part.hasBase ? part.base.y1 : 0;
            if (!part.parentZ.empty()) {
                const auto parent = groundDepth.find(part.parentZ);
                depth = (parent == groundDepth.end() ? 0 : parent->second) + 0.01 * order;
            }
            placed.push_back({record.name, part.name, record.x + part.offsX + table->offsetX,
                              record.y + part.offsY + table->offsetY, depth});
        }
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const PartPlacement& a, const PartPlacement& b) { return a.depth < b.depth; });
    return placed;
}

} // namespace contentgen
