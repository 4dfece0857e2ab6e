// The animation player over small files written with makeanm: look-up,
// timing of cycles, once and backward animations, stop frames, reloads and
// files it must refuse.
#include "game/effects/AnimTrack.h"
#include "game/world/AnmPlayer.h"
#include "tests/game/world/WorldFixture.h"

#include <functional>

namespace {

using worldtest::Animation;

class AnmPlayerTest : public worldtest::WorldTest {
protected:
    // The updates (counted from 1) on which the player reported an end.
    std::vector<int> RunUpdates(AnmPlayer& player, int count, std::vector<int32_t>* frames = nullptr)
    {
        std::vector<int> ends;
        for (int i = 1; i <= count; ++i) {
            bool ended = false;
            player.Update(ended);
            if (ended)
                ends.push_back(i);
            if (frames)
                frames->push_back(player.GetFrameIndex());
        }
        return ends;
    }
    // x of the current frame (frames lie side by side, 10 pixels apart).
    static int FrameX(const AnmPlayer& player)
    {
        AnmFrame frame;
        return player.GetCurrentFrame(frame) ? frame.x : -1;
    }
};

TEST_F(AnmPlayerTest, FindsTheFirstRecordWhoseNameContainsTheText)
{
    WriteAnm("desk", Animation("idle", "cycle", 10, 2) + Animation("idle_long", "cycle", 10, 2));
    AnmPlayer player(nullptr);
    ASSERT_TRUE(player.Load("desk"));
    const struct {
        const char* text;
        int index;
    } cases[] = {{"idle", 0}, {"long", 1}, {"le", 0}, {"idle_long", 1}, {"run", -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(player.FindAnimation(c.text), c.index) << c.text;
        // Asked again (from the look-up cache), the same answer.
        EXPECT_EQ(player.FindAnimation(c.text), c.index) << c.text;
    }
    EXPECT_FALSE(player.PlayByName("run", false));
    EXPECT_FALSE(player.PlayByName("", false));
    EXPECT_EQ(player.GetState(), AnmPlayer::STATE_NONE);
}

TEST_F(AnmPlayerTest, AnAnimationWithoutTimingStaysAtItsFirstFrame)
{
    WriteAnm("desk", Animation("still", "once", 0, 5));
    AnmPlayer player(nullptr);
    ASSERT_TRUE(player.Load("desk"));
    ASSERT_TRUE(player.PlayByName("still", false));
    EXPECT_EQ(player.GetDuration(), 0.0f);
    EXPECT_FALSE(player.GetTrack()->IsActive());
    EXPECT_TRUE(RunUpdates(player, 50).empty());
    EXPECT_EQ(player.GetFrameIndex(), 0);
    EXPECT_EQ(FrameX(player), 0);
    // No time at which a frame is reached: a stop is not armed.
    player.StopAtFrame(2);
    EXPECT_EQ(player.GetStopFrame(), -1);
    EXPECT_TRUE(RunUpdates(player, 50).empty());
    EXPECT_EQ(player.GetState(), AnmPlayer::STATE_PLAYING);
}

TEST_F(AnmPlayerTest, OnceForwardEndsOnceAndKeepsItsLastFrame)
{
    WriteAnm("desk", Animation("wave", "once", 10, 10));
    AnmPlayer player(nullptr);
    ASSERT_TRUE(player.Load("desk"));
    ASSERT_TRUE(player.PlayByName("wave", false));
    EXPECT_FLOAT_EQ(player.GetDuration(), 1.0f);
    EXPECT_EQ(RunUpdates(player, 300), std::vector<int>{101});
    EXPECT_EQ(player.GetFrameIndex(), 9);
    EXPECT_EQ(FrameX(player), 90);
    EXPECT_EQ(player.GetState(), AnmPlayer::STATE_PLAYING);
}

TEST_F(AnmPlayerTest, OnceBackwardFallsToTheFirstFrameAndEndsThere)
{
    WriteAnm("desk", Animation("rewind", "backward", 10, 10));
    AnmPlayer player(nullptr);
    ASSERT_TRUE(player.Load("desk"));
    ASSERT_TRUE(player.PlayByName("rewind", false));
    std::vector<int32_t> frames;
    EXPECT_EQ(RunUpdates(player, 200, &frames), std::vector<int>{101});
    EXPECT_EQ(frames.front(), 8);
    for (size_t i = 1; i < frames.size(); ++i)
        ASSERT_LE(frames[i], frames[i - 1]) << "after update " << i + 1;
    EXPECT_EQ(frames[99], 0);
    EXPECT_EQ(player.GetFrameIndex(), 0);
}

TEST_F(AnmPlayerTest, AStopFrameOnACyclePausesJustAfterThatFrame)
{
    WriteAnm("desk", Animation("idle", "cycle", 10, 10));
    AnmPlayer player(nullptr);
    ASSERT_TRUE(player.Load("desk"));
    ASSERT_TRUE(player.PlayByName("idle", false));
    player.StopAtFrame(4);
    EXPECT_EQ(RunUpdates(player, 200), std::vector<int>{41});
    EXPECT_EQ(player.GetFrameIndex(), 4);
    EXPECT_EQ(player.GetState(), AnmPlayer::STATE_PAUSED);
    EXPECT_NEAR(player.GetTrack()->GetPosition(), 0.5, 1e-6);
    EXPECT_EQ(player.GetStopFrame(), -1);
    // Resumed, it plays on from there and cycles without ends.
    ASSERT_TRUE(player.Resume());
    EXPECT_TRUE(RunUpdates(player, 300).empty());
}

TEST_F(AnmPlayerTest, AStopAtTheFrameCountShowsTheLastFrame)
{
    WriteAnm("desk", Animation("wave", "once", 10, 10));
    AnmPlayer player(nullptr);
    ASSERT_TRUE(player.Load("desk"));
    ASSERT_TRUE(player.PlayByName("wave", false));
    player.StopAtFrame(10);
    EXPECT_EQ(RunUpdates(player, 200).size(), 1u);
    EXPECT_EQ(player.GetFrameIndex(), 10);
    EXPECT_EQ(FrameX(player), 90);
}

TEST_F(AnmPlayerTest, ACycleAfterAOnceAnimationNeverEnds)
{
    WriteAnm("desk", Animation("wave", "once", 10, 5) + Animation("idle", "cycle", 10, 10));
    AnmPlayer player(nullptr);
    ASSERT_TRUE(player.Load("desk"));
    ASSERT_TRUE(player.PlayByName("wave", false));
    EXPECT_TRUE(RunUpdates(player, 20).empty());
    ASSERT_TRUE(player.PlayByName("idle", false));
    EXPECT_TRUE(RunUpdates(player, 500).empty());
    // The same with the once-animation played to its end first.
    ASSERT_TRUE(player.PlayByName("wave", false));
    EXPECT_EQ(RunUpdates(player, 100).size(), 1u);
    ASSERT_TRUE(player.PlayByName("idle", true));
    EXPECT_TRUE(RunUpdates(player, 500).empty());
}

TEST_F(AnmPlayerTest, KeepingTheTimeBeyondTheNewLengthStartsAtZero)
{
    WriteAnm("desk", Animation("long", "cycle", 10, 30) + Animation("short", "cycle", 10, 20));
    AnmPlayer player(nullptr);
    ASSERT_TRUE(player.Load("desk"));
    ASSERT_TRUE(player.PlayByName("long", false));
    RunUpdates(player, 150);
    ASSERT_TRUE(player.PlayByName("short", true));
    EXPECT_NEAR(player.GetTrack()->GetPosition(), 1.5, 1e-4);
    ASSERT_TRUE(player.PlayByName("long", false));
    RunUpdates(player, 250);
    ASSERT_TRUE(player.PlayByName("short", true));
    EXPECT_EQ(player.GetTrack()->GetPosition(), 0.0);
}

TEST_F(AnmPlayerTest, AReloadReplaysTheCurrentAnimationFromTheStart)
{
    WriteAnm("desk", Animation("idle", "cycle", 10, 10) + Animation("wave", "cycle", 10, 10));
    AnmPlayer player(nullptr);
    ASSERT_TRUE(player.Load("desk"));
    ASSERT_TRUE(player.PlayByName("wave", false));
    RunUpdates(player, 55);
    EXPECT_EQ(player.GetFrameIndex(), 4);
    ASSERT_TRUE(player.Load("desk"));
    EXPECT_EQ(player.GetCurrentIndex(), 1);
    EXPECT_EQ(player.GetFrameIndex(), 0);
    EXPECT_EQ(player.GetTrack()->GetPosition(), 0.0);
    RunUpdates(player, 25);
    EXPECT_EQ(player.GetFrameIndex(), 2);

    // A file with fewer records has no current animation any more.
    WriteAnm("desk", Animation("idle", "cycle", 10, 10));
    ASSERT_TRUE(player.Load("desk"));
    EXPECT_EQ(player.GetCurrentIndex(), -1);
    EXPECT_EQ(player.GetCurrentAnimation(), nullptr);
    EXPECT_EQ(FrameX(player), -1);
    EXPECT_EQ(player.GetDuration(), 0.0f);
    RunUpdates(player, 10);
    EXPECT_TRUE(player.PlayByName("idle", false));
}

// Files the player must refuse, each built from a good one with one fault.
struct Corrupt {
    const char* what;
    std::function<void(makeanm::AnmFile&)> change;
    size_t cut = 0; // bytes taken off the end
};

TEST_F(AnmPlayerTest, ARefusedFileLeavesThePlayerAsItWas)
{
    WriteAnm("good", Animation("idle", "cycle", 10, 10));
    const std::vector<Corrupt> cases = {
        {"wrong magic", [](makeanm::AnmFile& f) { f.magic = 0x21414E4D; }},
        {"shorter than the file header", [](makeanm::AnmFile&) {}, 415},
        {"fewer bytes than its size", [](makeanm::AnmFile&) {}, 1},
        {"size larger than the file", [](makeanm::AnmFile& f) { f.size = 100000; }},
        {"size too small for the image header", [](makeanm::AnmFile& f) { f.size = 4; }},
        {"negative count", [](makeanm::AnmFile& f) { f.count = -1; }},
        {"count too large for the image", [](makeanm::AnmFile& f) { f.count = 3; }},
        {"records outside the image", [](makeanm::AnmFile& f) { f.recordsLink = f.base + 4000; }},
        {"records before the image", [](makeanm::AnmFile& f) { f.recordsLink = f.base - 8; }},
        {"sequence across the end", [](makeanm::AnmFile& f) { f.animations[0].sequenceLink = f.base + 148 + 240 + 10; }},
        {"negative frame count", [](makeanm::AnmFile& f) { f.animations[0].frameCount = -2; }},
        {"negative fps", [](makeanm::AnmFile& f) { f.animations[0].fps = -10; }},
        {"frames beyond the image", [](makeanm::AnmFile& f) { f.animations[0].frameCount = 11; }},
        {"frames before the image", [](makeanm::AnmFile& f) { f.animations[0].framesLink = 0; }},
        {"huge frame count", [](makeanm::AnmFile& f) { f.animations[0].frameCount = 0x7FFFFFFF; }},
    };
    for (size_t k = 0; k < cases.size(); ++k) {
        SCOPED_TRACE(cases[k].what);
        makeanm::AnmFile file;
        std::string error;
        ASSERT_TRUE(makeanm::ParseAnmText(Animation("wave", "once", 10, 10), file, error)) << error;
        cases[k].change(file);
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(makeanm::WriteOddAnm(file, bytes, error)) << error;
        bytes.resize(bytes.size() - std::min(bytes.size(), cases[k].cut));
        const std::string name = "bad" + std::to_string(k);
        WriteBytes("anm/" + name + ".anm", bytes);

        AnmPlayer player(nullptr);
        ASSERT_TRUE(player.Load("good"));
        ASSERT_TRUE(player.PlayByName("idle", false));
        RunUpdates(player, 35);
        const double position = player.GetTrack()->GetPosition();
        EXPECT_FALSE(player.Load(name));
        EXPECT_EQ(player.GetState(), AnmPlayer::STATE_PLAYING);
        EXPECT_EQ(player.GetCurrentIndex(), 0);
        EXPECT_EQ(player.GetFrameIndex(), 3);
        EXPECT_EQ(player.GetTrack()->GetPosition(), position);
        ASSERT_NE(player.GetCurrentAnimation(), nullptr);
        EXPECT_EQ(player.GetCurrentAnimation()->name, "idle");
        RunUpdates(player, 20);
        EXPECT_EQ(player.GetFrameIndex(), 4);
    }
}

TEST_F(AnmPlayerTest, ANameLeadingOutOfTheAnimationFolderIsNotRead)
{
    WriteAnm("desk", Animation("idle", "cycle", 10, 2));
    WriteAnm("../outside", Animation("idle", "cycle", 10, 2));
    AnmPlayer player(nullptr);
    EXPECT_FALSE(player.Load("..\\outside"));
    EXPECT_FALSE(player.Load("../outside"));
    EXPECT_FALSE(player.HasFile());
    EXPECT_FALSE(player.Load("..\\anm\\desk"));
    EXPECT_TRUE(player.Load("desk"));
}

TEST_F(AnmPlayerTest, RecordsMaySharePicturesSequencesAndFullLengthNames)
{
    makeanm::AnmFile file;
    std::string error;
    ASSERT_TRUE(makeanm::ParseAnmText(Animation("idle", "cycle", 10, 4) + Animation("wave", "once", 5, 0), file, error))
        << error;
    file.animations[1].sharesSequenceOf = 0;
    file.animations[1].name = std::string(64, 'w'); // a name filling its field has no NUL
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(makeanm::WriteOddAnm(file, bytes, error)) << error;
    WriteBytes("anm/desk.anm", bytes);
    AnmPlayer player(nullptr);
    ASSERT_TRUE(player.Load("desk"));
    ASSERT_EQ(player.GetFile()->GetCount(), 2);
    EXPECT_EQ(player.GetFile()->GetRecord(1).name, std::string(64, 'w'));
    ASSERT_TRUE(player.PlayByName("www", false));
    EXPECT_EQ(player.GetCurrentIndex(), 1);
    RunUpdates(player, 25);
    EXPECT_EQ(FrameX(player), 10);
}

} // namespace
