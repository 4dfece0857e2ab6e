// The step tables of the two teaching days.
#include "game/flow/TutorialScript.h"

namespace {

// Day 1.
const TutorialStep kDayOne[] = {
    {0, 0, 0, 0, {1}, {}, {"table02a", "table04a", "client_place03", "client_place04", "trash_bin", "shelving01"}, {}},
    {1, 0, 1, 0, {2}, {}, {}, {"client_place03"}},
    {2, 0, 0, 1, {3}, {}, {}, {}},
    {3, 0, 2, 0, {}, {}, {}, {}},
    {4, 4, 3, 2, {}, {}, {}, {}},
    {0, 0, 4, 3, {}, {3}, {"table02a", "table04a", "client_place03", "client_place04", "trash_bin"}, {"shelving01"}},
    {5, 0, 5, 4, {}, {}, {"shelving01"}, {"table04a"}},
    {6, 0, 6, 5, {}, {}, {"table04a"}, {}},
    {7, 0, 7, 6, {2}, {}, {}, {"table04a"}},
    {8, 0, 8, 7, {}, {}, {"table04a"}, {"client_place03"}},
    {2, 0, 9, 8, {}, {2}, {}, {"table02a", "table04a", "trash_bin", "shelving01", "client_place03", "client_place04"}},
    {1, 3, 0, 9, {}, {}, {}, {}},
    {0, 0.1f, 10, 0, {}, {}, {}, {"client_place04"}},
    {2, 1, 0, 10, {}, {}, {}, {"table02a", "table04a", "client_place03", "client_place04", "trash_bin", "shelving01"}},
    {0, 3, 11, 0, {}, {}, {}, {}},
    {0, 1, 0, 11, {}, {}, {}, {}},
    {9, 6, 12, 0, {}, {}, {}, {}},
    {0, 0, 0, 12, {}, {}, {}, {}},
    {0, 0, 0, 0, {}, {}, {}, {}},
};

// Day 2.
const TutorialStep kDayTwo[] = {
    {0, 0, 0, 0, {}, {},
     {"table01a", "table02a", "table04a", "client_place03", "client_place04", "trash_bin", "shelving01", "door03",
      "worker01a_spec", "worker02a_spec", "worker04a_spec"},
     {}},
    {1, 0, 16, 0, {2, 1}, {}, {}, {"client_place03"}},
    {2, 0, 0, 16, {}, {}, {}, {}},
    {3, 0, 2, 0, {}, {}, {}, {}},
    {4, 3, 13, 2, {}, {}, {"client_place03"}, {}},
    {0, 0, 0, 13, {}, {}, {}, {"shelving01"}},
    {5, 0, 0, 0, {}, {}, {"shelving01"}, {"table04a", "worker04a_spec"}},
    {6, 0, 6, 0, {}, {}, {"table04a", "worker04a_spec"}, {}},
    {7, 0, 14, 6, {}, {}, {}, {"table04a", "worker04a_spec"}},
    {8, 0, 0, 0, {}, {}, {"table04a", "worker04a_spec"}, {"table01a", "worker01a_spec"}},
    {8, 0, 0, 14, {}, {}, {}, {}},
    {6, 0, 6, 0, {}, {}, {"table01a", "worker01a_spec"}, {}},
    {7, 0, 15, 6, {}, {}, {}, {"table01a", "worker01a_spec"}},
    {8, 0, 0, 0, {}, {}, {"table01a", "worker01a_spec"}, {"client_place03"}},
    {2, 0, 0, 15, {}, {2, 1}, {},
     {"table01a", "table02a", "table04a", "client_place03", "client_place04", "trash_bin", "shelving01", "door03",
      "worker01a_spec", "worker02a_spec", "worker04a_spec"}},
};

static_assert(sizeof kDayOne / sizeof kDayOne[0] == 19, "day 1 has 19 steps");
static_assert(sizeof kDayTwo / sizeof kDayTwo[0] == 15, "day 2 has 15 steps");

} // namespace

const TutorialStep* TutorialScript::StepsOf(int32_t level, int32_t* count)
{
    if (level == 1) {
        *count = int32_t(sizeof kDayOne / sizeof kDayOne[0]);
        return kDayOne;
    }
    if (level == 2) {
        *count = int32_t(sizeof kDayTwo / sizeof kDayTwo[0]);
        return kDayTwo;
    }
    *count = 0;
    return nullptr;
}
