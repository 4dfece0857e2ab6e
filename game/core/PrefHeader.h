#pragma once
#include <cstdint>

// The first 40 bytes of pref.dat held in memory: volumes, screen mode, mute
// and the slot of the current profile.
struct PrefHeader {
    static constexpr uint32_t kVersion = 11;
    static const uint8_t kMagic[16];

    uint8_t mMagic[16] = {};
    uint32_t mVersion = 0;
    uint32_t mMusicVolume = 0; // 0..100
    uint32_t mSfxVolume = 0;   // 0..100
    uint8_t mWindowed = 0;     // 1 windowed, 0 full screen
    uint8_t mMuted = 0;        // 1 muted
    int32_t mCurrentIndex = 0; // slot of the current profile, -1 for none
    uint32_t mReserved = 0;    // kept as read

    // Magic, version 11, volumes 80, full screen, not muted, no profile,
    // reserved 0.
    void SetDefaults();
    // The magic and version of this program's files.
    bool IsCurrentFormat() const;
};
