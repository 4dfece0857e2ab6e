// Any bytes as a part's animation file, read through the archive layer. When
// it loads, every record (up to 16) and some fixed texts are played, with
// and without keeping the time, and stops are armed between frame 0 and one
// past the frame count, each followed by a few updates and draws; then 120
// updates with draws, and the file is loaded again.
#include "fuzz/world/WorldFuzz.h"
#include "game/world/ObjectPart.h"
#include "game/world/SceneObject.h"

#include <string>
#include <vector>

namespace {

void Step(SceneObject& object, ObjectPart& part, Zelk::Graphics& g, int ticks)
{
    for (int tick = 0; tick < ticks; ++tick) {
        object.Update();
        part.Draw(&g);
        part.GetPosition();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    worldfuzz::World& w = worldfuzz::TheWorld();
    fuzzsupport::Serve("anm\\fuzz.anm", data, size);
    gFrameDelta = 0.01f;
    {
        SceneObject object;
        auto* part = new ObjectPart(&object);
        object.AddPart(part);
        object.SetVisibleFlag(true);
        object.SetActiveFlag(true);
        AnmPlayer& player = part->GetPlayer();
        if (player.Load("fuzz")) {
            Zelk::Graphics g(&w.target);
            AnmFile* file = player.GetFile();
            std::vector<std::string> texts = {"idle", "a", "fuzz", std::string(1, '\0'), std::string(70, 'x')};
            for (int i = 0; i < file->GetCount() && i < 16; ++i)
                texts.push_back(file->GetRecord(i).name);
            bool keepTime = false;
            for (const std::string& text : texts) {
                keepTime = !keepTime;
                if (!player.PlayByName(text, keepTime))
                    continue;
                part->LoadImages();
                const int count = player.GetCurrentAnimation()->sequence.frameCount;
                for (int n : {0, count / 2, count, count + 1}) {
                    player.StopAtFrame(n);
                    Step(object, *part, g, 3);
                    player.Resume();
                }
                player.CancelStopAtFrame();
            }
            Step(object, *part, g, 120);
            player.Load("fuzz");
            Step(object, *part, g, 1);
            player.End();
            part->ReleaseImages();
        }
    }
    w.app.PurgeSharedImages();
    return 0;
}
