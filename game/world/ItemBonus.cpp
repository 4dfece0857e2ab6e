#include "game/world/ItemBonus.h"

#include "framework/graphics/Rect.h"
#include "game/world/ObjectPart.h"

#include <cstdio>

namespace {

const char* const kPartNames[2] = {"bonus", "cash"};

} // namespace

void ItemBonus::SetActive(bool on)
{
    SceneObject::SetActive(on);
    for (ObjectPart* part : GetParts()) {
        part->PlayAnimation("idle", false);
        part->SetText(L"$", 100, 30);
        part->SetShownFlag(false);
    }
}

void ItemBonus::Load(const XmlNode& node)
{
    SceneObject::Load(node);
    for (int kind = 0; kind < 2; ++kind) {
        Template& saved = mTemplates[kind];
        ObjectPart* part = FindPart(kPartNames[kind], 0);
        saved.found = part != nullptr;
        if (part) {
            saved.offset = Zelk::Point{part->GetOffsetX(), part->GetOffsetY()};
            saved.scalePoint = part->GetScalePoint();
        }
    }
}

ObjectPart* ItemBonus::FindFreePart(const std::string& name) const
{
    for (int n = 0;; ++n) {
        ObjectPart* part = FindPart(name, n);
        if (!part || !part->IsVisible())
            return part;
    }
}

void ItemBonus::ShowPopup(int kind, SceneObject* anchor, int32_t amount, const std::wstring& text)
{
    if (amount == 0 || !anchor || (kind != KIND_BONUS && kind != KIND_CASH))
        return;
    ObjectPart* part = FindFreePart(kPartNames[kind]);
    const Template& saved = mTemplates[kind];
    if (!part || !saved.found)
        return;
    const Zelk::Point position = anchor->GetPosition();
    const Zelk::Point offset = anchor->GetOffset();
    part->SetOffset(Zelk::ClampToInt(int64_t(saved.offset.mX) + position.mX + offset.mX),
                    Zelk::ClampToInt(int64_t(saved.offset.mY) + position.mY + offset.mY));
    part->SetScalePoint(saved.scalePoint.mX, saved.scalePoint.mY);
    if (kind == KIND_BONUS) {
        part->SetText(text, 204, 30);
        part->SetShownFlag(true);
        part->FireEvent("on_bonus");
        part->SetShownFlag(true);
        return;
    }
    char money[32];
    std::snprintf(money, sizeof money, amount > 0 ? "$%+i" : "$%-i", int(amount));
    const std::string narrow = money;
    part->SetText(std::wstring(narrow.begin(), narrow.end()), 204, 30);
    part->SetShownFlag(true);
    part->FireEvent(amount > 0 ? "on_cash" : "on_penalty");
    part->SetShownFlag(true);
}
