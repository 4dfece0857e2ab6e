#pragma once
#include <cstdint>
#include <string>

// One player profile of pref.dat: boss figure, name, career progress, best
// results and play time.
struct ProfileRecord {
    static constexpr int kLevelCount = 60;
    static constexpr int32_t kCareerWon = 61; // the level after the last one

    std::string mFigure;     // "man" or "woman"
    std::wstring mName;
    int32_t mLevel = 1;      // career level reached, 1..61
    int32_t mBestMoney[kLevelCount] = {}; // level n at n - 1; 0 for none
    float mPlayTime = 0.0f;  // seconds

    // A new profile: level 1, no results, no play time; an empty name becomes
    // "unknown".
    void Init(const std::wstring& name, const std::string& figure);
};
