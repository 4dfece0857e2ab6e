#include "LevelRules.h"

#include "XmlRead.h"

#include <cstdio>

namespace contentgen {

void AddToGraph(const std::string& file, const plat::XmlNode& graph, WalkGraph& into, std::vector<Finding>& findings)
{
    const std::string walker = Attr(graph, L"name");
    for (const plat::XmlNode& group : Elements(graph, L"points"))
        for (const plat::XmlNode& point : Elements(group, L"point")) {
            const std::string name = Attr(point, L"name");
            if (name.empty() || name == "self")
                findings.push_back({file, walker, "a graph point must not be named \"" + name + "\""});
            into.points[name] = {static_cast<int>(Int(Attr(point, L"x"), 0)), static_cast<int>(Int(Attr(point, L"y"), 0))};
        }
    for (const plat::XmlNode& group : Elements(graph, L"edges"))
        for (const plat::XmlNode& edge : Elements(group, L"edge")) {
            const std::string a = Attr(edge, L"p1");
            const std::string b = Attr(edge, L"p2");
            bool known = true;
            for (const std::string& end : {a, b})
                if (!into.points.count(end)) {
                    findings.push_back({file, walker, "edge " + a + "-" + b + " names the unknown point " + end});
                    known = false;
                }
            if (!known)
                continue;
            if (into.points[a] == into.points[b])
                findings.push_back({file, walker, "edge " + a + "-" + b + " has length 0"});
            into.links[a].insert(b);
            into.links[b].insert(a);
        }
}

std::set<std::string> Reached(const WalkGraph& graph, const std::string& from)
{
    std::set<std::string> reached = {from};
    std::vector<std::string> queue = {from};
    while (!queue.empty()) {
        const std::string at = queue.back();
        queue.pop_back();
        auto links = graph.links.find(at);
        if (links == graph.links.end())
            continue;
        for (const std::string& next : links->second)
            if (reached.insert(next).second)
                queue.push_back(next);
    }
    return reached;
}

namespace {

// A level's object entry.
struct Named {
    std::string skin;
    std::string from;
    std::string to;
    bool stop = false;
};

// An order word "0<s>0<v>": its stage and variant; false for other words.
bool OrderWord(const std::string& word, int& stage, int& variant)
{
    if (word.size() != 4 || word[0] != '0' || word[2] != '0' || word[1] < '1' || word[1] > '9' || word[3] < '1' ||
        word[3] > '9')
        return false;
    stage = word[1] - '0';
    variant = word[3] - '0';
    return true;
}

// What the workers and shelves present at one time can make.
struct Production {
    std::set<int> variants;  // variants a first-stage worker makes from a shelf's word
    std::set<int> stages;    // later stages some worker makes (2, 3, ...)

    Production(const std::set<std::string>& present, const std::map<std::string, Named>& named, const OfficeFacts& office)
    {
        std::set<std::string> raw;
        for (const std::string& name : present) {
            auto cls = office.classes.find(name);
            auto thing = office.things.find(name);
            if (cls != office.classes.end() && cls->second == "shelving" && thing != office.things.end())
                raw.insert(thing->second);
        }
        for (const std::string& name : present) {
            auto entry = named.find(name);
            if (entry == named.end() || entry->second.to.empty())
                continue;
            int stage = 0;
            int variant = 0;
            const Named& worker = entry->second;
            if (raw.count(worker.from) && OrderWord(worker.to, stage, variant) && stage == 1)
                variants.insert(variant);
            int fromStage = 0;
            int fromVariant = 0;
            if (worker.from.size() == 4 && worker.from.compare(2, 2, "00") == 0 && worker.to.size() == 4 &&
                worker.to.compare(2, 2, "00") == 0 && OrderWord(worker.from.substr(0, 3) + "1", fromStage, fromVariant) &&
                OrderWord(worker.to.substr(0, 3) + "1", stage, variant) && stage == fromStage + 1)
                stages.insert(stage);
        }
    }

    bool Makes(int stage, int variant) const
    {
        if (!variants.count(variant))
            return false;
        for (int s = 2; s <= stage; ++s)
            if (!stages.count(s))
                return false;
        return true;
    }
};

std::string Seconds(double time)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", time);
    return buffer;
}

class LevelChecker {
public:
    LevelChecker(const std::string& path, const plat::XmlNode& level, const OfficeFacts& office,
                 std::vector<Finding>& findings)
        : mPath(path), mLevel(level), mOffice(office), mFindings(findings)
    {
    }

    void Run()
    {
        for (const plat::XmlNode& group : Elements(mLevel, L"objects"))
            for (const plat::XmlNode& object : Elements(group, L"object")) {
                Named entry;
                entry.skin = Attr(object, L"skin");
                entry.from = Attr(object, L"transform_from");
                entry.to = Attr(object, L"transform_to");
                entry.stop = Attr(object, L"stop") == "true";
                mNamed[Attr(object, L"name")] = entry;
            }
        const bool survival = !Elements(mLevel, L"stages").empty();
        std::set<std::string> start;
        for (const auto& entry : mNamed)
            if (!survival || !entry.second.stop)
                start.insert(entry.first);
        CheckTimeline(start);
        if (survival)
            CheckSurvival(start);
        std::set<std::string> all;
        for (const auto& entry : mNamed)
            all.insert(entry.first);
        CheckWalks(all);
    }

private:
    void Report(const std::string& id, const std::string& message) { mFindings.push_back({mPath, id, message}); }

    void CheckOrder(const std::string& word, const Production& production, const std::string& where)
    {
        int stage = 0;
        int variant = 0;
        if (!OrderWord(word, stage, variant))
            Report(word, where + " orders a word that is no order (0<stage>0<variant>)");
        else if (!production.Makes(stage, variant))
            Report(word, where + " orders it, and no worker present then can make it");
    }

    void CheckEvents(const std::string& id, const std::string& window, bool vip, const std::set<std::string>& present)
    {
        if (vip && !present.count("phone"))
            Report(id, "a VIP comes where there is no phone");
        if (!window.empty()) {
            if (window != "window_morning" && window != "window_day")
                Report(id, "window_event " + window + " is neither window_morning nor window_day");
            if (!present.count("window"))
                Report(id, "a window event where there is no window");
        }
    }

    void CheckTimeline(const std::set<std::string>& present)
    {
        const Production production(present, mNamed, mOffice);
        for (const plat::XmlNode& queue : Elements(mLevel, L"events_queue"))
            for (const plat::XmlNode& timeline : Elements(queue, L"clients_timeline"))
                for (const plat::XmlNode& point : Elements(timeline, L"time_point")) {
                    const std::string id = "time_point " + Seconds(Float(Attr(point, L"time"), 0));
                    CheckEvents(id, Attr(point, L"window_event"), Int(Attr(point, L"vip"), 0) != 0, present);
                    for (const plat::XmlNode& orders : Elements(point, L"orders"))
                        for (const plat::XmlNode& order : Elements(orders, L"order"))
                            CheckOrder(Attr(order, L"name"), production, "the client of " + id);
                }
    }

    void CheckSurvival(std::set<std::string> present)
    {
        std::map<std::string, std::vector<std::string>> templates;  // name -> every order word
        for (const plat::XmlNode& entry : Elements(mLevel, L"order_template")) {
            const std::string name = Attr(entry, L"template");
            const std::vector<plat::XmlNode> lists = Elements(entry, L"order_list");
            std::vector<std::string>& words = templates[name];
            std::set<std::string> second;
            for (size_t i = 0; i < lists.size(); ++i)
                for (const plat::XmlNode& orders : Elements(lists[i], L"orders")) {
                    words.push_back(Attr(orders, L"order"));
                    if (i == 1)
                        second.insert(Attr(orders, L"order"));
                }
            if (lists.size() != 2)
                Report(name, "an order template has two order lists, not " + std::to_string(lists.size()));
            else if (second.size() < 2)
                Report(name, "the second order list can run out: it holds fewer than two different orders");
        }
        const std::vector<plat::XmlNode> stages = Elements(Elements(mLevel, L"stages").front(), L"stage");
        if (stages.size() < 2)
            Report("stages", "a survival file needs at least two stages, not " + std::to_string(stages.size()));
        long previous = -1;
        for (size_t k = 0; k < stages.size(); ++k) {
            const plat::XmlNode& stage = stages[k];
            const long money = Int(Attr(stage, L"money"), -1);
            const std::string id = "stage " + std::to_string(k + 1);
            if (k == 0 ? money != 0 : money <= previous)
                Report(id, k == 0 ? "the first stage starts at money 0" : "thresholds must rise from stage to stage");
            previous = money;
            for (const plat::XmlNode& object : Elements(stage, L"object"))
                present.insert(Attr(object, L"name"));
            const Production production(present, mNamed, mOffice);
            bool vip = false;
            for (const plat::XmlNode& clients : Elements(stage, L"clients")) {
                const std::string name = Attr(clients, L"name");
                for (const wchar_t* attribute :
                     {L"name", L"vip", L"client_time_spawn_min", L"client_time_spawn_max", L"probability_spawn",
                      L"probability_ext_order", L"probability_multi_order", L"order_template"})
                    if (!HasAttr(clients, attribute))
                        Report(id, "client template " + name + " lacks " + Narrow(attribute));
                vip = vip || Int(Attr(clients, L"vip"), 0) != 0;
                const std::string use = Attr(clients, L"order_template");
                auto found = templates.find(use);
                if (found == templates.end()) {
                    Report(id, "client template " + name + " names the missing order template " + use);
                    continue;
                }
                for (const std::string& word : found->second)
                    CheckOrder(word, production, "template " + use + " at " + id);
                if (Float(Attr(clients, L"probability_ext_order"), 0) > 0)
                    for (int variant : production.variants)
                        for (int s = 2; s <= 4; ++s)
                            if (!production.Makes(s, variant))
                                Report(id, "extended orders of " + name + " need a worker for stage " + std::to_string(s) +
                                               " of variant " + std::to_string(variant));
            }
            CheckEvents(id, Attr(stage, L"window_event"), vip, present);
        }
    }

    // The day's graph: the office's, with the level's edges and points.
    void CheckWalks(const std::set<std::string>& present)
    {
        std::map<std::string, plat::XmlNode> own;
        for (const plat::XmlNode& group : Elements(mLevel, L"graphs"))
            for (const plat::XmlNode& graph : Elements(group, L"graph"))
                own[Attr(graph, L"name")] = graph;
        for (const auto& entry : mOffice.graphs) {
            const std::string& walker = entry.first;
            if (walker != "boss" && !present.count(walker))
                continue;
            WalkGraph graph;
            auto approach = mOffice.approach.find(walker);
            if (approach != mOffice.approach.end())
                graph.points.insert(approach->second.begin(), approach->second.end());
            std::vector<Finding> officeFindings;  // the office's own graph is checked on its own
            AddToGraph("cfg\\office.xml", entry.second, graph, officeFindings);
            auto level = own.find(walker);
            if (level != own.end())
                AddToGraph(mPath, level->second, graph, mFindings);
            const std::string home = walker + "_home";
            const std::set<std::string> reached = Reached(graph, home);
            if (approach == mOffice.approach.end())
                continue;
            for (const auto& target : approach->second)
                if (present.count(target.first) && !reached.count(target.first))
                    Report(walker, "cannot reach " + target.first + " from " + home + " in the day's walk graph");
        }
    }

    const std::string& mPath;
    const plat::XmlNode& mLevel;
    const OfficeFacts& mOffice;
    std::vector<Finding>& mFindings;
    std::map<std::string, Named> mNamed;
};

} // namespace

void CheckLevelFile(const std::string& path, const plat::XmlNode& level, const OfficeFacts& office,
                    std::vector<Finding>& findings)
{
    LevelChecker(path, level, office, findings).Run();
}

} // namespace contentgen
