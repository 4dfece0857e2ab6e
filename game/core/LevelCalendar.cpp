#include "game/core/LevelCalendar.h"

#include <algorithm>

const int32_t LevelCalendar[61] = {
    0,
    1, 4, 5, 6, 7, 8, 11, 12, 14, 15, 18, 19, 20, 21, 22, 25, 26, 27, 28, 29,
    1, 3, 4, 5, 8, 9, 10, 11, 12, 15, 16, 17, 18, 19, 22, 23, 24, 26, 29, 30,
    1, 2, 3, 6, 7, 8, 10, 13, 14, 15, 16, 20, 22, 23, 24, 27, 28, 29, 30, 31,
};

namespace {
int32_t CalendarLevel(int32_t level) { return std::clamp<int32_t>(level, 1, 60); }
} // namespace

int32_t LevelCalendarDay(int32_t level) { return LevelCalendar[CalendarLevel(level)]; }

int32_t LevelCalendarMonth(int32_t level) { return (CalendarLevel(level) - 1) / 20 + 1; }
