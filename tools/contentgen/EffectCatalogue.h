#pragma once
#include "XmlWriter.h"

#include <string>
#include <vector>

namespace contentgen {

// cfg\effect.xml from the catalogue of UI effects. An effect is written in
// a short notation: a timer is "name type length [backward]: controls",
// a control "P t Function" (a point) or "R a-b Function" (a range); a
// message is "message: command target; command target".
struct EffectSpec {
    std::string name;
    std::vector<std::string> timers;
    std::vector<std::string> messages;
};

// The catalogue of the effects the game's screens use.
const std::vector<EffectSpec>& UiEffects();

// The catalogue of the office's object and part effects (parameters 0x100
// to 0x10a).
const std::vector<EffectSpec>& ObjectEffects();

// One effect element; false with a message naming the effect for a
// malformed timer or message.
bool BuildEffect(const EffectSpec& spec, XmlElement& effect, std::string& error);

// The whole file's root element.
bool BuildEffectFile(XmlElement& root, std::string& error);

} // namespace contentgen
