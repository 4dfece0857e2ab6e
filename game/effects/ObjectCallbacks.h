#pragma once
// Track callbacks over an office object's effect: the target list
// (parameter 0x100, an EffectItemList) and the visible flag (0x101, a
// bool). A callback whose parameter is unset does nothing.
#include <cstdint>
#include <string>

int32_t EffectItemShow(void* args);
int32_t EffectItemHide(void* args);
int32_t EffectBlinkHP(void* args);
int32_t EffectBlinkHPOff(void* args);
int32_t EffectScaleZero(void* args);
int32_t EffectScaleUpRecoil(void* args);
int32_t EffectScalePulse(void* args);
int32_t EffectScaleDownToOne(void* args);
int32_t EffectScaleDown(void* args);
int32_t EffectFadeIn(void* args);
int32_t EffectFadeOut(void* args);
int32_t EffectFadeOne(void* args);
int32_t EffectFadeZero(void* args);
int32_t EffectJumpUp(void* args);
int32_t EffectSlideUpAccel(void* args);
int32_t EffectSlideFromBottomDecel(void* args);
int32_t EffectShake(void* args);
int32_t EffectSetCheckmarkScalepoint(void* args);
int32_t EffectSetCashBonusColor(void* args);
int32_t EffectSetCashPenaltyColor(void* args);
int32_t EffectSetChainColor(void* args);
int32_t EffectSetCashPenaltyOffset(void* args);
int32_t UpgradeEffectBlink(void* args);
int32_t EffectTableSpecColor(void* args);
int32_t WindowFadeOut(void* args);
int32_t WindowReset(void* args);

// The tint of a worker's table by the worker's "transform_to" code and the
// table's skin word (a skin of exactly 6 characters has its own column):
// opaque 0xAARRGGBB, 0 for an unknown code.
uint32_t TableSpecColor(const std::string& code, const std::string& skin);
