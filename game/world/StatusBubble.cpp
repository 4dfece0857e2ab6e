#include "game/world/StatusBubble.h"

#include "game/world/NamedObjects.h"
#include "game/world/ObjectPart.h"
#include "game/world/StatusSource.h"

#include <cctype>
#include <cstdio>

namespace {

bool IsShaking(const std::string& word) { return word == "snore" || word == "scandal"; }

void EndAnimation(ObjectPart* part)
{
    if (part)
        part->GetPlayer().End();
}

void Play(ObjectPart* part, const std::string& name, bool keepTime = false)
{
    if (part)
        part->PlayAnimation(name, keepTime);
}

// An order or product word: "0", a digit, anything, a digit.
bool IsOrderWord(const std::string& word)
{
    return word.size() >= 4 && word[0] == '0' && std::isdigit(static_cast<unsigned char>(word[1])) &&
           std::isdigit(static_cast<unsigned char>(word[3]));
}

std::string Hex(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0%X", unsigned(value));
    return text;
}

} // namespace

StatusBubble::StatusBubble() { SetVisibleFlag(false); }

StatusBubble::~StatusBubble() { SetVisibleFlag(false); }

void StatusBubble::Load(const XmlNode& node)
{
    SceneObject::Load(node);
    mSource = FindStatusSource(GetName(), &mSourceObject);
    if (mSourceObject) {
        const Zelk::Point position = mSourceObject->GetPosition();
        SetPosition(position.mX, position.mY);
    }
    mBubble = FindPart("status_bubble", 0);
    mType = FindPart("status_type", 0);
    mProduction[0] = FindPart("status_production", 0);
    mProduction[1] = FindPart("status_production", 1);
    for (ObjectPart* part : {mBubble, mType, mProduction[0], mProduction[1]})
        if (part)
            part->LoadImages();
}

void StatusBubble::SetActive(bool on)
{
    SceneObject::SetActive(on);
    if (on) {
        mLastFlag = false;
        mLastWord.clear();
        SetVisibleFlag(false);
        for (ObjectPart* part : {mBubble, mType, mProduction[0], mProduction[1]})
            EndAnimation(part);
        SetMessageEnabled("product_highlight", false);
    } else {
        if (HasMessage("product_highlight") && IsMessageEnabled("product_highlight")) {
            FireEvent("hide_product_highlight");
            SetMessageEnabled("product_highlight", false);
        }
        if (IsShaking(mLastWord)) {
            FireEvent("shake_stop");
            bool last = false;
            std::string word;
            if (mSource)
                mSource->GetBubbleContent(&last, &word);
            ShowContent(last, word);
        }
    }
    SetVisible(on);
}

void StatusBubble::ApplyLevelState(const XmlNode& node)
{
    SceneObject::ApplyLevelState(node);
    SetVisibleFlag(false);
    SetActive(false);
}

const char* StatusBubble::ShapeFor(bool last, const std::string& word) const
{
    if (NameStartsWith("worker")) {
        if (word == "sleep" || word == "timer")
            return "cloud";
        if (word == "snore")
            return "aggro";
        return "right";
    }
    if (NameStartsWith("client")) {
        if (word == "scandal")
            return "aggro";
        return last ? "right" : "multi_right";
    }
    return "right";
}

void StatusBubble::SetPartsPlacement(int32_t offsetX, int32_t offsetY, int32_t scaleX, int32_t scaleY)
{
    for (ObjectPart* part : {mBubble, mType}) {
        if (!part)
            continue;
        part->SetEffectOffset(offsetX, offsetY);
        part->SetEffectScalePoint(scaleX, scaleY);
    }
}

void StatusBubble::ShowContent(bool last, const std::string& word)
{
    Play(mBubble, ShapeFor(last, word));
    if (IsOrderWord(word)) {
        SetPartsPlacement(0, 0, 0, 0);
        const int a = word[1] - '0';
        const int b = word[3] - '0';
        if (word[1] == '1') {
            Play(mProduction[0], word);
        } else {
            Play(mProduction[0], Hex(0x100 + b));
            Play(mProduction[1], Hex(a * 0x100));
        }
        EndAnimation(mType);
    } else if (word == "timer") {
        SetPartsPlacement(-31, 51, 25, -25);
        float v = 0;
        if (mSource)
            mSource->GetMeterValue(&v);
        const char* suffix = v > 0.8f ? "00" : v > 0.6f ? "01" : v > 0.4f ? "02" : v > 0.2f ? "03" : v > 0 ? "04" : "";
        Play(mType, word + suffix, true);
        EndAnimation(mProduction[0]);
        EndAnimation(mProduction[1]);
    } else {
        SetPartsPlacement(0, 0, 0, 0);
        Play(mType, word);
        EndAnimation(mProduction[0]);
        EndAnimation(mProduction[1]);
    }
    for (ObjectPart* part : {mBubble, mType, mProduction[0], mProduction[1]})
        if (part)
            part->LoadImages();
}

void StatusBubble::Update()
{
    SceneObject::Update();
    // A bubble bound to nothing stays hidden; as tabled, an inactive bubble
    // that is visible does nothing.
    if (!mSource || (!IsActive() && IsVisible()))
        return;
    const bool statusShown = mSource->IsStatusShown();
    bool last = false;
    std::string word;
    if (statusShown != IsActive()) {
        SetActive(statusShown);
        if (statusShown && mSource->GetBubbleContent(&last, &word)) {
            mLastFlag = last;
            ShowContent(last, word);
        }
    }
    word.clear();
    last = mLastFlag;
    if (!mSource->GetBubbleContent(&last, &word)) {
        mLastWord = word;
        return;
    }
    if (IsShaking(mLastWord) && !IsShaking(word)) {
        FireEvent("shake_stop");
        ShowContent(last, word);
    } else if (!IsShaking(mLastWord) && IsShaking(word)) {
        FireEvent("shake_start");
        ShowContent(last, word);
    }
    if (NameStartsWith("client")) {
        const std::string carried = gBoss ? gBoss->GetItem() : std::string();
        if (word != carried) {
            if (HasMessage("product_highlight") && IsMessageEnabled("product_highlight")) {
                FireEvent("hide_product_highlight");
                SetMessageEnabled("product_highlight", false);
            }
        } else if (HasMessage("product_highlight") && !IsMessageEnabled("product_highlight")) {
            SetMessageEnabled("product_highlight", true);
            FireEvent("product_highlight");
        }
    }
    if (statusShown && word == "timer")
        ShowContent(last, word);
    mLastWord = word;
}
