#include "LayoutRules.h"

#include "XmlRead.h"
#include "assets/Assets.h"

#include <algorithm>

namespace contentgen {

namespace {

struct Box {
    long x = 0, y = 0, w = 0, h = 0;
    long Right() const { return x + w; }
    long Bottom() const { return y + h; }
};

Box Place(const plat::XmlNode& element)
{
    return {Int(Attr(element, L"x"), 0), Int(Attr(element, L"y"), 0), Int(Attr(element, L"width"), 0),
            Int(Attr(element, L"height"), 0)};
}

// The rectangle where a picture is wholly opaque: the panel inside a scrim,
// or the panel picture without its drop shadow.
bool OpaqueBox(const DecodedPicture& picture, Box& box)
{
    long left = picture.width, top = picture.height, right = -1, bottom = -1;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if ((picture.At(x, y) >> 24) == 0xFF) {
                left = std::min<long>(left, x);
                right = std::max<long>(right, x);
                top = std::min<long>(top, y);
                bottom = std::max<long>(bottom, y);
            }
    if (right < 0)
        return false;
    box = {left, top, right - left + 1, bottom - top + 1};
    return true;
}

std::string Text(const Box& b)
{
    return std::to_string(b.w) + " x " + std::to_string(b.h) + " at " + std::to_string(b.x) + "," + std::to_string(b.y);
}

bool HasPanel(const plat::XmlNode& dialog)
{
    for (const plat::XmlNode& texture : Elements(dialog, L"texture"))
        if (Attr(texture, L"id") == "normal" && Attr(texture, L"texture").rfind("panel_", 0) == 0)
            return true;
    return false;
}

// The texts drawn on a dialog's panel, in the dialog's coordinates: its
// children's and theirs, down to dialogs with panels of their own.
void PanelTexts(const plat::XmlNode& dialog, long x, long y, const std::string& path,
                std::vector<std::pair<std::string, Box>>& texts)
{
    for (const plat::XmlNode& child : Elements(dialog, L"element")) {
        if (HasPanel(child))
            continue;
        Box b = Place(child);
        b.x += x;
        b.y += y;
        const std::string childPath = path + "/" + Attr(child, L"name");
        if (Attr(child, L"type") == "quortext" && !Elements(child, L"textattr").empty())
            texts.emplace_back(childPath, b);
        PanelTexts(child, b.x, b.y, childPath, texts);
    }
}

void CheckDialog(const plat::XmlNode& dialog, const std::string& path, const TexturePicture& picture,
                 std::vector<Finding>& findings)
{
    std::string panel;
    for (const plat::XmlNode& texture : Elements(dialog, L"texture"))
        if (Attr(texture, L"id") == "normal" && Attr(texture, L"texture").rfind("panel_", 0) == 0)
            panel = Attr(texture, L"texture");
    const DecodedPicture* pixels = panel.empty() ? nullptr : picture(panel);
    Box opaque;
    if (pixels && OpaqueBox(*pixels, opaque)) {
        // The panel was drawn 3 x 4 pixels larger than its body (its shadow).
        const int frame = PanelFrame(int(opaque.w + 3), int(opaque.h + 4));
        const Box inner{opaque.x + frame, opaque.y + frame, opaque.w - 2 * frame, opaque.h - 2 * frame};
        bool titled = false;
        for (const plat::XmlNode& child : Elements(dialog, L"element")) {
            const Box b = Place(child);
            const std::string name = Attr(child, L"name");
            titled = titled || name == "title";
            if (b.w > 0 && b.h > 0 &&
                (b.x < inner.x || b.y < inner.y || b.Right() > inner.Right() || b.Bottom() > inner.Bottom()))
                findings.push_back({"cfg\\ui.xml", path + "/" + name,
                                    Text(b) + " spills onto the rim of its panel " + panel + ": the inner area is " +
                                        Text(inner)});
        }
        // Under a title, the rule below the band belongs to the title alone.
        const long ruleTop = opaque.y + PanelTitleRuleTop(int(opaque.h + 4));
        const long ruleBottom = opaque.y + PanelTitleRuleBottom(int(opaque.h + 4));
        std::vector<std::pair<std::string, Box>> texts;
        if (titled)
            PanelTexts(dialog, 0, 0, path, texts);
        for (const auto& text : texts)
            if (text.first != path + "/title" && text.second.y <= ruleBottom && text.second.Bottom() > ruleTop)
                findings.push_back({"cfg\\ui.xml", text.first,
                                    Text(text.second) + " crosses the title rule of its panel " + panel + " (rows " +
                                        std::to_string(ruleTop) + " to " + std::to_string(ruleBottom) + ")"});
    }
    for (const plat::XmlNode& child : Elements(dialog, L"element"))
        CheckDialog(child, path + "/" + Attr(child, L"name"), picture, findings);
}

} // namespace

void CheckPanelLayouts(const plat::XmlNode& ui, const TexturePicture& picture, std::vector<Finding>& findings)
{
    for (const plat::XmlNode& layout : Elements(ui, L"element"))
        CheckDialog(layout, Attr(layout, L"name"), picture, findings);
}

} // namespace contentgen
