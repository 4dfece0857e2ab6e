// The reads of the game's loading completion: the 60 level files and a
// 200 KB cfg\ui.xml, from an archive, each loaded into the one document and
// queried as the application does ("//params"/@expert, "root"), against
// pugixml parsing the same UTF-16 bytes from memory with the same queries.
#include "game/core/PakInterface.h"
#include "game/core/XmlFunctions.h"
#include "tools/makepak/PakWriter.h"

#include "bench/common/RatioReporter.h"
#include "framework/app/StringUtil.h"
#include "framework/app/Utf16.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kLevels = 60;

std::string Utf16File(const std::string& ascii) { return "\xFF\xFE" + Zelk::WideToUtf16LE(Zelk::StringToWString(ascii)); }

// A level file of about 3 KB: its parameters and the office's objects.
std::string LevelText(int level)
{
    std::string text = "<?xml version=\"1.0\"?>\n<level>\n";
    for (int i = 0; i < 30; ++i)
        text += Zelk::StrFormat("  <object name=\"table%02d\" x=\"%d\" y=\"%d\" skin=\"wood\"/>\n", i, i * 17, i * 11);
    text += Zelk::StrFormat("  <params goal=\"%d\" expert=\"%d\" clients=\"12\"/>\n</level>\n", level * 900,
                            level * 1300);
    return text;
}

// A UI description of about 200 KB: dialogs of buttons and texts.
std::string UiText()
{
    std::string text = "<?xml version=\"1.0\"?>\n<root>\n";
    int n = 0;
    while (text.size() < 100 * 1024) { // ASCII: twice the size as UTF-16
        text += Zelk::StrFormat("  <element type=\"quordialog\" name=\"dialog%d\" x=\"0\" y=\"0\" width=\"800\" "
                                "height=\"600\">\n    <texture id=\"normal\" texture=\"bkg%d\" u=\"0\" v=\"0\"/>\n",
                                n, n);
        for (int i = 0; i < 8; ++i)
            text += Zelk::StrFormat("    <element type=\"quorbutton\" name=\"btn%d\" x=\"%d\" y=\"%d\" width=\"120\" "
                                    "height=\"32\" effect=\"button_fx\"/>\n",
                                    i, 20 + i * 90, 500);
        text += "  </element>\n";
        ++n;
    }
    return text + "</root>\n";
}

struct Files {
    Files()
    {
        PakWriter writer;
        for (int level = 1; level <= kLevels; ++level) {
            bytes.push_back(Utf16File(LevelText(level)));
            writer.Add(Zelk::StrFormat("CFG\\L%d.XML", level), bytes.back(), 0);
        }
        bytes.push_back(Utf16File(UiText()));
        writer.Add("CFG\\UI.XML", bytes.back(), 0);
        path = (std::filesystem::temp_directory_path() / ("zelk-loading-" + std::to_string(getpid()) + ".pak"))
                   .string();
        std::string archive, error;
        if (!writer.Build(archive, error) || !WriteWholeFile(path, archive) || !pak.AddPakFile(path))
            std::abort();
    }
    ~Files() { std::remove(path.c_str()); }
    std::vector<std::string> bytes; // the levels, then ui.xml
    std::string path;
    PakInterface pak;
};

Files& TheFiles()
{
    static Files files;
    return files;
}

void OursLoadingReads(benchmark::State& state)
{
    TheFiles();
    int expert[kLevels] = {};
    for (auto _ : state) {
        XmlDocument document;
        XmlCreateDocument(document);
        for (int level = 1; level <= kLevels; ++level) {
            if (!XmlLoadFile(Zelk::StrFormat("cfg\\l%d.xml", level), document))
                continue;
            XmlNode params = document.Node().SelectSingle(L"//params");
            if (!params.IsEmpty())
                XmlGetAttrInt(params, L"expert", expert[level - 1]);
        }
        XmlLoadFile("cfg\\ui.xml", document);
        XmlNode root = document.Node().SelectSingle(L"root");
        benchmark::DoNotOptimize(root);
    }
    if (expert[kLevels - 1] != kLevels * 1300)
        state.SkipWithError("the level files were not read");
}

void PugiParseSameBytes(benchmark::State& state)
{
    const std::vector<std::string>& bytes = TheFiles().bytes;
    int expert[kLevels] = {};
    pugi::xpath_query params("//params");
    for (auto _ : state) {
        for (int level = 1; level <= kLevels; ++level) {
            const std::string& b = bytes[size_t(level - 1)];
            pugi::xml_document document;
            document.load_buffer(b.data() + 2, b.size() - 2, pugi::parse_default, pugi::encoding_utf16_le);
            pugi::xml_node node = params.evaluate_node(document).node();
            if (node)
                expert[level - 1] = node.attribute("expert").as_int();
        }
        const std::string& ui = bytes.back();
        pugi::xml_document document;
        document.load_buffer(ui.data() + 2, ui.size() - 2, pugi::parse_default, pugi::encoding_utf16_le);
        benchmark::DoNotOptimize(document.child("root"));
    }
    if (expert[kLevels - 1] != kLevels * 1300)
        state.SkipWithError("the level files were not read");
}

BENCHMARK(OursLoadingReads)->Unit(benchmark::kMillisecond);
BENCHMARK(PugiParseSameBytes)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::RunWithRatios(argc, argv, [](const bench::RatioReporter& r) {
        bench::RatioReporter::PrintHeader("ratio");
        r.PrintRatio("loading completion's reads / pugixml, same bytes", "OursLoadingReads", "PugiParseSameBytes",
                            1.5);
    });
}
