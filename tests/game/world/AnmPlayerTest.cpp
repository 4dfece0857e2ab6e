// The animation player over small files written with makeanm: look-up,
// timing of cycles, once and backward animations, stop frames, reloads, and
// the files its reader refuses.
#include "game/effects/AnimTrack.h"
#include "game/world/AnmPlayer.h"
#include "tests/game/world/WorldFixture.h"

#include <functional>
#include <memory>

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

// Files the reader refuses, each built from a good one with one fault; a
// refused file leaves the player as it was.
struct Corrupt {
    const char* what;
    std::function<void(makeanm::AnmFile&)> change;
    const char* reason; // a part of the reader's reason
    size_t cut = 0;     // bytes taken off the end
};

// Records that all share the first one's sequence of framesEach frames: each
// record counts them again.
void ShareFrames(makeanm::AnmFile& file, int records, int framesEach)
{
    file.animations.resize(1);
    file.animations[0].frames.assign(size_t(framesEach), makeanm::Frame{0, 0, 10, 20, 0, -20});
    makeanm::Animation again = file.animations[0];
    again.frames.clear();
    again.sharesSequenceOf = 0;
    file.animations.resize(size_t(records), again);
}

TEST_F(AnmPlayerTest, ARefusedFileLeavesThePlayerAsItWas)
{
    WriteAnm("good", Animation("idle", "cycle", 10, 10));
    // Two records: "wave" of 10 frames, then "hop" of 2 at the end.
    const uint32_t image = 8 + 2 * 140 + (24 + 10 * 24) + (24 + 2 * 24); // 624 bytes
    const std::vector<Corrupt> cases = {
        {"wrong magic", [](makeanm::AnmFile& f) { f.magic = 0x21414E4D; }, "no \"ANM!\""},
        {"one byte of the magic changed", [](makeanm::AnmFile& f) { f.magic = 0x21214E41; }, "no \"ANM!\""},
        {"a byte shorter than the file header", [](makeanm::AnmFile&) {}, "no \"ANM!\"", image + 1},
        {"fewer bytes than its size", [](makeanm::AnmFile&) {}, "the image is cut short: 623 of 624 bytes", 1},
        {"size larger than the file", [&](makeanm::AnmFile& f) { f.size = image + 1; }, "cut short"},
        {"size too small for the image header", [](makeanm::AnmFile& f) { f.size = 4; }, "no room for its header"},
        {"negative count", [](makeanm::AnmFile& f) { f.count = -1; }, "the -1 records"},
        {"count too large for the image", [](makeanm::AnmFile& f) { f.count = 5; }, "the 5 records do not lie inside"},
        {"records outside the image", [](makeanm::AnmFile& f) { f.recordsLink = f.base + 4000; }, "records do not lie"},
        {"records before the image", [](makeanm::AnmFile& f) { f.recordsLink = f.base - 8; }, "records do not lie"},
        {"no records, linked past the image",
         [&](makeanm::AnmFile& f) {
             f.count = 0;
             f.recordsLink = f.base + image + 1;
         },
         "the 0 records do not lie inside"},
        {"sequence across the end", [&](makeanm::AnmFile& f) { f.animations[0].sequenceLink = f.base + image - 14; },
         "record 1 (wave): its sequence does not lie inside"},
        {"a later record's sequence a byte across the end",
         [&](makeanm::AnmFile& f) { f.animations[1].sequenceLink = f.base + image - 23; },
         "record 2 (hop): its sequence does not lie inside"},
        {"negative frame count", [](makeanm::AnmFile& f) { f.animations[0].frameCount = -1; },
         "record 1 (wave): negative frame count -1"},
        {"negative fps", [](makeanm::AnmFile& f) { f.animations[0].fps = -1; }, "record 1 (wave): negative fps -1"},
        {"frames beyond the image", [](makeanm::AnmFile& f) { f.animations[0].frameCount = 14; },
         "record 1 (wave): its 14 frames do not lie inside"},
        {"a later record's frames beyond the image", [](makeanm::AnmFile& f) { f.animations[1].frameCount = 3; },
         "record 2 (hop): its 3 frames do not lie inside"},
        {"frames linked a frame before the end",
         [&](makeanm::AnmFile& f) { f.animations[0].framesLink = f.base + image - 24; }, "its 10 frames do not lie"},
        {"frames before the image", [](makeanm::AnmFile& f) { f.animations[0].framesLink = 0; }, "frames do not lie"},
        {"huge frame count", [](makeanm::AnmFile& f) { f.animations[0].frameCount = 0x7FFFFFFF; }, "frames do not lie"},
        {"no frames, linked past the image",
         [&](makeanm::AnmFile& f) {
             f.animations[1].frameCount = 0;
             f.animations[1].framesLink = f.base + image + 1;
         },
         "record 2 (hop): its 0 frames do not lie inside"},
        {"more frames in all than the reader takes", [](makeanm::AnmFile& f) { ShareFrames(f, 1025, 1024); },
         "record 1025 (wave): more than 1048576 frames in all"},
    };
    for (size_t k = 0; k < cases.size(); ++k) {
        SCOPED_TRACE(cases[k].what);
        makeanm::AnmFile file;
        std::string error;
        ASSERT_TRUE(makeanm::ParseAnmText(Animation("wave", "once", 10, 10) + Animation("hop", "once", 10, 2), file, error))
            << error;
        cases[k].change(file);
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(makeanm::WriteOddAnm(file, bytes, error)) << error;
        bytes.resize(bytes.size() - std::min(bytes.size(), cases[k].cut));
        std::string why;
        EXPECT_FALSE(AnmFile::Parse(bytes.data(), bytes.size(), &why));
        EXPECT_NE(why.find(cases[k].reason), std::string::npos) << why;
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
    bytes.push_back(0xAB); // past the image: not read
    WriteBytes("anm/desk.anm", bytes);
    AnmPlayer player(nullptr);
    ASSERT_TRUE(player.Load("desk"));
    ASSERT_EQ(player.GetFile()->GetCount(), 2);
    const AnmRecord& wave = player.GetFile()->GetRecord(1);
    EXPECT_EQ(wave.name, std::string(64, 'w'));
    ASSERT_EQ(wave.sequence.frameCount, 4);
    EXPECT_EQ(player.GetFile()->GetFrame(wave, 1).x, 10);
    ASSERT_TRUE(player.PlayByName("www", false));
    EXPECT_EQ(player.GetCurrentIndex(), 1);
    RunUpdates(player, 25);
    EXPECT_EQ(FrameX(player), 10);
}

// Records sharing one frame array count its frames each time: 2^20 in all
// are read, one more record's worth is refused (in the table above).
TEST_F(AnmPlayerTest, RecordsSharingFramesAreReadUpToTheBound)
{
    makeanm::AnmFile file;
    std::string error;
    ASSERT_TRUE(makeanm::ParseAnmText(Animation("wave", "once", 10, 1), file, error)) << error;
    ShareFrames(file, 1024, 1024);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(makeanm::WriteOddAnm(file, bytes, error)) << error;
    std::string why;
    const std::unique_ptr<AnmFile> read = AnmFile::Parse(bytes.data(), bytes.size(), &why);
    ASSERT_TRUE(read) << why;
    ASSERT_EQ(read->GetCount(), 1024);
    EXPECT_EQ(uint64_t(read->GetCount()) * uint64_t(read->GetRecord(1023).sequence.frameCount), AnmFile::kMaxFrames);
}

} // namespace
