#pragma once
#include "LevelDesigner.h"

#include <map>
#include <set>
#include <string>
#include <vector>

// The balance model: a career day's goal money from its orders, and whether
// one boss serving the clients in turn can finish every order in time.
namespace contentgen {

// The share g of a day's green money its goal asks for: 0.45 on day 3 to
// 0.60 on day 20, 0.50 to 0.65 over days 21 to 40, 0.55 to 0.72 over 41 to 60.
double GoalShare(int level);
// Goal and expert money of a day's clients: M (every order at its client
// type's green rate) times g, and times g + 0.2 (at most 0.92 M), both
// rounded to 10.
void GoalMoney(int level, const std::vector<ClientVisit>& clients, int& goal, int& expert);

// One boss serving the clients in arrival order (walks along the walk graph
// at boss_move_speed, one second a click, each client's thinking time, the
// workers' green work times) must finish every client's orders before its
// patience falls to the red level, with 15 % of that time to spare. False
// with the first client that misses it named in why.

// The boss's walk lengths over one office's walk graph, each start point
// searched once.
class OfficeRoutes {
public:
    explicit OfficeRoutes(const DayOffice& office);
    // Pixels from one point (an object's name, or "boss_home") to another;
    // -1 when no walk joins them.
    double Length(const std::string& from, const std::string& to);
    const DayOffice& Office() const { return mOffice; }

private:
    DayOffice mOffice;
    std::set<std::string> mNames;
    std::map<std::string, std::map<std::string, double>> mFrom;
};

// One order of the office served from the client's place and back: the
// boss's own seconds (walks and clicks) and the seconds until the client
// has it (the workers' green work times added).
struct OrderTime {
    double boss = 0;
    double done = 0;
};
OrderTime OrderSeconds(OfficeRoutes& routes, const std::string& place, const std::string& order);

// A client whose orders alone outlast its patience is left out: a wider
// spacing cannot help it.
bool BossKeepsUp(const DayPlan& plan, OfficeRoutes& routes, std::string& why);

} // namespace contentgen
