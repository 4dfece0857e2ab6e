#include "framework/app/ModValRegistry.h"
#include "framework/app/PathUtil.h"
#include "framework/app/StringUtil.h"
#include "platform/Platform.h"
#include "platform/debug/DebugSink.h"
#include "platform/folders/Folders.h"
#include "platform/image/ImageRegions.h"
#include "platform/msgbox/MessageBoxes.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace Zelk {

namespace {

// The image holds other objects' padding around ours: reading it through the
// address checker's eyes would report every gap, so the scan reads plain bytes.
#if defined(__clang__) || defined(__GNUC__)
#define ZELK_RAW_MEMORY_READ __attribute__((no_sanitize("address")))
#else
#define ZELK_RAW_MEMORY_READ
#endif

// The zero-terminated text at p, at most up to end; false when no terminator
// comes before end.
ZELK_RAW_MEMORY_READ bool ReadRawText(const uint8_t* p, const uint8_t* end, std::string& text)
{
    text.clear();
    for (; p < end; ++p) {
        uint8_t c = *p;
        if (c == 0)
            return true;
        text.push_back(char(c));
    }
    return false;
}

// Offsets of every marker in the range.
ZELK_RAW_MEMORY_READ void FindMarkers(const uint8_t* start, size_t length, const char* marker,
                                      std::vector<size_t>& found)
{
    const size_t n = ModValRegistry::kMarkerLength;
    if (length < n)
        return;
    const uint8_t first = uint8_t(marker[0]);
    for (size_t i = 0; i + n <= length; ++i) {
        if (start[i] != first)
            continue;
        size_t k = 1;
        while (k < n && start[i + k] == uint8_t(marker[k]))
            ++k;
        if (k == n)
            found.push_back(i);
    }
}

void ShowBox(const std::string& text, const char* caption, uint32_t flags)
{
    if (plat::MessageBoxes* boxes = plat::Get().messageBoxes)
        boxes->Show(StringToWString(text), StringToWString(caption), flags);
    else
        plat::OutputDebugString(std::string(caption) + ": " + text + "\n");
}

std::string ProgramFilePath()
{
    if (plat::Folders* folders = plat::Get().folders)
        return folders->ProgramPath();
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, size_t(n)) : std::string();
}

bool EndsWithBackslash(const std::string& line) { return !line.empty() && line.back() == '\\'; }

bool IsIdentChar(char c) { return CharIsAlnum((unsigned char)c) || c == '_'; }

} // namespace

const char* ModValRegistry::Marker() { return "ZELKMODVAL"; }

ModValRegistry& ModValRegistry::Get()
{
    static ModValRegistry registry;
    return registry;
}

void ModValRegistry::ScanMemory()
{
    std::vector<plat::ImageRegion> regions = plat::LoadedImageRegions();
    size_t i = 0;
    while (i < regions.size()) {
        // A run of adjacent regions.
        const uint8_t* start = regions[i].start;
        const uint8_t* end = start + regions[i].length;
        size_t j = i + 1;
        while (j < regions.size() && regions[j].start == end) {
            end += regions[j].length;
            ++j;
        }
        if (ScanRegion(start, size_t(end - start)))
            return;
        i = j;
    }
}

bool ModValRegistry::ScanRegion(const void* start, size_t length)
{
    const uint8_t* base = static_cast<const uint8_t*>(start);
    const uint8_t* end = base + length;
    std::vector<size_t> found;
    FindMarkers(base, length, Marker(), found);

    bool any = false;
    for (size_t offset : found) {
        if (offset < kHeaderSize)
            continue; // no room for the slot's header in this range
        std::string tag;
        if (!ReadRawText(base + offset + kMarkerLength, end, tag))
            continue;
        int a = 0, b = 0;
        if (!ParseTag(tag, a, b))
            continue;
        FileEntry& file = mFiles[tag];
        file.entries[a] = Entry{const_cast<uint8_t*>(base + offset - kHeaderSize), b};
        any = true;
    }
    return any;
}

bool ModValRegistry::ParseTag(std::string& tag, int& a, int& b)
{
    // From the end: digits and at most one ",".
    size_t i = tag.size();
    bool comma = false;
    while (i > 0) {
        char c = tag[i - 1];
        if (c >= '0' && c <= '9') {
            --i;
        } else if (c == ',' && !comma) {
            comma = true;
            --i;
        } else {
            break;
        }
    }
    if (i == tag.size() || i == 0)
        return false;
    std::string numbers = tag.substr(i);
    size_t comma_at = numbers.find(',');
    if (comma_at == std::string::npos || comma_at == 0 || comma_at + 1 == numbers.size())
        return false;
    // Each number must fit an int; longer digit runs are not a tag.
    std::string first = numbers.substr(0, comma_at), second = numbers.substr(comma_at + 1);
    if (first.size() > 9 || second.size() > 9)
        return false;
    a = atoi(first.c_str());
    b = atoi(second.c_str());
    tag.resize(i);
    return true;
}

ModValue* ModValRegistry::SlotValue(const uint8_t* slot)
{
    ModValue* value = nullptr;
    memcpy(&value, slot + 1, sizeof value);
    return value;
}

void ModValRegistry::Register(const std::string& tagText, uint8_t* slot)
{
    std::string tag = tagText;
    int a = 0, b = 0;
    if (!ParseTag(tag, a, b))
        return;
    FileEntry& file = mFiles[tag];
    file.active = true;
    file.entries.emplace(a, Entry{slot, b});
}

ModValue* ModValRegistry::ActivateSlot(uint8_t* slot)
{
    std::string tag;
    const uint8_t* text = slot + kHeaderSize + kMarkerLength;
    if (ReadRawText(text, text + 65536, tag))
        Register(tag, slot);

    mValues.push_back(std::make_unique<ModValue>());
    ModValue* value = mValues.back().get();
    // Slots live in writable data, so no protection change is needed.
    memcpy(slot + 1, &value, sizeof value);
    slot[0] = 0;
    return value;
}

void ModValRegistry::Store(uint8_t* slot, const ModValue& parsed)
{
    ModValue* value = SlotIsInactive(slot) ? ActivateSlot(slot) : SlotValue(slot);
    if (!value)
        value = ActivateSlot(slot);
    value->integer = parsed.integer;
    value->real = parsed.real;
    value->text = parsed.text;
    value->changed = 1;
}

bool ModValRegistry::ParseString(const std::string& text, std::string& value)
{
    if (text.empty() || text[0] != '"')
        return false;
    std::string out;
    for (size_t i = 1; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"') {
            value = out;
            return true;
        }
        if (c != '\\') {
            out.push_back(c);
            continue;
        }
        if (++i >= text.size())
            return false;
        switch (text[i]) {
        case '"': out.push_back('"'); break;
        case '\\': out.push_back('\\'); break;
        case 'n': out.push_back('\n'); break;
        case 't': out.push_back('\t'); break;
        default: return false;
        }
    }
    return false;
}

bool ModValRegistry::ParseInt(const std::string& text, int32_t& value) const
{
    size_t i = 0;
    if (!text.empty() && (CharIsAlpha((unsigned char)text[0]) || text[0] == '_')) {
        while (i < text.size() && IsIdentChar(text[i]))
            ++i;
        auto it = mNamedConstants.find(text.substr(0, i));
        if (it == mNamedConstants.end() || i >= text.size() || text[i] != ')')
            return false;
        value = it->second;
        return true;
    }

    bool negative = false;
    if (i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    uint64_t magnitude = 0;
    size_t digits = 0;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        // Hexadecimal: any 32-bit pattern.
        i += 2;
        for (; i < text.size(); ++i, ++digits) {
            char c = text[i];
            int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (d < 0)
                break;
            magnitude = magnitude * 16 + uint64_t(d);
            if (magnitude > 0xFFFFFFFFull)
                return false;
        }
        if (digits == 0 || i >= text.size() || text[i] != ')')
            return false;
        uint32_t bits = uint32_t(magnitude);
        value = int32_t(negative ? 0u - bits : bits);
        return true;
    }
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
        magnitude = magnitude * 10 + uint64_t(text[i] - '0');
        if (magnitude > 2147483648ull)
            return false;
    }
    if (digits == 0 || i >= text.size() || text[i] != ')')
        return false;
    if (!negative && magnitude > 2147483647ull)
        return false;
    value = negative ? int32_t(-int64_t(magnitude)) : int32_t(magnitude);
    return true;
}

bool ModValRegistry::ParseDouble(const std::string& text, double& value)
{
    size_t i = 0;
    if (i < text.size() && text[i] == '-')
        ++i;
    size_t digitsStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    if (i == digitsStart)
        return false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
    }
    size_t numberEnd = i;
    if (i < text.size() && text[i] == 'f')
        ++i;
    if (i >= text.size() || text[i] != ')')
        return false;
    double parsed = strtod(text.substr(0, numberEnd).c_str(), nullptr);
    if (!std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

bool ModValRegistry::ReloadFile(const std::string& path, FileEntry& file)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    if (!in) {
        ShowBox("ERROR: Unable to open " + path + " for reparsing.", "MODVAL ERROR!", plat::MB_ICONERROR);
        return false;
    }
    auto fail = [&path](const char* format, int line) {
        ShowBox(StrFormat(format, path.c_str(), line), "MODVAL ERROR", plat::MB_ICONERROR);
        return false;
    };

    enum class State { Code, String, CharLiteral, LineComment, BlockComment };
    State state = State::Code;
    auto it = file.entries.begin();
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back(); // text files read as the system reads text

        if (state == State::LineComment) {
            // A comment line ending in "\" continues on the next line.
            if (!EndsWithBackslash(line))
                state = State::Code;
            continue;
        }

        bool inNumber = false; // inside a number, "'" separates digits
        size_t i = 0;
        while (i < line.size()) {
            char c = line[i];
            if (state == State::String || state == State::CharLiteral) {
                char quote = state == State::String ? '"' : '\'';
                if (c == '\\')
                    i += 2; // a backslash escapes the next character (or the line end)
                else {
                    if (c == quote)
                        state = State::Code;
                    ++i;
                }
                continue;
            }
            if (state == State::BlockComment) {
                size_t close = line.find("*/", i);
                if (close == std::string::npos) {
                    i = line.size();
                } else {
                    i = close + 2;
                    state = State::Code;
                }
                continue;
            }

            // Code.
            char next = i + 1 < line.size() ? line[i + 1] : '\0';
            if (c == '"') {
                state = State::String;
                inNumber = false;
                ++i;
                continue;
            }
            if (c == '\'' && !inNumber) {
                state = State::CharLiteral;
                ++i;
                continue;
            }
            if (c == '/' && next == '/') {
                if (EndsWithBackslash(line))
                    state = State::LineComment;
                break;
            }
            if (c == '/' && next == '*') {
                state = State::BlockComment;
                inNumber = false;
                i += 2;
                continue;
            }
            if (inNumber) {
                if (!(IsIdentChar(c) || c == '.' || c == '\''))
                    inNumber = false;
            } else if (c >= '0' && c <= '9' && (i == 0 || !IsIdentChar(line[i - 1]))) {
                inNumber = true;
            }

            if (c == '(') {
                bool mark = (i >= 2 && line[i - 1] == 'M' && !CharIsAlpha((unsigned char)line[i - 2])) ||
                            (i >= 3 && line[i - 1] >= '1' && line[i - 1] <= '9' && line[i - 2] == 'M' &&
                             !CharIsAlpha((unsigned char)line[i - 3]));
                if (mark) {
                    while (it != file.entries.end() && it->second.line < lineNo)
                        ++it;
                    if (it != file.entries.end() && it->second.line == lineNo) {
                        uint8_t* slot = it->second.slot;
                        ++it;
                        std::string rest = line.substr(i + 1);
                        ModValue parsed;
                        if (ParseString(rest, parsed.text)) {
                        } else if (ParseInt(rest, parsed.integer)) {
                        } else if (ParseDouble(rest, parsed.real)) {
                        } else {
                            return fail("ERROR in %s on line %d.  Parsing Error.", lineNo);
                        }
                        Store(slot, parsed);
                    }
                }
            }
            ++i;
        }

        if (state == State::String || state == State::CharLiteral) {
            // Only an escaped line end continues a literal; i ran past the end then.
            if (i <= line.size())
                return fail("ERROR in %s on line %d: Error parsing quotes", lineNo);
        }
    }

    switch (state) {
    case State::String:
    case State::CharLiteral: return fail("ERROR in %s on line %d: Error parsing quotes", lineNo);
    case State::LineComment: return fail("ERROR in %s on line %d: Error parsing c++ comment", lineNo);
    case State::BlockComment: return fail("ERROR in %s on line %d: Error parsing c comment", lineNo);
    case State::Code: break;
    }
    return true;
}

bool ModValRegistry::ReloadAll()
{
    if (mReferenceTime == 0) {
        mReferenceTime = GetFileTimeSeconds(ProgramFilePath());
        ScanMemory();
    }

    bool changed = false;
    std::string parsed;
    for (auto& [path, file] : mFiles) {
        if (!file.active)
            continue;
        uint32_t t = GetFileTimeSeconds(path);
        if (t > mReferenceTime) {
            mReferenceTime = t;
            changed = true;
        }
        if (!parsed.empty())
            parsed += "\r\n  ";
        parsed += path;
        if (!ReloadFile(path, file))
            return false;
    }
    if (changed)
        return true;
    ShowBox("WARNING: No file changes detected.  Files parsed: \r\n  " + (parsed.empty() ? std::string("none") : parsed),
            "MODVAL WARNING!", plat::MB_ICONWARNING);
    return false;
}

uint32_t GetFileTimeSeconds(const std::string& path)
{
    struct stat st;
    if (path.empty() || stat(NativePath(path).c_str(), &st) != 0)
        return 0;
    return uint32_t(st.st_mtime);
}

} // namespace Zelk
