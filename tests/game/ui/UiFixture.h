#pragma once
// What the UI tests share: a game application on the null platform whose
// images are plain white pictures (counted), cfg\effect.xml and a UI
// description written into a fresh current folder.
#include "framework/graphics/DDImage.h"
#include "game/core/GameApp.h"
#include "game/core/TextureRegistry.h"
#include "game/effects/EffectFile.h"
#include "platform/NullPlatform.h"
#include "tests/game/core/Utf16File.h"
#include "tests/support/TempDir.h"
#include "tests/support/CurrentFolder.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

class UiTestApp : public GameApp {
public:
    UiTestApp() : GameApp(0) {}
    Zelk::DDImage* GetImage(const std::string& fileName, bool commitBits) override
    {
        ++imageLoads;
        if (fileName.rfind("missing", 0) == 0)
            return nullptr;
        auto* image = new Zelk::DDImage(nullptr);
        std::vector<uint32_t> bits(512 * 512, 0xFFFFFFFF);
        image->SetBits(bits.data(), 512, 512);
        return image;
    }
    int imageLoads = 0;
};

class UiFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mFolder.Enter(mDir.Path()));
        // The application makes its program's folder current: this one.
        platform.folders.programPath = mDir / "quillmore";
        app = std::make_unique<UiTestApp>();
    }
    void TearDown() override
    {
        app.reset();
        ReleaseEffectFile();
        mFolder.Restore();
    }

    // cfg\effect.xml with these "effect" elements, loaded.
    void UseEffects(const std::wstring& effects)
    {
        mDir.Write("cfg/effect.xml", Utf16File(L"<effects>" + effects + L"</effects>"));
        LoadEffectFile();
    }
    // A UI description; its textures go to the application's registry.
    XmlNode UseUi(const std::wstring& root)
    {
        mUi = std::make_unique<XmlDocument>();
        EXPECT_TRUE(mUi->LoadText(root));
        XmlNode node = mUi->Node().SelectSingle(L"root");
        app->GetTextureRegistry()->Load(node);
        return node;
    }

    plat::NullPlatform platform;
    testsupport::TempDir mDir;
    testsupport::CurrentFolder mFolder;
    std::unique_ptr<UiTestApp> app;
    std::unique_ptr<XmlDocument> mUi;
};
