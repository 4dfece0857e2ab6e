#include "game/effects/AnimTrack.h"
#include "game/effects/Effect.h"
#include "game/effects/EffectFile.h"
#include "game/effects/ParticleRegistry.h"
#include "game/effects/ParticleSystem.h"
#include "tests/game/core/Utf16File.h"
#include "tests/game/effects/RecordingCallbacks.h"
#include "tests/support/TempDir.h"
#include "tests/support/CurrentFolder.h"

#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace {

// cfg\effect.xml in a fresh folder made the current one while it lives.
class EffectFileFixture : public ::testing::Test {
protected:
    void Use(const std::wstring& effects)
    {
        mDir.Write("cfg/effect.xml", Utf16File(L"<effects>" + effects + L"</effects>"));
        LoadEffectFile();
    }
    void SetUp() override { ASSERT_TRUE(mFolder.Enter(mDir.Path())); }
    void TearDown() override
    {
        ReleaseEffectFile();
        mFolder.Restore();
    }
    std::unique_ptr<Effect> Create(const std::string& name) { return std::unique_ptr<Effect>(CreateEffect(name)); }

    RecordingExports mExports;
    testsupport::TempDir mDir;
    testsupport::CurrentFolder mFolder;
};

const wchar_t kMessages[] =
    L"<effect name='msgs'><timers>"
    L"<timer name='a' type='usual' ftime='1' direction='forward'>"
    L"<control id='1' type='point' starttime='0' function='Rec' active='true'/>"
    L"<control id='2' type='point' starttime='0.5' function='Rec' active='true'/></timer>"
    L"<timer name='b' type='usual' ftime='1' direction='forward'>"
    L"<control id='3' type='point' starttime='0' function='Rec' active='true'/></timer>"
    L"</timers><messages>"
    L"<message name='go' command='call' timer_id='Msg'/>"
    L"<message name='go' command='start' timer_id='a'/>"
    L"<message name='go' command='start' timer_id='b'/>"
    L"<message name='stop' command='stop' timer_id='a'/>"
    L"<message name='pause' command='pause' timer_id='a'/>"
    L"<message name='resume' command='resume' timer_id='a'/>"
    L"<message name='odd' command='jump' timer_id='a'/>"
    L"<message name='odd' command='start' timer_id='nobody'/>"
    L"<message name='odd' command='call' timer_id='Rec'/>"
    L"</messages></effect>";

std::vector<std::string> Names()
{
    std::vector<std::string> names;
    for (const RecordedCall& c : Calls())
        names.push_back(c.function + (c.id >= 0 ? std::to_string(c.id) : ""));
    return names;
}

} // namespace

TEST_F(EffectFileFixture, MessagesRunInLoadOrderAndSkipDisabledOnes)
{
    Use(kMessages);
    auto effect = Create("msgs");
    ASSERT_TRUE(effect);
    EXPECT_TRUE(effect->SendMessage("go"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Msg", "Rec1", "Rec3"}));
    EXPECT_EQ(Calls()[0].argument, effect.get());
    EXPECT_EQ(Calls()[1].argument, effect.get());

    // Every "go" disabled: true, and the zero step still runs, so the points
    // at 0 of the running timers fire again.
    Calls().clear();
    effect->SetMessageEnabled("go", false);
    EXPECT_FALSE(effect->IsMessageEnabled("go"));
    EXPECT_TRUE(effect->SendMessage("go"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Rec1", "Rec3"}));

    // Unknown name: false and no update.
    Calls().clear();
    EXPECT_FALSE(effect->SendMessage("nothing"));
    EXPECT_FALSE(effect->HasMessage("nothing"));
    EXPECT_FALSE(effect->IsMessageEnabled("nothing"));
    EXPECT_TRUE(Calls().empty());

    // Unknown words, unknown timers, track functions in a "call": kept,
    // doing nothing.
    EXPECT_TRUE(effect->SendMessage("odd"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Rec1", "Rec3"}));
}

TEST_F(EffectFileFixture, StopResumeAndStartActOnTheTimer)
{
    Use(kMessages);
    auto effect = Create("msgs");
    ASSERT_TRUE(effect);
    effect->SendMessage("go");
    AnimTrack* a = effect->GetTrack(0);
    ASSERT_TRUE(a);
    effect->Update(0.3f);
    effect->SendMessage("pause");
    effect->Update(0.3f);
    EXPECT_NEAR(a->GetPosition(), 0.3, 1e-6) << "paused";
    effect->SendMessage("resume");
    effect->Update(0.3f);
    EXPECT_NEAR(a->GetPosition(), 0.6, 1e-6) << "resume continues";

    effect->SendMessage("stop");
    EXPECT_FALSE(a->IsActive());
    EXPECT_EQ(a->GetPosition(), 0.0) << "stop leaves the start position";
    effect->Update(0.3f);
    effect->SendMessage("resume");
    effect->Update(0.2f);
    EXPECT_NEAR(a->GetPosition(), 0.2, 1e-6);

    // Finished tracks are skipped by Update; "start" restarts them.
    effect->Update(1.0f);
    EXPECT_TRUE(a->IsFinished());
    Calls().clear();
    effect->Update(0.1f);
    EXPECT_TRUE(Calls().empty());
    effect->SendMessage("go");
    EXPECT_FALSE(a->IsFinished());
    EXPECT_EQ(a->GetPosition(), 0.0);
}

TEST_F(EffectFileFixture, TimersAreNumberedAndARepeatedNameBindsTheLaterOne)
{
    Use(L"<effect name='dup'><timers>"
        L"<timer name='t' type='usual' ftime='1' direction='forward'/>"
        L"<timer type='usual' ftime='1' direction='forward'/>"
        L"<timer name='t' type='usual' ftime='2' direction='forward'/>"
        L"</timers><messages><message name='go' command='start' timer_id='t'/>"
        L"<message name='none' command='start'/><message command='start' timer_id='t'/>"
        L"</messages></effect>");
    auto effect = Create("dup");
    ASSERT_TRUE(effect);
    ASSERT_TRUE(effect->GetTrack(0) && effect->GetTrack(1) && effect->GetTrack(2));
    EXPECT_FALSE(effect->GetTrack(3));
    EXPECT_EQ(effect->GetTrack(2)->GetLength(), 2.0f);
    effect->SendMessage("go");
    EXPECT_FALSE(effect->GetTrack(0)->IsActive());
    EXPECT_FALSE(effect->GetTrack(1)->IsActive()) << "an unnamed timer is bound by no name";
    EXPECT_TRUE(effect->GetTrack(2)->IsActive());
    effect->SendMessage("none");
    EXPECT_FALSE(effect->GetTrack(1)->IsActive());
    EXPECT_FALSE(effect->AddTrack(2));
    EXPECT_TRUE(effect->AddTrack(7));
    EXPECT_TRUE(effect->GetTrack(7));
}

TEST_F(EffectFileFixture, CreateFindsTheExactNameOnly)
{
    Use(L"<effect name='Fade'/><effect name='say \"hi\"'><timers><timer name='x'/></timers></effect>"
        L"<effect name='fade'><timers><timer/><timer/></timers></effect>");
    struct {
        std::string name;
        int tracks; // -1: no effect
    } cases[] = {{"fade", 2}, {"Fade", 0}, {"say \"hi\"", 1}, {"FADE", -1}, {"", -1}, {"\"]", -1}, {"x'", -1}};
    for (auto& c : cases) {
        auto effect = Create(c.name);
        if (c.tracks < 0) {
            EXPECT_FALSE(effect) << c.name;
            continue;
        }
        ASSERT_TRUE(effect) << c.name;
        int count = 0;
        while (effect->GetTrack(count))
            ++count;
        EXPECT_EQ(count, c.tracks) << c.name;
    }
    ReleaseEffectFile();
    EXPECT_FALSE(Create("fade")) << "no file";
    EXPECT_EQ(gEffectDocument, nullptr);
}

TEST(EffectParams, TheLastValueOfAnIdHoldsAndUnsetIdsAreNull)
{
    Effect effect;
    int first = 0, second = 0;
    EXPECT_EQ(effect.GetParam(1), nullptr);
    EXPECT_TRUE(effect.SetParam(1, &first));
    EXPECT_TRUE(effect.SetParam(1, &second));
    EXPECT_EQ(effect.GetParam(1), &second);
    effect.SetParamValue(0x107, -640);
    EXPECT_EQ(effect.GetParamValue(0x107), -640);
    EXPECT_EQ(effect.GetParam(2), nullptr);
}

namespace {

Effect* gSelfEffect = nullptr;
int gNested = 0;
// Steps its own effect again from inside a step.
int32_t SendAgain(void* argument)
{
    auto* args = static_cast<AnimCallbackArgs*>(argument);
    Calls().push_back({"Again", args->id, args->progress, nullptr});
    if (gNested++ == 0)
        gSelfEffect->SendMessage("go");
    return 1;
}

const ExportedFunction kAgain[] = {{"Again", SendAgain, CallForm::Track}, {"Rec", nullptr, CallForm::Track}};

} // namespace

TEST(EffectReentry, ACallbackSteppingItsOwnTrackRunsEachCallOnce)
{
    RecordingExports exports;
    ExportedFunctions::Install(kAgain, 1);
    Effect effect;
    gSelfEffect = &effect;
    gNested = 0;
    XmlNode node = ParseElement(L"<effect><timers><timer name='a' type='usual' ftime='1' direction='forward'>"
                                L"<control id='1' type='point' starttime='0' function='Again' active='true'/>"
                                L"<control id='2' type='point' starttime='0' function='Again' active='true'/>"
                                L"</timer></timers><messages><message name='go' command='start' timer_id='a'/>"
                                L"</messages></effect>");
    effect.Load(node);
    effect.SendMessage("go");
    // Outer step: 1 (which runs the inner step: 1, 2), then 2: four calls.
    std::vector<int> ids;
    for (const RecordedCall& c : Calls())
        ids.push_back(c.id);
    EXPECT_EQ(ids, (std::vector<int>{1, 1, 2, 2}));
}

TEST(EffectParticles, AnEffectsDeathRemovesItsSystems)
{
    ParticleRegistry registry;
    ParticleEmitterConfig config;
    config.rate = 10;
    config.life = 1;
    auto* keep = new Effect();
    {
        Effect dying;
        ParticleSystem::Create(config, &dying);
        ParticleSystem::Create(config, &dying);
        ParticleSystem::Create(config, keep);
        EXPECT_EQ(registry.GetSystemCount(), 3u);
    }
    EXPECT_EQ(registry.GetSystemCount(), 1u);
    delete keep;
    EXPECT_EQ(registry.GetSystemCount(), 0u);
}
