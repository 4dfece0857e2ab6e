#include "game/effects/AnimTrack.h"
#include "tests/game/effects/RecordingCallbacks.h"

#include <gtest/gtest.h>

namespace {

struct Expected {
    int32_t id;
    float progress;
};

struct TrackCase {
    const char* what;
    const wchar_t* timer;   // a "timer" element; its controls call "Rec"
    bool start;             // restart, activate and a zero step, as "start" does
    double position;        // else: activated at this position
    bool hold;
    std::vector<double> moves;
    std::vector<Expected> calls;
    bool finished;
};

std::string Describe(const std::vector<RecordedCall>& calls)
{
    std::string text;
    for (const RecordedCall& c : calls)
        text += "(" + std::to_string(c.id) + ", " + std::to_string(c.progress) + ") ";
    return text;
}

void RunCase(const TrackCase& c)
{
    SCOPED_TRACE(c.what);
    RecordingExports exports;
    Effect* owner = reinterpret_cast<Effect*>(0x1234);
    AnimTrack track(owner);
    track.Load(ParseElement(c.timer));
    if (c.hold) {
        AnimTrackParams params;
        params.mask = ANIM_PARAM_HOLD;
        params.active = true;
        track.SetParams(params);
    }
    if (c.start) {
        track.Restart();
        track.SetActive(true);
        track.Update(0);
    } else {
        track.SetPosition(c.position);
        track.SetActive(true);
    }
    for (double seconds : c.moves)
        track.Update(seconds);
    const auto& calls = Calls();
    ASSERT_EQ(calls.size(), c.calls.size()) << Describe(calls);
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].id, c.calls[i].id) << i << ": " << Describe(calls);
        EXPECT_NEAR(calls[i].progress, c.calls[i].progress, 1e-5) << i << ": " << Describe(calls);
        EXPECT_EQ(calls[i].argument, owner);
    }
    EXPECT_EQ(track.IsFinished(), c.finished);
}

} // namespace

TEST(AnimTrackSteps, ControlsFireByTheTableOfCases)
{
    const TrackCase cases[] = {
        {"a range inside one step gives enter and leave only",
         L"<timer type='usual' ftime='1' direction='forward'>"
         L"<control id='7' type='range' starttime='0.2' endtime='0.25' function='Rec' active='true'/></timer>",
         true, 0, false, {0.3}, {{7, 0}, {7, 1}}, false},
        {"backward steps enter at 1 and leave at 0",
         L"<timer type='usual' ftime='1' direction='backward'>"
         L"<control id='1' type='range' starttime='0.2' endtime='0.6' function='Rec' active='true'/></timer>",
         true, 0, false, {0.5, 0.4}, {{1, 1}, {1, 0.75f}, {1, 0}}, false},
        {"inside progress is capped at 1",
         L"<timer type='usual' ftime='1' direction='forward'>"
         L"<control id='1' type='range' starttime='0.5' endtime='1.05' function='Rec' active='true'/></timer>",
         false, 0.9, false, {0.3}, {{1, 1}}, true},
        {"inside progress is not bounded below",
         L"<timer type='usual' ftime='1' direction='backward'>"
         L"<control id='1' type='range' starttime='-0.1' endtime='0.3' function='Rec' active='true'/></timer>",
         false, 0.1, false, {0.3}, {{1, -0.25f}}, true},
        {"a point at a step boundary fires in both steps, with the step's end",
         L"<timer type='usual' ftime='1' direction='forward'>"
         L"<control id='1' type='point' starttime='0.5' function='Rec' active='true'/></timer>",
         true, 0, false, {0.25, 0.25, 0.25}, {{1, 0.5f}, {1, 0.75f}}, false},
        {"a point at 0 fires in the start step and the first",
         L"<timer type='usual' ftime='1' direction='forward'>"
         L"<control id='1' type='point' starttime='0' function='Rec' active='true'/></timer>",
         true, 0, false, {0.1}, {{1, 0}, {1, 0.1f}}, false},
        {"start on a backward track fires a point at its length at once",
         L"<timer type='usual' ftime='2' direction='backward'>"
         L"<control id='3' type='point' starttime='2' function='Rec' active='true'/></timer>",
         true, 0, false, {}, {{3, 2}}, false},
        {"a cycle at 0.9 moved 0.3 steps to 1, then from 0 to 0.2",
         L"<timer type='cycle' ftime='1' direction='forward'>"
         L"<control id='1' type='point' starttime='1' function='Rec' active='true'/>"
         L"<control id='2' type='point' starttime='0' function='Rec' active='true'/>"
         L"<control id='3' type='point' starttime='0.1' function='Rec' active='true'/></timer>",
         false, 0.9, false, {0.3}, {{1, 1}, {2, 0.2f}, {3, 0.2f}}, false},
        {"2.5 s on a cycle of length 1 moves 1, 1 and 0.5",
         L"<timer type='cycle' ftime='1' direction='forward'>"
         L"<control id='1' type='point' starttime='0.5' function='Rec' active='true'/></timer>",
         false, 0, false, {2.5}, {{1, 1}, {1, 1}, {1, 0.5f}}, false},
        {"with hold only the 0.5",
         L"<timer type='cycle' ftime='1' direction='forward'>"
         L"<control id='1' type='point' starttime='0.5' function='Rec' active='true'/></timer>",
         false, 0, true, {2.5}, {{1, 0.5f}}, false},
        {"a ping_pong turn leaves, then enters again at 1",
         L"<timer type='ping_pong' ftime='1' direction='forward'>"
         L"<control id='1' type='range' starttime='0.5' endtime='1' function='Rec' active='true'/></timer>",
         true, 0, false, {0.8, 0.3}, {{1, 0}, {1, 0.6f}, {1, 1}, {1, 1}, {1, 0.8f}}, false},
        {"ranges and points of one step run in list order, enter before inside",
         L"<timer type='usual' ftime='1' direction='forward'>"
         L"<control id='1' type='point' starttime='0.3' function='Rec' active='true'/>"
         L"<control id='2' type='range' starttime='0.1' endtime='0.9' function='Rec' active='true'/>"
         L"<control id='3' type='point' starttime='0.2' function='Rec' active='true'/></timer>",
         false, 0, false, {0.4}, {{1, 0.4f}, {2, 0}, {2, 0.375f}, {3, 0.4f}}, false},
        {"inactive controls, unknown functions and unknown kinds stay silent",
         L"<timer type='usual' ftime='1' direction='forward'>"
         L"<control id='1' type='point' starttime='0.3' function='Rec'/>"
         L"<control id='2' type='point' starttime='0.3' function='Msg' active='true'/>"
         L"<control id='3' type='point' starttime='0.3' function='rec' active='true'/>"
         L"<control id='4' type='dot' starttime='0.3' function='Rec' active='true'/></timer>",
         false, 0, false, {0.5}, {}, false},
        {"a negative length is endless and still moves once per update",
         L"<timer type='usual' ftime='-2' direction='forward'>"
         L"<control id='1' type='point' starttime='0.25' function='Rec' active='true'/></timer>",
         false, 0, false, {0.5, 0.5}, {{1, 0.5f}}, false},
        {"type 0 ends like usual",
         L"<timer ftime='1' direction='forward'>"
         L"<control id='1' type='point' starttime='1' function='Rec' active='true'/></timer>",
         false, 0, false, {0.6, 0.6}, {{1, 1}}, true},
    };
    for (const TrackCase& c : cases)
        RunCase(c);
}

TEST(AnimTrackSteps, AUsualTrackRunsItsRangeFromStartToTheHundredAndFirstUpdate)
{
    RecordingExports exports;
    AnimTrack track(nullptr);
    track.Load(ParseElement(L"<timer type='usual' ftime='1' direction='forward'>"
                            L"<control id='1' type='range' starttime='0' endtime='1' function='Rec' active='true'/>"
                            L"</timer>"));
    track.Restart();
    track.SetActive(true);
    track.Update(0);
    ASSERT_EQ(Calls().size(), 2u);
    EXPECT_EQ(Calls()[0].progress, 0.0f);
    EXPECT_EQ(Calls()[1].progress, 0.0f);
    for (int i = 1; i <= 100; ++i) {
        track.Update(double(0.01f));
        ASSERT_EQ(Calls().size(), size_t(2 + i)) << i;
        EXPECT_GT(Calls().back().progress, Calls()[Calls().size() - 2].progress) << i;
        EXPECT_LE(Calls().back().progress, 1.0f) << i;
        EXPECT_FALSE(track.IsFinished()) << i;
    }
    track.Update(double(0.01f));
    ASSERT_EQ(Calls().size(), 103u);
    EXPECT_EQ(Calls().back().progress, 1.0f);
    EXPECT_TRUE(track.IsFinished());
}

namespace {

AnimTrack* gLengthTrack = nullptr;
int32_t SetNewLength(void*)
{
    AnimTrackParams params;
    params.mask = ANIM_PARAM_LENGTH;
    params.length = 2;
    params.active = true;
    gLengthTrack->SetParams(params);
    Calls().push_back({"SetNewLength", 0, 0, nullptr});
    return 1;
}

} // namespace

TEST(AnimTrackSteps, ACallbackSettingANewLengthEndsTheUpdateWithoutTheWrap)
{
    RecordingExports exports;
    AnimTrack track(nullptr);
    gLengthTrack = &track;
    AnimTrackParams params;
    params.mask = ANIM_PARAM_LENGTH | ANIM_PARAM_DIRECTION | ANIM_PARAM_TYPE;
    params.length = 1;
    params.direction = ANIM_DIR_FORWARD;
    params.type = ANIM_TYPE_CYCLE;
    params.active = true;
    track.SetParams(params);
    AnimControl point;
    point.flags = ANIM_CONTROL_POINT | ANIM_CONTROL_HAS_FUNCTION;
    point.start = 1;
    point.function = SetNewLength;
    point.active = true;
    track.AddControl(point);
    track.SetPosition(0.9);
    // Three lengths' worth: only the move that reached the end ran.
    track.Update(3.3);
    EXPECT_EQ(Calls().size(), 1u);
    EXPECT_EQ(track.GetPosition(), 0.0);
    EXPECT_EQ(track.GetLength(), 2.0f);
}

TEST(AnimTrackControls, ParamsAndControlRecordsFollowTheirRules)
{
    RecordingExports exports;
    AnimTrack track(nullptr);
    AnimTrackParams params;
    params.mask = ANIM_PARAM_LENGTH | ANIM_PARAM_DIRECTION | ANIM_PARAM_TYPE;
    params.length = 0;
    params.direction = ANIM_DIR_FORWARD;
    params.type = ANIM_TYPE_USUAL;
    params.active = true;
    track.SetParams(params);
    EXPECT_FALSE(track.IsActive()) << "active with length 0 stays inactive";

    params.length = 2;
    params.direction = ANIM_DIR_BACKWARD;
    track.SetPosition(1);
    track.SetParams(params);
    EXPECT_TRUE(track.IsActive());
    EXPECT_EQ(track.GetPosition(), 2.0) << "a backward direction puts the position at the length";

    // Flags 3 never fire; AddControl keeps a function only with flag 4;
    // ReplaceControl copies everything, so flag 4 there makes it inert.
    AnimControl control;
    control.flags = ANIM_CONTROL_POINT | ANIM_CONTROL_RANGE | ANIM_CONTROL_HAS_FUNCTION;
    control.id = 1;
    control.start = 1;
    control.end = 1.5f;
    control.active = true;
    control.function = [](void* a) -> int32_t {
        Calls().push_back({"f", static_cast<AnimCallbackArgs*>(a)->id, 0, a});
        return 1;
    };
    track.AddControl(control);
    control.id = 2;
    control.flags = ANIM_CONTROL_POINT;
    track.AddControl(control); // stored without its function
    control.id = 3;
    control.flags = ANIM_CONTROL_POINT | ANIM_CONTROL_HAS_FUNCTION;
    track.AddControl(control);
    EXPECT_TRUE(track.ReplaceControl(control)); // id 3 now carries flags 5
    control.id = 9;
    EXPECT_FALSE(track.ReplaceControl(control));
    EXPECT_TRUE(track.SetControlActive(2, true));
    EXPECT_FALSE(track.SetControlActive(9, true));
    track.Update(1.5);
    EXPECT_TRUE(Calls().empty());

    control.id = 2;
    control.flags = ANIM_CONTROL_POINT;
    EXPECT_TRUE(track.ReplaceControl(control)); // the function comes along now
    track.Restart();
    track.Update(1.5);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].id, 2);
}
