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

namespace {

using contentgen::DataSet;
using contentgen::Finding;

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
        "<textattr id=\"normal\" color=\"FF000000\" font=\"sys\"/><textattr id=\"stroke\" color=\"00000000\" font=\"sys\"/>"
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
                      "frame 4 0 4 4 0 -4\n";
    std::function<void(makeanm::AnmFile&)> oddAnm;

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
        data.Add("cfg\\effect.xml", Utf16Xml(effect));
        data.Add("cfg\\ui.xml", Utf16Xml(ui));
        data.Add("cfg\\office.xml", Utf16Xml("<office><music/><sounds/><params/></office>"));
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
        {"records outside the file", [](SmallSet& s) { s.oddAnm = [](makeanm::AnmFile& f) { f.count = 3; }; }, "anm\\p.anm",
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
    };
    const Case cases[] = {
        {"light text on a panel", "FFF4F1E8", "panel_note", "Title", nullptr},
        {"dark text on a panel", "FF1E2A3A", "panel_note", "Title", "dark text colour FF1E2A3A on the dark panel panel_note"},
        {"dark text on a light picture", "FF1E2A3A", "paper", "Title", nullptr},
        {"transparent layer on a panel", "001E2A3A", "panel_note", "Title", nullptr},
        {"characters the font lacks", "FFF4F1E8", "paper", "Title 1.0",
         "the font body has no glyph for U+0020 '1' '.' '0' of the text title"},
        {"a variable the game fills in", "FFF4F1E8", "paper", "Title%version%", nullptr},
    };
    for (const Case& c : cases) {
        SmallSet set;
        set.loc = std::string("<root><loc id=\"title\" text=\"") + c.text + "\"/><loc id=\"ok\" text=\"OK\"/></root>";
        set.extraRegistry = "<texture id=\"panel_note\" file=\"images\\ui\\panel.png\"/>"
                            "<texture id=\"paper\" file=\"images\\ui\\panel.png\"/>"
                            "<font name=\"body\" type=\"Image\" face=\"fonts\\body.txt\" scale=\"1.0\"/>";
        set.extraLayouts = std::string("<element type=\"quordialog\" name=\"note\" x=\"0\" y=\"0\" width=\"10\" height=\"10\">"
                                       "<texture id=\"normal\" texture=\"") + c.surface + "\" u=\"0\" v=\"0\"/>"
                           "<element type=\"quortext\" name=\"caption\" x=\"0\" y=\"0\" width=\"10\" height=\"10\" label=\"title\">"
                           "<textattr id=\"normal\" color=\"" + c.colour + "\" font=\"body\"/></element></element>";
        DataSet data = set.Build();
        data.Add("fonts\\body.txt", contentgen::Utf8ToUtf16LE("# letters of one word\n"
                                                                "Define Chars (\"T\" \"i\" \"t\" \"l\" \"e\");\n"
                                                                "CreateLayer MAIN;\nLayerSetImageMap MAIN Chars Rects;\n"));
        std::vector<std::string> messages;
        for (const Finding& finding : contentgen::Validate(data, false))
            if (finding.id == "note/caption")
                messages.push_back(finding.file + ": " + finding.message);
        if (c.finding)
            EXPECT_EQ(messages, std::vector<std::string>{std::string("cfg\\ui.xml: ") + c.finding}) << c.what;
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
