#include "framework/app/Random.h"
#include "game/effects/AnimCallbacks.h"
#include "game/effects/AnimTrack.h"
#include "game/effects/DialogCallbacks.h"
#include "game/effects/Effect.h"
#include "game/effects/EffectItemList.h"
#include "game/effects/EffectWorld.h"
#include "game/effects/ExportedFunctions.h"
#include "game/effects/ObjectCallbacks.h"
#include "game/effects/ParticleCallbacks.h"
#include "game/effects/ParticleEmitterConfig.h"
#include "game/effects/ParticleSystem.h"
#include "game/ui/UiElement.h"
#include "tests/framework/graphics/GraphicsFixtures.h"
#include "tests/game/ui/UiFixture.h"

#include <climits>
#include <cstring>
#include <map>
#include <string>

namespace {

// One office part's effect targets.
struct PartTargets {
    int32_t offset[2] = {0, 0};
    float scale = 1;
    int32_t scalePoint[2] = {0, 0};
    float opacity = 1;
    bool shown = false;
    bool checkmark = false;
    uint32_t fontColor = 0;
    uint32_t subFontColor = 0;
    uint32_t repeat[4] = {0, 0, 0, 0};
};

// An object effect over n parts (parameter 0x100) and a visible flag (0x101).
struct ObjectEffect {
    explicit ObjectEffect(int n, bool withVisible = true)
    {
        list.count = n;
        for (int i = 0; i < n; ++i) {
            EffectItem& item = list.items[i];
            item.offset = parts[i].offset;
            item.scale = &parts[i].scale;
            item.scalePoint = parts[i].scalePoint;
            item.opacity = &parts[i].opacity;
            item.shown = &parts[i].shown;
            item.checkmark = &parts[i].checkmark;
            item.fontColor = &parts[i].fontColor;
            item.subFontColor = &parts[i].subFontColor;
            item.repeatBlock = parts[i].repeat;
            item.part = reinterpret_cast<ObjectPart*>(&parts[i]);
        }
        effect.SetParam(0x100, &list);
        if (withVisible)
            effect.SetParam(0x101, &visible);
    }
    int32_t Call(EffectCallback f, float t)
    {
        AnimCallbackArgs args;
        args.owner = &effect;
        args.progress = t;
        return f(&args);
    }
    Effect effect;
    EffectItemList list;
    PartTargets parts[EffectItemList::kCapacity];
    bool visible = false;
};

// A UI element's effect as UiElement::Load sets it up.
struct DialogEffect {
    DialogEffect()
    {
        element.Resize(40, 60, 200, 100);
        effect.SetParam(UI_PARAM_OPACITY, &opacity);
        effect.SetParam(UI_PARAM_OFFSET, &offset);
        effect.SetParam(UI_PARAM_SCALE, &scale);
        effect.SetParam(UI_PARAM_SCALE_POINT, &scalePoint);
        effect.SetParam(UI_PARAM_ELEMENT, &element);
    }
    int32_t Call(EffectCallback f, float t)
    {
        AnimCallbackArgs args;
        args.owner = &effect;
        args.progress = t;
        return f(&args);
    }
    UiElement element{nullptr};
    Effect effect;
    float opacity = 1;
    UiPoint offset;
    float scale = 1;
    UiPoint scalePoint;
};

class EffectCallbacksTest : public UiFixture {};

} // namespace

TEST_F(EffectCallbacksTest, TheRegistryHoldsExactlyTheFortyNineNamesWithTheirForms)
{
    std::map<std::string, CallForm> expected;
    for (const char* name :
         {"EffectItemShow", "EffectItemHide", "EffectBlinkHP", "EffectBlinkHPOff", "EffectScaleZero",
          "EffectScaleUpRecoil", "EffectScalePulse", "EffectScaleDownToOne", "EffectScaleDown", "EffectFadeIn",
          "EffectFadeOut", "EffectFadeOne", "EffectFadeZero", "EffectJumpUp", "EffectSlideUpAccel",
          "EffectSlideFromBottomDecel", "EffectShake", "EffectSetCheckmarkScalepoint", "EffectSetCashBonusColor",
          "EffectSetCashPenaltyColor", "EffectSetChainColor", "EffectSetCashPenaltyOffset", "UpgradeEffectBlink",
          "EffectTableSpecColor", "WindowFadeOut", "WindowReset", "DlgShow", "DlgHide", "DlgSetCenterScalePoint",
          "DlgScaleUpRecoil", "DlgScaleUpEaseOut", "DlgSmallScaleUpAccel", "DlgSmallScaleDownAccel",
          "DlgBigScaleDownAccel", "DlgFadeIn", "DlgFadeOut", "DlgShiftDown", "DlgShiftDownAccel",
          "DlgSlideDownAccel", "DlgSlideFromBottomAccel", "DlgSlideRightAccel", "DlgSlideFromRightAccel",
          "DlgUpgradeBtnBlink", "FuncOnGoalExpertPSEffect"})
        expected[name] = CallForm::Track;
    for (const char* name : {"FuncOnWorkerWorkingPSEffect", "RenderPSFunc", "StopPSFunc"})
        expected[name] = CallForm::Message;
    expected["WidgetsLock"] = CallForm::Either;
    expected["WidgetsUnlock"] = CallForm::Either;
    ASSERT_EQ(expected.size(), 49u);

    std::map<std::string, CallForm> actual;
    for (size_t i = 0; i < kProgramExportCount; ++i) {
        ASSERT_NE(kProgramExports[i].function, nullptr) << kProgramExports[i].name;
        EXPECT_TRUE(actual.emplace(kProgramExports[i].name, kProgramExports[i].form).second)
            << "twice: " << kProgramExports[i].name;
    }
    EXPECT_EQ(actual, expected);

    // A name bound in the wrong form binds nothing; names are exact.
    EXPECT_EQ(ExportedFunctions::FindTrackCallback("RenderPSFunc"), nullptr);
    EXPECT_EQ(ExportedFunctions::FindMessageCallback("RenderPSFunc"), &RenderPSFunc);
    EXPECT_EQ(ExportedFunctions::FindMessageCallback("DlgShow"), nullptr);
    EXPECT_EQ(ExportedFunctions::FindTrackCallback("DlgShow"), &DlgShow);
    EXPECT_EQ(ExportedFunctions::FindTrackCallback("dlgshow"), nullptr);
    EXPECT_EQ(ExportedFunctions::FindTrackCallback("WidgetsLock"), &WidgetsLock);
    EXPECT_EQ(ExportedFunctions::FindMessageCallback("WidgetsUnlock"), &WidgetsUnlock);
    for (const char* player : {"AnimFrameFromProgress", "AnimSetDoneFlag", "AnimFrameAndDone", "AnimNoOp"}) {
        EXPECT_EQ(ExportedFunctions::FindTrackCallback(player), nullptr) << player;
        EXPECT_EQ(ExportedFunctions::FindMessageCallback(player), nullptr) << player;
    }
}

TEST_F(EffectCallbacksTest, EveryCallbackWithoutItsParametersDoesNothing)
{
    // An effect of the other kind, or none at all, reaches each callback.
    UiElement element(nullptr);
    for (size_t i = 0; i < kProgramExportCount; ++i) {
        const ExportedFunction& f = kProgramExports[i];
        if (std::strncmp(f.name, "Widgets", 7) == 0)
            continue; // these need no parameter
        Effect empty;
        AnimCallbackArgs args;
        args.owner = &empty;
        args.progress = 1;
        void* argument = f.form == CallForm::Message ? static_cast<void*>(&empty) : &args;
        f.function(argument);
        f.function(nullptr);
        AnimCallbackArgs orphan;
        if (f.form == CallForm::Track)
            f.function(&orphan);
        EXPECT_EQ(empty.GetParam(0x102), nullptr) << f.name << " made a system without a target";
    }
    // The element is untouched by object callbacks bound to its effect.
    DialogEffect dialog;
    for (size_t i = 0; i < 26; ++i)
        dialog.Call(kProgramExports[i].function, 0.5f);
    EXPECT_FLOAT_EQ(dialog.opacity, 1);
    EXPECT_FLOAT_EQ(dialog.scale, 1);
}

TEST_F(EffectCallbacksTest, ObjectFormulasOverEveryItem)
{
    struct Case {
        const char* what;
        EffectCallback f;
        float t;
        float PartTargets::*field; // null: the offset
        int axis;
        float expected;
    };
    const Case cases[] = {
        {"ScaleUpRecoil 0", EffectScaleUpRecoil, 0, &PartTargets::scale, 0, 0},
        {"ScaleUpRecoil 0.9", EffectScaleUpRecoil, 0.9f, &PartTargets::scale, 0, 1.1f},
        {"ScaleUpRecoil 1", EffectScaleUpRecoil, 1, &PartTargets::scale, 0, 1},
        {"ScaleZero", EffectScaleZero, 0.4f, &PartTargets::scale, 0, 0},
        {"ScalePulse 0.5", EffectScalePulse, 0.5f, &PartTargets::scale, 0, 1.2f},
        {"ScaleDownToOne 0", EffectScaleDownToOne, 0, &PartTargets::scale, 0, 2.5f},
        {"ScaleDown 0.25", EffectScaleDown, 0.25f, &PartTargets::scale, 0, 0.75f},
        {"FadeIn", EffectFadeIn, 0.3f, &PartTargets::opacity, 0, 0.3f},
        {"FadeOut", EffectFadeOut, 0.3f, &PartTargets::opacity, 0, 0.7f},
        {"FadeZero", EffectFadeZero, 0.3f, &PartTargets::opacity, 0, 0},
        {"JumpUp 0.5", EffectJumpUp, 0.5f, nullptr, 1, -5},
        {"JumpUp 0.1 truncates toward zero", EffectJumpUp, 0.1f, nullptr, 1, -1},
        {"SlideUpAccel 0.3", EffectSlideUpAccel, 0.3f, nullptr, 1, -1},
        {"SlideFromBottomDecel 0", EffectSlideFromBottomDecel, 0, nullptr, 1, 20},
        {"SlideFromBottomDecel 0.5", EffectSlideFromBottomDecel, 0.5f, nullptr, 1, 5},
        {"CashPenaltyOffset", EffectSetCashPenaltyOffset, 0.5f, nullptr, 1, 50},
    };
    for (const Case& c : cases) {
        ObjectEffect object(3);
        object.parts[0].opacity = 0.5f;
        EXPECT_EQ(object.Call(c.f, c.t), 1) << c.what;
        for (int i = 0; i < 3; ++i) {
            float got = c.field ? object.parts[i].*c.field : float(object.parts[i].offset[c.axis]);
            EXPECT_NEAR(got, c.expected, 1e-4) << c.what << " item " << i;
        }
        // Records past the count are not touched.
        EXPECT_FLOAT_EQ(object.parts[3].scale, 1) << c.what;
        EXPECT_EQ(object.parts[3].offset[1], 0) << c.what;
    }
}

TEST_F(EffectCallbacksTest, ShakeStaysWithinTwoPixels)
{
    Zelk::SRand(7);
    ObjectEffect object(2);
    for (int n = 0; n < 50; ++n) {
        object.Call(EffectShake, 0.5f);
        for (int i = 0; i < 2; ++i)
            for (int axis = 0; axis < 2; ++axis)
                EXPECT_LE(std::abs(object.parts[i].offset[axis]), 2);
    }
}

TEST_F(EffectCallbacksTest, ItemOneAndItemZeroCallbacksNeedTheirRecords)
{
    ObjectEffect one(1);
    one.parts[1].opacity = 7; // the unused slot beyond the count
    one.Call(EffectBlinkHP, 0.5f);
    EXPECT_FLOAT_EQ(one.parts[1].opacity, 7);
    EXPECT_FLOAT_EQ(one.parts[0].opacity, 1);

    ObjectEffect two(2);
    two.Call(EffectBlinkHP, 0.5f);
    EXPECT_FLOAT_EQ(two.parts[1].opacity, 1.0f);
    two.Call(EffectBlinkHP, 0);
    EXPECT_FLOAT_EQ(two.parts[1].opacity, 0.5f);
    two.Call(EffectBlinkHPOff, 0);
    EXPECT_FLOAT_EQ(two.parts[1].opacity, 1);

    ObjectEffect none(0);
    for (EffectCallback f : {EffectSetCheckmarkScalepoint, EffectSetCashBonusColor, EffectSetCashPenaltyColor,
                             EffectSetChainColor, EffectTableSpecColor}) {
        none.Call(f, 0);
        EXPECT_EQ(none.parts[0].fontColor, 0u);
        EXPECT_EQ(none.parts[0].scalePoint[0], 0);
    }

    struct Colours {
        EffectCallback f;
        uint32_t font, sub;
    };
    for (const Colours& c : {Colours{EffectSetCashBonusColor, 0x5AFF00FFu, 0x000000FFu},
                             Colours{EffectSetCashPenaltyColor, 0xFF0000FFu, 0xFFFFFFFFu},
                             Colours{EffectSetChainColor, 0xFFF7C2FFu, 0x4C1900FFu}}) {
        ObjectEffect object(2);
        object.parts[0].opacity = 0;
        object.parts[1].opacity = 0;
        object.Call(c.f, 0);
        EXPECT_EQ(object.parts[0].fontColor, c.font);
        EXPECT_EQ(object.parts[0].subFontColor, c.sub);
        EXPECT_FLOAT_EQ(object.parts[0].opacity, 1);
        EXPECT_FLOAT_EQ(object.parts[1].opacity, 0) << "only item 0";
    }
    ObjectEffect mark(1);
    mark.Call(EffectSetCheckmarkScalepoint, 0);
    EXPECT_EQ(mark.parts[0].scalePoint[0], 13);
    EXPECT_EQ(mark.parts[0].scalePoint[1], 15);
}

TEST_F(EffectCallbacksTest, VisibleFlagAndWindowCallbacks)
{
    ObjectEffect object(2);
    object.Call(EffectItemShow, 0);
    EXPECT_TRUE(object.visible);
    object.Call(EffectItemHide, 0);
    EXPECT_FALSE(object.visible);

    object.parts[0].shown = object.parts[1].shown = true;
    object.Call(WindowFadeOut, 0.999f);
    EXPECT_TRUE(object.parts[0].shown) << "hidden before the end";
    EXPECT_NEAR(object.parts[1].opacity, 0.001f, 1e-5);
    object.Call(WindowFadeOut, 1);
    EXPECT_FALSE(object.parts[0].shown);
    EXPECT_FALSE(object.parts[1].shown);
    object.Call(WindowReset, 0.3f);
    EXPECT_TRUE(object.visible);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(object.parts[i].shown);
        EXPECT_FLOAT_EQ(object.parts[i].opacity, 1);
    }
    ObjectEffect noFlag(1, false);
    noFlag.Call(WindowReset, 0);
    EXPECT_TRUE(noFlag.parts[0].shown);
}

TEST_F(EffectCallbacksTest, UpgradeBlinkShowsUncheckedItemsAndSetsTheOwnerFlagAtTheEnd)
{
    struct Case {
        float t, opacity;
    };
    for (const Case& c : {Case{0.55f, 0.85f}, Case{0.62f, 0.62f}, Case{0.8f, 0.8f}, Case{0.95f, 1}}) {
        ObjectEffect object(2);
        object.parts[0].checkmark = true;
        object.Call(UpgradeEffectBlink, c.t);
        EXPECT_NEAR(object.parts[0].opacity, c.opacity, 1e-5) << c.t;
        EXPECT_FALSE(object.parts[0].shown) << "a checked item is shown";
        EXPECT_TRUE(object.parts[1].shown);
    }
    ObjectEffect object(1);
    bool active = false;
    object.list.ownerActive = &active;
    object.Call(UpgradeEffectBlink, 0.99f);
    EXPECT_FALSE(active);
    object.Call(UpgradeEffectBlink, 1);
    EXPECT_TRUE(active);
    ObjectEffect part(1); // a part's own list has no owner flag
    part.Call(UpgradeEffectBlink, 1);
    EXPECT_TRUE(part.parts[0].shown);
}

namespace {
// Tables and workers by name, as the office world answers.
class FakeWorld : public EffectWorld {
public:
    bool GetPartOwner(ObjectPart* part, std::string& name, std::string& skin) override
    {
        if (!hasOwner)
            return false;
        name = tableName;
        skin = this->skin;
        return true;
    }
    bool FindWorkerTransformTo(const std::string& prefix, std::string& code) override
    {
        asked = prefix;
        for (auto& [name, word] : workers)
            if (name.rfind(prefix, 0) == 0) {
                code = word;
                return true;
            }
        return false;
    }
    bool hasOwner = true;
    std::string tableName = "table01a", skin = "skin01";
    std::map<std::string, std::string> workers{{"worker01a", "0102"}};
    std::string asked;
};
} // namespace

TEST_F(EffectCallbacksTest, TableSpecColourTintsByTheWorkersProductAndTheSkinLength)
{
    struct Case {
        const char* what;
        std::string table, skin, code;
        bool owner;
        uint32_t tint;
        std::string asked;
    };
    const Case cases[] = {
        {"six-character skin", "table01a", "skin01", "0102", true, 0xFF5BC9A0u, "worker01a"},
        {"five-character skin", "table01a", "skin1", "0102", true, 0xFF00E18Eu, "worker01a"},
        {"later stage", "table01a", "skin01", "0300", true, 0xFFC3C7D0u, "worker01a"},
        {"unknown code", "table01a", "skin01", "0999", true, 0, "worker01a"},
        {"no table owner", "table01a", "skin01", "0102", false, 0x12345678u, ""},
        {"no worker", "tableZZZ", "skin01", "0102", true, 0x12345678u, "workerZZZ"},
        {"short name", "tab", "skin01", "0102", true, 0xFF5BC9A0u, "worker"},
        {"name of six", "table0", "skin01", "0102", true, 0xFF5BC9A0u, "worker0"},
    };
    for (const Case& c : cases) {
        FakeWorld world;
        world.tableName = c.table;
        world.skin = c.skin;
        world.hasOwner = c.owner;
        world.workers = {{"worker01a", c.code}};
        SetEffectWorld(&world);
        ObjectEffect object(2);
        object.parts[0].repeat[0] = object.parts[1].repeat[0] = 0x12345678u;
        object.Call(EffectTableSpecColor, 0);
        SetEffectWorld(nullptr);
        EXPECT_EQ(object.parts[0].repeat[0], c.tint) << c.what;
        EXPECT_EQ(object.parts[1].repeat[0], c.tint) << c.what;
        EXPECT_EQ(world.asked, c.asked) << c.what;
    }
    // Without a world nothing is found.
    ObjectEffect object(1);
    object.parts[0].repeat[0] = 5;
    object.Call(EffectTableSpecColor, 0);
    EXPECT_EQ(object.parts[0].repeat[0], 5u);
}

TEST_F(EffectCallbacksTest, DialogFormulas)
{
    struct Case {
        const char* what;
        EffectCallback f;
        float t;
        char target; // s scale, o opacity, x / y offset
        float expected;
    };
    // The element's layout is 200 x 100.
    const Case cases[] = {
        {"ScaleUpEaseOut 0", DlgScaleUpEaseOut, 0, 's', 1},
        {"ScaleUpEaseOut 0.5", DlgScaleUpEaseOut, 0.5f, 's', 1.8f},
        {"ScaleUpEaseOut 1", DlgScaleUpEaseOut, 1, 's', 2},
        {"ScaleUpRecoil 0", DlgScaleUpRecoil, 0, 's', 0},
        {"ScaleUpRecoil 0.85", DlgScaleUpRecoil, 0.85f, 's', 1.05f},
        {"ScaleUpRecoil 1", DlgScaleUpRecoil, 1, 's', 1},
        {"SmallScaleUpAccel 1", DlgSmallScaleUpAccel, 1, 's', 1},
        {"SmallScaleDownAccel 0.5", DlgSmallScaleDownAccel, 0.5f, 's', 0.975f},
        {"BigScaleDownAccel 0", DlgBigScaleDownAccel, 0, 's', 4},
        {"FadeIn", DlgFadeIn, 0.25f, 'o', 0.25f},
        {"FadeOut", DlgFadeOut, 0.25f, 'o', 0.75f},
        {"ShiftDown 0.5", DlgShiftDown, 0.5f, 'y', 10},
        {"ShiftDownAccel 0.5", DlgShiftDownAccel, 0.5f, 'y', 5},
        {"SlideDownAccel 0.35 truncated", DlgSlideDownAccel, 0.35f, 'y', 12},
        {"SlideFromBottomAccel 0", DlgSlideFromBottomAccel, 0, 'y', 100},
        {"SlideRightAccel 0.5", DlgSlideRightAccel, 0.5f, 'x', 50},
        {"SlideFromRightAccel 0.5", DlgSlideFromRightAccel, 0.5f, 'x', 50},
    };
    for (const Case& c : cases) {
        DialogEffect dialog;
        EXPECT_EQ(dialog.Call(c.f, c.t), 1);
        float got = c.target == 's' ? dialog.scale
                    : c.target == 'o' ? dialog.opacity
                    : c.target == 'x' ? float(dialog.offset.x)
                                      : float(dialog.offset.y);
        EXPECT_NEAR(got, c.expected, 1e-4) << c.what;
    }
    DialogEffect dialog;
    dialog.Call(DlgSetCenterScalePoint, 0);
    EXPECT_EQ(dialog.scalePoint.x, 140);
    EXPECT_EQ(dialog.scalePoint.y, 110);
    dialog.Call(DlgHide, 0);
    EXPECT_FALSE(dialog.element.mVisible);
    EXPECT_TRUE(dialog.element.AreResourcesReleased());
    dialog.Call(DlgShow, 0);
    EXPECT_TRUE(dialog.element.mVisible);

    // A layout may place and size an element anywhere in the int range: the
    // moves, slides and centre stay defined and saturate.
    for (const Case& c : cases) {
        DialogEffect edge;
        edge.element.Resize(INT_MAX, INT_MIN, INT_MAX, INT_MAX);
        edge.Call(c.f, 0.5f);
    }
    DialogEffect edge;
    edge.element.Resize(INT_MAX, INT_MIN, INT_MAX, INT_MAX);
    edge.Call(DlgSetCenterScalePoint, 0);
    EXPECT_EQ(edge.scalePoint.x, INT_MAX);
    EXPECT_EQ(edge.scalePoint.y, INT_MIN + INT_MAX / 2);
}

TEST_F(EffectCallbacksTest, UpgradeButtonBlinkIsPiecewiseAndSteadyUnderTheMouse)
{
    struct Case {
        float t, expected;
    };
    for (const Case& c : {Case{0, 1}, Case{0.1f, 0.5f}, Case{0.2f, 0}, Case{0.25f, 1}, Case{0.3f, 1},
                          Case{0.4f, 0.5f}, Case{0.5f, 0}, Case{0.7f, 1}}) {
        DialogEffect dialog;
        dialog.Call(DlgUpgradeBtnBlink, c.t);
        EXPECT_NEAR(dialog.opacity, c.expected, 1e-5) << c.t;
        dialog.element.mIsOver = true;
        dialog.Call(DlgUpgradeBtnBlink, c.t);
        EXPECT_FLOAT_EQ(dialog.opacity, 1) << c.t;
    }
}

TEST_F(EffectCallbacksTest, WorkSmokeFollowsTheOrientation)
{
    struct Case {
        const char* word;
        bool mirrored;
        float dx, dy, direction;
    };
    const Case cases[] = {
        {"tr", false, 25, -5, 228}, {"br", false, 24, 2, -60}, {"tr", true, -25, -5, 139},
        {"br", true, -24, 2, 20},   {"b", false, 0, 0, 0},     {"mtr", false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        ParticleEmitterConfig config = WorkSmokeConfig(c.word, c.mirrored, 100, 200);
        EXPECT_FLOAT_EQ(config.x, 100 + c.dx) << c.word;
        EXPECT_FLOAT_EQ(config.y, 200 + c.dy) << c.word;
        EXPECT_FLOAT_EQ(config.direction, c.direction) << c.word;
        EXPECT_EQ(config.imageName, "fx_work_smoke");
        EXPECT_EQ(config.colorKeyCount, 4);
        EXPECT_EQ(config.randomFlags, 10u);
    }
    ParticleEmitterConfig big = GoalStarsConfig(true), small = GoalStarsConfig(false);
    EXPECT_EQ(big.imageName, "fx_goal_star_big");
    EXPECT_FLOAT_EQ(big.life, 0.8f);
    EXPECT_DOUBLE_EQ(big.driftY, 50);
    EXPECT_FLOAT_EQ(small.speed, 400);
    EXPECT_EQ(small.colorKeys[0].color.mAlpha, 1);
    EXPECT_EQ(small.colorKeys[1].color.mAlpha, 255);
}

TEST_F(EffectCallbacksTest, ParticleCallbacksMakeTheirSystemsOnceAndStopThemWithoutADraw)
{
    Effect effect;
    std::string word = "tr";
    bool mirror = false;
    effect.SetParamValue(0x107, 500);
    effect.SetParamValue(0x108, 400);
    effect.SetParam(0x109, &word);
    effect.SetParam(0x10a, &mirror);
    FuncOnWorkerWorkingPSEffect(&effect);
    auto* smoke = static_cast<ParticleSystem*>(effect.GetParam(0x102));
    ASSERT_NE(smoke, nullptr);
    EXPECT_TRUE(smoke->IsEmitting());
    EXPECT_FLOAT_EQ(smoke->GetConfig().x, 525);
    word = "br";
    effect.SetParamValue(0x107, 0);
    FuncOnWorkerWorkingPSEffect(&effect);
    EXPECT_EQ(effect.GetParam(0x102), smoke) << "a second system was made";
    EXPECT_FLOAT_EQ(smoke->GetConfig().x, 525) << "the system moved";

    // Before the first draw: nothing drawn, yet the systems stop.
    EXPECT_EQ(RenderPSFunc(&effect), 0);
    EXPECT_EQ(StopPSFunc(&effect), 0);
    EXPECT_FALSE(smoke->IsEmitting());

    Zelk::test::RecordingImage image(10, 10);
    Zelk::Graphics g(&image);
    effect.SetParam(0x106, &g);
    EXPECT_EQ(RenderPSFunc(&effect), 1);
    EXPECT_EQ(StopPSFunc(&effect), 1);
}

TEST_F(EffectCallbacksTest, GoalStarsStartAtZeroAndStopAtOneOnly)
{
    Effect effect;
    AnimCallbackArgs args;
    args.owner = &effect;
    args.progress = 1;
    FuncOnGoalExpertPSEffect(&args); // stop before any start: nothing to stop
    EXPECT_EQ(effect.GetParam(0x102), nullptr);
    args.progress = 0.5f;
    FuncOnGoalExpertPSEffect(&args);
    EXPECT_EQ(effect.GetParam(0x102), nullptr);
    args.progress = 0;
    FuncOnGoalExpertPSEffect(&args);
    auto* small = static_cast<ParticleSystem*>(effect.GetParam(0x102));
    auto* big = static_cast<ParticleSystem*>(effect.GetParam(0x103));
    ASSERT_NE(small, nullptr);
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(small->GetConfig().imageName, "fx_goal_star_small");
    EXPECT_TRUE(big->IsEmitting());
    args.progress = 1;
    FuncOnGoalExpertPSEffect(&args);
    EXPECT_FALSE(small->IsEmitting());
    EXPECT_FALSE(big->IsEmitting());
    args.progress = 0;
    FuncOnGoalExpertPSEffect(&args);
    EXPECT_EQ(effect.GetParam(0x102), small);
    EXPECT_TRUE(small->IsEmitting());
}

TEST_F(EffectCallbacksTest, ThePlayersTableBuildsOneInactiveTrackWithoutFunctions)
{
    Effect effect;
    BuildEffectFromTable(&effect, 1, kAnimPlayerTracks, kAnimPlayerControlCounts, kAnimPlayerControls);
    AnimTrack* track = effect.GetTrack(1);
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(effect.GetTrack(0), nullptr);
    EXPECT_FLOAT_EQ(track->GetLength(), 0);
    EXPECT_EQ(track->GetDirection(), ANIM_DIR_FORWARD);
    EXPECT_EQ(track->GetType(), ANIM_TYPE_USUAL);
    EXPECT_FALSE(track->IsActive());
    // The three controls exist (each can be switched) and call nothing.
    for (int id = 0; id < 3; ++id)
        EXPECT_TRUE(track->SetControlActive(id, true)) << id;
    EXPECT_FALSE(track->SetControlActive(3, true));
}

TEST_F(EffectCallbacksTest, PlayerCallbacksWriteFrameAndDone)
{
    Effect effect;
    int32_t frame = -1;
    bool done = false;
    AnmSequence sequence{0, 0, 1, 12, 5, 0};
    effect.SetParam(1, &frame);
    effect.SetParam(3, &done);
    AnimCallbackArgs args;
    args.owner = &effect;
    args.progress = 0.5f;
    AnimFrameFromProgress(&args); // no record yet
    EXPECT_EQ(frame, -1);
    effect.SetParam(2, &sequence);
    AnimFrameFromProgress(&args);
    EXPECT_EQ(frame, 2);
    args.progress = 0.25f;
    AnimFrameAndDone(&args);
    EXPECT_EQ(frame, 3);
    EXPECT_TRUE(done);
    done = false;
    AnimSetDoneFlag(&args);
    EXPECT_TRUE(done);
    sequence.frameCount = 0;
    frame = 9;
    AnimFrameFromProgress(&args);
    EXPECT_EQ(frame, 9);
    EXPECT_EQ(AnimNoOp(&args), 1);
    EXPECT_EQ(AnimNoOp2(nullptr), 1);
}
