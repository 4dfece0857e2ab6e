#include "LayoutBuilder.h"

namespace contentgen {

namespace {

// Texture references resolved by Finish.
const char kButtonRef[] = "@buttons:";
const char kWidgetRef[] = "@widgets:";

std::string Path(const std::string& stem) { return "images\\ui\\" + stem; }

XmlElement Element(const std::string& type, const std::string& name, int x, int y, int w, int h)
{
    XmlElement element("element");
    element.Set("type", type).Set("name", name).Set("x", x).Set("y", y).Set("width", w).Set("height", h);
    return element;
}

} // namespace

const char* const LayoutBuilder::kLightText = "FFF4F1E8";
const char* const LayoutBuilder::kDarkText = "FF1E2A3A";

XmlElement LayoutBuilder::Dialog(const std::string& name, int x, int y, int w, int h)
{
    return Element("quordialog", name, x, y, w, h);
}

XmlElement LayoutBuilder::PanelDialog(const std::string& name, int x, int y, int w, int h, bool titled)
{
    XmlElement dialog = Dialog(name, x, y, w, h);
    const std::string id = "panel_" + name;
    OutFile panel = DrawPanel(name, w, h, false, 0, 0, w, h, titled);
    panel.path = Path(id + ".png");
    mPanelFiles.Add(panel);
    mPanels[id] = panel.path;
    Texture(dialog, "normal", id);
    return dialog;
}

XmlElement LayoutBuilder::ScrimDialog(const std::string& name, int panelX, int panelY, int panelW, int panelH)
{
    XmlElement dialog = Dialog(name, 0, 0, 800, 600);
    const std::string id = "panel_" + name;
    OutFile panel = DrawPanel(name, 800, 600, true, panelX, panelY, panelW, panelH);
    panel.path = Path(id + ".png");
    mPanelFiles.Add(panel);
    mPanels[id] = panel.path;
    Texture(dialog, "normal", id);
    return dialog;
}

std::string LayoutBuilder::ButtonKey(int w, int h, const std::string& state)
{
    const std::string key = "button_" + std::to_string(w) + "x" + std::to_string(h) + "_" + state;
    if (mItemKeys.insert(key).second)
        mButtonItems.push_back(AtlasItem{key, "button", state, w, h});
    return key;
}

XmlElement LayoutBuilder::Button(const std::string& name, int x, int y, int w, int h, const std::string& label)
{
    XmlElement button = Element("quorbutton", name, x, y, w, h);
    if (!label.empty()) {
        button.Set("label", label);
        mLabels.insert(label);
    }
    for (const char* state : {"normal", "over", "down", "disabled"})
        Texture(button, state, kButtonRef + ButtonKey(w, h, state));
    TextLayer(button, "normal", "button", "FFFFFFFF", "FFFFE9A6", "FF9AA3AE");
    TextLayer(button, "stroke", "button_outline", "FF10233A", "FF10233A", "FF3A4450");
    TextLayer(button, "shadow", "button_shadow", "80000000");
    return button;
}

XmlElement LayoutBuilder::Text(const std::string& name, int x, int y, int w, int h, const std::string& label,
                               const std::string& font, Surface surface)
{
    XmlElement text = Element("quortext", name, x, y, w, h);
    if (!label.empty()) {
        text.Set("label", label);
        mLabels.insert(label);
    }
    if (!font.empty()) {
        const bool outlined = font == "title" || font == "big";
        const char* colour = outlined ? "FFFFFFFF" : surface == Surface::Light ? kDarkText : kLightText;
        TextLayer(text, "normal", font, colour, std::string(), surface == Surface::Light ? "FF6A707A" : "FF8A8F99");
    }
    return text;
}

XmlElement LayoutBuilder::WidgetPicture(const std::string& name, int x, int y, int w, int h, const std::string& kind)
{
    XmlElement text = Element("quortext", name, x, y, w, h);
    WidgetTexture(text, "normal", kind, "", w, h);
    return text;
}

XmlElement& LayoutBuilder::Texture(XmlElement& element, const std::string& state, const std::string& id, int u, int v)
{
    XmlElement& texture = element.Add("texture");
    texture.Set("id", state).Set("texture", id).Set("u", u).Set("v", v);
    return element;
}

XmlElement& LayoutBuilder::WidgetTexture(XmlElement& element, const std::string& state, const std::string& kind,
                                         const std::string& itemState, int w, int h)
{
    std::string key = kind + "_" + std::to_string(w) + "x" + std::to_string(h);
    if (!itemState.empty())
        key += "_" + itemState;
    if (mItemKeys.insert(key).second)
        mWidgetItems.push_back(AtlasItem{key, kind, itemState, w, h});
    return Texture(element, state, kWidgetRef + key);
}

XmlElement& LayoutBuilder::TextLayer(XmlElement& element, const std::string& id, const std::string& font,
                                     const std::string& color, const std::string& hcolor, const std::string& dcolor)
{
    XmlElement& layer = element.Add("textattr");
    layer.Set("id", id).Set("color", color);
    if (!hcolor.empty())
        layer.Set("hcolor", hcolor);
    if (!dcolor.empty())
        layer.Set("dcolor", dcolor);
    layer.Set("font", font);
    return element;
}

void LayoutBuilder::SystemLayers(XmlElement& element, bool hilite)
{
    TextLayer(element, "normal", "sys", "FF1E2A3A", hilite ? "FFFFFFFF" : "", "FF8A8F99");
    TextLayer(element, "stroke", "sys", "00000000", hilite ? "00000000" : "", "00000000");
    TextLayer(element, "shadow", "sys", "00000000", hilite ? "00000000" : "", "00000000");
}

void LayoutBuilder::Resolve(XmlElement& element, const std::map<std::string, AtlasSpot>& buttons,
                            const std::map<std::string, AtlasSpot>& widgets) const
{
    if (element.name == "texture") {
        const std::string ref = element.Get("texture");
        const bool isButton = ref.rfind(kButtonRef, 0) == 0;
        const bool isWidget = ref.rfind(kWidgetRef, 0) == 0;
        if (isButton || isWidget) {
            const std::string key = ref.substr(isButton ? sizeof kButtonRef - 1 : sizeof kWidgetRef - 1);
            const auto& spots = isButton ? buttons : widgets;
            auto found = spots.find(key);
            const AtlasSpot spot = found == spots.end() ? AtlasSpot{0, 0, 0} : found->second;
            element.Set("texture", isButton ? "ui_buttons" + std::to_string(spot.page) : std::string("ui_widgets"));
            element.Set("u", spot.u).Set("v", spot.v);
        }
    }
    for (XmlElement& child : element.children)
        Resolve(child, buttons, widgets);
}

std::vector<XmlElement> LayoutBuilder::Finish(std::vector<XmlElement>& layouts, DataSet& data)
{
    std::map<std::string, AtlasSpot> buttonSpots;
    std::map<std::string, AtlasSpot> widgetSpots;
    const std::vector<OutFile> buttonPages = DrawAtlas(Path("buttons"), mButtonItems, buttonSpots);
    const std::vector<OutFile> widgetPages = DrawAtlas(Path("widgets"), mWidgetItems, widgetSpots);
    data.AddAll(buttonPages);
    data.AddAll(widgetPages);
    for (const auto& file : mPanelFiles.files)
        data.Add(file.first, file.second);
    for (XmlElement& layout : layouts)
        Resolve(layout, buttonSpots, widgetSpots);

    std::vector<XmlElement> textures;
    for (size_t page = 0; page < buttonPages.size(); ++page)
        textures.push_back(XmlElement("texture")
                               .Set("id", "ui_buttons" + std::to_string(page))
                               .Set("file", Path("buttons" + std::to_string(page) + ".png")));
    textures.push_back(XmlElement("texture").Set("id", "ui_widgets").Set("file", Path("widgets.png")));
    for (const auto& panel : mPanels)
        textures.push_back(XmlElement("texture").Set("id", panel.first).Set("file", panel.second));
    return textures;
}

} // namespace contentgen
