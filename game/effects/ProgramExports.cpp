// The functions the program exports to its effect files, by name, with the
// form each is called in. The names are the interface of cfg\effect.xml:
// exact and case-sensitive.
#include "game/effects/DialogCallbacks.h"
#include "game/effects/ExportedFunctions.h"
#include "game/effects/ObjectCallbacks.h"
#include "game/effects/ParticleCallbacks.h"

#define TRACK(name) {#name, name, CallForm::Track}
#define MESSAGE(name) {#name, name, CallForm::Message}
#define EITHER(name) {#name, name, CallForm::Either}

const ExportedFunction kProgramExports[] = {
    // Office objects and their parts.
    TRACK(EffectItemShow),
    TRACK(EffectItemHide),
    TRACK(EffectBlinkHP),
    TRACK(EffectBlinkHPOff),
    TRACK(EffectScaleZero),
    TRACK(EffectScaleUpRecoil),
    TRACK(EffectScalePulse),
    TRACK(EffectScaleDownToOne),
    TRACK(EffectScaleDown),
    TRACK(EffectFadeIn),
    TRACK(EffectFadeOut),
    TRACK(EffectFadeOne),
    TRACK(EffectFadeZero),
    TRACK(EffectJumpUp),
    TRACK(EffectSlideUpAccel),
    TRACK(EffectSlideFromBottomDecel),
    TRACK(EffectShake),
    TRACK(EffectSetCheckmarkScalepoint),
    TRACK(EffectSetCashBonusColor),
    TRACK(EffectSetCashPenaltyColor),
    TRACK(EffectSetChainColor),
    TRACK(EffectSetCashPenaltyOffset),
    TRACK(UpgradeEffectBlink),
    TRACK(EffectTableSpecColor),
    TRACK(WindowFadeOut),
    TRACK(WindowReset),
    // UI elements.
    TRACK(DlgShow),
    TRACK(DlgHide),
    TRACK(DlgSetCenterScalePoint),
    TRACK(DlgScaleUpRecoil),
    TRACK(DlgScaleUpEaseOut),
    TRACK(DlgSmallScaleUpAccel),
    TRACK(DlgSmallScaleDownAccel),
    TRACK(DlgBigScaleDownAccel),
    TRACK(DlgFadeIn),
    TRACK(DlgFadeOut),
    TRACK(DlgShiftDown),
    TRACK(DlgShiftDownAccel),
    TRACK(DlgSlideDownAccel),
    TRACK(DlgSlideFromBottomAccel),
    TRACK(DlgSlideRightAccel),
    TRACK(DlgSlideFromRightAccel),
    TRACK(DlgUpgradeBtnBlink),
    // Particle systems.
    TRACK(FuncOnGoalExpertPSEffect),
    MESSAGE(FuncOnWorkerWorkingPSEffect),
    MESSAGE(RenderPSFunc),
    MESSAGE(StopPSFunc),
    // Input.
    EITHER(WidgetsLock),
    EITHER(WidgetsUnlock),
};
const size_t kProgramExportCount = sizeof(kProgramExports) / sizeof(kProgramExports[0]);
