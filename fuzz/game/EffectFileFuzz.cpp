// Any bytes as cfg\effect.xml: every effect of it is created, sent each of
// its messages and updated 200 times, with callbacks that record, re-enter
// their effect and change their track.
#include "fuzz/resources/FuzzSupport.h"
#include "game/effects/AnimTrack.h"
#include "game/effects/Effect.h"
#include "game/effects/EffectFile.h"
#include "game/effects/ExportedFunctions.h"
#include "platform/clock/NullClock.h"

#include <memory>

namespace {

int gCalls = 0;
int gDepth = 0;

int32_t Count(void*)
{
    ++gCalls;
    return 1;
}

// A track callback that sends its own effect a message (once deep).
int32_t Reenter(void* argument)
{
    auto* args = static_cast<AnimCallbackArgs*>(argument);
    if (args->owner && gDepth == 0) {
        ++gDepth;
        args->owner->SendMessage("again");
        args->owner->Update(0.01f);
        --gDepth;
    }
    return 1;
}

// A track callback that gives track 0 of its effect a new length.
int32_t Relength(void* argument)
{
    auto* args = static_cast<AnimCallbackArgs*>(argument);
    if (args->owner) {
        if (AnimTrack* track = args->owner->GetTrack(0)) {
            AnimTrackParams params;
            params.mask = ANIM_PARAM_LENGTH | ANIM_PARAM_HOLD;
            params.length = args->progress * 0.5f;
            params.active = true;
            track->SetParams(params);
        }
    }
    return 1;
}

// A message callback that sends its effect another message.
int32_t Forward(void* argument)
{
    auto* effect = static_cast<Effect*>(argument);
    if (gDepth == 0) {
        ++gDepth;
        effect->SendMessage("onshow");
        --gDepth;
    }
    return 1;
}

const ExportedFunction kExports[] = {
    {"Count", Count, CallForm::Track},     {"Reenter", Reenter, CallForm::Track},
    {"Relength", Relength, CallForm::Track}, {"Forward", Forward, CallForm::Message},
    {"Any", Count, CallForm::Either},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static plat::NullClock clock{0};
    fuzzsupport::Archive();
    plat::Get().clock = &clock;
    ExportedFunctions::Install(kExports, sizeof(kExports) / sizeof(kExports[0]));

    fuzzsupport::Serve("cfg\\effect.xml", data, size);
    LoadEffectFile();
    std::vector<XmlNode> nodes;
    gEffectsNode.Select(L"effect", nodes);
    for (const XmlNode& node : nodes) {
        std::string name;
        XmlGetAttrString(node, L"name", name);
        std::unique_ptr<Effect> effect(CreateEffect(name));
        if (!effect)
            continue;
        for (const std::string& message : effect->GetMessageNames()) {
            effect->SendMessage(message);
            effect->IsMessageEnabled(message);
        }
        for (int i = 0; i < 200; ++i)
            effect->Update(0.01f);
        for (const std::string& message : effect->GetMessageNames()) {
            effect->SetMessageEnabled(message, false);
            effect->SendMessage(message);
        }
    }
    ReleaseEffectFile();
    return 0;
}
