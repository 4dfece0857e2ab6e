#pragma once
// Specialization: the plate on a table that names its worker's trade: its skin is
// "spec_l<2nd>t<4th>" of the worker's four-character "transform_to" word.
// Clicks on it go to its table (which stands for the worker).
#include "game/world/Pickable.h"

#include <string>

class Worker;

class Specialization : public Pickable {
public:
    // The base, not hovered, the skin from the worker's product word.
    void ApplyLevelState(const XmlNode& node) override;
    // The base, then "worker" and "table" found by name.
    void Load(const XmlNode& node) override;
    // Forwarded to the table.
    bool Interact(SceneObject* other, bool test, int* word) override;
    void OnAnimationEnd(ObjectPart*, const std::string&) override {}
    void ClearHover() { mHovered = false; }

    // "spec_l%st%s" of a four-character word; empty for another length.
    static std::string SkinOf(const std::string& transformTo);
    SceneObject* GetWorkerObject() const { return mWorker; }
    SceneObject* GetTable() const { return mTable; }

private:
    // Those not found yet are looked up by name again.
    void Resolve();

    std::string mWorkerName;
    std::string mTableName;
    SceneObject* mWorker = nullptr;
    SceneObject* mTable = nullptr;
    bool mHovered = false;
};
