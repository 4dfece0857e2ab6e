#pragma once
// One office object blinking from its old look to its new one: the skins
// alternate every 0.1 s of day time for 2 s (the timer runs from 1 at half
// speed); an old skin "none" blinks the whole object in instead.
#include <string>

class SceneObject;

struct ObjectBlink {
    SceneObject* object = nullptr;
    std::string oldSkin;
    std::string newSkin;
    float timer = 1.0f;
};
