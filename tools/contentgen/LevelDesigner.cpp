#include "LevelDesigner.h"

#include "BalanceModel.h"
#include "ConfigFiles.h"
#include "OfficeModel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace contentgen {

namespace {

// A desk of the office: its worker's suffix and transform.
struct Desk {
    const char* suffix;
    const char* from;
    const char* to;
};

std::string Two(int n)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

void AddDesk(DayOffice& office, const Desk& desk)
{
    const std::string s = desk.suffix;
    for (const std::string& name : {"worker" + s, "table" + s, "worker" + s + "_spec", "worker" + s + "_hp",
                                    "worker" + s + "_bubble"})
        office.objects.insert(name);
    office.transforms["worker" + s] = {desk.from, desk.to};
}

void AddPlaces(DayOffice& office, int first, int last, bool withClients = true)
{
    for (int n = first; n <= last; ++n) {
        office.objects.insert("client_place" + Two(n));
        if (withClients)
            for (const std::string& name : {"client" + Two(n), "client" + Two(n) + "_hp", "client" + Two(n) + "_bubble"})
                office.objects.insert(name);
    }
}

void AddNames(DayOffice& office, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        office.objects.insert(name);
}

// What every office has: the room's decor, the boss, the bin, the first
// shelf and the pop-ups.
DayOffice BaseOffice()
{
    DayOffice office;
    AddNames(office, {"window", "carpet01", "plant01", "plant02", "plant03", "picture01", "picture02", "boss",
                      "shelving01", "trash_bin", "bonus"});
    return office;
}

void AddPhone(DayOffice& office) { AddNames(office, {"secretary_desk", "phone", "phone_hp", "phone_bubble"}); }
void AddCoffee(DayOffice& office) { AddNames(office, {"secretary", "coffeemachine", "cupboard"}); }

// Only what the office model holds.
DayOffice Modelled(DayOffice office)
{
    const std::vector<std::string>& known = ModelObjects();
    for (auto it = office.objects.begin(); it != office.objects.end();)
        it = std::find(known.begin(), known.end(), *it) == known.end() ? office.objects.erase(it) : std::next(it);
    return office;
}

// The tool's own generator: the same numbers for the same seed everywhere.
class DayRandom {
public:
    explicit DayRandom(uint64_t seed) : mState(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {}
    // In [0, 1).
    double Next()
    {
        mState ^= mState >> 12;
        mState ^= mState << 25;
        mState ^= mState >> 27;
        return double((mState * 0x2545F4914F6CDD1Dull) >> 11) / double(1ull << 53);
    }
    size_t Pick(size_t count) { return std::min(count - 1, size_t(Next() * double(count))); }

private:
    uint64_t mState;
};

double Between(int level, int first, int last, double from, double to)
{
    if (last == first)
        return from;
    return from + (to - from) * double(level - first) / double(last - first);
}

int ClientCount(int level)
{
    static const int kEarly[] = {5, 6, 6, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 12, 13, 13, 14, 12, 13, 13, 14, 14, 15};
    if (level <= 26)
        return kEarly[level - 3];
    if (level <= 40)
        return int(std::lround(Between(level, 26, 40, 15, 22)));
    return int(std::lround(Between(level, 41, 60, 18, 28)));
}

// Seconds between arrivals on days 3 to 60: the gaps at which the balance
// model finds that one boss keeps up with each day's clients and orders (the
// busier offices of the later months need wider gaps, their goals ask for
// more of the money).
double PlannedSpacing(int level)
{
    static const double kSpacing[] = {14, 13.5, 14.33, 15.20, 12.60, 15.31, 15.41, 14.05, 12.13, 12.77,
                                     13.41, 12.46, 12.77, 13.41, 17.12, 16.54, 15.21, 14.65, 16.26, 16.30,
                                     14.78, 14.78, 14.78, 17.07, 19.40, 17.23, 17.72, 17.40, 18.79, 20.27,
                                     18.91, 20.43, 21.99, 21.50, 18.20, 22.63, 20.08, 24.94, 19.64, 22.27,
                                     24.05, 23.55, 19.89, 18.53, 18.99, 20.48, 25.54, 21.50, 20.01, 24.77,
                                     20.85, 19.30, 19.72, 21.14, 21.55, 20.85, 24.55, 27.56};
    return kSpacing[level - 3];
}

// Chances that a client wants two and three orders.
double TwoOrders(int level)
{
    if (level < 11)
        return 0;
    if (level < 17)
        return 0.10;
    if (level <= 26)
        return 0.15;
    if (level <= 40)
        return Between(level, 27, 40, 0.15, 0.30);
    return Between(level, 41, 60, 0.30, 0.40);
}

double ThreeOrders(int level) { return level < 45 ? 0 : Between(level, 45, 60, 0.02, 0.12); }

int MaxStage(int level) { return level < 6 ? 1 : level < 26 ? 2 : level < 41 ? 3 : 4; }

std::vector<std::string> ClientTypes(int level)
{
    if (level <= 20)
        return level >= 17 ? std::vector<std::string>{"student", "clerk", "lady"}
                           : std::vector<std::string>{"student", "clerk"};
    if (level <= 40)
        return level >= 30 ? std::vector<std::string>{"clerk", "lady", "banker"}
                           : std::vector<std::string>{"clerk", "lady"};
    return {"lady", "banker"};
}

bool IsVip(int level, int index)
{
    if (level <= 41)
        return index == 2; // one caller a day while the phone is new
    return index % 6 == 5;
}

std::string DrawOrder(int level, const std::set<std::string>& producible, DayRandom& random)
{
    static const double kWeights[4][4] = {{1, 0, 0, 0}, {0.7, 0.3, 0, 0}, {0.45, 0.35, 0.2, 0}, {0.35, 0.3, 0.2, 0.15}};
    const int top = MaxStage(level);
    const double x = random.Next();
    double sum = 0;
    int stage = 1;
    for (int s = 1; s <= top; ++s) {
        sum += kWeights[top - 1][s - 1];
        stage = s;
        if (x < sum)
            break;
    }
    for (; stage >= 1; --stage) {
        std::vector<std::string> variants;
        for (const std::string& order : producible)
            if (order[1] == char('0' + stage))
                variants.push_back(order);
        if (!variants.empty())
            return variants[random.Pick(variants.size())];
    }
    return std::string();
}

// The clients of a day at the given spacing; the draws depend on the day
// alone, so a wider spacing moves the times and nothing else.
std::vector<ClientVisit> MakeClients(int level, OfficeRoutes& routes, double spacing)
{
    const DayOffice& office = routes.Office();
    DayRandom random{uint64_t(level)};
    const std::set<std::string> producible = ProducibleOrders(office);
    const std::vector<std::string> types = ClientTypes(level);
    const bool phone = office.objects.count("phone") > 0;
    // The client place farthest from the shelves stands for all.
    std::string farthest;
    for (const std::string& name : office.objects)
        if (name.rfind("client_place", 0) == 0)
            farthest = name;
    std::vector<ClientVisit> clients;
    const int count = ClientCount(level);
    double arrival = 1;
    for (int i = 0; i < count; ++i) {
        ClientVisit visit;
        // Each gap varies by up to 15 %, so clients never bunch up however
        // long the day.
        const double u = (random.Next() * 2 - 1) * 0.15;
        visit.time = std::round(arrival * 10) / 10;
        arrival += spacing * (1 + u);
        visit.vip = phone && IsVip(level, i);
        visit.type = visit.vip ? "vip" : types[random.Pick(types.size())];
        const double draw = random.Next();
        const int orders = draw < ThreeOrders(level) ? 3 : draw < ThreeOrders(level) + TwoOrders(level) ? 2 : 1;
        // Orders that one boss can serve alone before the client's patience
        // runs low; a draw that cannot be is drawn again.
        const double patience = ClientTypeValue(visit.type, "client_patience_speed");
        double budget = 0.85 * (100 - OfficeParam("patience_r_level")) / patience -
                        ClientTypeValue(visit.type, "client_decision_timeout") - 2 * OfficeParam("boss_interaction_timeout");
        for (int k = 0; k < orders * 6 && int(visit.orders.size()) < orders; ++k) {
            const std::string order = DrawOrder(level, producible, random);
            if (order.empty() || std::find(visit.orders.begin(), visit.orders.end(), order) != visit.orders.end())
                continue;
            const double seconds = OrderSeconds(routes, farthest, order).done;
            if (seconds > budget && !visit.orders.empty())
                continue;
            if (seconds > budget && k + 1 < orders * 6)
                continue;
            budget -= seconds;
            visit.orders.push_back(order);
        }
        if (visit.orders.empty())
            visit.orders.push_back("0101");
        clients.push_back(visit);
    }
    std::stable_sort(clients.begin(), clients.end(),
                     [](const ClientVisit& a, const ClientVisit& b) { return a.time < b.time; });
    // The light changes with the first client at or after 35 % and 70 % of
    // the day.
    const double length = clients.empty() ? 0 : clients.back().time;
    bool morning = false;
    for (ClientVisit& visit : clients) {
        if (!morning && visit.time >= 0.35 * length) {
            visit.window = "window_morning";
            morning = true;
        } else if (morning && visit.time >= 0.7 * length) {
            visit.window = "window_day";
            break;
        }
    }
    return clients;
}

bool Blinks(const std::string& name)
{
    if (name.size() > 3 && (name.find("_hp") != std::string::npos || name.find("_bubble") != std::string::npos))
        return false;
    for (const char* prefix : {"worker", "table", "client_place", "shelving"})
        if (name.rfind(prefix, 0) == 0)
            return true;
    for (const char* device : {"phone", "safe", "cupboard", "coffeemachine", "conference_place", "presentation_place",
                               "air_conditioner", "stereo_system", "mini_bar", "secretary_desk"})
        if (name == device)
            return true;
    return false;
}

} // namespace

std::string WorkerLook(const std::string& worker)
{
    static const std::map<std::string, std::string> kLooks = {
        {"worker01a", "w3"}, {"worker02a", "w1"}, {"worker03a", "w4"}, {"worker04a", "w2"},
        {"worker01b", "w2"}, {"worker02b", "w3"}, {"worker03b", "w1"}, {"worker04b", "w4"}};
    auto found = kLooks.find(worker);
    return found == kLooks.end() ? std::string() : found->second;
}

DayOffice CareerOffice(int level)
{
    DayOffice office = BaseOffice();
    AddNames(office, {"door03", "engineer"});
    AddDesk(office, {"02a", "paper", "0101"});
    AddDesk(office, {"03a", "paper", "0102"});
    if (level >= 4) {
        AddNames(office, {"shelving02"});
        AddDesk(office, {"04a", "ink", "0103"});
    }
    if (level >= 5)
        AddPhone(office);
    if (level >= 6)
        AddDesk(office, {"01a", "0100", "0200"});
    if (level >= 7)
        AddNames(office, {"safe"});
    if (level >= 8)
        AddCoffee(office);
    if (level >= 10)
        AddNames(office, {"mini_bar"});
    if (level >= 12)
        AddNames(office, {"conference_place"});
    if (level >= 16)
        AddNames(office, {"presentation_place"});
    if (level >= 21) {
        AddNames(office, {"shelving03", "air_conditioner"});
        AddDesk(office, {"01b", "clips", "0104"});
        AddDesk(office, {"02b", "clips", "0105"});
    }
    if (level >= 24)
        AddNames(office, {"stereo_system"});
    if (level >= 26)
        AddDesk(office, {"03b", "0200", "0300"});
    if (level >= 41)
        AddDesk(office, {"04b", "0300", "0400"});
    else if (level >= 30)
        AddDesk(office, {"04b", "0100", "0200"});
    AddPlaces(office, level < 8 ? 2 : 1, level < 8 ? 5 : level <= 20 ? 6 : level <= 40 ? 7 : 8);
    if (level >= 41)
        office.tableSkin = "walnut";
    return Modelled(office);
}

DayOffice SurvivalStartOffice(int file)
{
    DayOffice office = BaseOffice();
    AddPhone(office);
    AddNames(office, {"safe", "shelving02"});
    AddDesk(office, {"02a", "paper", "0101"});
    AddDesk(office, {"03a", "paper", "0102"});
    AddDesk(office, {"04a", "ink", "0103"});
    if (file == 1) {
        AddPlaces(office, 2, 5);
        return Modelled(office);
    }
    AddNames(office, {"shelving03", "door03", "engineer", "air_conditioner"});
    AddDesk(office, {"01a", "0100", "0200"});
    AddDesk(office, {"01b", "clips", "0104"});
    if (file == 2) {
        AddPlaces(office, 1, 5);
        return Modelled(office);
    }
    AddDesk(office, {"02b", "clips", "0105"});
    AddDesk(office, {"03b", "0200", "0300"});
    AddPlaces(office, 1, 6);
    office.tableSkin = "walnut";
    return Modelled(office);
}

DayOffice SurvivalLaterObjects(int file)
{
    DayOffice later;
    AddCoffee(later);
    AddNames(later, {"mini_bar", "conference_place", "presentation_place"});
    if (file == 1) {
        AddDesk(later, {"01a", "0100", "0200"});
        AddPlaces(later, 1, 1, false);
        AddPlaces(later, 6, 6, false);
    } else if (file == 2) {
        AddNames(later, {"stereo_system"});
        AddDesk(later, {"02b", "clips", "0105"});
        AddDesk(later, {"03b", "0200", "0300"});
        AddPlaces(later, 6, 7, false);
    } else {
        AddNames(later, {"stereo_system"});
        AddDesk(later, {"04b", "0300", "0400"});
        AddPlaces(later, 7, 8, false);
        later.tableSkin = "walnut";
    }
    return Modelled(later);
}

std::set<std::string> ProducibleOrders(const DayOffice& office)
{
    static const char* const kShelfThings[3][2] = {{"shelving01", "paper"}, {"shelving02", "ink"}, {"shelving03", "clips"}};
    std::set<std::string> raw;
    for (const auto& shelf : kShelfThings)
        if (office.objects.count(shelf[0]))
            raw.insert(shelf[1]);
    std::set<int> stages;
    std::set<std::string> variants;
    for (const auto& worker : office.transforms) {
        if (!office.objects.count(worker.first))
            continue;
        const std::string& from = worker.second.first;
        const std::string& to = worker.second.second;
        if (raw.count(from) && to.size() == 4 && to[0] == '0' && to[1] == '1')
            variants.insert(to.substr(2));
        else if (from.size() == 4 && to.size() == 4 && to[1] == from[1] + 1)
            stages.insert(to[1] - '0');
    }
    std::set<std::string> orders;
    for (const std::string& variant : variants)
        for (int stage = 1; stage <= 4 && (stage == 1 || stages.count(stage)); ++stage)
            orders.insert("0" + std::to_string(stage) + variant);
    return orders;
}

void AddDayObjects(const DayOffice& office, const DayOffice* previous, const DayOffice* later, XmlElement& root)
{
    static const std::map<std::string, std::string> kShelfSkins = {
        {"shelving01", "paper"}, {"shelving02", "ink"}, {"shelving03", "clips"}};
    XmlElement& objects = root.Add("objects");
    for (const std::string& name : ModelObjects()) {
        const bool now = office.objects.count(name) > 0;
        const bool afterwards = !now && later && later->objects.count(name) > 0;
        if (!now && !afterwards)
            continue;
        const DayOffice& source = now ? office : *later;
        XmlElement& object = objects.Add("object");
        object.Set("name", name);
        std::string skin;
        bool idle = false;
        const auto transform = source.transforms.find(name);
        if (transform != source.transforms.end()) {
            object.Set("skin", WorkerLook(name));
            object.Set("transform_from", transform->second.first).Set("transform_to", transform->second.second);
        } else if (kShelfSkins.count(name)) {
            skin = kShelfSkins.at(name);
            idle = true;
        } else if (name.rfind("table", 0) == 0) {
            skin = source.tableSkin;
            idle = true;
        } else if (name.rfind("client_place", 0) == 0) {
            skin = "stool";
            idle = true;
        } else if (name.rfind("plant", 0) == 0) {
            skin = "fern";
            idle = true;
        } else if (name.rfind("picture", 0) == 0) {
            skin = "city";
            idle = true;
        } else if (name == "carpet01") {
            skin = "grey";
            idle = true;
        } else if (name == "window" || name == "trash_bin" || name == "mini_bar" || name == "secretary_desk") {
            idle = true;
        }
        if (!skin.empty())
            object.Set("skin", skin);
        if (idle)
            object.Set("anim", "idle");
        const bool indicator = name.find("_hp") != std::string::npos || name.find("_bubble") != std::string::npos;
        if (afterwards || indicator || name == "engineer")
            object.Set("stop", "true");
        if (!now || !previous)
            continue;
        if (!previous->objects.count(name) && Blinks(name))
            object.Set("old_skin", "none");
        else if (name.rfind("table", 0) == 0 && previous->objects.count(name) && previous->tableSkin != office.tableSkin)
            object.Set("old_skin", previous->tableSkin);
    }
}

DayPlan DesignDay(int level)
{
    DayPlan plan;
    plan.level = level;
    plan.office = CareerOffice(level);
    plan.plannedSpacing = PlannedSpacing(level);
    plan.spacing = plan.plannedSpacing;
    std::string why;
    OfficeRoutes routes(plan.office);
    for (int widen = 0; widen < 40; ++widen) {
        plan.clients = MakeClients(level, routes, plan.spacing);
        if (BossKeepsUp(plan, routes, why))
            break;
        plan.spacing = std::round(plan.spacing * 1.05 * 100) / 100;
    }
    GoalMoney(level, plan.clients, plan.goal, plan.expert);
    return plan;
}

XmlElement DesignedLevelFile(int level)
{
    if (level < 3)
        return BuildLevelFile(level);
    const DayPlan plan = DesignDay(level);
    if (plan.spacing > plan.plannedSpacing)
        std::printf("contentgen: day %d: clients %.2f s apart, widened from %.2f s so that one boss keeps up\n", level,
                    plan.spacing, plan.plannedSpacing);
    const std::string n = std::to_string(level);
    XmlElement root("level");
    root.Set("briefing", "lvl" + n + "_brief").Set("debriefing_bad", "lvl" + n + "_bad");
    root.Set("debriefing_good", "lvl" + n + "_good").Set("debriefing_perfect", "lvl" + n + "_perfect");
    root.Add("params").Set("normal", plan.goal).Set("expert", plan.expert);
    DayOffice previous;
    if (level == 3) {
        previous.objects = LevelObjects(2);
    } else {
        previous = CareerOffice(level - 1);
    }
    AddDayObjects(plan.office, &previous, nullptr, root);
    XmlElement& queue = root.Add("events_queue");
    XmlElement& timeline = queue.Add("clients_timeline");
    for (const ClientVisit& visit : plan.clients) {
        XmlElement& point = timeline.Add("time_point");
        point.SetFloat("time", visit.time).Set("event", visit.type);
        if (!visit.window.empty())
            point.Set("window_event", visit.window);
        point.Set("vip", visit.vip ? 1 : 0);
        XmlElement& orders = point.Add("orders");
        for (const std::string& order : visit.orders)
            orders.Add("order").Set("name", order);
    }
    // Breakdowns the game reads and leaves to its own timers.
    const double length = plan.clients.empty() ? 60 : plan.clients.back().time;
    if (plan.office.objects.count("air_conditioner")) {
        XmlElement& list = queue.Add("air_conditioner_timeline");
        for (double share : {0.3, 0.7})
            list.Add("time_point").SetFloat("time", std::round(length * share));
    }
    if (plan.office.objects.count("stereo_system")) {
        XmlElement& list = queue.Add("stereosystem_timeline");
        for (double share : {0.4, 0.8})
            list.Add("time_point").SetFloat("time", std::round(length * share));
    }
    std::set<std::string> day = plan.office.objects;
    day.insert("anchor");
    AddLevelGraphs(day, root);
    return root;
}

} // namespace contentgen
