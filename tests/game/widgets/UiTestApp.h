#pragma once
// The game application in a temporary game folder, as the tests of the UI
// kit's widgets use it: pictures made in memory from their file names, the
// UI description from a text (textures and fonts registered from it), the
// sample image font of the fixtures, and sound and cursor calls written down.
#include "framework/graphics/DDImage.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/WidgetManager.h"
#include "game/core/CursorManager.h"
#include "game/core/FontRegistry.h"
#include "game/core/GameApp.h"
#include "game/core/LocTable.h"
#include "game/core/SfxManager.h"
#include "game/core/StringTable.h"
#include "game/core/TextureRegistry.h"
#include "platform/NullPlatform.h"
#include "tests/game/core/GameFolder.h"
#include "tests/game/widgets/FixturePictures.h"
#include "tests/support/CurrentFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace uitest {

typedef std::vector<std::string> Log;

class RecordingSfx : public SfxManager {
public:
    explicit RecordingSfx(Log* log) : mLog(log) {}
    void Play(const std::string& name) override { mLog->push_back("sound " + name); }
    Log* mLog;
};

class RecordingCursor : public CursorManager {
public:
    explicit RecordingCursor(Log* log) : CursorManager(nullptr), mLog(log) {}
    void Select(const std::string& mode) override { mLog->push_back("cursor " + mode); }
    Log* mLog;
};

// Pictures of the fixtures are made in memory from their file names
// (FixturePictures.h); "missing..." fails; other files load from disk.
class UiTestApp : public GameApp {
public:
    UiTestApp() : GameApp(0) {}
    Zelk::DDImage* GetImage(const std::string& fileName, bool commitBits) override
    {
        if (Zelk::DDImage* picture = MakeFixturePicture(fileName))
            return picture;
        return fileName.rfind("missing", 0) == 0 ? nullptr : GameApp::GetImage(fileName, commitBits);
    }
};

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A started application in its own game folder with the sample font beside
// it ("fonts\sample.txt"). Loc texts come from loc(), a UI description from
// LoadUi.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mFolder.Remember());
        platform.folders.programPath = game.ProgramPath();
        platform.folders.appData = game.dir / "appdata";
        platform.folders.documents = game.dir / "documents";
        for (const char* file : {"sample.txt", "sample12.png", "sample12o.png", "sample24.png", "sample24o.png"})
            game.dir.Write(std::string("fonts/") + file, ReadFile(std::string(ZELK_FIXTURES) + "/fonts/" + file));
        game.WriteXml("cfg/loc.xml", "<root>" + LocEntries() + "</root>");
        game.WriteXml("cfg/effect.xml", "<effects>" + EffectEntries() + "</effects>");
        app = std::make_unique<UiTestApp>();
        app->GetLocTable()->Load();
        app->mWidgetManager->Resize(Zelk::Rect(0, 0, 800, 600), Zelk::Rect(0, 0, 800, 600));
        mOriginalSfx = app->mSfxManager;
        app->mSfxManager = new RecordingSfx(&calls);
        app->mCursorManager = new RecordingCursor(&calls);
    }
    void TearDown() override
    {
        delete app->mSfxManager;
        app->mSfxManager = mOriginalSfx;
        delete app->mCursorManager;
        app->mCursorManager = nullptr;
        app->mWidgetManager->RemoveAllWidgets(false, false);
        app.reset();
        mFolder.Restore();
    }

    virtual std::string LocEntries() const
    {
        return "<loc id=\"ok\" text=\"OK\"/><loc id=\"money\" text=\"Money: %money%\"/>"
               "<loc id=\"long\" text=\"Two words\"/>";
    }

    virtual std::string EffectEntries() const { return ""; }

    // The "root" of the UI description; its textures and fonts registered.
    XmlNode LoadUi(const std::wstring& xml)
    {
        doc.LoadText(xml);
        XmlNode root = doc.Node().SelectSingle(L"root");
        app->GetTextureRegistry()->Load(root);
        app->mFontRegistry->Load(root);
        return root;
    }
    // The first "element" below the root with the name.
    XmlNode Element(const XmlNode& root, const std::wstring& name)
    {
        return root.SelectSingle(L"//element[@name=\"" + name + L"\"]");
    }
    void* Context() { return app.get(); }
    Zelk::WidgetManager* Manager() { return app->mWidgetManager; }
    // The calls written down since the last take.
    Log Take()
    {
        Log taken;
        taken.swap(calls);
        return taken;
    }

    plat::NullPlatform platform;
    GameFolder game;
    std::unique_ptr<UiTestApp> app;
    XmlDocument doc;
    Log calls;
    testsupport::CurrentFolder mFolder;
    SfxManager* mOriginalSfx = nullptr;
};

} // namespace uitest

namespace uitest {

// An image that writes down what the widgets draw onto it: fills and blits
// with their rectangles (after translation), colour and draw mode, and which
// picture was drawn (by the name given to it in names).
class DrawLog : public Zelk::Image {
public:
    DrawLog(int w = 800, int h = 600)
    {
        mWidth = w;
        mHeight = h;
    }
    static std::string Str(const Zelk::Rect& r)
    {
        return std::to_string(r.mX) + "," + std::to_string(r.mY) + "," + std::to_string(r.mWidth) + "," +
               std::to_string(r.mHeight);
    }
    static std::string Hex(const Zelk::Color& c)
    {
        char text[16];
        std::snprintf(text, sizeof text, "%08X", c.ToInt());
        return text;
    }
    std::string Name(Zelk::Image* image) const
    {
        for (const auto& entry : names)
            if (entry.second == image)
                return entry.first;
        return image ? "?" : "null";
    }
    void FillRect(const Zelk::Rect& r, const Zelk::Color& color, int drawMode) override
    {
        ops.push_back("fill " + Str(r) + " " + Hex(color));
    }
    void Blit(Zelk::Image* src, int x, int y, const Zelk::Rect& s, const Zelk::Color& color, int drawMode) override
    {
        ops.push_back("blit " + Name(src) + " " + std::to_string(x) + "," + std::to_string(y) + " from " + Str(s) +
                      " " + Hex(color) + (drawMode ? " add" : ""));
    }
    void BlitStretched(Zelk::Image* src, const Zelk::Rect& d, const Zelk::Rect& s, const Zelk::Rect& clip,
                       const Zelk::Color& color, int drawMode, bool fast) override
    {
        ops.push_back("stretch " + Name(src) + " " + Str(d) + " from " + Str(s) + " " + Hex(color) +
                      (drawMode ? " add" : ""));
    }
    std::vector<std::pair<std::string, Zelk::Image*>> names;
    std::vector<std::string> ops;
};

} // namespace uitest
