#pragma once
#include "framework/sound/MusicInterface.h"
#include "platform/window/WindowSystem.h"

#include <map>

namespace Zelk {

// The music interface the application makes when neither the sound-off nor
// the FMOD switch is set: its song table stays empty and loads report
// success, so the program's own music player carries the music.
class BassMusicInterface : public MusicInterface {
public:
    explicit BassMusicInterface(plat::WindowHandle window) {}
    ~BassMusicInterface() override;
    bool LoadMusic(int songId, const std::string& fileName) override;

private:
    std::map<int, int> mMusicMap;
};

} // namespace Zelk
