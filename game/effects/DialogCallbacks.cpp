#include "game/effects/DialogCallbacks.h"

#include "framework/graphics/Rect.h"
#include "game/core/GameApp.h"
#include "game/effects/AnimRecords.h"
#include "game/effects/Effect.h"
#include "game/effects/EffectEasing.h"
#include "game/ui/UiElement.h"

namespace {

struct Call {
    float t = 0;
    Effect* effect = nullptr;
    UiElement* element = nullptr;
    float* opacity = nullptr;
    UiPoint* offset = nullptr;
    float* scale = nullptr;
    UiPoint* scalePoint = nullptr;
};

Call Read(void* argument)
{
    Call call;
    auto* args = static_cast<AnimCallbackArgs*>(argument);
    if (!args || !args->owner)
        return call;
    Effect* e = args->owner;
    call.t = args->progress;
    call.effect = e;
    call.element = static_cast<UiElement*>(e->GetParam(UI_PARAM_ELEMENT));
    call.opacity = static_cast<float*>(e->GetParam(UI_PARAM_OPACITY));
    call.offset = static_cast<UiPoint*>(e->GetParam(UI_PARAM_OFFSET));
    call.scale = static_cast<float*>(e->GetParam(UI_PARAM_SCALE));
    call.scalePoint = static_cast<UiPoint*>(e->GetParam(UI_PARAM_SCALE_POINT));
    return call;
}

// Layout sizes may lie anywhere in the int range: products saturate.
int32_t Trunc(float v) { return Zelk::TruncToInt(v); }

int32_t SetScale(void* argument, float (*f)(float))
{
    Call call = Read(argument);
    if (call.scale)
        *call.scale = f(call.t);
    return 1;
}

int32_t SetOpacity(void* argument, float (*f)(float))
{
    Call call = Read(argument);
    if (call.opacity)
        *call.opacity = f(call.t);
    return 1;
}

// Offset y from t and the element's layout height.
int32_t SetOffsetY(void* argument, float (*f)(float t, float h))
{
    Call call = Read(argument);
    if (call.offset && call.element)
        call.offset->y = Trunc(f(call.t, float(call.element->GetLayoutHeight())));
    return 1;
}

// Offset x from t and the element's layout width.
int32_t SetOffsetX(void* argument, float (*f)(float t, float w))
{
    Call call = Read(argument);
    if (call.offset && call.element)
        call.offset->x = Trunc(f(call.t, float(call.element->GetLayoutWidth())));
    return 1;
}

} // namespace

int32_t DlgShow(void* argument)
{
    if (UiElement* element = Read(argument).element)
        element->SetVisible(true);
    return 1;
}

int32_t DlgHide(void* argument)
{
    if (UiElement* element = Read(argument).element)
        element->SetVisible(false);
    return 1;
}

int32_t DlgSetCenterScalePoint(void* argument)
{
    Call call = Read(argument);
    if (call.scalePoint && call.element) {
        call.scalePoint->x = Zelk::ClampToInt(int64_t(call.element->GetLayoutX()) + call.element->GetLayoutWidth() / 2);
        call.scalePoint->y = Zelk::ClampToInt(int64_t(call.element->GetLayoutY()) + call.element->GetLayoutHeight() / 2);
    }
    return 1;
}

int32_t DlgScaleUpRecoil(void* argument)
{
    return SetScale(argument, [](float t) { return ParabolaThrough(0, 0, 0.85f, 1.05f, 1, 1, t); });
}

int32_t DlgScaleUpEaseOut(void* argument)
{
    return SetScale(argument, [](float t) { return ParabolaThrough(0, 1, 0.5f, 1.8f, 1, 2, t); });
}

int32_t DlgSmallScaleUpAccel(void* argument)
{
    return SetScale(argument, [](float t) { return 1.1f - t * t * 0.1f; });
}

int32_t DlgSmallScaleDownAccel(void* argument)
{
    return SetScale(argument, [](float t) { return 1 - t * t * 0.1f; });
}

int32_t DlgBigScaleDownAccel(void* argument)
{
    return SetScale(argument, [](float t) { return (1 - t * t) * 3 + 1; });
}

int32_t DlgFadeIn(void* argument)
{
    return SetOpacity(argument, [](float t) { return t; });
}

int32_t DlgFadeOut(void* argument)
{
    return SetOpacity(argument, [](float t) { return 1 - t; });
}

int32_t DlgShiftDown(void* argument)
{
    return SetOffsetY(argument, [](float t, float h) { return t * 0.2f * h; });
}

int32_t DlgShiftDownAccel(void* argument)
{
    return SetOffsetY(argument, [](float t, float h) { return t * t * 0.2f * h; });
}

int32_t DlgSlideDownAccel(void* argument)
{
    return SetOffsetY(argument, [](float t, float h) { return t * t * h; });
}

int32_t DlgSlideFromBottomAccel(void* argument)
{
    return SetOffsetY(argument, [](float t, float h) { return (1 - t) * (1 - t) * h; });
}

int32_t DlgSlideRightAccel(void* argument)
{
    return SetOffsetX(argument, [](float t, float w) { return t * t * w; });
}

int32_t DlgSlideFromRightAccel(void* argument)
{
    return SetOffsetX(argument, [](float t, float w) { return (1 - t) * (1 - t) * w; });
}

int32_t DlgUpgradeBtnBlink(void* argument)
{
    Call call = Read(argument);
    if (!call.opacity || !call.element)
        return 1;
    float t = call.t;
    float value = 1;
    if (!call.element->mIsOver) {
        if (t > 0 && t <= 0.2f)
            value = 1 - t / 0.2f;
        else if (t > 0.3f && t <= 0.5f)
            value = 1 - (t - 0.3f) / 0.2f;
    }
    *call.opacity = value;
    return 1;
}

int32_t WidgetsLock(void*)
{
    if (GameApp* app = GetGameApp())
        app->LockWidgets();
    return 1;
}

int32_t WidgetsUnlock(void*)
{
    if (GameApp* app = GetGameApp())
        app->UnlockWidgets();
    return 1;
}
