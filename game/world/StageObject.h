#pragma once
// One change to the office objects of a name: a new skin and animation
// (empty when not given).
#include <string>

struct StageObject {
    std::string name;
    std::string skin;
    std::string anim;
};
