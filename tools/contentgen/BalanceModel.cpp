#include "BalanceModel.h"

#include "ConfigFiles.h"
#include "OfficeModel.h"

#include <algorithm>
#include <cmath>

namespace contentgen {

namespace {

int RoundTo10(double money) { return int(std::lround(money / 10)) * 10; }

double Linear(int level, int first, int last, double from, double to)
{
    return from + (to - from) * double(level - first) / double(last - first);
}

// The worker who makes the order's stage from the step before, or the
// first-stage worker of its variant; empty when the office has none.
std::string WorkerFor(const DayOffice& office, const std::string& order, int stage)
{
    for (const auto& worker : office.transforms) {
        if (!office.objects.count(worker.first))
            continue;
        const std::string& from = worker.second.first;
        const std::string& to = worker.second.second;
        if (stage == 1 && to == order.substr(0, 1) + "1" + order.substr(2))
            return worker.first;
        if (stage > 1 && from.size() == 4 && to.size() == 4 && to[1] == char('0' + stage) && from[1] == char('0' + stage - 1))
            return worker.first;
    }
    return std::string();
}

std::string ShelfFor(const DayOffice& office, const std::string& worker)
{
    const std::string& thing = office.transforms.at(worker).first;
    return thing == "paper" ? "shelving01" : thing == "ink" ? "shelving02" : "shelving03";
}

} // namespace

double GoalShare(int level)
{
    if (level <= 20)
        return Linear(level, 3, 20, 0.45, 0.60);
    if (level <= 40)
        return Linear(level, 21, 40, 0.50, 0.65);
    return Linear(level, 41, 60, 0.55, 0.72);
}

void GoalMoney(int level, const std::vector<ClientVisit>& clients, int& goal, int& expert)
{
    double money = 0;
    for (const ClientVisit& visit : clients)
        money += ClientTypeValue(visit.type, "client_money_g") * double(visit.orders.size());
    const double g = GoalShare(level);
    goal = RoundTo10(money * g);
    expert = std::min(RoundTo10(money * (g + 0.2)), int(money * 0.92) / 10 * 10);
}

OfficeRoutes::OfficeRoutes(const DayOffice& office) : mOffice(office), mNames(office.objects)
{
    mNames.insert("anchor");
}

double OfficeRoutes::Length(const std::string& from, const std::string& to)
{
    auto found = mFrom.find(from);
    if (found == mFrom.end())
        found = mFrom.emplace(from, BossRoutes(mNames, from)).first;
    auto length = found->second.find(to);
    return length == found->second.end() ? -1 : length->second;
}

OrderTime OrderSeconds(OfficeRoutes& routes, const std::string& place, const std::string& order)
{
    const DayOffice& office = routes.Office();
    const double speed = OfficeParam("boss_move_speed");
    const double click = OfficeParam("boss_interaction_timeout");
    OrderTime time;
    std::string at = place;
    auto walk = [&](const std::string& to) {
        const double length = routes.Length(at, to);
        const double seconds = (length < 0 ? 2000 : length) / speed + click;
        time.boss += seconds;
        time.done += seconds;
        at = to;
    };
    const int stages = order.size() == 4 ? order[1] - '0' : 1;
    for (int stage = 1; stage <= stages; ++stage) {
        const std::string worker = WorkerFor(office, order, stage);
        if (worker.empty())
            return {1e6, 1e6};
        if (stage == 1)
            walk(ShelfFor(office, worker));
        walk("table" + worker.substr(6));
        // The worker works while the boss may see to others; the product is
        // collected with one more click.
        time.done += WorkerLookValue(WorkerLook(worker), "worker_work_time_g") + click;
        time.boss += click;
    }
    walk(place);
    return time;
}

bool BossKeepsUp(const DayPlan& plan, OfficeRoutes& routes, std::string& why)
{
    std::vector<std::string> places;
    for (const std::string& name : plan.office.objects)
        if (name.rfind("client_place", 0) == 0)
            places.push_back(name);
    if (places.empty())
        return false;
    const double speed = OfficeParam("boss_move_speed");
    const double click = OfficeParam("boss_interaction_timeout");
    const double red = OfficeParam("patience_r_level");
    double free = 0;
    std::string at = "boss_home";
    for (size_t i = 0; i < plan.clients.size(); ++i) {
        const ClientVisit& visit = plan.clients[i];
        const std::string& place = places[i % places.size()];
        const double patience = ClientTypeValue(visit.type, "client_patience_speed");
        const double deadline = visit.time + 0.85 * (100 - red) / patience;
        // The client served from the start time on: when it has every
        // order, and when the boss is free again.
        auto serve = [&](double t, double& bossFree) {
            std::string from = at;
            if (visit.vip && plan.office.objects.count("phone")) {
                // The call is answered first.
                t += std::max(0.0, routes.Length(from, "phone")) / speed + click;
                from = "phone";
            }
            t += std::max(0.0, routes.Length(from, place)) / speed + click;
            t = std::max(t, visit.time + ClientTypeValue(visit.type, "client_decision_timeout"));
            double done = t;
            for (const std::string& order : visit.orders) {
                const OrderTime time = OrderSeconds(routes, place, order);
                done = std::max(done, t) + (time.done - time.boss);
                t += time.boss;
                done = std::max(done, t);
            }
            bossFree = t;
            return done;
        };
        double unused = 0;
        const double alone = serve(visit.time, unused);
        const double done = serve(std::max(free, visit.time), free);
        if (done > deadline && alone <= deadline) {
            why = "client " + std::to_string(i + 1) + " (" + visit.type + ") served at " + std::to_string(int(done)) +
                  " s, past " + std::to_string(int(deadline)) + " s";
            return false;
        }
        at = place;
    }
    return true;
}

} // namespace contentgen
