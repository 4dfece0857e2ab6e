#include "game/effects/Effect.h"

#include "game/effects/AnimTrack.h"
#include "game/effects/ExportedFunctions.h"
#include "game/effects/ParticleRegistry.h"

Zelk::CriticalSection gEffectLock;

namespace {

int32_t CommandFromWord(const std::string& word)
{
    if (word == "stop")
        return EFFECT_CMD_STOP;
    if (word == "start")
        return EFFECT_CMD_START;
    if (word == "resume")
        return EFFECT_CMD_RESUME;
    if (word == "pause")
        return EFFECT_CMD_PAUSE;
    if (word == "call")
        return EFFECT_CMD_CALL;
    return EFFECT_CMD_NONE;
}

} // namespace

Effect::Effect() = default;

Effect::~Effect()
{
    // The systems started for this effect can be reached through it only.
    if (ParticleRegistry* registry = ParticleRegistry::Active())
        registry->RemoveOwner(this);
    mTracks.clear();
    mMessages.clear();
    mParams.clear();
}

void Effect::Load(const XmlNode& effect)
{
    std::map<std::string, AnimTrack*> timersByName;
    std::vector<XmlNode> nodes;
    effect.Select(L"timers/timer", nodes);
    int32_t id = 0;
    for (const XmlNode& node : nodes) {
        auto track = std::make_unique<AnimTrack>(this);
        track->Load(node);
        std::string name;
        if (XmlGetAttrString(node, L"name", name))
            timersByName[name] = track.get();
        mTracks[id++] = std::move(track);
    }

    nodes.clear();
    effect.Select(L"messages/message", nodes);
    for (const XmlNode& node : nodes) {
        std::string timerId, command, name;
        bool hasTimerId = XmlGetAttrString(node, L"timer_id", timerId);
        XmlGetAttrString(node, L"command", command);
        XmlGetAttrString(node, L"name", name);
        EffectMessage message;
        message.command = CommandFromWord(command);
        if (message.command == EFFECT_CMD_CALL) {
            if (hasTimerId)
                message.function = ExportedFunctions::FindMessageCallback(timerId);
        } else if (hasTimerId) {
            auto it = timersByName.find(timerId);
            if (it != timersByName.end())
                message.track = it->second;
        }
        mMessages[name].push_back(message);
    }
}

bool Effect::AddTrack(int32_t id)
{
    if (mTracks.count(id))
        return false;
    mTracks[id] = std::make_unique<AnimTrack>(this);
    return true;
}

AnimTrack* Effect::GetTrack(int32_t id) const
{
    auto it = mTracks.find(id);
    return it == mTracks.end() ? nullptr : it->second.get();
}

bool Effect::SetParam(int32_t id, void* value)
{
    mParams[id] = value;
    return true;
}

void* Effect::GetParam(int32_t id) const
{
    auto it = mParams.find(id);
    return it == mParams.end() ? nullptr : it->second;
}

bool Effect::SendMessage(std::string_view name)
{
    auto it = mMessages.find(name);
    if (it == mMessages.end())
        return false;
    const MessageList& list = it->second;
    for (size_t i = 0; i < list.size(); ++i) {
        const EffectMessage message = list[i];
        if (!message.enabled)
            continue;
        AnimTrack* track = message.track;
        switch (message.command) {
        case EFFECT_CMD_STOP:
            if (track) {
                track->SetActive(false);
                track->Restart();
            }
            break;
        case EFFECT_CMD_START:
            if (track) {
                track->Restart();
                track->SetActive(true);
            }
            break;
        case EFFECT_CMD_RESUME:
            if (track)
                track->SetActive(true);
            break;
        case EFFECT_CMD_PAUSE:
            if (track)
                track->SetActive(false);
            break;
        case EFFECT_CMD_CALL:
            if (message.function)
                message.function(this);
            break;
        default:
            break;
        }
    }
    Update(0);
    return true;
}

void Effect::Update(float seconds)
{
    Zelk::CritSectGuard guard(gEffectLock);
    for (auto& [id, track] : mTracks) {
        if (!track->IsFinished() && track->IsActive())
            track->Update(double(seconds));
    }
}

bool Effect::HasMessage(std::string_view name) const { return mMessages.find(name) != mMessages.end(); }

void Effect::SetMessageEnabled(std::string_view name, bool enabled)
{
    auto it = mMessages.find(name);
    if (it == mMessages.end())
        return;
    for (EffectMessage& message : it->second)
        message.enabled = enabled;
}

bool Effect::IsMessageEnabled(std::string_view name) const
{
    auto it = mMessages.find(name);
    if (it == mMessages.end())
        return false;
    for (const EffectMessage& message : it->second) {
        if (!message.enabled)
            return false;
    }
    return true;
}

std::vector<std::string> Effect::GetMessageNames() const
{
    std::vector<std::string> names;
    for (const auto& entry : mMessages)
        names.push_back(entry.first);
    return names;
}
