#pragma once
#include "DataSet.h"
#include "XmlWriter.h"
#include "assets/Assets.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace contentgen {

// Builds the widgets of cfg\ui.xml's layouts. State pictures of buttons and
// the small widget pictures are asked for by size while the layouts are
// built; Finish draws the atlases and fills in every texture reference.
class LayoutBuilder {
public:
    // A top-level or nested dialog.
    XmlElement Dialog(const std::string& name, int x, int y, int w, int h);
    // A dialog with its own panel picture (panel_<name>) at its size; a
    // full-screen one has a dimming scrim around the panel rectangle. A panel
    // without a title has no title band.
    XmlElement PanelDialog(const std::string& name, int x, int y, int w, int h, bool titled = true);
    XmlElement ScrimDialog(const std::string& name, int panelX, int panelY, int panelW, int panelH);
    // A button with all four atlas states at its size and the three text
    // layers of the button style.
    XmlElement Button(const std::string& name, int x, int y, int w, int h, const std::string& label);
    // What a text is drawn on: the navy panels and dark pictures, or a light
    // surface (hint bubbles, captions, calendar cells).
    enum class Surface { Dark, Light };
    // Body text colours on each surface; titles, money and HUD fonts carry
    // their own outline and stay white.
    static const char* const kLightText;
    static const char* const kDarkText;
    // A text element; font empty for none.
    XmlElement Text(const std::string& name, int x, int y, int w, int h, const std::string& label = std::string(),
                    const std::string& font = std::string(), Surface surface = Surface::Dark);
    // A text showing a region of the widget atlas.
    XmlElement WidgetPicture(const std::string& name, int x, int y, int w, int h, const std::string& kind);
    // A texture child from the registry at (u, v).
    static XmlElement& Texture(XmlElement& element, const std::string& state, const std::string& id, int u = 0, int v = 0);
    // A texture child from the widget atlas; the region is packed at w x h.
    XmlElement& WidgetTexture(XmlElement& element, const std::string& state, const std::string& kind,
                              const std::string& itemState, int w, int h);
    static XmlElement& TextLayer(XmlElement& element, const std::string& id, const std::string& font,
                                 const std::string& color, const std::string& hcolor = std::string(),
                                 const std::string& dcolor = std::string());
    // The three list/edit layers on the system font.
    static void SystemLayers(XmlElement& element, bool hilite);

    // Draws the atlases into the data set, fills the references and gives
    // the registry's texture elements for the atlas pages.
    std::vector<XmlElement> Finish(std::vector<XmlElement>& layouts, DataSet& data);

    // Records a label set on an element made by hand.
    void UseLabel(const std::string& label) { mLabels.insert(label); }
    // Every label a layout names, for the text check.
    const std::set<std::string>& Labels() const { return mLabels; }
    // Every panel texture made: id -> file.
    const std::map<std::string, std::string>& Panels() const { return mPanels; }

private:
    std::string ButtonKey(int w, int h, const std::string& state);
    void Resolve(XmlElement& element, const std::map<std::string, AtlasSpot>& buttons,
                 const std::map<std::string, AtlasSpot>& widgets) const;

    std::vector<AtlasItem> mButtonItems;
    std::vector<AtlasItem> mWidgetItems;
    std::set<std::string> mItemKeys;
    std::set<std::string> mLabels;
    std::map<std::string, std::string> mPanels;
    DataSet mPanelFiles;
};

} // namespace contentgen
