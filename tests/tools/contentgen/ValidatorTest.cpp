#include "DataSet.h"
#include "GeneratedData.h"
#include "assets/ImageFiles.h"
#include "Generator.h"
#include "Validator.h"
#include "XmlWriter.h"
#include "assets/Assets.h"
#include "synth/SoundFiles.h"
#include "tools/makeanm/AnmText.h"
#include "tools/makeanm/AnmWriter.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using contentgen::DataSet;
using contentgen::Finding;

void Replace(std::string& text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

// An animation file from makeanm's text.
std::vector<uint8_t> Anm(const std::string& text)
{
    makeanm::AnmFile file;
    std::string error;
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(makeanm::ParseAnmText(text, file, error)) << error;
    EXPECT_TRUE(makeanm::WriteAnm(file, bytes, error)) << error;
    return bytes;
}

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::vector<uint8_t> Utf16Xml(const std::string& text)
{
    std::vector<uint8_t> bytes = {0xFF, 0xFE};
    const std::vector<uint8_t> body = contentgen::Utf8ToUtf16LE(text);
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

// A small data set that obeys every rule: one text, one effect, one
// texture, a layout with a button, an edit field and a list.
struct SmallSet {
    std::string loc = "<root><loc id=\"title\" text=\"Title\"/><loc id=\"ok\" text=\"OK\"/></root>";
    std::string effect =
        "<effects><effect name=\"fade\"><timers>"
        "<timer name=\"show\" type=\"usual\" ftime=\"0.2\" direction=\"forward\">"
        "<control id=\"0\" starttime=\"0\" endtime=\"0\" function=\"DlgShow\" type=\"point\" active=\"true\"/></timer>"
        "<timer name=\"hide\" type=\"usual\" ftime=\"0.2\" direction=\"forward\">"
        "<control id=\"0\" starttime=\"0.2\" endtime=\"0.2\" function=\"DlgHide\" type=\"point\" active=\"true\"/></timer>"
        "</timers><messages>"
        "<message name=\"onshow\" command=\"start\" timer_id=\"show\"/>"
        "<message name=\"onhide\" command=\"start\" timer_id=\"hide\"/>"
        "</messages></effect></effects>";
    std::string textureLine = "<texture id=\"panel\" file=\"images\\ui\\panel.png\"/>";
    std::string colour = "FFFFFFFF";
    std::string buttonName = "ok";
    std::string editLayers =
        "<textattr id=\"normal\" color=\"FFF4F1E8\" font=\"sys\"/><textattr id=\"stroke\" color=\"00000000\" font=\"sys\"/>"
        "<textattr id=\"shadow\" color=\"00000000\" font=\"sys\"/>";
    std::string effectName = "fade";
    std::vector<uint8_t> panel = contentgen::EncodePng(contentgen::Picture(100, 100, 0xFF2B3A55));
    // Files beside the layouts: pictures of every kind the game reads, a
    // sound, a font with its picture; a case may replace any of them.
    std::map<std::string, std::vector<uint8_t>> media = {
        {"images\\ui\\photo.jpg", contentgen::EncodeJpeg(contentgen::Picture(8, 8, 0xFF806040))},
        {"images\\ui\\help.jp2", contentgen::EncodeJp2(contentgen::Picture(8, 8, 0xFF806040))},
        {"images\\ui\\icon.gif", contentgen::EncodeGif(contentgen::Picture(8, 8, 0xFF806040))},
        {"images\\ui\\mark.tga", contentgen::EncodeTga(contentgen::Picture(8, 8, 0xFF806040))},
        {"sounds\\click.wav", contentgen::EncodeWave(contentgen::Pcm(1, 0.05))},
        {"fonts\\tiny.txt", contentgen::Utf8ToUtf16LE("Define Chars (\"a\");\nCreateLayer MAIN;\n"
                                                       "LayerSetImage MAIN 'tiny.png';\nLayerSetImageMap MAIN Chars Rects;\n")},
        {"fonts\\tiny.png", contentgen::EncodePng(contentgen::Picture(8, 8, 0xFFFFFFFF))},
    };
    // More registry entries and layouts under "root".
    std::string extraRegistry;
    std::string extraLayouts;
    // A part's animations (makeanm's text) over an 8 x 4 picture; odd values
    // on top of the text, when set, are written as given.
    std::string anm = "animation images\\anm\\p.png pidle 4 cycle 4\n"
                      "frame 0 0 4 4 0 -4\n"
                      "frame 4 0 4 4 0 -4\n"
                      "animation images\\anm\\p.png pidle_long 4 once 8\n"
                      "frame 0 0 4 4 0 -4\n"
                      "frame 4 0 4 4 0 -4\n"
                      "animation images\\anm\\p.png pstill 4 cycle 0\n"
                      "frame 0 0 4 4 0 -4\n";
    std::function<void(makeanm::AnmFile&)> oddAnm;
    // A small office: anchor, window, phone, a shelf, three workers, a desk,
    // a door; the boss's graph reaches the desk only through the levels'
    // edge. Day 1 and a survival file of two stages use it.
    std::string effects =
        "<effect name=\"add_fx\"><timers><timer name=\"add\" type=\"usual\" ftime=\"1.0\" direction=\"forward\">"
        "<control id=\"0\" starttime=\"0\" endtime=\"1.0\" function=\"UpgradeEffectBlink\" type=\"range\" active=\"true\"/>"
        "</timer></timers><messages><message name=\"add_object\" command=\"start\" timer_id=\"add\"/></messages></effect>";
    std::string office =
        "<object class=\"item\" name=\"anchor\"><part name=\"anchor\" order0_x=\"0\" order0_y=\"45\" order1_x=\"400\""
        " order1_y=\"45\" order2_x=\"799\" order2_y=\"45\"/></object>"
        "<object class=\"item\" name=\"window\"><part name=\"window\" order0_x=\"20\" order0_y=\"150\" order1_x=\"75\""
        " order1_y=\"150\" order2_x=\"130\" order2_y=\"150\"/><part name=\"window_day\" parent_z=\"window:window\"/></object>"
        "<object class=\"item\" name=\"phone\"><part name=\"phone\" parent_z=\"window:window\"/></object>"
        "<object class=\"shelving\" name=\"shelving01\" thing=\"paper\" effect=\"add_fx\"><part name=\"shelving\""
        " order0_x=\"150\" order0_y=\"152\" order1_x=\"175\" order1_y=\"152\" order2_x=\"200\" order2_y=\"152\"/>"
        "<point owner=\"boss\" direction=\"t\" offs_x=\"175\" offs_y=\"172\"/></object>"
        "<object class=\"worker\" name=\"worker01a\"/><object class=\"worker\" name=\"worker02a\"/>"
        "<object class=\"worker\" name=\"worker03a\"/>"
        "<object class=\"pickable\" name=\"table01a\"><part name=\"table\" order0_x=\"250\" order0_y=\"265\""
        " order1_x=\"300\" order1_y=\"265\" order2_x=\"350\" order2_y=\"265\"/>"
        "<point owner=\"boss\" direction=\"t\" offs_x=\"300\" offs_y=\"285\"/></object>"
        "<object class=\"boss\" name=\"boss\"/><object class=\"engineer\" name=\"engineer\"/>"
        "<object class=\"door\" name=\"door03\" type=\"manual\"><target object=\"engineer\"/></object>";
    std::string bossGraph =
        "<graph name=\"boss\"><points><point name=\"boss_home\" x=\"400\" y=\"500\"/><point name=\"aisle\" x=\"175\""
        " y=\"300\"/></points><edges><edge p1=\"boss_home\" p2=\"aisle\"/><edge p1=\"aisle\" p2=\"shelving01\"/></edges></graph>";
    std::string dayGraph = "<graphs><graph name=\"boss\"><edges><edge p1=\"aisle\" p2=\"table01a\"/></edges></graph></graphs>";
    std::string levelObjects =
        "<object name=\"window\" anim=\"idle\"/><object name=\"phone\"/>"
        "<object name=\"shelving01\" skin=\"paper\" anim=\"idle\"/><object name=\"table01a\" skin=\"plain\" anim=\"idle\"/>"
        "<object name=\"worker01a\" skin=\"w3\" transform_from=\"paper\" transform_to=\"0101\"/>"
        "<object name=\"worker03a\" skin=\"w4\" transform_from=\"paper\" transform_to=\"0102\"/>";
    std::string day =
        "<time_point time=\"1\" event=\"student\" vip=\"0\"><orders><order name=\"0101\"/></orders></time_point>"
        "<time_point time=\"9.5\" event=\"vip\" vip=\"1\" window_event=\"window_morning\">"
        "<orders><order name=\"0201\"/><order name=\"0102\"/></orders></time_point>";
    std::string stageWorker = "<object name=\"worker02a\" skin=\"w1\" transform_from=\"0100\" transform_to=\"0200\"/>";
    std::string survivalWorker =
        "<object name=\"worker02a\" skin=\"w1\" transform_from=\"0100\" transform_to=\"0200\" stop=\"true\"/>";
    std::string firstStage =
        "<stage money=\"0\"><clients name=\"student\" vip=\"0\" client_time_spawn_min=\"9\" client_time_spawn_max=\"13\""
        " probability_spawn=\"3\" probability_ext_order=\"0\" probability_multi_order=\"0.05\" order_template=\"easy\"/></stage>";
    std::string secondStage =
        "<stage money=\"200\" window_event=\"window_morning\"><object name=\"worker02a\"/>"
        "<clients name=\"vip\" vip=\"1\" client_time_spawn_min=\"20\" client_time_spawn_max=\"30\" probability_spawn=\"0.5\""
        " probability_ext_order=\"0\" probability_multi_order=\"0\" order_template=\"two_step\"/></stage>";
    std::string templates =
        "<order_template template=\"easy\"><order_list probability=\"1\"><orders probability=\"1\" order=\"0101\"/>"
        "</order_list><order_list probability=\"1\"><orders probability=\"2\" order=\"0101\"/>"
        "<orders probability=\"1\" order=\"0102\"/></order_list></order_template>"
        "<order_template template=\"two_step\"><order_list probability=\"1\"><orders probability=\"1\" order=\"0102\"/>"
        "</order_list><order_list probability=\"1\"><orders probability=\"1\" order=\"0201\"/>"
        "<orders probability=\"1\" order=\"0202\"/></order_list></order_template>";

    DataSet Build() const
    {
        const std::string ui =
            "<root>" + textureLine + extraRegistry +
            "<font name=\"sys\" type=\"System\" face=\"Arial\" size=\"12\"/>"
            "<element type=\"quordialog\" name=\"box\" x=\"0\" y=\"0\" width=\"100\" height=\"100\" effect=\"" + effectName + "\">"
            "<texture id=\"normal\" texture=\"panel\" u=\"0\" v=\"0\"/>"
            "<element type=\"quorbutton\" name=\"" + buttonName + "\" x=\"0\" y=\"0\" width=\"10\" height=\"10\" label=\"ok\">"
            "<textattr id=\"normal\" color=\"" + colour + "\" font=\"sys\"/></element>"
            "<element type=\"quoredit\" name=\"name\" x=\"0\" y=\"0\" width=\"10\" height=\"10\" hilite_color=\"A04A90E2\">" +
            editLayers + "</element>"
            "</element>" + extraLayouts + "</root>";
        DataSet data;
        data.Add("cfg\\loc.xml", Utf16Xml(loc));
        std::string effectFile = effect;
        effectFile.insert(effectFile.rfind("</effects>"), effects);
        data.Add("cfg\\effect.xml", Utf16Xml(effectFile));
        data.Add("cfg\\ui.xml", Utf16Xml(ui));
        data.Add("cfg\\office.xml", Utf16Xml("<office><music/><sounds/><params/><objects>" + office + "</objects><graphs>" +
                                             bossGraph + "</graphs></office>"));
        data.Add("cfg\\l1.xml", Utf16Xml("<level><params normal=\"1\" expert=\"2\"/><objects>" + levelObjects + stageWorker +
                                         "</objects><events_queue><clients_timeline>" + day +
                                         "</clients_timeline></events_queue>" + dayGraph + "</level>"));
        data.Add("cfg\\endless1.xml", Utf16Xml("<level><params normal=\"0\" expert=\"0\"/><objects>" + levelObjects +
                                               survivalWorker + "</objects><stages>" + firstStage + secondStage +
                                               "</stages>" + templates + dayGraph + "</level>"));
        data.Add("properties\\resources.xml", Utf16Xml("<ResourceManifest/>"));
        data.Add("images\\ui\\panel.png", panel);
        for (const auto& file : media)
            data.Add(file.first, file.second);
        data.Add("images\\anm\\p.png", contentgen::EncodePng(contentgen::Picture(8, 4, 0xFF3A6EA5)));
        makeanm::AnmFile file;
        std::string error;
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(makeanm::ParseAnmText(anm, file, error)) << error;
        if (oddAnm)
            oddAnm(file);
        EXPECT_TRUE(oddAnm ? makeanm::WriteOddAnm(file, bytes, error) : makeanm::WriteAnm(file, bytes, error)) << error;
        data.Add("anm\\p.anm", bytes);
        return data;
    }
};

std::string Describe(const std::vector<Finding>& findings)
{
    std::string text;
    for (const Finding& finding : findings)
        text += finding.Text() + "\n";
    return text;
}

TEST(ContentValidator, TheSmallSetPasses)
{
    const std::vector<Finding> findings = contentgen::Validate(SmallSet().Build(), false);
    EXPECT_TRUE(findings.empty()) << Describe(findings);
}

// Each case breaks one rule; the finding names the file and the id.
TEST(ContentValidator, RefusesEachBrokenRuleNamingFileAndId)
{
    struct Case {
        const char* what;
        std::function<void(SmallSet&)> breakIt;
        const char* file;
        std::string id;
        const char* message = "";  // a part of the finding's text
    };
    const std::vector<Case> cases = {
        {"texture without file", [](SmallSet& s) { s.textureLine = "<texture id=\"panel\"/>"; }, "cfg\\ui.xml", "panel"},
        {"picture not in the data", [](SmallSet& s) { s.textureLine = "<texture id=\"panel\" file=\"images\\ui\\gone.png\"/>"; },
         "cfg\\ui.xml", "panel"},
        {"six-digit colour", [](SmallSet& s) { s.colour = "FFFFFF"; }, "cfg\\ui.xml", "ok"},
        {"UI effect without onhide",
         [](SmallSet& s) { s.effect.replace(s.effect.find("<message name=\"onhide\""), 56, ""); }, "cfg\\effect.xml", "fade"},
        {"unknown callback name",
         [](SmallSet& s) { s.effect.replace(s.effect.find("DlgHide"), 7, "DlgVanish"); }, "cfg\\effect.xml", "fade"},
        {"quote in a name", [](SmallSet& s) { s.buttonName = "o&quot;k"; }, "cfg\\ui.xml", "o\"k"},
        {"edit field without fonts", [](SmallSet& s) { s.editLayers = "<textattr id=\"normal\" color=\"FF000000\" font=\"sys\"/>"; },
         "cfg\\ui.xml", "box/name"},
        {"missing effect", [](SmallSet& s) { s.effectName = "zoom"; }, "cfg\\ui.xml", "box"},
        {"region larger than its picture", [](SmallSet& s) { s.panel = contentgen::EncodePng(contentgen::Picture(4, 100, 0xFF000000)); }, "cfg\\ui.xml", "box"},
        {"label without text", [](SmallSet& s) { s.loc = "<root><loc id=\"title\" text=\"Title\"/><loc id=\"ok\" text=\"\"/></root>"; },
         "cfg\\loc.xml", "ok"},
        // Every picture, sound and font picture decodes with the game's readers.
        {"text file named .png", [](SmallSet& s) { s.media["images\\ui\\icon.png"] = Bytes("just some notes\n"); },
         "images\\ui\\icon.png", "(file)", "does not decode: it does not start as a PNG file"},
        {"empty .jp2", [](SmallSet& s) { s.media["images\\ui\\help.jp2"].clear(); }, "images\\ui\\help.jp2", "(file)",
         "does not decode: the file is empty"},
        {"PNG with a scrambled body",
         [](SmallSet& s) {
             for (size_t i = 40; i < s.panel.size(); ++i)
                 s.panel[i] ^= 0x5A;
         },
         "images\\ui\\panel.png", "(file)", "does not decode: the image library's PNG reader does not decode it"},
        {"garbage JPEG-2000", [](SmallSet& s) { s.media["images\\ui\\help.jp2"].resize(24); }, "images\\ui\\help.jp2",
         "(file)", "JPEG-2000 reader does not decode it"},
        {"garbage WAV", [](SmallSet& s) { s.media["sounds\\click.wav"] = Bytes("RIFF....WAVEjunkjunkjunk"); }, "sounds\\click.wav",
         "(file)", "does not decode: the wave reader refuses its header"},
        {"empty .ogg", [](SmallSet& s) { s.media["music\\theme.ogg"] = {}; }, "music\\theme.ogg", "(file)",
         "does not decode: the file is empty"},
        {"garbage .ogg", [](SmallSet& s) { s.media["music\\theme.ogg"] = Bytes("OggS and then nothing of a stream"); },
         "music\\theme.ogg", "(file)", "does not decode: the Ogg decoder refuses it"},
        {"garbage font picture", [](SmallSet& s) { s.media["fonts\\tiny.png"] = Bytes("\x89PNG\r\n\x1a\ngarbage"); },
         "fonts\\tiny.png", "(file)", "the image library's PNG reader does not decode it"},
        {"font picture missing", [](SmallSet& s) { s.media.erase("fonts\\tiny.png"); }, "fonts\\tiny.txt", "tiny.png",
         "the font's layer picture is not in the data"},
        // The office's drawing order, doors and effects.
        {"crossing base lines", [](SmallSet& s) { Replace(s.office, "order0_y=\"150\" order1_x=\"75\"", "order0_y=\"30\" order1_x=\"75\""); },
         "cfg\\office.xml", "anchor", "part anchor: its base line crosses that of window:window"},
        {"parent_z naming no part", [](SmallSet& s) { Replace(s.office, "parent_z=\"window:window\"/></object>", "parent_z=\"window:glass\"/></object>"); },
         "cfg\\office.xml", "window", "part window_day: parent_z window:glass names no part of the office"},
        {"parent_z naming a parented part", [](SmallSet& s) { Replace(s.office, "name=\"phone\" parent_z=\"window:window\"", "name=\"phone\" parent_z=\"window:window_day\""); },
         "cfg\\office.xml", "phone", "part phone: parent_z window:window_day names a part with a parent_z of its own"},
        {"door target that is no walker", [](SmallSet& s) { Replace(s.office, "<target object=\"engineer\"/>", "<target object=\"phone\"/>"); },
         "cfg\\office.xml", "door03", "the door's target phone is not a walker"},
        {"UpgradeEffectBlink on a part", [](SmallSet& s) { Replace(s.office, "<part name=\"shelving\"", "<part name=\"shelving\" effect=\"add_fx\""); },
         "cfg\\office.xml", "shelving01", "part shelving binds the effect add_fx, which calls UpgradeEffectBlink"},
        // Career days.
        {"an order no worker can make", [](SmallSet& s) { Replace(s.day, "<order name=\"0102\"/>", "<order name=\"0103\"/>"); },
         "cfg\\l1.xml", "0103", "the client of time_point 9.5 orders it, and no worker present then can make it"},
        {"an order of a stage no worker makes", [](SmallSet& s) { Replace(s.day, "<order name=\"0201\"/>", "<order name=\"0301\"/>"); },
         "cfg\\l1.xml", "0301", "no worker present then can make it"},
        {"an order without its shelf", [](SmallSet& s) { Replace(s.levelObjects, "<object name=\"shelving01\" skin=\"paper\" anim=\"idle\"/>", ""); },
         "cfg\\l1.xml", "0101", "no worker present then can make it"},
        {"a VIP without the phone", [](SmallSet& s) { Replace(s.levelObjects, "<object name=\"phone\"/>", ""); },
         "cfg\\l1.xml", "time_point 9.5", "a VIP comes where there is no phone"},
        {"a window event without the window", [](SmallSet& s) { Replace(s.levelObjects, "<object name=\"window\" anim=\"idle\"/>", ""); },
         "cfg\\l1.xml", "time_point 9.5", "a window event where there is no window"},
        {"an approach point the day's graph cannot reach", [](SmallSet& s) { Replace(s.dayGraph, "p2=\"table01a\"", "p2=\"shelving01\""); },
         "cfg\\l1.xml", "boss", "cannot reach table01a from boss_home in the day's walk graph"},
        // Survival files.
        {"a second order list of one word", [](SmallSet& s) { Replace(s.templates, "order=\"0102\"/></order_list>", "order=\"0101\"/></order_list>"); },
         "cfg\\endless1.xml", "easy", "the second order list can run out"},
        {"a survival file of one stage", [](SmallSet& s) { s.secondStage.clear(); }, "cfg\\endless1.xml", "stages",
         "a survival file needs at least two stages, not 1"},
        {"thresholds that do not rise", [](SmallSet& s) { Replace(s.secondStage, "money=\"200\"", "money=\"0\""); },
         "cfg\\endless1.xml", "stage 2", "thresholds must rise"},
        {"a client template without an attribute", [](SmallSet& s) { Replace(s.firstStage, " probability_spawn=\"3\"", ""); },
         "cfg\\endless1.xml", "stage 1", "client template student lacks probability_spawn"},
        {"a template before its stage's worker arrives", [](SmallSet& s) { Replace(s.firstStage, "\"easy\"", "\"two_step\""); },
         "cfg\\endless1.xml", "0201", "template two_step at stage 1 orders it, and no worker present then can make it"},
        {"extended orders without later stages", [](SmallSet& s) { Replace(s.secondStage, "probability_ext_order=\"0\"", "probability_ext_order=\"1\""); },
         "cfg\\endless1.xml", "stage 2", "extended orders of vip need a worker for stage 3 of variant 1"},
        {"a VIP stage without the phone", [](SmallSet& s) { s.levelObjects = s.levelObjects.replace(s.levelObjects.find("<object name=\"phone\"/>"), 22, "<object name=\"phone\" stop=\"true\"/>"); s.day.clear(); },
         "cfg\\endless1.xml", "stage 2", "a VIP comes where there is no phone"},
        // Animations the game waits on.
        {"a once-animation of one frame", [](SmallSet& s) { Replace(s.anm, "pidle_long 4 once 8\nframe 0 0 4 4 0 -4\n", "pidle_long 4 once 8\n"); },
         "anm\\p.anm", "pidle_long", "a once-animation of one frame: the game never sees it end"},
        {"a cycle the game waits to end",
         [](SmallSet& s) { s.media["anm\\door.anm"] = Anm("animation images\\anm\\p.png dooropen 4 cycle 10\nframe 0 0 4 4 0 -4\nframe 4 0 4 4 0 -4\n"); },
         "anm\\door.anm", "dooropen", "the game waits for this animation to end, and a cycle never ends"},
        {"a still in a part stopped at frames", [](SmallSet& s) { s.media["anm\\worker_up.anm"] = Anm("animation images\\anm\\p.png w1bridle 4 cycle 0\nframe 0 0 4 4 0 -4\n"); },
         "anm\\worker_up.anm", "w1bridle", "fps 0: its object stops every part at a frame"},
        // Animation files: the player's rules.
        {"frame outside its picture", [](SmallSet& s) { s.anm.replace(s.anm.find("frame 4 0 4 4"), 13, "frame 5 0 4 4"); },
         "anm\\p.anm", "pidle", "frame 1 (4 x 4 at 5,0) does not lie inside its picture images\\anm\\p.png, which is 8 x 4"},
        {"frame of no size", [](SmallSet& s) { s.anm.replace(s.anm.find("frame 4 0 4 4"), 13, "frame 4 0 0 4"); },
         "anm\\p.anm", "pidle", "frame 1 (0 x 4 at 4,0) does not lie inside"},
        {"picture not in the data", [](SmallSet& s) { s.anm.replace(s.anm.find("p.png"), 5, "q.png"); }, "anm\\p.anm", "pidle",
         "its picture images\\anm\\q.png is not in the data"},
        {"picture outside the game's folder", [](SmallSet& s) { s.anm.replace(s.anm.find("images"), 6, "..\\images"); },
         "anm\\p.anm", "pidle", "does not name a file below the game's folder"},
        {"mode 2 (backward)", [](SmallSet& s) { s.anm.replace(s.anm.find("once"), 4, "backward"); }, "anm\\p.anm",
         "pidle_long", "mode 2: only 0 (cycle) and 1 (once)"},
        {"mode 3", [](SmallSet& s) { s.anm.replace(s.anm.find("once"), 4, "3"); }, "anm\\p.anm", "pidle_long",
         "mode 3: only 0 (cycle) and 1 (once)"},
        {"fps 0", [](SmallSet& s) { s.anm.replace(s.anm.find("cycle 4"), 7, "cycle 0"); }, "anm\\p.anm", "pidle",
         "fps 0: must be above 0"},
        {"no frames", [](SmallSet& s) { s.anm = "animation images\\anm\\p.png pidle 4 cycle 4\n"; },
         "anm\\p.anm", "pidle", "has no frames"},
        {"animation name without a NUL",
         [](SmallSet& s) { s.oddAnm = [](makeanm::AnmFile& f) { f.animations[1].name = std::string(64, 'p'); }; },
         "anm\\p.anm", std::string(64, 'p'), "an animation name is 1 to 63 bytes: it has no NUL within 64"},
        {"image file name without a NUL",
         [](SmallSet& s) {
             s.oddAnm = [](makeanm::AnmFile& f) { f.animations[0].image = "images\\anm\\" + std::string(49, 'p') + ".png"; };
         },
         "anm\\p.anm", "pidle", "an image file name is 1 to 63 bytes"},
        {"empty animation name", [](SmallSet& s) { s.oddAnm = [](makeanm::AnmFile& f) { f.animations[0].name.clear(); }; },
         "anm\\p.anm", "record 1", "an animation name is 1 to 63 bytes: it is empty"},
        {"a record its name never finds", [](SmallSet& s) { s.anm.replace(s.anm.find("pidle "), 6, "pidle_long_a "); },
         "anm\\p.anm", "pidle_long", "is never found by its name: record 1 (pidle_long_a) contains it"},
        {"records outside the file", [](SmallSet& s) { s.oddAnm = [](makeanm::AnmFile& f) { f.count = int(f.animations.size()) + 1; }; }, "anm\\p.anm",
         "(file)", "does not read as an animation file"},
    };
    for (const Case& c : cases) {
        SmallSet set;
        c.breakIt(set);
        const std::vector<Finding> findings = contentgen::Validate(set.Build(), false);
        bool named = false;
        for (const Finding& finding : findings)
            named = named || (finding.file == c.file && finding.id == c.id &&
                              finding.message.find(c.message) != std::string::npos);
        EXPECT_TRUE(named) << c.what << ": expected a finding for " << c.file << " " << c.id << " " << c.message << ", got\n"
                           << Describe(findings);
    }
}

// Text a player could not read: dark body text on a dark dialog panel, and
// characters the text's image font has no picture for. The font knows only
// the letters of "Title"; the game fills in the UI variables between "%".
TEST(ContentValidator, RefusesTextAPlayerCannotRead)
{
    struct Case {
        const char* what;
        const char* colour;
        const char* surface;
        const char* text;
        const char* finding; // null: none for the text
        const char* contrast = nullptr; // a second finding: the contrast rule's
    };
    const Case cases[] = {
        {"light text on a panel", "FFF4F1E8", "panel_note", "Title", nullptr},
        {"dark text on a panel", "FF1E2A3A", "panel_note", "Title", "dark text colour FF1E2A3A on the dark panel panel_note",
         "text colour FF1E2A3A reads at 1.3:1 against what lies under it, below 4.5:1"},
        {"dark text on a light picture", "FF1E2A3A", "paper", "Title", nullptr},
        {"transparent layer on a panel", "001E2A3A", "panel_note", "Title", nullptr},
        {"characters the font lacks", "FF1E2A3A", "paper", "Title 1.0",
         "the font body has no glyph for U+0020 '1' '.' '0' of the text title"},
        {"a variable the game fills in", "FF1E2A3A", "paper", "Title%version%", nullptr},
    };
    for (const Case& c : cases) {
        SmallSet set;
        set.loc = std::string("<root><loc id=\"title\" text=\"") + c.text + "\"/><loc id=\"ok\" text=\"OK\"/></root>";
        set.extraRegistry = "<texture id=\"panel_note\" file=\"images\\ui\\panel.png\"/>"
                            "<texture id=\"paper\" file=\"images\\ui\\paper.png\"/>"
                            "<font name=\"body\" type=\"Image\" face=\"fonts\\body.txt\" scale=\"1.0\"/>";
        set.extraLayouts = std::string("<element type=\"quordialog\" name=\"note\" x=\"0\" y=\"0\" width=\"100\" height=\"100\">"
                                       "<texture id=\"normal\" texture=\"") + c.surface + "\" u=\"0\" v=\"0\"/>"
                           "<element type=\"quortext\" name=\"caption\" x=\"30\" y=\"30\" width=\"10\" height=\"10\" label=\"title\">"
                           "<textattr id=\"normal\" color=\"" + c.colour + "\" font=\"body\"/></element></element>";
        set.media["images\\ui\\paper.png"] = contentgen::EncodePng(contentgen::Picture(100, 100, 0xFFF4F1E8));
        DataSet data = set.Build();
        data.Add("fonts\\body.txt", contentgen::Utf8ToUtf16LE("# letters of one word\n"
                                                                "Define Chars (\"T\" \"i\" \"t\" \"l\" \"e\");\n"
                                                                "CreateLayer MAIN;\nLayerSetImageMap MAIN Chars Rects;\n"));
        std::vector<std::string> messages;
        for (const Finding& finding : contentgen::Validate(data, false))
            if (finding.id == "note/caption")
                messages.push_back(finding.file + ": " + finding.message);
        std::vector<std::string> expected;
        for (const char* finding : {c.finding, c.contrast})
            if (finding)
                expected.push_back(std::string("cfg\\ui.xml: ") + finding);
        if (c.finding)
            EXPECT_EQ(messages, expected) << c.what;
        else
            EXPECT_TRUE(messages.empty()) << c.what << ": " << (messages.empty() ? "" : messages.front());
    }
}

// A malformed file is one finding with the place it breaks, not followed by
// findings that it is missing.
TEST(ContentValidator, ReportsAMalformedFileOnceWithLineAndColumn)
{
    for (const char* path : {"cfg\\l1.xml", "cfg\\ui.xml"}) {
        DataSet data = SmallSet().Build();
        data.Add(path, Utf16Xml("<level>\n  <params normal=\"1\" expert=\"2\">\n</level>"));
        std::vector<std::string> messages;
        for (const Finding& finding : contentgen::Validate(data, true))
            if (finding.file == path)
                messages.push_back(finding.id + ": " + finding.message);
        ASSERT_EQ(messages.size(), 1u) << path << "\n" << ::testing::PrintToString(messages);
        EXPECT_EQ(messages.front().rfind("(file): is not well-formed XML: line 3, column 3: ", 0), 0u) << messages.front();
    }
}

// Children of a dialog drawn on a panel stay off its rim, and under a title
// no other text crosses the rule below the title band. The panel is the art
// kit's, 300 x 200, alone or inside a full-screen scrim at (250, 200).
TEST(ContentValidator, RefusesChildrenOnAPanelsRimAndTextsOverItsTitleRule)
{
    struct Case {
        const char* what;
        bool scrim;
        const char* children;
        const char* finding; // null: none
    };
    const char* const title = "<element type=\"quortext\" name=\"title\" x=\"30\" y=\"18\" width=\"200\" height=\"36\" label=\"title\">"
                              "<textattr id=\"normal\" color=\"FFFFFFFF\" font=\"sys\"/></element>";
    auto text = [](const char* name, int x, int y, int w, int h) {
        return "<element type=\"quortext\" name=\"" + std::string(name) + "\" x=\"" + std::to_string(x) + "\" y=\"" +
               std::to_string(y) + "\" width=\"" + std::to_string(w) + "\" height=\"" + std::to_string(h) +
               "\" label=\"ok\"><textattr id=\"normal\" color=\"FFFFFFFF\" font=\"sys\"/></element>";
    };
    const std::string inside = text("line", 40, 90, 200, 60);
    const std::string onRim = text("line", 4, 90, 200, 60);
    const std::string overRule = text("line", 40, 50, 200, 30);
    const std::string nestedOverRule = "<element type=\"quordialog\" name=\"page\" x=\"30\" y=\"40\" width=\"240\" height=\"100\">" +
                                       text("line", 10, 10, 200, 30) + "</element>";
    const std::string scrimInside = text("line", 290, 290, 200, 60);
    const std::string scrimOutside = text("line", 200, 290, 200, 60);
    const std::string cases[][4] = {
        {"a text inside the rim", "", std::string(title) + inside, ""},
        {"a text on the rim", "", std::string(title) + onRim, "note/line: 200 x 60 at 4,90 spills onto the rim of its panel panel_note"},
        {"a text across the title rule", "", std::string(title) + overRule, "note/line: 200 x 30 at 40,50 crosses the title rule of its panel panel_note"},
        {"a page's text across the title rule", "", std::string(title) + nestedOverRule,
         "note/page/line: 200 x 30 at 40,50 crosses the title rule"},
        {"no title, no rule", "", overRule, ""},
        {"inside a scrim's panel", "scrim", scrimInside, ""},
        {"outside a scrim's panel", "scrim", scrimOutside, "note/line: 200 x 60 at 200,290 spills onto the rim"},
    };
    for (const auto& c : cases) {
        const bool scrim = !c[1].empty();
        SmallSet set;
        set.extraRegistry = "<texture id=\"panel_note\" file=\"images\\ui\\panel_note.png\"/>";
        set.extraLayouts = std::string("<element type=\"quordialog\" name=\"note\" x=\"0\" y=\"0\" width=\"") +
                           (scrim ? "800" : "300") + "\" height=\"" + (scrim ? "600" : "200") +
                           "\"><texture id=\"normal\" texture=\"panel_note\" u=\"0\" v=\"0\"/>" + c[2] + "</element>";
        set.media["images\\ui\\panel_note.png"] =
            scrim ? contentgen::DrawPanel("note", 800, 600, true, 250, 200, 300, 200).bytes
                  : contentgen::DrawPanel("note", 300, 200, false, 0, 0, 300, 200).bytes;
        std::vector<std::string> messages;
        for (const Finding& finding : contentgen::Validate(set.Build(), false))
            if (finding.id.rfind("note", 0) == 0)
                messages.push_back(finding.id + ": " + finding.message);
        if (c[3].empty())
            EXPECT_TRUE(messages.empty()) << c[0] << ": " << ::testing::PrintToString(messages);
        else
            EXPECT_TRUE(messages.size() == 1 && messages.front().rfind(c[3], 0) == 0)
                << c[0] << ": " << ::testing::PrintToString(messages);
    }
}

// A text reads against what is really under it: the layout's pictures in
// drawing order over the backdrop the game shows it on, or the outline its
// font or its stroke layer draws; titles need 3:1, other texts 4.5:1.
TEST(ContentValidator, RefusesTextThatDoesNotStandOutFromWhatIsUnderIt)
{
    struct Case {
        const char* what;
        const char* layout;    // the layout's name: "main_menu" lies on the front-end backdrop
        const char* surface;   // the layout's picture, or empty
        const char* children;  // %T stands for the text element
        const char* font;
        const char* colour;
        const char* layers;    // more text layers
        const char* finding;   // the start of the one finding, or null
    };
    const Case cases[] = {
        {"light on light", "note", "light", "%T", "sys", "FFF4F1E8", "", "text colour FFF4F1E8 reads at 1.1:1 against what lies under it, below 4.5:1"},
        {"light on light with a dark stroke", "note", "light", "%T", "sys", "FFF4F1E8",
         "<textattr id=\"stroke\" color=\"FF10233A\" font=\"sys\"/>", nullptr},
        {"light in a font with its outline", "note", "light", "%T", "outlined", "FFF4F1E8", "", nullptr},
        {"grey on white as body text", "note", "white", "%T", "sys", "FF808080", "", "text colour FF808080 reads at 3.9:1"},
        {"grey on white as a title", "note", "white", "%T", "title", "FF808080", "", nullptr},
        {"light on the light front-end backdrop", "main_menu", "", "%T", "sys", "FFF4F1E8", "", "text colour FFF4F1E8 reads at 1.1:1"},
        {"light on the dark screen of a layout of its own", "note", "", "%T", "sys", "FFF4F1E8", "", nullptr},
        {"a hover colour on a light hover picture", "note", "light", "%T", "sys", "FF1E2A3A", "", "hover colour FFF4F1E8 reads at 1.1:1"},
        {"pages shown one at a time", "note", "white",
         "<element type=\"quordialog\" name=\"page1\" x=\"0\" y=\"0\" width=\"100\" height=\"100\"><texture id=\"normal\" texture=\"shade\" u=\"0\" v=\"0\"/></element>"
         "<element type=\"quordialog\" name=\"page2\" x=\"0\" y=\"0\" width=\"100\" height=\"100\"><texture id=\"normal\" texture=\"shade\" u=\"0\" v=\"0\"/>%T</element>",
         "sys", "FF000000", "", nullptr},
    };
    for (const Case& c : cases) {
        SmallSet set;
        set.extraRegistry =
            "<texture id=\"light\" file=\"images\\ui\\light.png\"/><texture id=\"white\" file=\"images\\ui\\white.png\"/>"
            "<texture id=\"shade\" file=\"images\\ui\\shade.png\"/><texture id=\"bg_frontend\" file=\"images\\ui\\front.png\"/>"
            "<font name=\"outlined\" type=\"Image\" face=\"fonts\\outlined.txt\" scale=\"1.0\"/>"
            "<font name=\"title\" type=\"Image\" face=\"fonts\\tiny.txt\" scale=\"1.0\"/>";
        set.media["images\\ui\\light.png"] = contentgen::EncodePng(contentgen::Picture(100, 100, 0xFFF0E8D0));
        set.media["images\\ui\\white.png"] = contentgen::EncodePng(contentgen::Picture(100, 100, 0xFFFFFFFF));
        set.media["images\\ui\\shade.png"] = contentgen::EncodePng(contentgen::Picture(100, 100, 0x80000000));
        set.media["images\\ui\\front.png"] = contentgen::EncodePng(contentgen::Picture(800, 600, 0xFFF0E8D0));
        set.media["fonts\\outlined.txt"] = contentgen::Utf8ToUtf16LE(
            "Define Chars (\"T\");\nCreateLayer FILL;\nLayerSetImage FILL 'tiny.png';\nLayerSetImageMap FILL Chars Rects;\n"
            "CreateLayerFrom OUTLINE FILL;\nLayerSetImage OUTLINE 'tiny.png';\nLayerSetColorMult OUTLINE (0.06 0.14 0.23 1);\n");
        const std::string hover = std::string(c.what).find("hover") != std::string::npos
                                      ? "<texture id=\"over\" texture=\"light\" u=\"0\" v=\"0\"/>"
                                      : "";
        std::string text = std::string("<element type=\"quortext\" name=\"line\" x=\"10\" y=\"10\" width=\"80\" height=\"30\" label=\"ok\">") +
                           hover + "<textattr id=\"normal\" color=\"" + c.colour + "\"" +
                           (hover.empty() ? "" : " hcolor=\"FFF4F1E8\"") + " font=\"" + c.font + "\"/>" + c.layers + "</element>";
        std::string children = c.children;
        children.replace(children.find("%T"), 2, text);
        set.extraLayouts = std::string("<element type=\"quordialog\" name=\"") + c.layout +
                           "\" x=\"0\" y=\"0\" width=\"100\" height=\"100\">" +
                           (*c.surface ? std::string("<texture id=\"normal\" texture=\"") + c.surface + "\" u=\"0\" v=\"0\"/>" : "") +
                           children + "</element>";
        std::vector<std::string> messages;
        for (const Finding& finding : contentgen::Validate(set.Build(), false))
            if (finding.id.rfind(std::string(c.layout) + "/", 0) == 0 && finding.message.find(" reads at ") != std::string::npos)
                messages.push_back(finding.message);
        if (!c.finding)
            EXPECT_TRUE(messages.empty()) << c.what << ": " << ::testing::PrintToString(messages);
        else
            EXPECT_TRUE(messages.size() == 1 && messages.front().rfind(c.finding, 0) == 0)
                << c.what << ": " << ::testing::PrintToString(messages);
    }
}

TEST(ContentValidator, RefusesAFileWithoutItsMarkAndWidgetsWithoutTheirParts)
{
    DataSet data = SmallSet().Build();
    const std::vector<uint8_t> ui = data.files["cfg\\ui.xml"];
    data.Add("cfg\\loc.xml", std::vector<uint8_t>(contentgen::Utf8ToUtf16LE("<root/>")));
    data.Add("cfg\\ui.xml",
             Utf16Xml("<root><texture id=\"a\" file=\"images\\ui\\panel.png\"/>"
                      "<element type=\"quordialog\" name=\"hud\" x=\"0\" y=\"0\" width=\"1\" height=\"1\">"
                      "<element type=\"quorbar\" name=\"bar\" x=\"0\" y=\"0\" width=\"1\" height=\"1\" seg_width=\"0\"/>"
                      "<element type=\"quorlist\" name=\"list\" x=\"0\" y=\"0\" width=\"1\" height=\"1\" line_spacing=\"0\"/>"
                      "<element type=\"quorslider\" name=\"slider\" x=\"0\" y=\"0\" width=\"1\" height=\"1\" mz_width=\"0\"/>"
                      "<element type=\"quortext\" name=\"spin\" x=\"0\" y=\"0\" width=\"1\" height=\"1\" fps=\"-1\">"
                      "<texture id=\"normal\" texture=\"+\"/></element>"
                      "</element></root>"));
    const std::string text = Describe(contentgen::Validate(data, false));
    for (const char* expected : {"cfg\\loc.xml: (file): must start with the UTF-16LE mark",
                                 "hud: the HUD needs its clock frames", "hud/bar: a bar needs seg_width above 0",
                                 "hud/list: a list needs a row height", "hud/list: needs a font on its \"stroke\"",
                                 "hud/list: a list needs its scroll child", "hud/slider: a slider needs mz_width above 0",
                                 "hud/slider: a slider needs its child \"thumb\"", "hud/spin: fps must be 0 or more",
                                 "hud/spin: texture id \"+\" names no frames"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

TEST(ContentValidator, RefusesOfficesTheLoaderAndTheWalkersCannotUse)
{
    DataSet data = SmallSet().Build();
    data.Add("cfg\\office.xml",
             Utf16Xml("<office><objects>"
                      "<object class=\"status_hp\" name=\"client01_hp\"/>"
                      "<object class=\"client\" name=\"client01\"><part name=\"client\" order0_x=\"10\" order0_y=\"5\""
                      " order1_x=\"5\" order1_y=\"5\" order2_x=\"900\" order2_y=\"5\"/></object>"
                      "<object class=\"bin\" name=\"bin\"><point owner=\"boss\" direction=\"l\" offs_x=\"50\" offs_y=\"50\"/></object>"
                      "<object class=\"shelving\" name=\"shelf\"><point owner=\"boss\" direction=\"t\" offs_x=\"90\" offs_y=\"10\"/></object>"
                      "</objects><graphs><graph name=\"boss\"><points>"
                      "<point name=\"boss_home\" x=\"10\" y=\"10\"/><point name=\"A\" x=\"10\" y=\"10\"/>"
                      "<point name=\"self\" x=\"1\" y=\"1\"/></points><edges>"
                      "<edge p1=\"boss_home\" p2=\"A\"/><edge p1=\"A\" p2=\"B\"/><edge p1=\"A\" p2=\"bin\"/>"
                      "</edges></graph></graphs></office>"));
    data.Add("cfg\\l1.xml", Utf16Xml("<level><params normal=\"1\" expert=\"2\"/><objects>"
                                      "<object name=\"bin\"/><object name=\"ghost\"/></objects></level>"));
    data.files.erase("cfg\\endless1.xml");
    const std::string text = Describe(contentgen::Validate(data, false));
    for (const char* expected : {"client01_hp: its source client01 must come before it",
                                 "cfg\\l1.xml: ghost: the level names this object, which office.xml lacks",
                                 "client01: part client: base line points must lie in 800 x 600, left to right",
                                 "boss: a graph point must not be named \"self\"", "boss: edge boss_home-A has length 0",
                                 "boss: edge A-B names the unknown point B", "boss: cannot reach shelf from boss_home"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    EXPECT_EQ(text.find("cannot reach bin"), std::string::npos) << text;
    EXPECT_EQ(text.find("bin: the level names"), std::string::npos) << text;
}

// A whole data set binds every exported callback: one left unused is named.
TEST(ContentValidator, AWholeSetBindsEveryCallback)
{
    const std::vector<Finding> findings = contentgen::Validate(SmallSet().Build(), true);
    std::set<std::string> unbound;
    for (const Finding& finding : findings)
        if (finding.file == "cfg\\effect.xml" && finding.message.find("no effect binds this callback") != std::string::npos)
            unbound.insert(finding.id);
    EXPECT_TRUE(unbound.count("WindowReset"));
    EXPECT_TRUE(unbound.count("StopPSFunc"));
    EXPECT_FALSE(unbound.count("DlgShow"));  // the small set's fade binds it
    EXPECT_FALSE(unbound.count("UpgradeEffectBlink"));
}

TEST(ContentValidator, TheFixtureOfficePasses)
{
    contentgen::TextTable texts;
    std::string error;
    ASSERT_TRUE(contentgen::LoadTexts(texts, error)) << error;
    DataSet fixture;
    ASSERT_TRUE(contentgen::GenerateFixtureOffice(texts, fixture, error)) << error;
    const std::vector<Finding> findings = contentgen::Validate(fixture, false);
    EXPECT_TRUE(findings.empty()) << Describe(findings);
    EXPECT_TRUE(fixture.Has("z_order.dat"));
    EXPECT_TRUE(fixture.Has("cfg\\l1.xml"));
}

TEST(ContentValidator, TheGeneratedDataPasses)
{
    contentgen::TextTable texts;
    std::string error;
    ASSERT_TRUE(contentgen::LoadTexts(texts, error)) << error;
    DataSet data;
    ASSERT_TRUE(contentgen::GenerateDataSet(texts, contentgen::GenerateOptions(), data, error)) << error;
    if (contentgentest::AssetsArePlaceholders())
        GTEST_SKIP() << "the pictures, fonts and sounds are still placeholders";
    const std::vector<Finding> findings = contentgen::Validate(data, true);
    EXPECT_TRUE(findings.empty()) << Describe(findings);
}

} // namespace
