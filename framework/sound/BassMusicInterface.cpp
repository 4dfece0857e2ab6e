#include "framework/sound/BassMusicInterface.h"

namespace Zelk {

BassMusicInterface::~BassMusicInterface() { mMusicMap.clear(); }

bool BassMusicInterface::LoadMusic(int songId, const std::string& fileName) { return true; }

} // namespace Zelk
