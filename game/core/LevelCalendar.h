#pragma once
#include <cstdint>

// The career calendar: the day of the month on which each level is played
// (index 0 holds 0). Levels 1-20 lie in month 1, 21-40 in month 2, 41-60 in
// month 3.
extern const int32_t LevelCalendar[61];

// The calendar day and month of a career level; a level outside 1..60 counts
// as the nearest of them (61, the career won, as 60).
int32_t LevelCalendarDay(int32_t level);
int32_t LevelCalendarMonth(int32_t level);
