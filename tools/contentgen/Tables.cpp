#include "Tables.h"

namespace contentgen {

namespace {

const int kCalendar[60] = {
    1, 4, 5, 6, 7, 8, 11, 12, 14, 15, 18, 19, 20, 21, 22, 25, 26, 27, 28, 29,
    1, 3, 4, 5, 8, 9, 10, 11, 12, 15, 16, 17, 18, 19, 22, 23, 24, 26, 29, 30,
    1, 2, 3, 6, 7, 8, 10, 13, 14, 15, 16, 20, 22, 23, 24, 27, 28, 29, 30, 31};

} // namespace

int CalendarDay(int level) { return level >= 1 && level <= 60 ? kCalendar[level - 1] : 0; }

int DaysInMonth(int month) { return month == 2 ? 30 : 31; }

int MonthOffset(int month)
{
    static const int kOffsets[3] = {3, -1, 1};
    return month >= 1 && month <= 3 ? kOffsets[month - 1] : 0;
}

const std::vector<std::string>& UpgradeOptions()
{
    static const std::vector<std::string> options = {"coffee",      "minibar",      "conference",
                                                     "presentation", "stereo",      "walnut_desks",
                                                     "sofa_seats",  "palm_plants", "sea_pictures"};
    return options;
}

const std::vector<int>& BriefingPictureLevels()
{
    static const std::vector<int> levels = {5, 6, 7, 8, 10, 12, 16, 21, 24, 26, 41};
    return levels;
}

} // namespace contentgen
