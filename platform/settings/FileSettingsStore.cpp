#include "platform/settings/FileSettingsStore.h"
#include "platform/files/AtomicFile.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace plat {

namespace {

std::string Escape(const std::string& s)
{
    std::string out;
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || c == 0x7F) {
            char buf[8];
            snprintf(buf, sizeof buf, "\\x%02x", c);
            out += buf;
        } else {
            out += char(c);
        }
    }
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a quoted string starting at s[pos] == '"'; pos ends after the closing quote.
bool ReadQuoted(const std::string& s, size_t& pos, std::string& out)
{
    if (pos >= s.size() || s[pos] != '"')
        return false;
    ++pos;
    out.clear();
    while (pos < s.size()) {
        char c = s[pos++];
        if (c == '"')
            return true;
        if (c == '\\') {
            if (pos >= s.size())
                return false;
            char e = s[pos++];
            if (e == 'x') {
                if (pos + 2 > s.size())
                    return false;
                int h = HexDigit(s[pos]), l = HexDigit(s[pos + 1]);
                if (h < 0 || l < 0)
                    return false;
                out += char(h * 16 + l);
                pos += 2;
            } else {
                out += e;
            }
        } else {
            out += c;
        }
    }
    return false;
}

bool ParseValue(const std::string& text, SettingsValue& v)
{
    if (text.rfind("dword:", 0) == 0) {
        std::string digits = text.substr(6);
        if (digits.empty() || digits.size() > 8)
            return false;
        uint32_t n = 0;
        for (char c : digits) {
            int d = HexDigit(c);
            if (d < 0)
                return false;
            n = n * 16 + uint32_t(d);
        }
        v.type = REG_DWORD;
        v.data = {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
        return true;
    }
    if (text.rfind("hex:", 0) == 0) {
        v.type = REG_BINARY;
        v.data.clear();
        std::string rest = text.substr(4);
        size_t i = 0;
        while (i < rest.size()) {
            if (i + 2 > rest.size())
                return false;
            int h = HexDigit(rest[i]), l = HexDigit(rest[i + 1]);
            if (h < 0 || l < 0)
                return false;
            v.data.push_back(uint8_t(h * 16 + l));
            i += 2;
            if (i < rest.size()) {
                if (rest[i] != ',')
                    return false;
                ++i;
            }
        }
        return true;
    }
    if (!text.empty() && text[0] == '"') {
        size_t pos = 0;
        std::string s;
        if (!ReadQuoted(text, pos, s) || pos != text.size())
            return false;
        v.type = REG_SZ;
        v.data.assign(s.begin(), s.end());
        return true;
    }
    return false;
}

std::string FormatValue(const SettingsValue& v)
{
    char buf[32];
    if (v.type == REG_DWORD && v.data.size() == 4) {
        uint32_t n = uint32_t(v.data[0]) | uint32_t(v.data[1]) << 8 | uint32_t(v.data[2]) << 16 |
                     uint32_t(v.data[3]) << 24;
        snprintf(buf, sizeof buf, "dword:%08x", n);
        return buf;
    }
    if (v.type == REG_SZ) {
        std::string s(v.data.begin(), v.data.end());
        while (!s.empty() && s.back() == '\0')
            s.pop_back();
        return "\"" + Escape(s) + "\"";
    }
    std::string out = "hex:";
    for (size_t i = 0; i < v.data.size(); ++i) {
        snprintf(buf, sizeof buf, i ? ",%02x" : "%02x", v.data[i]);
        out += buf;
    }
    return out;
}

std::string TrimCr(std::string line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
    size_t start = line.find_first_not_of(" \t");
    return start == std::string::npos ? std::string() : line.substr(start);
}

} // namespace

FileSettingsStore::FileSettingsStore(std::string path) : mPath(std::move(path)) { Load(); }

std::string FileSettingsStore::DefaultPath()
{
    if (const char* p = getenv("ZELK_SETTINGS_FILE"); p && *p)
        return p;
    std::string base;
    if (const char* x = getenv("XDG_CONFIG_HOME"); x && *x)
        base = x;
    else if (const char* h = getenv("HOME"); h && *h)
        base = std::string(h) + "/.config";
    else
        base = ".";
    return base + "/zelk/registry.txt";
}

void FileSettingsStore::Load()
{
    // A start: rewrites that a killed process left half way go.
    RemoveLeftoverTemporaries(mPath);
    std::ifstream in(mPath, std::ios::binary);
    if (!in)
        return;
    std::stringstream ss;
    ss << in.rdbuf();
    std::string all = ss.str();
    // A settings file is text: a NUL byte means the file is damaged.
    if (all.find('\0') != std::string::npos) {
        std::rename(mPath.c_str(), (mPath + ".bad").c_str());
        return;
    }
    ReadText(all);
}

void FileSettingsStore::ReadText(const std::string& all)
{
    std::istringstream lines(all);
    std::string line;
    Key* current = nullptr;
    while (std::getline(lines, line)) {
        line = TrimCr(line);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line[0] == '[') {
            if (line.back() != ']' || line.size() < 3) {
                current = nullptr;
                ++mSkipped;
                continue;
            }
            std::string name = line.substr(1, line.size() - 2);
            Key& k = mKeys[Fold(name)];
            if (k.name.empty())
                k.name = name;
            current = &k;
            continue;
        }
        size_t pos = 0;
        std::string name;
        SettingsValue v;
        if (!current || !ReadQuoted(line, pos, name) || pos >= line.size() || line[pos] != '=' ||
            !ParseValue(line.substr(pos + 1), v)) {
            ++mSkipped;
            continue;
        }
        auto& slot = current->values[Fold(name)];
        slot.first = name;
        slot.second = std::move(v);
    }
}

std::string FileSettingsStore::Text() const
{
    std::string text = "; Settings of the Zelk framework's programs. Values: dword:hex, \"text\", hex:bytes.\n";
    for (auto& [folded, key] : mKeys) {
        text += "\n[" + key.name + "]\n";
        for (auto& [fname, entry] : key.values)
            text += "\"" + Escape(entry.first) + "\"=" + FormatValue(entry.second) + "\n";
    }
    return text;
}

bool FileSettingsStore::Commit()
{
    const std::string text = Text();
    return WriteFileAtomically(mPath, text.data(), text.size());
}

} // namespace plat
