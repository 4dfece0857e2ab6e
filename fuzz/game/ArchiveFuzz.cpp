// An archive of the input's bytes added to a fresh layer; when it is taken,
// every entry is read whole, by lines and by 16-bit units, and searched for.
#include "fuzz/FuzzTempFolder.h"
#include "game/core/PakInterface.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::string ArchivePath()
{
    return fuzzsupport::TempFolder("zelk-fuzz-pak") + "/input.pak";
}

void ReadEntry(PakInterface& pak, const std::string& key)
{
    PakFile* f = pak.FOpen(key.c_str(), "rb");
    if (!f || !f->record)
        abort(); // every registered key opens its entry
    char buffer[4096];
    uint64_t total = 0;
    while (size_t n = pak.FRead(buffer, 1, sizeof buffer, f))
        total += n;
    if (total != f->record->size || !pak.FEof(f))
        abort();
    pak.FSeek(f, 0, SEEK_SET);
    while (pak.FGetS(buffer, 64, f)) {
    }
    pak.FSeek(f, -3, SEEK_END);
    while (pak.FGetWC(f) != 0xFFFF) {
    }
    pak.UngetC('x', f);
    pak.FGetC(f);
    pak.FClose(f);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = ArchivePath();
    FILE* out = fopen(path.c_str(), "wb");
    if (!out)
        return 0;
    fwrite(data, 1, size, out);
    fclose(out);

    PakInterface pak;
    if (!pak.AddPakFile(path)) {
        if (!pak.Records().empty())
            abort(); // a refused archive registers nothing
        return 0;
    }
    for (const auto& [key, record] : pak.Records()) {
        // Stored names that no look-up produces (with "/", "..", a zero byte)
        // are never opened, as the format says.
        if (PakInterface::NormaliseName(key.c_str()) == key)
            ReadEntry(pak, key);
    }
    plat::FindData found;
    if (PakFindData* find = pak.FindFirstFile("*", &found)) {
        int guard = 0;
        while (pak.FindNextFile(find, &found) && ++guard < 100000) {
        }
        pak.FindClose(find);
    }
    return 0;
}
