#pragma once
// The targets of an office object's or object part's effect (parameter
// 0x100): the office world fills it, the object callbacks write through it.
#include <cstdint>

class ObjectPart;

// Ten pointers into one object part.
struct EffectItem {
    int32_t* offset = nullptr;     // x, y: the part's effect offset
    float* scale = nullptr;
    int32_t* scalePoint = nullptr; // x, y
    float* opacity = nullptr;      // 0..1
    bool* shown = nullptr;
    bool* checkmark = nullptr;
    uint32_t* fontColor = nullptr;    // packed 0xRRGGBBAA
    uint32_t* subFontColor = nullptr; // packed 0xRRGGBBAA
    uint32_t* repeatBlock = nullptr;  // its first word is the tint, 0xAARRGGBB, 0 = none
    ObjectPart* part = nullptr;
};

struct EffectItemList {
    static constexpr int kCapacity = 16; // an object's list holds at most 15
    int32_t count = 0;
    bool* ownerActive = nullptr; // the owning object's active flag; null in a part's own list
    EffectItem items[kCapacity];
};
