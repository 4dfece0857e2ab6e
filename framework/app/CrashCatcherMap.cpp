// Names for the "section:offset" addresses of a crash text, from a linker map
// file (the MSVC text form) lying in the current folder.
#include "framework/app/CrashCatcher.h"

#include "framework/app/StringUtil.h"
#include "platform/crash/StackWalk.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sys/stat.h>

namespace Zelk {

namespace {

struct MapKey {
    uint32_t section;
    uint32_t offset;
    bool operator<(const MapKey& o) const { return section != o.section ? section < o.section : offset < o.offset; }
};

struct LineEntry {
    std::string file;
    int32_t line;
};

constexpr size_t kMaxMapLine = 4096;

// The entry with the greatest key not above the address, in the same section.
template <class Map>
typename Map::const_iterator FindEntry(const Map& map, const MapKey& at)
{
    auto it = map.upper_bound(at);
    if (it == map.begin())
        return map.end();
    --it;
    return it->first.section == at.section ? it : map.end();
}

std::string FirstMapFile()
{
    DIR* dir = opendir(".");
    if (!dir)
        return std::string();
    std::string best;
    while (dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name.size() < 5 || StringToLower(name.substr(name.size() - 4)) != ".map")
            continue;
        struct stat st;
        if (stat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (best.empty() || name < best)
            best = name;
    }
    closedir(dir);
    return best;
}

} // namespace

namespace CrashCatcher {

bool ParseHex(const std::string& text, uint32_t& value)
{
    if (text.size() > 8)
        return false;
    uint32_t v = 0;
    for (char c : text) {
        uint32_t d;
        if (c >= '0' && c <= '9')
            d = uint32_t(c - '0');
        else if (c >= 'A' && c <= 'F')
            d = uint32_t(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            d = uint32_t(c - 'a' + 10);
        else
            return false;
        v = (v << 4) | d;
    }
    value = v;
    return true;
}

void ResolveMapSymbols(std::string& text)
{
    const std::string map = FirstMapFile();
    if (!map.empty())
        ResolveMapSymbolsFrom(text, map);
}

void ResolveMapSymbolsFrom(std::string& text, const std::string& mapPath)
{
    std::ifstream in(mapPath, std::ios::binary);
    if (!in)
        return;

    std::map<MapKey, std::string> symbols;
    std::map<MapKey, LineEntry> lines;
    std::string source;
    std::string line;
    while (std::getline(in, line)) {
        // Text mode: no carriage returns; over-long lines are cut.
        line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
        if (line.size() > kMaxMapLine - 1)
            line.resize(kMaxMapLine - 1);

        uint32_t section = 0, offset = 0;
        if (line.size() > 22 && line[5] == ':') {
            // " ssss:oooooooo       name    ..."
            if (ParseHex(line.substr(1, 4), section) && ParseHex(line.substr(6, 8), offset) && line[20] == ' ') {
                const size_t end = line.find(' ', 21);
                if (end != std::string::npos && end > 21)
                    symbols[{section, offset}] = line.substr(21, end - 21);
            }
        } else if (line.compare(0, 12, "Line numbers") == 0) {
            // "Line numbers for obj(source file) segment .text"
            const size_t open = line.find('(');
            const size_t close = line.rfind(')');
            if (open == std::string::npos)
                source.clear();
            else if (close == std::string::npos || close < open)
                source = line.substr(open + 1);
            else
                source = line.substr(open + 1, close - open - 1);
        } else if (line.size() == 80 && !source.empty()) {
            // Four entries of 20 characters: "nnnnnn ssss:oooooooo".
            for (size_t col = 0; col < 80; col += 20) {
                const std::string entry = line.substr(col, 20);
                if (ParseHex(entry.substr(7, 4), section) && ParseHex(entry.substr(12, 8), offset))
                    lines[{section, offset}] = {source, int32_t(std::strtol(entry.substr(0, 6).c_str(), nullptr, 10))};
            }
        }
    }
    if (symbols.empty())
        return;

    size_t p = 0;
    while (p + 4 < text.size()) {
        uint32_t section = 0, offset = 0;
        if (text[p + 4] != ':' || !ParseHex(text.substr(p, 4), section) || !ParseHex(text.substr(p + 5, 8), offset)) {
            ++p;
            continue;
        }
        const MapKey at{section, offset};
        auto sym = FindEntry(symbols, at);
        if (sym == symbols.end()) {
            ++p;
            continue;
        }
        std::string replacement = plat::Demangle(sym->second);
        if (offset != sym->first.offset)
            replacement += StrFormat("+0x%X", offset - sym->first.offset);
        auto ln = FindEntry(lines, at);
        if (ln != lines.end())
            replacement += StrFormat("\r\n    %s line %d +0x%X", ln->second.file.c_str(), ln->second.line,
                                     offset - ln->first.offset);
        text.replace(p, std::min<size_t>(13, text.size() - p), replacement);
        // Go on after the inserted text, never inside it.
        p += replacement.size();
    }
}

} // namespace CrashCatcher

} // namespace Zelk
