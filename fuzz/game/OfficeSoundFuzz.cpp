// Any bytes as cfg\office.xml, read as the game reads its sound lists: the
// effect manager takes "sounds/sound", the music manager "music/stream".
// Their sounds load through the archive layer (a few short waves are there)
// into the null sound library; every effect is played, kept on a channel,
// paused, resumed and stopped by name and group, the tracks are played in
// turn with their fades run to the end, and everything is freed again.
#include "fuzz/resources/FuzzSupport.h"
#include "game/core/MusicManager.h"
#include "game/core/SfxChannel.h"
#include "game/core/SfxManager.h"
#include "game/core/SoundSystem.h"
#include "game/core/XmlFunctions.h"
#include "platform/NullPlatform.h"
#include "tests/framework/sound/SoundTestUtil.h"

#include <set>
#include <string>
#include <vector>

namespace {

struct OfficeSound {
    OfficeSound()
    {
        std::vector<int16_t> wave;
        for (int i = 0; i < 441; ++i) // 10 ms
            wave.push_back(int16_t((i / 20) % 2 ? 9000 : -9000));
        for (const char* name : {"sfx\\click.wav", "sfx\\snore.wav", "music\\menu.wav", "music\\level.wav"})
            pak.Add(name, soundtest::WaveFile(1, 44100, 16, soundtest::Pcm16(wave)));
        system.Init(1);
    }
    // The archive first: it installs a platform of its own, which the null
    // platform then replaces.
    FakePakInterface& pak = fuzzsupport::Archive();
    plat::NullPlatform platform;
    SoundSystem system;
};

// The values of one attribute over the nodes of a query, each once.
std::set<std::string> Values(const XmlNode& office, const wchar_t* query, const wchar_t* attribute)
{
    std::set<std::string> values;
    std::vector<XmlNode> nodes;
    office.Select(query, nodes);
    for (const XmlNode& node : nodes) {
        std::string value;
        if (XmlGetAttrString(node, attribute, value) && values.size() < 16)
            values.insert(value);
    }
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static OfficeSound* sound = new OfficeSound;
    plat::NullSoundLibrary& lib = sound->platform.sound;
    fuzzsupport::Serve("cfg\\office.xml", data, size);
    XmlDocument doc;
    XmlCreateDocument(doc);
    XmlLoadFile("cfg\\office.xml", doc);
    const XmlNode office = XmlNode(doc).SelectSingle(L"office");
    {
        SfxManager effects;
        effects.Load(office);
        MusicManager music;
        music.Load(office);

        for (const std::string& name : Values(office, L"sounds/sound", L"name")) {
            effects.Play(name);
            if (SfxChannel* channel = effects.CreateChannel(name)) {
                channel->Play();
                channel->Pause();
                channel->Resume();
                delete channel;
            }
        }
        const std::set<std::string> groups = Values(office, L"sounds/sound", L"group");
        for (const std::string& group : groups)
            effects.PauseGroup(group);
        effects.PauseAll();
        effects.SetVolume(37);
        effects.ResumeAll();
        for (const std::string& group : groups)
            effects.ResumeGroup(group);
        lib.Advance(20);
        for (const std::string& group : groups)
            effects.StopGroup(group);

        // Each track in turn, the one before fading out; back to the first
        // during its fade-out; then silence, every fade run to its end. The
        // fades' workers run while the library is paused too, so the long
        // waits mix nothing.
        const std::set<std::string> tracks = Values(office, L"music/stream", L"name");
        for (const std::string& name : tracks) {
            music.PlayMusic(name);
            lib.Advance(20);
            lib.Pause(true);
            lib.Advance(380);
            lib.Pause(false);
        }
        if (!tracks.empty())
            music.PlayMusic(*tracks.begin());
        music.Pause();
        music.SetVolume(55);
        music.Resume();
        lib.Advance(20);
        music.PlayMusic("");
        lib.Advance(20);
        lib.Pause(true);
        lib.Advance(2100);
        lib.Pause(false);
    }
    lib.TakeCalls();
    return 0;
}
