#pragma once
// The pool of floating money and bonus texts (the object "bonus"). Its parts
// named "cash" show money, those named "bonus" bonus texts; a popup takes the
// first hidden part of its kind, and the part's effect animates and hides it
// again. The first part of each kind is the template: its offset and scale
// point as loaded place every popup of that kind.
#include "game/world/SceneObject.h"

#include <cstdint>
#include <string>

class ItemBonus : public SceneObject {
public:
    enum Kind { KIND_BONUS = 0, KIND_CASH = 1 };

    // Every part becomes a hidden "$" text part, idle.
    void SetActive(bool on) override;
    // The base, then each kind's template placement is kept.
    void Load(const XmlNode& node) override;

    // The first part of that name that is not visible, or null.
    ObjectPart* FindFreePart(const std::string& name) const;
    // A popup beside the anchor: kind 0 shows the text ("on_bonus"), kind 1
    // the amount as "$+25" or "$-25" ("on_cash" or "on_penalty"). Nothing
    // for an amount of 0, a null anchor, another kind or a full pool.
    void ShowPopup(int kind, SceneObject* anchor, int32_t amount, const std::wstring& text);

private:
    struct Template {
        bool found = false;
        Zelk::Point offset;
        Zelk::Point scalePoint;
    };
    Template mTemplates[2];
};
