// The fixture office's animation files: one per part that plays animations,
// every name the day's level and people ask for answered by the record of
// that name, and frames that a drawing tells apart by their colour.
#include "GeneratedData.h"
#include "PartAnimations.h"

#include "framework/app/Utf16.h"
#include "framework/resources/ImageLib.h"
#include "game/world/AnmFile.h"
#include "platform/NullPlatform.h"
#include "platform/xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

namespace {

using contentgen::DataSet;

const DataSet& Fixture()
{
    static const DataSet data = [] {
        DataSet set;
        std::string error;
        EXPECT_TRUE(contentgen::GenerateFixtureOffice(contentgentest::Texts(), set, error)) << error;
        return set;
    }();
    return data;
}

plat::XmlNode Root(const std::string& path)
{
    static std::map<std::string, plat::XmlDocument> documents;
    plat::XmlDocument& document = documents[path];
    const std::vector<uint8_t>& bytes = Fixture().files.at(path);
    EXPECT_TRUE(document.LoadText(Zelk::Utf16LEToWide(bytes.data() + 2, bytes.size() - 2))) << path;
    return document.Node().SelectSingle(L"/*");
}

std::string Attr(const plat::XmlNode& node, const wchar_t* name)
{
    std::wstring value;
    node.Attribute(name).Value(value);
    return std::string(value.begin(), value.end());
}

std::vector<plat::XmlNode> All(const plat::XmlNode& node, const std::wstring& xpath)
{
    std::vector<plat::XmlNode> nodes;
    node.Select(xpath, nodes);
    return nodes;
}

// The part's file as the game reads it; null when the part has none.
std::unique_ptr<AnmFile> ReadFile(const std::string& part)
{
    auto found = Fixture().files.find("anm\\" + part + ".anm");
    if (found == Fixture().files.end())
        return nullptr;
    std::string error;
    std::unique_ptr<AnmFile> file = AnmFile::Parse(found->second.data(), found->second.size(), &error);
    EXPECT_TRUE(file) << part << ": " << error;
    return file;
}

TEST(FixtureAnimations, EveryPartThatPlaysAnimationsHasItsFile)
{
    const std::set<std::string> silent = {"anchor", "table_smoke", "cash", "bonus"};
    std::set<std::string> parts;
    for (const plat::XmlNode& part : All(Root("cfg\\office.xml"), L"objects/object/part"))
        parts.insert(Attr(part, L"name"));
    EXPECT_EQ(parts.size(), 24u);
    for (const std::string& part : parts) {
        const bool has = Fixture().files.count("anm\\" + part + ".anm") != 0;
        EXPECT_EQ(has, !silent.count(part)) << part;
        if (has) {
            const std::unique_ptr<AnmFile> file = ReadFile(part);
            ASSERT_TRUE(file) << part;
            EXPECT_GT(file->GetCount(), 0) << part;
        }
    }
}

// The player takes the first record whose name contains the text asked for:
// part name + skin (after the part's exchange) + orientation (the mirrored
// words read as their plain ones; none for a checkmark) + animation.
TEST(FixtureAnimations, EveryNameAskedForFindsTheRecordOfThatName)
{
    const plat::XmlNode office = Root("cfg\\office.xml");
    const plat::XmlNode level = Root("cfg\\l1.xml");
    const std::map<std::string, std::string> plain = {{"mbr", "br"}, {"mtr", "tr"}, {"mtl", "tl"}, {"mbl", "bl"}, {"mr", "r"}};
    std::vector<std::pair<std::string, std::string>> asked;  // part, text
    // Every part of the object, or only the named one (the others have no
    // such animation, and the game lets their request fail).
    auto ask = [&](const plat::XmlNode& object, const std::string& skin, const std::string& animation,
                   const std::string& only = std::string()) {
        std::string orientation = Attr(object, L"orient");
        if (plain.count(orientation))
            orientation = plain.at(orientation);
        for (const plat::XmlNode& part : All(object, L"part")) {
            const std::string name = Attr(part, L"name");
            if (!only.empty() && name != only)
                continue;
            std::string partSkin = skin;
            for (const plat::XmlNode& exchange : All(part, L"exchange_skin"))
                if (Attr(exchange, L"from") == skin)
                    partSkin = Attr(exchange, L"to");
            asked.emplace_back(name, name + partSkin + (name == "checkmark" ? "" : orientation) + animation);
        }
    };
    auto object = [&](const std::string& name) {
        return office.SelectSingle(L"objects/object[@name=\"" + std::wstring(name.begin(), name.end()) + L"\"]");
    };
    // What the level plays on its objects.
    for (const plat::XmlNode& element : All(level, L"objects//object"))
        if (!Attr(element, L"anim").empty())
            ask(object(Attr(element, L"name")), Attr(element, L"skin"), Attr(element, L"anim"));
    // What the day's people play: the boss in both looks and five facings,
    // the workers in their level skins, the clients of the timeline.
    for (const char* skin : {"man", "woman"})
        for (const char* facing : {"t", "tr", "r", "br", "b"})
            for (const char* animation : {"boss_idle_empty", "boss_idle_full", "boss_move_empty", "boss_move_full",
                                          "boss_phone", "boss_conference", "boss_drink", "boss_reproach"})
                asked.emplace_back("boss", std::string("boss") + skin + facing + animation);
    for (const char* facing : {"t", "tr", "r", "br", "b"})
        for (const char* item : {"paper", "0101", "0102", "money"})
            asked.emplace_back("held_items", std::string("held_items") + facing + item);
    for (const plat::XmlNode& element : All(level, L"objects//object[@transform_from]"))
        for (const char* animation : {"idle_usual", "idle_done", "work_action", "idle_distracted", "disruption_reaction",
                                      "conference_reaction", "attention", "disruptive_action"})
            ask(object(Attr(element, L"name")), Attr(element, L"skin"), animation);
    std::set<std::string> clients;
    for (const plat::XmlNode& point : All(level, L"events_queue/clients_timeline/time_point"))
        clients.insert(Attr(point, L"event"));
    EXPECT_EQ(clients, (std::set<std::string>{"student", "clerk"}));
    for (const std::string& client : clients)
        for (const char* animation : {"idle_green", "idle_yellow", "idle_red", "idle_thinking", "presentation_reaction",
                                      "drink_coffee", "patience_content", "patience_angry", "gratitude", "scandal"})
            ask(object("client03"), client, animation);
    for (const char* animation : {"hover", "activation"}) {
        ask(object("shelving01"), "paper", animation, "shelving");
        ask(object("trash_bin"), "", animation, "trash_bin");
    }
    for (const auto& status : std::vector<std::pair<const char*, const char*>>{
             {"status_hp", "point"}, {"status_hp_back", "idle"}, {"status_bubble", "multi_right"},
             {"status_type", "timer04"}, {"status_type", "vip"}, {"status_production", "0400"}})
        asked.emplace_back(status.first, std::string(status.first) + status.second);
    for (const auto& request : asked) {
        if (request.first == "table_smoke")
            continue;  // no file: the part plays nothing
        const std::unique_ptr<AnmFile> file = ReadFile(request.first);
        ASSERT_TRUE(file) << request.first;
        std::string found;
        for (int i = 0; i < file->GetCount(); ++i)
            if (file->GetRecord(i).name.find(request.second) != std::string::npos) {
                found = file->GetRecord(i).name;
                break;
            }
        EXPECT_EQ(found, request.second) << "anm\\" << request.first << ".anm";
    }
}

// Every frame is one plain colour, and the frames of an animation differ.
TEST(FixtureAnimations, FramesArePlainColoursOfTheirOwn)
{
    plat::NullPlatform platform;
    testsupport::TempDir dir;
    for (const auto& file : Fixture().files)
        if (file.first.rfind("images\\anm\\", 0) == 0) {
            std::string path = file.first;
            std::replace(path.begin(), path.end(), '\\', '/');
            dir.Write(path, contentgentest::Bytes(file.second));
        }
    std::map<std::string, std::unique_ptr<ImageLib::Image>> pictures;
    for (const auto& file : Fixture().files) {
        if (file.first.rfind("anm\\", 0) != 0)
            continue;
        std::string error;
        const std::unique_ptr<AnmFile> anm = AnmFile::Parse(file.second.data(), file.second.size(), &error);
        ASSERT_TRUE(anm) << file.first << ": " << error;
        for (int i = 0; i < anm->GetCount(); ++i) {
            const AnmRecord& animation = anm->GetRecord(i);
            std::unique_ptr<ImageLib::Image>& picture = pictures[animation.imageName];
            if (!picture) {
                std::string path = animation.imageName;
                std::replace(path.begin(), path.end(), '\\', '/');
                picture.reset(ImageLib::GetImage(dir / path));
            }
            ASSERT_TRUE(picture) << animation.imageName;
            std::set<uint32_t> colours;
            for (int f = 0; f < animation.sequence.frameCount; ++f) {
                const AnmFrame frame = anm->GetFrame(animation, f);
                ASSERT_LE(frame.x + frame.w, picture->GetWidth()) << animation.name;
                ASSERT_LE(frame.y + frame.h, picture->GetHeight()) << animation.name;
                const uint32_t* bits = picture->GetBits();
                const uint32_t colour = bits[size_t(frame.y) * size_t(picture->GetWidth()) + size_t(frame.x)];
                EXPECT_EQ(colour >> 24, 0xFFu) << animation.name;
                bool plain = true;
                for (int y = frame.y; y < frame.y + frame.h; ++y)
                    for (int x = frame.x; x < frame.x + frame.w; ++x)
                        plain = plain && bits[size_t(y) * size_t(picture->GetWidth()) + size_t(x)] == colour;
                EXPECT_TRUE(plain) << animation.name;
                colours.insert(colour);
            }
            EXPECT_EQ(colours.size(), size_t(animation.sequence.frameCount)) << animation.name;
        }
    }
    // The colour of a frame is known without the picture: frame 3 of the
    // third clip of the boss.
    const std::unique_ptr<AnmFile> boss = ReadFile("boss");
    ASSERT_TRUE(boss);
    int move = 0;
    while (move < boss->GetCount() && boss->GetRecord(move).name != "bossmantboss_move_empty")
        ++move;
    ASSERT_LT(move, boss->GetCount());
    ASSERT_GT(boss->GetRecord(move).sequence.frameCount, 3);
    const AnmFrame frame3 = boss->GetFrame(boss->GetRecord(move), 3);
    const ImageLib::Image& sheet = *pictures.at("images\\anm\\boss_man.png");
    EXPECT_EQ(sheet.GetBits()[size_t(frame3.y) * size_t(sheet.GetWidth()) + size_t(frame3.x)],
              contentgen::PartFrameColour("boss", 2, 3));
}

} // namespace
