#pragma once
// Tunable constants in code: write M(value) where a number or text should be
// adjustable while the program runs, e.g. `float speed = M(2.5f);`. The value
// is read from the program until Alt+R (debug keys) re-reads the source file,
// after which the value written in the source at that line is used.
//
// Include this header only where constants are tuned: it defines the macro M.
#include "framework/app/ModValRegistry.h"

#include <cstdint>

namespace Zelk {

inline ModValue* ModValOfSlot(uint8_t* slot)
{
    if (ModValRegistry::SlotIsInactive(slot))
        return ModValRegistry::Get().ActivateSlot(slot);
    return ModValRegistry::SlotValue(slot);
}

inline int ModVal(uint8_t* slot, int compiled)
{
    ModValue* v = ModValOfSlot(slot);
    return v->changed ? v->integer : compiled;
}

inline double ModVal(uint8_t* slot, double compiled)
{
    ModValue* v = ModValOfSlot(slot);
    return v->changed ? v->real : compiled;
}

inline float ModVal(uint8_t* slot, float compiled)
{
    ModValue* v = ModValOfSlot(slot);
    return v->changed ? float(v->real) : compiled;
}

inline const char* ModVal(uint8_t* slot, const char* compiled)
{
    ModValue* v = ModValOfSlot(slot);
    return v->changed ? v->text.c_str() : compiled;
}

} // namespace Zelk

#if UINTPTR_MAX > 0xFFFFFFFFu
#define ZELK_MODVAL_NO_POINTER "\0\0\0\0\0\0\0\0"
#else
#define ZELK_MODVAL_NO_POINTER "\0\0\0\0"
#endif
#define ZELK_MODVAL_TEXT2(x) #x
#define ZELK_MODVAL_TEXT(x) ZELK_MODVAL_TEXT2(x)
// The slot is a writable static array, so activating it needs no change of
// page protection.
#define ZELK_MODVAL_SLOT(a, b)                                                                      \
    ([]() -> uint8_t* {                                                                             \
        static unsigned char slot[] = "\1" ZELK_MODVAL_NO_POINTER "ZELKMODVAL" __FILE__ ZELK_MODVAL_TEXT(a) \
            "," ZELK_MODVAL_TEXT(b);                                                                \
        return slot;                                                                                \
    }())
#define M(value) ::Zelk::ModVal(ZELK_MODVAL_SLOT(__COUNTER__, __LINE__), value)
