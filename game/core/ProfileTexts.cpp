#include "game/core/ProfileTexts.h"

#include "game/core/LevelCalendar.h"
#include "game/core/ProfileRecord.h"
#include "game/core/StringTable.h"

#include <climits>
#include <cmath>

namespace {
int WholeSeconds(float seconds)
{
    if (!std::isfinite(seconds) || seconds <= 0.0f)
        return 0;
    if (double(seconds) >= double(INT_MAX))
        return INT_MAX;
    return int(seconds);
}
} // namespace

void PublishProfileTexts(const ProfileRecord& profile, StringTable& texts, const std::string& suffix)
{
    texts.SetText("profilename" + suffix, profile.mName);
    texts.SetNumber("progressday" + suffix, LevelCalendarDay(profile.mLevel));
    texts.SetNumber("progressmonth" + suffix, LevelCalendarMonth(profile.mLevel));
    const int seconds = WholeSeconds(profile.mPlayTime);
    texts.SetNumber("hoursplayed" + suffix, seconds / 3600);
    texts.SetNumber("minutesplayed" + suffix, seconds % 3600 / 60);
}
