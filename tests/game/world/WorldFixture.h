#pragma once
// What the office world's tests share: the null platform, an application
// whose pictures are counted plain images, a fresh current folder for the
// animation and configuration files a test writes, an installed office
// world, the recording callbacks as the program's exports, and 10 ms steps.
#include "framework/app/StringUtil.h"
#include "framework/app/Utf16.h"
#include "game/effects/EffectFile.h"
#include "game/world/OfficeScreenInterface.h"
#include "game/world/OfficeWorld.h"
#include "game/world/SceneObjectList.h"
#include "platform/NullPlatform.h"
#include "tests/game/effects/FakeImageApp.h"
#include "tests/game/effects/RecordingCallbacks.h"
#include "tests/support/CurrentFolder.h"
#include "tests/support/TempDir.h"
#include "tools/makeanm/AnmText.h"
#include "tools/makeanm/AnmWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace worldtest {

// n frames of w x h side by side in one picture, each at canvas offset
// (0, -h).
inline std::string Frames(int n, int w = 10, int h = 20)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += "frame " + std::to_string(i * w) + " 0 " + std::to_string(w) + " " + std::to_string(h) + " 0 -" +
                std::to_string(h) + "\n";
    return text;
}

// One animation statement and its frames in makeanm's text form.
inline std::string Animation(const std::string& name, const std::string& mode, int fps, int frames,
                             const std::string& image = "images\\anm\\strip.png", int canvas = 40)
{
    return "animation " + image + " " + name + " " + std::to_string(canvas) + " " + mode + " " + std::to_string(fps) +
           "\n" + Frames(frames);
}

class WorldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.Enter(dir.Path()));
        InstallOfficeWorld(&world);
        gFrameDelta = 0.01f;
    }
    void TearDown() override
    {
        DeleteAllObjects();
        InstallOfficeWorld(nullptr);
        SetOfficeScreenInterface(nullptr);
        ReleaseEffectFile();
        gFrameDelta = 0;
        folder.Restore();
    }

    // anm\<part>.anm from makeanm's text form.
    void WriteAnm(const std::string& part, const std::string& text)
    {
        makeanm::AnmFile file;
        std::string error;
        ASSERT_TRUE(makeanm::ParseAnmText(text, file, error)) << error;
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(makeanm::WriteAnm(file, bytes, error)) << error;
        WriteBytes("anm/" + part + ".anm", bytes);
    }
    void WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        dir.Write(name, std::string(bytes.begin(), bytes.end()));
    }
    // A configuration file as the game's files hold it (UTF-16LE with its
    // mark).
    void WriteXml(const std::string& name, const std::string& text)
    {
        dir.Write(name, "\xFF\xFE" + Zelk::WideToUtf16LE(Zelk::StringToWString(text)));
    }
    // cfg\effect.xml from its "effect" elements, loaded.
    void LoadEffects(const std::string& effects)
    {
        WriteXml("cfg/effect.xml", "<effects>" + effects + "</effects>");
        LoadEffectFile();
    }
    // The root element of a document made from text (kept with the node).
    XmlNode Parse(const std::string& text)
    {
        documents.emplace_back();
        documents.back().LoadText(Zelk::StringToWString(text));
        std::vector<XmlNode> children = documents.back().Node().Children();
        for (const XmlNode& child : children)
            if (child.Type() == plat::XML_NODE_ELEMENT)
                return child;
        return XmlNode();
    }
    // Calls of the recording message callback by the effect.
    static int MessagesTo(const void* effect)
    {
        int n = 0;
        for (const RecordedCall& call : Calls())
            if (call.function == "Msg" && call.argument == effect)
                ++n;
        return n;
    }

    plat::NullPlatform platform;
    FakeImageApp app;
    testsupport::TempDir dir;
    testsupport::CurrentFolder folder;
    RecordingExports exports;
    std::vector<XmlDocument> documents;
    OfficeWorld world;
};

} // namespace worldtest
