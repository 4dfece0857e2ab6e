#pragma once
// Track callbacks over a UI element's effect: opacity (parameter 1), offset
// (3), scale (4), scale point (5) and the element (6), as UiElement::Load
// stores them. A callback whose parameter is unset does nothing.
#include <cstdint>

int32_t DlgShow(void* args);
int32_t DlgHide(void* args);
int32_t DlgSetCenterScalePoint(void* args);
int32_t DlgScaleUpRecoil(void* args);
int32_t DlgScaleUpEaseOut(void* args);
int32_t DlgSmallScaleUpAccel(void* args);
int32_t DlgSmallScaleDownAccel(void* args);
int32_t DlgBigScaleDownAccel(void* args);
int32_t DlgFadeIn(void* args);
int32_t DlgFadeOut(void* args);
int32_t DlgShiftDown(void* args);
int32_t DlgShiftDownAccel(void* args);
int32_t DlgSlideDownAccel(void* args);
int32_t DlgSlideFromBottomAccel(void* args);
int32_t DlgSlideRightAccel(void* args);
int32_t DlgSlideFromRightAccel(void* args);
int32_t DlgUpgradeBtnBlink(void* args);

// The game's input blocker on top and shown, or hidden; the argument is not
// looked at, so they serve tracks and messages alike.
int32_t WidgetsLock(void* argument);
int32_t WidgetsUnlock(void* argument);
