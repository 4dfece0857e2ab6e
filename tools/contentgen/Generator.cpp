#include "Generator.h"
#include "OfficePictures.h"

#include "ConfigFiles.h"
#include "EffectCatalogue.h"
#include "LevelDesigner.h"
#include "OfficeModel.h"
#include "SurvivalFiles.h"
#include "PartAnimations.h"
#include "assets/Assets.h"
#include "assets/ImageFiles.h"
#include "UiFile.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <future>
#include <map>
#include <set>

#ifndef CONTENTGEN_TABLES
#define CONTENTGEN_TABLES "."
#endif

namespace contentgen {

const std::vector<std::string>& GroupNames()
{
    static const std::vector<std::string> names = {"config", "ui", "pictures", "fonts", "sounds"};
    return names;
}

bool LoadTexts(TextTable& texts, std::string& error)
{
    return texts.Load(std::string(CONTENTGEN_TABLES) + "/texts/en.txt", error);
}

namespace {

void AddXml(DataSet& data, const std::string& path, const XmlElement& root) { data.Add(path, WriteUtf16Xml(root)); }

// The files every data set shares: the manifest, the texts and the effects.
bool BuildSharedConfig(const TextTable& texts, DataSet& data, std::string& error)
{
    AddXml(data, "properties\\resources.xml", BuildManifest());
    AddXml(data, "cfg\\loc.xml", BuildLocFile(texts));
    XmlElement effects;
    if (!BuildEffectFile(effects, error))
        return false;
    AddXml(data, "cfg\\effect.xml", effects);
    return true;
}

// The office of the named objects from the office model: office.xml with
// the sounds given, its objects and walk graphs, z_order.dat, and the parts'
// animation files in the style given.
bool BuildOffice(const std::set<std::string>& names, const std::vector<SoundEntry>& sounds, PartArtStyle style,
                 DataSet& data, std::string& error)
{
    XmlElement office = BuildOfficeFile(sounds);
    for (XmlElement& child : office.children) {
        if (child.name == "objects")
            AddOfficeObjects(names, child);
        else if (child.name == "graphs")
            AddOfficeGraphs(names, child);
    }
    AddXml(data, "cfg\\office.xml", office);
    data.Add("z_order.dat", ZOrderFile(names));
    return AddPartAnimations(PartAnimationTables(names), style, data, error);
}

bool BuildConfig(const TextTable& texts, DataSet& data, std::string& error)
{
    if (!BuildSharedConfig(texts, data, error))
        return false;
    // The whole office: every level names the objects it shows of it.
    const std::vector<std::string>& all = ModelObjects();
    if (!BuildOffice(std::set<std::string>(all.begin(), all.end()), SoundTable(), PartArtStyle::Drawn, data, error))
        return false;
    for (int level = 1; level <= 60; ++level)
        AddXml(data, "cfg\\l" + std::to_string(level) + ".xml", DesignedLevelFile(level));
    for (int level = 1; level <= 3; ++level)
        AddXml(data, "cfg\\endless" + std::to_string(level) + ".xml", SurvivalLevelFile(level));
    return true;
}

bool BuildUi(const TextTable& texts, DataSet& data, std::string& error)
{
    std::set<std::string> labels;
    AddXml(data, "cfg\\ui.xml", BuildUiFile(data, labels));
    for (const std::string& label : labels) {
        if (!texts.Has(label)) {
            error = "cfg\\ui.xml: label " + label + " has no text in texts/en.txt";
            return false;
        }
    }
    return true;
}

} // namespace

bool GenerateDataSet(const TextTable& texts, const GenerateOptions& options, DataSet& data, std::string& error)
{
    struct Group {
        std::string name;
        std::function<bool(DataSet&, std::string&)> build;
    };
    const std::vector<Group> groups = {
        {"config", [&texts](DataSet& out, std::string& e) { return BuildConfig(texts, out, e); }},
        {"ui", [&texts](DataSet& out, std::string& e) { return BuildUi(texts, out, e); }},
        {"pictures",
         [](DataSet& out, std::string&) {
             out.AddAll(DrawFixedPictures());
             out.AddAll(DrawOfficePictures());
             return true;
         }},
        {"fonts", [](DataSet& out, std::string&) { out.AddAll(BakeFonts()); return true; }},
        {"sounds", [](DataSet& out, std::string&) { out.AddAll(SynthesizeSounds()); return true; }},
    };
    if (!options.only.empty()) {
        bool known = false;
        for (const Group& group : groups)
            known = known || group.name == options.only;
        if (!known) {
            error = "unknown group \"" + options.only + "\"";
            return false;
        }
    }
    struct Result {
        DataSet data;
        std::string error;
        bool ok = false;
        long milliseconds = 0;
    };
    auto run = [](const Group& group) {
        Result result;
        const auto start = std::chrono::steady_clock::now();
        result.ok = group.build(result.data, result.error);
        result.milliseconds = static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
        return result;
    };
    std::vector<const Group*> chosen;
    for (const Group& group : groups)
        if (options.only.empty() || group.name == options.only)
            chosen.push_back(&group);
    // Groups build independent files; each result is merged in group order,
    // so the data set does not depend on how many ran at once.
    std::vector<Result> results(chosen.size());
    const size_t width = options.threads < 1 ? 1 : static_cast<size_t>(options.threads);
    for (size_t first = 0; first < chosen.size(); first += width) {
        std::vector<std::future<Result>> running;
        for (size_t i = first; i < chosen.size() && i < first + width; ++i)
            running.push_back(std::async(width == 1 ? std::launch::deferred : std::launch::async, run, std::cref(*chosen[i])));
        for (size_t i = 0; i < running.size(); ++i)
            results[first + i] = running[i].get();
    }
    for (size_t i = 0; i < chosen.size(); ++i) {
        if (!results[i].ok) {
            error = results[i].error;
            return false;
        }
        if (options.report)
            std::printf("contentgen: %s took %ld ms\n", chosen[i]->name.c_str(), results[i].milliseconds);
        for (const auto& file : results[i].data.files) {
            if (data.Has(file.first)) {
                error = file.first + " is made by two groups";
                return false;
            }
            data.Add(file.first, file.second);
        }
    }
    return true;
}

bool GenerateFixtureOffice(const TextTable& texts, DataSet& data, std::string& error)
{
    const std::vector<std::string> list = DayOneObjects();
    const std::set<std::string> names(list.begin(), list.end());
    if (!BuildSharedConfig(texts, data, error))
        return false;
    // No sounds: the world and flow tests play into the null sound library.
    if (!BuildOffice(names, {}, PartArtStyle::PlainColours, data, error))
        return false;
    AddXml(data, "cfg\\l1.xml", BuildLevelFile(1));
    AddXml(data, "cfg\\l3.xml", BuildLevelFile(3));
    AddXml(data, "cfg\\endless1.xml", BuildSurvivalFile(1));
    // The group "Init" the game loads before anything else: the small print
    // and a plain floor for the office's ground.
    data.AddAll(BakeSmallPrint());
    data.Add("images\\office\\ground.jpg", EncodeJpeg(Picture(800, 600, 0xFFB9AD94)));

    // ui.xml: the HUD with its hints and the day's briefing, cut from the
    // full layouts; the pictures they name are plain colours at their sizes,
    // their fonts the system font.
    DataSet drawn;
    std::set<std::string> labels;
    const XmlElement ui = BuildUiFile(drawn, labels);
    std::vector<const XmlElement*> layouts;
    for (const char* name : {"hud", "briefing"}) {
        for (const XmlElement& child : ui.children)
            if (child.name == "element" && child.Get("name") == name)
                layouts.push_back(&child);
        if (layouts.empty() || layouts.back()->Get("name") != name) {
            error = std::string("cfg\\ui.xml has no ") + name + " layout";
            return false;
        }
    }
    std::set<std::string> used;
    std::function<void(const XmlElement&)> collect = [&](const XmlElement& element) {
        if (element.name == "texture" && element.Has("texture"))
            used.insert(element.Get("texture"));
        for (const XmlElement& child : element.children)
            collect(child);
    };
    for (const XmlElement* layout : layouts)
        collect(*layout);
    const std::map<std::string, std::pair<int, int>> sizes = {
        {"hud_goal", {800, 44}}, {"hud_expert", {800, 44}}, {"bar", {10, 32}}, {"bar_ex", {10, 32}},
        {"banner_goal", {400, 150}}, {"banner_expert", {400, 150}}, {"upgrade_glow", {124, 50}}};
    XmlElement fixtureUi("root");
    for (const XmlElement& child : ui.children) {
        if (child.name != "texture")
            continue;
        const std::string id = child.Get("id");
        const bool clock = id.rfind("hud_clock", 0) == 0;
        if (!used.count(id) && !clock && !sizes.count(id))
            continue;
        std::pair<int, int> size = clock ? std::make_pair(44, 44) : std::make_pair(1024, 1024);
        if (sizes.count(id))
            size = sizes.at(id);
        // A panel keeps its drawn picture, so its frame lies where the
        // layout expects it.
        const std::string drawnFile = child.Get("file");
        if (id.rfind("panel_", 0) == 0 && drawn.Has(drawnFile)) {
            data.Add(drawnFile, drawn.files.at(drawnFile));
            fixtureUi.Add("texture").Set("id", id).Set("file", drawnFile);
            continue;
        }
        const std::string file = "images\\fixture\\" + id + ".png";
        // The hints' dark letters lie on the widget pictures: a light page.
        data.Add(file, EncodePng(Picture(size.first, size.second, id == "ui_widgets" ? 0xFFE4ECF4 : 0xFF3A6EA5)));
        fixtureUi.Add("texture").Set("id", id).Set("file", file);
    }
    for (const XmlElement& child : ui.children)
        if (child.name == "font")
            fixtureUi.Add("font").Set("name", child.Get("name")).Set("type", "System").Set("face", "Arial").Set("size", 12);
    for (const XmlElement* layout : layouts)
        fixtureUi.Add(*layout);
    AddXml(data, "cfg\\ui.xml", fixtureUi);
    return true;
}

} // namespace contentgen
