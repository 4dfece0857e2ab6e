#include "game/core/PrefHeader.h"

#include <cstring>

const uint8_t PrefHeader::kMagic[16] = {0x78, 0xd8, 0x64, 0xfa, 0xd2, 0xca, 0x9e, 0x43,
                                        0xab, 0xf6, 0x64, 0x46, 0xd2, 0xfe, 0x9b, 0xd7};

void PrefHeader::SetDefaults()
{
    *this = PrefHeader();
    memcpy(mMagic, kMagic, sizeof mMagic);
    mVersion = kVersion;
    mMusicVolume = 80;
    mSfxVolume = 80;
    mWindowed = 0;
    mMuted = 0;
    mCurrentIndex = -1;
    mReserved = 0;
}

bool PrefHeader::IsCurrentFormat() const { return memcmp(mMagic, kMagic, sizeof mMagic) == 0 && mVersion == kVersion; }
