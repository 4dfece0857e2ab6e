#pragma once
// A running scripted effect: timers (AnimTrack) under ids, the targets of its
// callbacks under parameter ids, and named messages that start, stop, pause
// and resume timers or call a function. Update holds gEffectLock, then each
// track takes gAnimTrackLock: always in that order.
#include "framework/app/CriticalSection.h"
#include "game/core/XmlFunctions.h"
#include "game/effects/EffectCallback.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class AnimTrack;

extern Zelk::CriticalSection gEffectLock;

enum EffectCommand : int32_t {
    EFFECT_CMD_NONE = 0,
    EFFECT_CMD_STOP = 1,
    EFFECT_CMD_START = 2,
    EFFECT_CMD_RESUME = 3,
    EFFECT_CMD_PAUSE = 4,
    EFFECT_CMD_CALL = 5,
};

struct EffectMessage {
    AnimTrack* track = nullptr; // not owned; null for "call" and for an unknown timer
    int32_t command = EFFECT_CMD_NONE;
    bool enabled = true;
    EffectCallback function = nullptr; // "call" only
};

class Effect {
public:
    Effect();
    virtual ~Effect();
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    // Fills the tables from an "effect" element.
    void Load(const XmlNode& effect);
    // A new empty track under the id; false when the id is taken.
    bool AddTrack(int32_t id);
    AnimTrack* GetTrack(int32_t id) const;
    bool SetParam(int32_t id, void* value);
    void* GetParam(int32_t id) const;
    // Slots that hold an integer itself rather than a pointer.
    bool SetParamValue(int32_t id, intptr_t value) { return SetParam(id, reinterpret_cast<void*>(value)); }
    intptr_t GetParamValue(int32_t id) const { return reinterpret_cast<intptr_t>(GetParam(id)); }

    // Runs the enabled messages of the name in load order, then Update(0);
    // false (and no update) when no message has the name.
    bool SendMessage(std::string_view name);
    void Update(float seconds);
    bool HasMessage(std::string_view name) const;
    void SetMessageEnabled(std::string_view name, bool enabled);
    bool IsMessageEnabled(std::string_view name) const;
    // The names of the message table, in name order.
    std::vector<std::string> GetMessageNames() const;

private:
    using MessageList = std::vector<EffectMessage>;

    std::map<int32_t, std::unique_ptr<AnimTrack>> mTracks;
    std::map<int32_t, void*> mParams;
    std::map<std::string, MessageList, std::less<>> mMessages;
};
