#pragma once
#include <string>
#include <vector>

// The tool's own tables shared by several files: the career calendar and
// the upgrade options.
namespace contentgen {

// Day of the month of career level 1..60 (levels 1-20 in month 1, 21-40 in
// month 2, 41-60 in month 3).
int CalendarDay(int level);
// Month 1..3 of a career level.
inline int CalendarMonth(int level) { return (level - 1) / 20 + 1; }
// Days in month 1..3, and the column offset of its first day.
int DaysInMonth(int month);
int MonthOffset(int month);
// The calendar cell of a career level's day in its month: column cell % 7,
// row cell / 7.
inline int CalendarCell(int level) { return CalendarDay(level) + MonthOffset(CalendarMonth(level)); }
// The width of a day's cell on the career screen; a month's picture spans
// its seven columns.
constexpr int kCalendarColumn = 32;
constexpr int kCareerMonthWidth = 7 * kCalendarColumn;

// The upgrade options' names: pictures images\upgrades\<name>.png under the
// texture id db08_<name>, captions db08_<name> in the texts.
const std::vector<std::string>& UpgradeOptions();

// The career levels whose briefing shows a picture of what is new that day.
const std::vector<int>& BriefingPictureLevels();

} // namespace contentgen
