#pragma once
#include <string>

class StringTable;
struct ProfileRecord;

// Publishes a profile as UI text variables: "profilename"; "progressday" and
// "progressmonth" of its career level on the calendar (the career won counts
// as the last level); "hoursplayed" and "minutesplayed" of its play time in
// whole seconds (truncated, saturated at the int32 limit). Each name is
// followed by the suffix (the main menu's two profile texts use "1" and "2").
void PublishProfileTexts(const ProfileRecord& profile, StringTable& texts, const std::string& suffix = std::string());
