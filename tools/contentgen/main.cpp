// contentgen: writes the game's data set, checks a game folder, writes
// contact sheets or the fixture office.
#include "GameFolder.h"
#include "assets/Assets.h"
#include "Generator.h"
#include "Options.h"
#include "Validator.h"

#include "tools/makepak/PakWriter.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

int Fail(const std::string& message)
{
    std::fprintf(stderr, "contentgen: %s\n", message.c_str());
    return 1;
}

int Check(const std::string& folder)
{
    contentgen::DataSet data;
    std::string error;
    if (!contentgen::ReadGameFolder(folder, data, error))
        return Fail(error);
    const std::vector<contentgen::Finding> findings = contentgen::Validate(data, true);
    for (const contentgen::Finding& finding : findings)
        std::fprintf(stderr, "%s\n", finding.Text().c_str());
    if (!findings.empty())
        return Fail(std::to_string(findings.size()) + " problems in " + folder);
    std::printf("contentgen: %s passes (%zu files)\n", folder.c_str(), data.files.size());
    return 0;
}

int Write(const std::string& folder, const contentgen::DataSet& data, bool loose)
{
    std::map<std::string, std::string> files;
    std::string error;
    contentgen::FolderLayout layout;
    layout.loose = loose;
    layout.fileTime = contentgen::ArchiveFileTime();
    if (!contentgen::LayOut(data, layout, files, error) || !contentgen::WriteGameFolder(folder, files, loose, error))
        return Fail(error);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    contentgen::Options options;
    std::string error;
    if (!contentgen::ParseOptions(args, options, error)) {
        std::fprintf(stderr, "contentgen: %s\n%s", error.c_str(), contentgen::kUsage);
        return 2;
    }
    contentgen::TextTable texts;
    if (!contentgen::LoadTexts(texts, error))
        return Fail(error);
    if (!options.out.empty()) {
        contentgen::GenerateOptions generate;
        generate.only = options.only;
        generate.threads = options.threads > 0 ? options.threads : static_cast<int>(std::thread::hardware_concurrency());
        generate.report = true;
        contentgen::DataSet data;
        if (!contentgen::GenerateDataSet(texts, generate, data, error))
            return Fail(error);
        if (options.only.empty()) {
            const std::vector<contentgen::Finding> findings = contentgen::Validate(data, true);
            for (const contentgen::Finding& finding : findings)
                std::fprintf(stderr, "%s\n", finding.Text().c_str());
            if (!findings.empty())
                std::fprintf(stderr, "contentgen: warning: %zu problems in the generated data\n", findings.size());
        }
        if (int code = Write(options.out, data, options.loose))
            return code;
    }
    if (!options.fixture.empty()) {
        contentgen::DataSet data;
        if (!contentgen::GenerateFixtureOffice(texts, data, error))
            return Fail(error);
        if (int code = Write(options.fixture, data, true))
            return code;
    }
    if (!options.sheets.empty()) {
        contentgen::GenerateOptions generate;
        generate.threads = static_cast<int>(std::thread::hardware_concurrency());
        contentgen::DataSet data;
        if (!contentgen::GenerateDataSet(texts, generate, data, error))
            return Fail(error);
        // Only the sheets: none of the game folder's own files.
        std::error_code ec;
        std::filesystem::create_directories(options.sheets, ec);
        for (const contentgen::OutFile& sheet : contentgen::DrawContactSheets(data.files)) {
            const std::string path = (std::filesystem::path(options.sheets) / sheet.path).string();
            if (!WriteWholeFile(path, std::string(sheet.bytes.begin(), sheet.bytes.end())))
                return Fail("cannot write " + path);
        }
    }
    if (!options.check.empty())
        return Check(options.check);
    return 0;
}
