// The seam's sound functions: the table cfg\office.xml lists and the files.
#include "assets/Assets.h"
#include "synth/Music.h"
#include "synth/SoundEffects.h"
#include "synth/SoundFiles.h"

#include <cstring>

namespace contentgen {

namespace {

bool IsOgg(const std::string& file)
{
    return file.size() > 4 && file.compare(file.size() - 4, 4, ".ogg") == 0;
}

} // namespace

std::vector<SoundEntry> SoundTable()
{
    std::vector<SoundEntry> table;
    table.push_back(SoundEntry{"main_menu", "music\\main_menu.ogg", true, "", true});
    table.push_back(SoundEntry{"level", "music\\level.ogg", true, "", true});
    for (const EffectRecipe& r : EffectRecipes())
        table.push_back(SoundEntry{r.name, std::string("sounds\\") + r.file, false, r.group, r.loop});
    return table;
}

std::vector<OutFile> SynthesizeSounds()
{
    std::vector<OutFile> files;
    files.push_back(OutFile{"music\\main_menu.ogg", EncodeVorbis(ComposeSong(MenuSong()))});
    files.push_back(OutFile{"music\\level.ogg", EncodeVorbis(ComposeSong(LevelSong()))});
    for (const EffectRecipe& r : EffectRecipes()) {
        Pcm pcm = r.make();
        std::string path = std::string("sounds\\") + r.file;
        files.push_back(OutFile{path, IsOgg(path) ? EncodeVorbis(pcm) : EncodeWave(pcm)});
    }
    return files;
}

} // namespace contentgen
