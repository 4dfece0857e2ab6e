#include "SurvivalFiles.h"

#include "LevelDesigner.h"
#include "OfficeModel.h"

#include <string>
#include <vector>

namespace contentgen {

namespace {

using Client = SurvivalClient;

struct Stage {
    int money;
    bool add = false;
    bool skin = false;
    const char* window = nullptr;
    std::vector<Client> clients;
    std::vector<std::string> objects; // added by the stage
};

// The stage's client types with their spawn times, multi-order and extended
// order chances replaced where given (negative keeps the type's own).
std::vector<Client> Tuned(std::vector<Client> clients, double min, double max, double multi, double extended = -1)
{
    for (Client& client : clients) {
        if (client.vip)
            continue;
        if (min >= 0) {
            client.min = min;
            client.max = max;
        }
        if (multi >= 0)
            client.multi = multi;
        if (extended >= 0)
            client.extended = extended;
    }
    return clients;
}

std::vector<std::string> DeskObjects(const std::string& suffix)
{
    return {"worker" + suffix, "table" + suffix, "worker" + suffix + "_spec"};
}

std::vector<std::string> PlaceObjects(std::initializer_list<const char*> numbers)
{
    std::vector<std::string> names;
    for (const char* n : numbers) {
        names.push_back(std::string("client_place") + n);
        names.push_back(std::string("client") + n);
    }
    return names;
}

std::vector<Stage> Stages(int file)
{
    const Client student{"student", false, 9, 13, 3, 0, 0.05, "easy"};
    const Client clerk{"clerk", false, 10, 14, 2, 0, 0.05, "easy"};
    const Client lady{"lady", false, 11, 15, 1, 0, 0.1, "two_step"};
    const Client banker{"banker", false, 10, 14, 1, 0, 0.15, "two_step"};
    const Client vip{"vip", true, 20, 30, 0.5, 0, 0, "easy"};
    std::vector<Stage> stages;
    if (file == 1) {
        std::vector<Client> clients = {student, clerk};
        stages.push_back({0, false, false, nullptr, clients, {}});
        clients.push_back(lady);
        stages.push_back({200, false, false, "window_morning", clients, DeskObjects("01a")});
        stages.push_back({500, true, false, nullptr, clients, {}});
        clients = Tuned(clients, 7, 11, -1);
        stages.push_back({900, false, true, nullptr, clients, PlaceObjects({"01", "06"})});
        clients.push_back(banker);
        clients.push_back(vip);
        stages.push_back({1400, true, false, "window_day", clients, {}});
        stages.push_back({2000, false, false, nullptr, Tuned(clients, 5, 8, 0.25), {}});
        return stages;
    }
    if (file == 2) {
        Client clerk2 = clerk;
        clerk2.min = 9;
        clerk2.max = 13;
        Client lady2 = lady;
        lady2.min = 10;
        lady2.max = 14;
        std::vector<Client> clients = {clerk2, lady2};
        stages.push_back({0, false, false, nullptr, clients, {}});
        stages.push_back({300, false, false, "window_morning", clients, DeskObjects("02b")});
        stages.push_back({700, true, false, nullptr, clients, {}});
        Client banker2 = banker;
        banker2.orders = "three_step";
        clients.push_back(banker2);
        stages.push_back({1200, false, false, nullptr, clients, DeskObjects("03b")});
        clients = Tuned(clients, 7, 11, -1);
        stages.push_back({1800, false, true, nullptr, clients, PlaceObjects({"06", "07"})});
        clients.push_back(vip);
        stages.push_back({2500, true, false, "window_day", clients, {}});
        stages.push_back({3300, false, false, nullptr, Tuned(clients, 5, 8, 0.25), {}});
        return stages;
    }
    Client lady3 = lady;
    lady3.min = 9;
    lady3.max = 13;
    lady3.spawn = 2;
    // The month-3 office opens slowly, with ladies on two-step orders (every
    // one of them passes the one second-stage desk); bankers join, their
    // orders growing a step with each stage. The upgrades come a stage
    // earlier than in the other files: the desk chains are long here.
    std::vector<Client> clients = Tuned({lady3, banker}, 14, 18, -1);
    stages.push_back({0, false, false, nullptr, {clients[0]}, {}});
    stages.push_back({400, false, false, "window_morning", clients, {}});
    clients[1].orders = "three_step";
    clients = Tuned(clients, 13, 17, -1);
    stages.push_back({900, true, false, nullptr, clients, DeskObjects("04b")});
    clients[1].orders = "hard";
    clients = Tuned(clients, 11, 15, -1);
    stages.push_back({1500, false, true, nullptr, clients, {}});
    // Extended orders from here on: every variant's stages 2, 3 and 4 are made.
    clients = Tuned(clients, 7, 11, 0.25, 1);
    stages.push_back({2200, false, false, nullptr, clients, PlaceObjects({"07", "08"})});
    clients.push_back(vip);
    stages.push_back({3000, true, false, "window_day", clients, {}});
    clients = Tuned(clients, 5, 8, 0.3);
    stages.push_back({3900, false, false, nullptr, clients, {}});
    stages.push_back({4900, false, false, nullptr, Tuned(clients, 4, 6, 0.4), {}});
    return stages;
}

// A stage object or upgrade entry with the skin and animation the level
// gives the object.
void AddStageObject(XmlElement& parent, const char* element, const std::string& name, const DayOffice& office)
{
    XmlElement& object = parent.Add(element);
    object.Set("name", name);
    const std::string look = WorkerLook(name);
    if (!look.empty())
        object.Set("skin", look);
    else if (name.rfind("table", 0) == 0)
        object.Set("skin", office.tableSkin).Set("anim", "idle");
    else if (name.rfind("client_place", 0) == 0)
        object.Set("skin", "stool").Set("anim", "idle");
}

// Entries "order:weight"; a word alone weighs 1.
void AddOrders(XmlElement& list, const std::vector<std::string>& words)
{
    for (const std::string& word : words) {
        const size_t colon = word.find(':');
        const double weight = colon == std::string::npos ? 1 : std::stod(word.substr(colon + 1));
        list.Add("orders").SetFloat("probability", weight).Set("order", word.substr(0, colon));
    }
}

std::vector<std::string> Words(int stage, int first, int last)
{
    std::vector<std::string> words;
    for (int v = first; v <= last; ++v)
        words.push_back("0" + std::to_string(stage) + "0" + std::to_string(v));
    return words;
}

void AddTemplate(XmlElement& root, const char* name, const std::vector<std::string>& first,
                 const std::vector<std::string>& second)
{
    XmlElement& element = root.Add("order_template").Set("template", name);
    AddOrders(element.Add("order_list").SetFloat("probability", 1), first);
    AddOrders(element.Add("order_list").SetFloat("probability", 1), second);
}

} // namespace

XmlElement& AddSurvivalStage(XmlElement& stages, int money, bool add, bool skin, const char* window,
                             const std::vector<SurvivalClient>& clients)
{
    XmlElement& element = stages.Add("stage");
    element.Set("money", money);
    if (add)
        element.SetBool("upgrade_add", true);
    if (skin)
        element.SetBool("upgrade_skin", true);
    if (window)
        element.Set("window_event", window);
    for (const SurvivalClient& client : clients)
        element.Add("clients")
            .Set("name", client.name)
            .Set("vip", client.vip ? 1 : 0)
            .SetFloat("client_time_spawn_min", client.min)
            .SetFloat("client_time_spawn_max", client.max)
            .SetFloat("probability_spawn", client.spawn)
            .SetFloat("probability_ext_order", client.extended)
            .SetFloat("probability_multi_order", client.multi)
            .Set("order_template", client.orders);
    return element;
}

XmlElement SurvivalLevelFile(int file)
{
    const DayOffice start = SurvivalStartOffice(file);
    const DayOffice later = SurvivalLaterObjects(file);
    DayOffice all = start;
    all.objects.insert(later.objects.begin(), later.objects.end());
    all.transforms.insert(later.transforms.begin(), later.transforms.end());
    XmlElement root("level");
    AddDayObjects(start, nullptr, &later, root);
    XmlElement& list = root.Add("stages");
    for (const Stage& stage : Stages(file)) {
        XmlElement& element = AddSurvivalStage(list, stage.money, stage.add, stage.skin, stage.window, stage.clients);
        for (const std::string& name : stage.objects)
            AddStageObject(element, "object", name, all);
    }
    // Listed so that the first three offered can always be used.
    struct Option {
        const char* name;
        std::vector<std::string> objects;
    };
    std::vector<Option> adds = {{"coffee", {"secretary", "coffeemachine", "cupboard"}},
                                {"minibar", {"mini_bar"}},
                                {"conference", {"conference_place"}},
                                {"presentation", {"presentation_place", "secretary"}}};
    if (file >= 2)
        adds.push_back({"stereo", {"stereo_system"}});
    for (const Option& option : adds) {
        XmlElement& element = root.Add("upgrade_add_list").Set("name", option.name);
        for (const std::string& name : option.objects) {
            XmlElement& object = element.Add("object_list").Set("name", name);
            if (name != "secretary")
                object.Set("anim", "idle");
        }
    }
    auto skinOption = [&](const char* name, const char* prefix, const char* skin) {
        XmlElement& element = root.Add("upgrade_skin_list").Set("name", name);
        for (const std::string& object : ModelObjects())
            // Desks carry a number and a row letter, the others a number.
            if (all.objects.count(object) && object.rfind(prefix, 0) == 0 &&
                object.size() == std::string(prefix).size() + (std::string(prefix) == "table" ? 3 : 2))
                element.Add("object_list").Set("name", object).Set("skin", skin).Set("anim", "idle");
    };
    if (file <= 2)
        skinOption("walnut_desks", "table", "walnut");
    skinOption("sofa_seats", "client_place", "sofa");
    skinOption("palm_plants", "plant", "palm");
    skinOption("sea_pictures", "picture", "sea");
    const std::vector<std::string> easy = Words(1, 1, 3);
    AddTemplate(root, "easy", easy, {"0101:2", "0102", "0103"});
    AddTemplate(root, "two_step", easy, {"0201", "0202", "0203", "0101"});
    if (file >= 2) {
        std::vector<std::string> second = Words(2, 1, 5);
        for (const std::string& word : Words(3, 1, 5))
            second.push_back(word);
        AddTemplate(root, "three_step", Words(1, 1, 5), second);
    }
    if (file == 3) {
        std::vector<std::string> second = Words(3, 1, 5);
        for (const std::string& word : Words(4, 1, 5))
            second.push_back(word);
        AddTemplate(root, "hard", Words(1, 1, 5), second);
    }
    return root;
}

} // namespace contentgen
