#pragma once
// A shelf that hands out items: its "thing" is its item word, of which a boss
// with empty hands takes a copy (it keeps offering it).
#include "game/world/Pickable.h"

#include <string>

class Shelving : public Pickable {
public:
    // On: its thing as item word, not hovered.
    void SetActive(bool on) override;
    void OnMouseMove(const Zelk::Point& point, bool hit) override;
    // The base and "thing".
    void Load(const XmlNode& node) override;
    // The boss may come; in the perform call "activation" plays.
    bool Interact(SceneObject* other, bool test, int* word) override;
    // After "activation": "hover" or "idle".
    void OnAnimationEnd(ObjectPart* part, const std::string& name) override;

    const std::string& GetThing() const { return mThing; }

private:
    std::string mThing;
    bool mHovered = false;
};
