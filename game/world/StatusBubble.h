#pragma once
// The bubble above a client, worker or the phone: its shape by the source's
// kind and word, the word's picture on the type part, an order or product
// word split over the two production parts, the break timer's picture, a
// shake around "snore" and "scandal", and a highlight while the boss
// carries a client's order. Bound by its own name to its source at load,
// whose position it takes; without a source it stays hidden.
#include "game/world/SceneObject.h"

#include <string>

class StatusSource;

class StatusBubble : public SceneObject {
public:
    StatusBubble();
    ~StatusBubble() override;

    // On: empty content, hidden parts, no highlight. Off: the highlight and
    // the shake end. Shown as switched.
    void SetActive(bool on) override;
    // The base, then hidden and off.
    void ApplyLevelState(const XmlNode& node) override;
    // The base, the source by name, the four parts.
    void Load(const XmlNode& node) override;
    void Update() override;

    // The pictures of the word (flag: the client's last or only order).
    void ShowContent(bool last, const std::string& word);

    StatusSource* GetSource() const { return mSource; }
    SceneObject* GetSourceObject() const { return mSourceObject; }
    const std::string& GetLastWord() const { return mLastWord; }
    ObjectPart* GetBubblePart() const { return mBubble; }
    ObjectPart* GetTypePart() const { return mType; }
    ObjectPart* GetProductionPart(int n) const { return n == 0 ? mProduction[0] : mProduction[1]; }

private:
    // The bubble shape for the word.
    const char* ShapeFor(bool last, const std::string& word) const;
    // The effect offset and scale point of the bubble and type parts; their
    // own offsets from the office file stay.
    void SetPartsPlacement(int32_t offsetX, int32_t offsetY, int32_t scaleX, int32_t scaleY);

    SceneObject* mSourceObject = nullptr;
    StatusSource* mSource = nullptr;
    ObjectPart* mBubble = nullptr;
    ObjectPart* mType = nullptr;
    ObjectPart* mProduction[2] = {nullptr, nullptr};
    bool mLastFlag = false;
    std::string mLastWord;
};
