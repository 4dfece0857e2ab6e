#pragma once
// The parameters an office object's or part's effect is given.
#include <cstdint>

enum ObjectEffectParam : int32_t {
    OBJECT_PARAM_ITEMS = 0x100,       // EffectItemList*
    OBJECT_PARAM_VISIBLE = 0x101,     // bool*: the object's visible flag, or the part's shown flag
    OBJECT_PARAM_GRAPHICS = 0x106,    // Zelk::Graphics*, only while the part draws
    OBJECT_PARAM_X = 0x107,           // the part's anchor x + 400, the integer itself
    OBJECT_PARAM_Y = 0x108,           // the part's anchor y + 300, the integer itself
    OBJECT_PARAM_ORIENTATION = 0x109, // std::string*: the part's orientation word
    OBJECT_PARAM_MIRROR = 0x10a,      // bool*: the part's mirror flag
};
