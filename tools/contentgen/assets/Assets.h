#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The pictures, fonts and sounds of the game's data set, drawn, baked and
// synthesised by the tool itself.
namespace contentgen {

struct OutFile { std::string path; std::vector<uint8_t> bytes; };  // path relative to the game data root, lower case, '\\'-separated, e.g. "images\\hud\\bar.png"
// Every picture whose name and size the inventory fixes, except the dialog panels, the two UI atlases and the pictures of the office (OfficePictures).
std::vector<OutFile> DrawFixedPictures();
// The third splash page with its caption (the base data's and the override archive's).
OutFile DrawVersionPage(const std::string& caption);
// One dialog's background at its size; fullScreen: an 800 x 600 picture with a dimming scrim around a panel of panelWidth x panelHeight at (panelX, panelY).
// What a panel's rim covers inward from each edge of a panel of width x height
// (the yellow rim and its margin): children stay inside it.
int PanelFrame(int width, int height);
// The title rule under a panel's title band, in pixels from the panel's top:
// its first and last row.
int PanelTitleRuleTop(int height);
int PanelTitleRuleBottom(int height);
OutFile DrawPanel(const std::string& layoutName, int width, int height, bool fullScreen, int panelX, int panelY, int panelWidth, int panelHeight,
                  bool titled = true);
// The UI atlases: items packed onto pages of 1024 x 1024 (stem "images\\ui\\buttons" gives buttons0.png, buttons1.png, ...; stem "images\\ui\\widgets" must fit one page and gives widgets.png). kind is a word such as "button", "check", "slider_back", "bar_fill", "bar_empty", "thumb", "scroll_up", "scroll_down", "list_back", "edit_back", "tick", "ring", "mark", "life_full", "life_lost", "hint", "caption", "calendar_mark", "highlight"; state is "normal", "over", "down", "disabled" or "" (check boxes use their six state words).
struct AtlasItem { std::string key; std::string kind; std::string state; int width; int height; };
struct AtlasSpot { int page; int u; int v; };
std::vector<OutFile> DrawAtlas(const std::string& stem, const std::vector<AtlasItem>& items, std::map<std::string, AtlasSpot>& spots);
// Contact sheets for a person to look at: the pictures among files (paths as in
// the data set) read back through the framework's loaders, one sheet per
// folder ("sheet_images_hud.png" ...).
std::vector<OutFile> DrawContactSheets(const std::map<std::string, std::vector<uint8_t>>& files);
// fonts\*.txt with their glyph pictures.
std::vector<OutFile> BakeFonts();
// fonts\tiny.txt with its glyph pictures (the small print of the group "Init"; part of BakeFonts).
std::vector<OutFile> BakeSmallPrint();
// The sounds and the music of cfg\office.xml: the table the office.xml writer reads, and the files.
// group ("ui" or "game") and loop apply to the sounds, not to the music.
struct SoundEntry { std::string name; std::string file; bool music; std::string group; bool loop = false; };
std::vector<SoundEntry> SoundTable();
std::vector<OutFile> SynthesizeSounds();

} // namespace contentgen
