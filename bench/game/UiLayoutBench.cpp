// One frame of the UI kit's largest fixture layout (background, texts, a
// list, a slider, an edit field, buttons, bars: about 30 widgets): an update
// of the widget tree plus drawing it into 800 x 600, unscaled and drawn at
// scale 0.75 by its effect values, against one 800 x 600 alpha blit in the
// same process. Both draw into an opaque 800 x 600 image, the kind the game's
// back buffer is.
#include "bench/common/AlphaBlitReference.h"
#include "bench/common/OfficeFrame.h"
#include "bench/common/RatioReporter.h"
#include "framework/widgets/WidgetManager.h"
#include "game/core/FontRegistry.h"
#include "game/core/GameApp.h"
#include "game/core/LocTable.h"
#include "game/core/StringTable.h"
#include "game/core/TextureRegistry.h"
#include "game/ui/UiDialog.h"
#include "game/ui/UiList.h"
#include "platform/NullPlatform.h"
#include "tests/game/widgets/FixturePictures.h"
#include "tools/makepak/PakWriter.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

class BenchApp : public GameApp {
public:
    BenchApp() : GameApp(0) {}
    Zelk::DDImage* GetImage(const std::string& fileName, bool commitBits) override
    {
        if (Zelk::DDImage* picture = MakeFixturePicture(fileName))
            return picture;
        return GameApp::GetImage(fileName, commitBits);
    }
};

// The game folder with the packed fixture and the sample font, the started
// application, and the largest layout in its widget manager.
struct UiFrame {
    explicit UiFrame(float scale)
    {
        char folderTemplate[] = "/tmp/zelk-ui-bench-XXXXXX";
        folder = mkdtemp(folderTemplate);
        std::string archive, error;
        PakPackOptions options;
        options.utf16Xml = true;
        PackFolder(std::string(ZELK_FIXTURES) + "/ui/data", options, archive, error);
        WriteWholeFile(folder + "/data.pak", archive);
        std::string font;
        std::system(("mkdir -p " + folder + "/fonts").c_str());
        for (const char* file : {"sample.txt", "sample12.png", "sample12o.png", "sample24.png", "sample24o.png"})
            if (ReadWholeFile(std::string(ZELK_FIXTURES) + "/fonts/" + file, font))
                WriteWholeFile(folder + "/fonts/" + file, font);
        platform.folders.programPath = folder + "/quillmore";
        platform.folders.appData = folder + "/appdata";
        platform.folders.documents = folder + "/documents";
        app = std::make_unique<BenchApp>();
        app->GetLocTable()->Load();
        app->GetStringTable()->SetNumber("money", 1250);
        XmlLoadFile("cfg\\ui.xml", doc);
        XmlNode root = doc.Node().SelectSingle(L"root");
        app->GetTextureRegistry()->Load(root);
        app->mFontRegistry->Load(root);
        app->mWidgetManager->Resize(Zelk::Rect(0, 0, 800, 600), Zelk::Rect(0, 0, 800, 600));
        dialog = std::make_unique<UiDialog>(nullptr, app.get());
        dialog->LoadByName(root, "largest");
        if (auto* list = dynamic_cast<UiList*>(dialog->FindChild("list"))) {
            for (int i = 0; i < 14; ++i)
                list->AddItem(L"Profile " + std::to_wstring(i));
            list->Resize(list->GetLayoutX(), list->GetLayoutY(), list->GetLayoutWidth(), list->GetLayoutHeight());
            list->SetSelected(2);
            list->SetMarkedRow(3);
        }
        dialog->SetVisible(true); // takes the background
        dialog->SetScalePoint(400, 300);
        dialog->SetScale(scale);
        app->mWidgetManager->AddWidget(dialog.get());
        screen.SetBits(bench::OpaquePixels(bench::kFrameW, bench::kFrameH).data(), bench::kFrameW, bench::kFrameH);
    }
    ~UiFrame()
    {
        app->mWidgetManager->RemoveWidget(dialog.get());
        dialog.reset();
        app.reset();
        std::system(("rm -rf " + folder).c_str());
    }
    void Step()
    {
        app->mWidgetManager->UpdateFrame();
        Zelk::Graphics g(&screen);
        Zelk::TreeFlags flags = app->mWidgetManager->ComputeFlags();
        dialog->DrawTree(flags, &g);
    }

    plat::NullPlatform platform;
    std::string folder;
    std::unique_ptr<BenchApp> app;
    XmlDocument doc;
    std::unique_ptr<UiDialog> dialog;
    Zelk::MemoryImage screen;
};

void UiFrameAt(benchmark::State& state, float scale)
{
    UiFrame frame(scale);
    frame.Step();
    for (auto _ : state) {
        frame.Step();
        benchmark::DoNotOptimize(frame.screen.GetBits());
    }
}

void UiFrameUnscaled(benchmark::State& state) { UiFrameAt(state, 1.0f); }
void UiFrameMidScale(benchmark::State& state) { UiFrameAt(state, 0.75f); }
BENCHMARK(UiFrameUnscaled)->Unit(benchmark::kMicrosecond);
BENCHMARK(UiFrameMidScale)->Unit(benchmark::kMicrosecond);

// The reference: one 800 x 600 picture with alpha blended over the screen.
void AlphaBlit(benchmark::State& state) { bench::AlphaBlitReference(state); }
BENCHMARK(AlphaBlit)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::RunWithRatios(argc, argv, [](const bench::RatioReporter& r) {
        bench::RatioReporter::PrintHeader("ratio");
        r.PrintRatio("UI frame unscaled / 800 x 600 alpha blit", "UiFrameUnscaled", "AlphaBlit", 2.0);
        r.PrintRatio("UI frame at scale 0.75 / 800 x 600 alpha blit", "UiFrameMidScale", "AlphaBlit", 4.0);
    });
}
