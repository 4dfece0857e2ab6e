// makepak OUT.pak FOLDER [--time N] [--utf16-xml]
//   Packs every regular file below FOLDER into an archive of the game.
// makepak --list ARCHIVE.pak
//   Prints the directory: size, file time and name of every entry.
// Exit code 0 on success, 1 on any failure.
#include "game/core/PakDirectory.h"
#include "tools/makepak/PakWriter.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: makepak OUT.pak FOLDER [--time N] [--utf16-xml]\n"
                         "       makepak --list ARCHIVE.pak\n");
    return 1;
}

int List(const std::string& path)
{
    std::string bytes;
    std::vector<PakDirectoryEntry> entries;
    if (!ReadWholeFile(path, bytes)) {
        std::fprintf(stderr, "makepak: cannot read %s\n", path.c_str());
        return 1;
    }
    if (!ParsePakDirectory(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), entries)) {
        std::fprintf(stderr, "makepak: %s is not a valid archive\n", path.c_str());
        return 1;
    }
    for (const PakDirectoryEntry& e : entries)
        std::printf("%10" PRIu32 "  %20" PRIu64 "  %s\n", e.size, e.fileTime, e.name.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "--list")
        return List(args[1]);
    PakPackOptions options;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--time" && i + 1 < args.size()) {
            char* end = nullptr;
            options.fixedTime = true;
            options.fileTime = std::strtoull(args[++i].c_str(), &end, 10);
            if (!end || *end)
                return Usage();
        } else if (args[i] == "--utf16-xml") {
            options.utf16Xml = true;
        } else if (args[i].rfind("--", 0) == 0) {
            return Usage();
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2)
        return Usage();
    std::string archive, error;
    if (!PackFolder(positional[1], options, archive, error)) {
        std::fprintf(stderr, "makepak: %s\n", error.c_str());
        return 1;
    }
    if (!WriteWholeFile(positional[0], archive)) {
        std::fprintf(stderr, "makepak: cannot write %s\n", positional[0].c_str());
        return 1;
    }
    return 0;
}
