#include "game/effects/ObjectCallbacks.h"

#include "framework/app/Random.h"
#include "framework/graphics/Rect.h"
#include "game/effects/AnimRecords.h"
#include "game/effects/Effect.h"
#include "game/effects/EffectEasing.h"
#include "game/effects/EffectItemList.h"
#include "game/effects/EffectWorld.h"

#include <cmath>

namespace {

constexpr int32_t kParamItems = 0x100;
constexpr int32_t kParamVisible = 0x101;
constexpr float kPi = 3.1415927f;

struct Call {
    float t = 0;
    EffectItemList* list = nullptr;
    bool* visible = nullptr;
};

Call Read(void* argument)
{
    Call call;
    auto* args = static_cast<AnimCallbackArgs*>(argument);
    if (!args || !args->owner)
        return call;
    call.t = args->progress;
    call.list = static_cast<EffectItemList*>(args->owner->GetParam(kParamItems));
    call.visible = static_cast<bool*>(args->owner->GetParam(kParamVisible));
    return call;
}

// The records in use, bounded by the list's room.
int Count(const EffectItemList* list)
{
    if (!list || list->count <= 0)
        return 0;
    return list->count < EffectItemList::kCapacity ? list->count : EffectItemList::kCapacity;
}

template <typename F>
int32_t ForEachItem(void* argument, F f)
{
    Call call = Read(argument);
    int count = Count(call.list);
    for (int i = 0; i < count; ++i)
        f(call.list->items[i], call.t);
    return 1;
}

template <typename F>
int32_t ForFirstItem(void* argument, F f)
{
    Call call = Read(argument);
    if (Count(call.list) >= 1)
        f(call.list->items[0]);
    return 1;
}

void SetScale(EffectItem& item, float value)
{
    if (item.scale)
        *item.scale = value;
}

void SetOpacity(EffectItem& item, float value)
{
    if (item.opacity)
        *item.opacity = value;
}

void SetOffsetY(EffectItem& item, int32_t value)
{
    if (item.offset)
        item.offset[1] = value;
}

void SetShown(EffectItem& item, bool value)
{
    if (item.shown)
        *item.shown = value;
}

void SetFontColors(EffectItem& item, uint32_t font, uint32_t sub)
{
    if (item.fontColor)
        *item.fontColor = font;
    if (item.subFontColor)
        *item.subFontColor = sub;
    SetOpacity(item, 1);
}

// Layout sizes may lie anywhere in the int range: products saturate.
int32_t Trunc(float v) { return Zelk::TruncToInt(v); }

uint32_t Opaque(uint32_t r, uint32_t g, uint32_t b) { return 0xFF000000u | (r << 16) | (g << 8) | b; }

} // namespace

int32_t EffectItemShow(void* argument)
{
    if (bool* visible = Read(argument).visible)
        *visible = true;
    return 1;
}

int32_t EffectItemHide(void* argument)
{
    if (bool* visible = Read(argument).visible)
        *visible = false;
    return 1;
}

int32_t EffectBlinkHP(void* argument)
{
    // Item 1 only: a part's own list has a single record.
    Call call = Read(argument);
    if (Count(call.list) >= 2)
        SetOpacity(call.list->items[1], 0.5f * std::sin(call.t * kPi) + 0.5f);
    return 1;
}

int32_t EffectBlinkHPOff(void* argument)
{
    return ForEachItem(argument, [](EffectItem& item, float) { SetOpacity(item, 1); });
}

int32_t EffectScaleZero(void* argument)
{
    return ForEachItem(argument, [](EffectItem& item, float) { SetScale(item, 0); });
}

int32_t EffectScaleUpRecoil(void* argument)
{
    return ForEachItem(argument, [](EffectItem& item, float t) {
        SetScale(item, ParabolaThrough(0, 0, 0.9f, 1.1f, 1, 1, t));
    });
}

int32_t EffectScalePulse(void* argument)
{
    return ForEachItem(argument, [](EffectItem& item, float t) { SetScale(item, 0.2f * std::sin(t * kPi) + 1); });
}

int32_t EffectScaleDownToOne(void* argument)
{
    return ForEachItem(argument, [](EffectItem& item, float t) { SetScale(item, (1 - t) * 1.5f + 1); });
}

int32_t EffectScaleDown(void* argument)
{
    return ForEachItem(argument, [](EffectItem& item, float t) { SetScale(item, 1 - t); });
}

int32_t EffectFadeIn(void* argument)
{
    return ForEachItem(argument, [](EffectItem& item, float t) { SetOpacity(item, t); });
}

int32_t EffectFadeOut(void* argument)
{
    return ForEachItem(argument, [](EffectItem& item, float t) { SetOpacity(item, 1 - t); });
}

int32_t EffectFadeOne(void* argument)
{
    return ForEachItem(argument, [](EffectItem& item, float) { SetOpacity(item, 1); });
}

int32_t EffectFadeZero(void* argument)
{
    return ForEachItem(argument, [](EffectItem& item, float) { SetOpacity(item, 0); });
}

int32_t EffectJumpUp(void* argument)
{
    return ForEachItem(argument, [](EffectItem& item, float t) { SetOffsetY(item, Trunc(std::sin(t * kPi) * -5)); });
}

int32_t EffectSlideUpAccel(void* argument)
{
    return ForEachItem(argument, [](EffectItem& item, float t) { SetOffsetY(item, Trunc(-t * t * 20)); });
}

int32_t EffectSlideFromBottomDecel(void* argument)
{
    return ForEachItem(argument, [](EffectItem& item, float t) { SetOffsetY(item, Trunc((1 - t) * (1 - t) * 20)); });
}

int32_t EffectShake(void* argument)
{
    return ForEachItem(argument, [](EffectItem& item, float) {
        int32_t x = Trunc(Zelk::RandomFloat(-2, 2));
        int32_t y = Trunc(Zelk::RandomFloat(-2, 2));
        if (item.offset) {
            item.offset[0] = x;
            item.offset[1] = y;
        }
    });
}

int32_t EffectSetCheckmarkScalepoint(void* argument)
{
    return ForFirstItem(argument, [](EffectItem& item) {
        if (item.scalePoint) {
            item.scalePoint[0] = 13;
            item.scalePoint[1] = 15;
        }
    });
}

int32_t EffectSetCashBonusColor(void* argument)
{
    return ForFirstItem(argument, [](EffectItem& item) { SetFontColors(item, 0x5AFF00FFu, 0x000000FFu); });
}

int32_t EffectSetCashPenaltyColor(void* argument)
{
    return ForFirstItem(argument, [](EffectItem& item) { SetFontColors(item, 0xFF0000FFu, 0xFFFFFFFFu); });
}

int32_t EffectSetChainColor(void* argument)
{
    return ForFirstItem(argument, [](EffectItem& item) { SetFontColors(item, 0xFFF7C2FFu, 0x4C1900FFu); });
}

int32_t EffectSetCashPenaltyOffset(void* argument)
{
    return ForEachItem(argument, [](EffectItem& item, float) { SetOffsetY(item, 50); });
}

int32_t UpgradeEffectBlink(void* argument)
{
    Call call = Read(argument);
    float t = call.t;
    float f = 10 * t;
    ForEachItem(argument, [f](EffectItem& item, float t) {
        if (item.checkmark && !*item.checkmark)
            SetShown(item, true);
        if (f - std::floor(f) > 0.3f)
            SetOpacity(item, t + 0.3f < 1 ? t + 0.3f : 1);
        else
            SetOpacity(item, t);
    });
    // A part's own list has no owner flag: it stays alone.
    if (t == 1 && call.list && call.list->ownerActive)
        *call.list->ownerActive = true;
    return 1;
}

uint32_t TableSpecColor(const std::string& code, const std::string& skin)
{
    struct Row {
        const char* code;
        uint32_t six;
        uint32_t other;
    };
    static const Row kRows[] = {
        {"0101", Opaque(218, 124, 124), Opaque(241, 49, 49)},
        {"0102", Opaque(91, 201, 160), Opaque(0, 225, 142)},
        {"0103", Opaque(144, 163, 211), Opaque(84, 123, 222)},
        {"0104", Opaque(189, 133, 163), Opaque(189, 74, 135)},
        {"0105", Opaque(191, 163, 120), Opaque(197, 141, 51)},
        {"0200", Opaque(195, 199, 208), Opaque(194, 209, 209)},
        {"0300", Opaque(195, 199, 208), Opaque(194, 209, 209)},
        {"0400", Opaque(195, 199, 208), Opaque(194, 209, 209)},
    };
    for (const Row& row : kRows)
        if (code == row.code)
            return skin.size() == 6 ? row.six : row.other;
    return 0;
}

int32_t EffectTableSpecColor(void* argument)
{
    Call call = Read(argument);
    EffectWorld* world = GetEffectWorld();
    if (Count(call.list) < 1 || !world)
        return 1;
    std::string tableName, skin, code;
    if (!call.list->items[0].part || !world->GetPartOwner(call.list->items[0].part, tableName, skin))
        return 1;
    // "table" + suffix stands for "worker" + the same suffix (at most three
    // characters, as many as the name has).
    std::string workerName = "worker" + (tableName.size() > 5 ? tableName.substr(5, 3) : std::string());
    if (!world->FindWorkerTransformTo(workerName, code))
        return 1;
    uint32_t tint = TableSpecColor(code, skin);
    ForEachItem(argument, [tint](EffectItem& item, float) {
        if (item.repeatBlock)
            item.repeatBlock[0] = tint;
    });
    return 1;
}

int32_t WindowFadeOut(void* argument)
{
    return ForEachItem(argument, [](EffectItem& item, float t) {
        SetOpacity(item, 1 - t);
        if (t == 1)
            SetShown(item, false);
    });
}

int32_t WindowReset(void* argument)
{
    if (bool* visible = Read(argument).visible)
        *visible = true;
    return ForEachItem(argument, [](EffectItem& item, float) {
        SetShown(item, true);
        SetOpacity(item, 1);
    });
}
