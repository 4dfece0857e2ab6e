#include "GameFolder.h"

#include "tools/makepak/PakWriter.h"

#include <cstdlib>
#include <filesystem>
#include <zlib.h>

namespace fs = std::filesystem;

namespace contentgen {

namespace {

const int kContentVersion = 1;

const char kWebsite[] = "[InternetShortcut]\r\nURL=about.html\r\n";

const char kAbout[] =
    "<!DOCTYPE html>\n"
    "<html><head><meta charset=\"utf-8\"><title>Quillmore demo data</title></head>\n"
    "<body>\n"
    "<h1>Quillmore demo data</h1>\n"
    "<p>Everything this game shows and plays was made by the project's own content tool at build time: the\n"
    "office, the people and the panels are drawn from simple shapes, the sounds and the music are synthesised,\n"
    "and the texts come from the tool's English text table. Every name of a person, firm or product is invented.</p>\n"
    "<p>The lettering is rendered from the DejaVu Sans typeface (Book and Bold). DejaVu fonts are derived from\n"
    "Bitstream Vera; the Bitstream Vera licence and the DejaVu changes, which are in the public domain, allow\n"
    "rendering, using and redistributing the glyphs.</p>\n"
    "</body></html>\n";

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string DiskName(const std::string& path)
{
    std::string name;
    for (char c : path)
        name += c == '\\' ? '/' : c;
    return name;
}

} // namespace

uint64_t ArchiveFileTime()
{
    // Seconds from 1601-01-01 to 1970-01-01, and ticks of 100 ns.
    const uint64_t kEpochDelta = 11644473600ULL;
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (epoch && *epoch) {
        char* end = nullptr;
        const unsigned long long seconds = std::strtoull(epoch, &end, 10);
        if (end && *end == '\0')
            return (seconds + kEpochDelta) * 10000000ULL;
    }
    return 132539328000000000ULL;
}

std::string ArchiveOf(const std::string& path)
{
    if (path.find('\\') == std::string::npos)
        return std::string();
    if (path == "cfg\\loc.xml" || path.rfind("fonts\\", 0) == 0 || path.rfind("images\\loc\\", 0) == 0)
        return "loc.pak";
    return "data.pak";
}

std::vector<uint8_t> VersionPageOverride(int contentVersion)
{
    return DrawVersionPage("demo data, content version " + std::to_string(contentVersion)).bytes;
}

bool LayOut(const DataSet& data, const FolderLayout& layout, std::map<std::string, std::string>& files,
            std::string& error)
{
    files.clear();
    files["website.url"] = kWebsite;
    files["about.html"] = kAbout;
    PakWriter loc;
    PakWriter main;
    PakWriter mod;
    const std::string versionPage = "images\\splash\\version.png";
    for (const auto& file : data.files) {
        const std::string archive = ArchiveOf(file.first);
        if (archive.empty() || layout.loose) {
            files[DiskName(file.first)] = Text(file.second);
            continue;
        }
        (archive == "loc.pak" ? loc : main).Add(file.first, Text(file.second), layout.fileTime);
    }
    if (layout.loose)
        return true;
    auto it = data.files.find(versionPage);
    if (it != data.files.end())
        mod.Add(versionPage, Text(VersionPageOverride(kContentVersion)), layout.fileTime);
    const std::pair<const char*, const PakWriter*> archives[] = {{"loc.pak", &loc}, {"data.pak", &main}, {"mod.pak", &mod}};
    for (const auto& archive : archives) {
        std::string bytes;
        if (!archive.second->Build(bytes, error)) {
            error = std::string(archive.first) + ": " + error;
            return false;
        }
        files[archive.first] = bytes;
    }
    return true;
}

bool WriteGameFolder(const std::string& folder, const std::map<std::string, std::string>& files, bool loose,
                     std::string& error)
{
    std::error_code ec;
    const fs::path root(folder);
    fs::create_directories(root, ec);
    const fs::path staging = root / ".contentgen-new";
    fs::remove_all(staging, ec);
    // A file that already holds its bytes is left alone, so a run whose
    // output is unchanged writes nothing and touches no file's time.
    std::map<std::string, std::string> changed;
    for (const auto& file : files) {
        const fs::path target = root / file.first;
        std::string old;
        if (fs::is_regular_file(target, ec) && fs::file_size(target, ec) == file.second.size() &&
            ReadWholeFile(target.string(), old) && old == file.second)
            continue;
        changed.insert(file);
    }
    for (const auto& file : changed) {
        const fs::path target = staging / file.first;
        fs::create_directories(target.parent_path(), ec);
        if (!WriteWholeFile(target.string(), file.second)) {
            error = "cannot write " + (root / file.first).string();
            fs::remove_all(staging, ec);
            return false;
        }
    }
    // The other layout's data would shadow or hide this one.
    if (loose) {
        for (const char* archive : {"loc.pak", "data.pak", "mod.pak"})
            fs::remove(root / archive, ec);
    } else {
        for (const char* dir : {"cfg", "properties", "images", "fonts", "sounds", "music", "anm"})
            fs::remove_all(root / dir, ec);
    }
    for (const auto& file : changed) {
        const fs::path target = root / file.first;
        fs::create_directories(target.parent_path(), ec);
        fs::rename(staging / file.first, target, ec);
        if (ec) {
            error = "cannot move " + target.string() + " into place: " + ec.message();
            return false;
        }
    }
    fs::remove_all(staging, ec);
    return true;
}

} // namespace contentgen
