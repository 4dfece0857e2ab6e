#include "launcher/PageText.h"

#include <cstdint>
#include <cwchar>

namespace vorsel {

namespace {

wchar_t Lower(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? wchar_t(c + 32) : c;
}

bool MatchesAt(const std::wstring& s, size_t at, const wchar_t* word)
{
    for (size_t i = 0; word[i]; ++i)
        if (at + i >= s.size() || Lower(s[at + i]) != word[i])
            return false;
    return true;
}

bool IsBlockTag(const std::wstring& name)
{
    static const wchar_t* const kBlocks[] = {L"p", L"div", L"br", L"h1", L"h2", L"h3", L"h4", L"h5", L"h6",
                                             L"li", L"ul", L"ol", L"tr", L"table", L"title", L"hr",
                                             L"blockquote", L"pre", L"section", L"article", L"header",
                                             L"footer", L"body", L"center", L"dd", L"dt", L"form"};
    for (const wchar_t* b : kBlocks)
        if (name == b)
            return true;
    return false;
}

// One entity at text[at] == '&'; the character and the length used, or
// false when it is none we know (the '&' then stays as it is).
bool DecodeEntity(const std::wstring& text, size_t at, wchar_t& out, size_t& length)
{
    static const struct {
        const wchar_t* name;
        wchar_t c;
    } kNamed[] = {{L"amp;", L'&'}, {L"lt;", L'<'}, {L"gt;", L'>'}, {L"quot;", L'"'}, {L"apos;", L'\''},
                  {L"nbsp;", L' '}};
    for (const auto& e : kNamed)
        if (text.compare(at + 1, std::wcslen(e.name), e.name) == 0) {
            out = e.c;
            length = 1 + std::wcslen(e.name);
            return true;
        }
    if (at + 2 >= text.size() || text[at + 1] != L'#')
        return false;
    size_t i = at + 2;
    const bool hex = i < text.size() && (text[i] == L'x' || text[i] == L'X');
    if (hex)
        ++i;
    uint32_t value = 0;
    size_t digits = 0;
    for (; i < text.size() && digits < 8; ++i, ++digits) {
        const wchar_t c = text[i];
        int d;
        if (c >= L'0' && c <= L'9')
            d = int(c - L'0');
        else if (hex && Lower(c) >= L'a' && Lower(c) <= L'f')
            d = int(Lower(c) - L'a') + 10;
        else
            break;
        value = value * (hex ? 16 : 10) + uint32_t(d);
    }
    if (digits == 0 || i >= text.size() || text[i] != L';')
        return false;
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000))
        value = 0xFFFD;
    out = wchar_t(value);
    length = i + 1 - at;
    return true;
}

} // namespace

std::wstring PageTextFromHtml(const std::wstring& html)
{
    std::wstring out;
    bool pendingBlank = false;
    auto lineBreak = [&] {
        pendingBlank = false;
        // Block tags in a row make one break; none at the start.
        if (!out.empty() && out.back() != L'\n')
            out.push_back(L'\n');
    };
    size_t i = 0;
    while (i < html.size()) {
        const wchar_t c = html[i];
        if (c == L'<') {
            if (MatchesAt(html, i, L"<!--")) {
                const size_t end = html.find(L"-->", i + 4);
                i = end == std::wstring::npos ? html.size() : end + 3;
                continue;
            }
            size_t j = i + 1;
            const bool closing = j < html.size() && html[j] == L'/';
            if (closing)
                ++j;
            std::wstring name;
            while (j < html.size() && name.size() < 16 &&
                   ((html[j] >= L'a' && html[j] <= L'z') || (html[j] >= L'A' && html[j] <= L'Z') ||
                    (html[j] >= L'0' && html[j] <= L'9')))
                name.push_back(Lower(html[j++]));
            if (name.empty() && !(j < html.size() && (html[j] == L'!' || html[j] == L'?'))) {
                // Not a tag: a lone "<" is text.
                if (pendingBlank && !out.empty() && out.back() != L'\n')
                    out.push_back(L' ');
                pendingBlank = false;
                out.push_back(L'<');
                ++i;
                continue;
            }
            const size_t end = html.find(L'>', j);
            i = end == std::wstring::npos ? html.size() : end + 1;
            if (!closing && (name == L"script" || name == L"style")) {
                const std::wstring close = L"</" + name;
                size_t k = i;
                while (k < html.size() && !MatchesAt(html, k, close.c_str()))
                    ++k;
                const size_t gt = k < html.size() ? html.find(L'>', k) : std::wstring::npos;
                i = gt == std::wstring::npos ? html.size() : gt + 1;
                continue;
            }
            if (IsBlockTag(name))
                lineBreak();
            else
                pendingBlank = pendingBlank || name == L"td" || name == L"th";
            continue;
        }
        if (c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f') {
            pendingBlank = true;
            ++i;
            continue;
        }
        wchar_t ch = c;
        size_t used = 1;
        if (c == L'&' && !DecodeEntity(html, i, ch, used)) {
            ch = L'&';
            used = 1;
        }
        if (pendingBlank && !out.empty() && out.back() != L'\n')
            out.push_back(L' ');
        pendingBlank = false;
        out.push_back(ch);
        i += used;
    }
    while (!out.empty() && out.back() == L'\n')
        out.pop_back();
    return out;
}

std::vector<std::wstring> WrapText(const std::wstring& text, int width,
                                   const std::function<int(const std::wstring&)>& measure)
{
    std::vector<std::wstring> lines;
    // A single word wider than the line is broken between characters.
    auto breakLong = [&](std::wstring& line) {
        while (line.size() > 1 && measure(line) > width) {
            size_t fit = 1;
            while (fit < line.size() && measure(line.substr(0, fit + 1)) <= width)
                ++fit;
            lines.push_back(line.substr(0, fit));
            line.erase(0, fit);
        }
    };
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line;
        size_t p = start;
        while (p < end) {
            size_t wordEnd = text.find(L' ', p);
            if (wordEnd == std::wstring::npos || wordEnd > end)
                wordEnd = end;
            const std::wstring word = text.substr(p, wordEnd - p);
            const std::wstring candidate = line.empty() ? word : line + L" " + word;
            if (line.empty() || measure(candidate) <= width) {
                line = candidate;
            } else {
                lines.push_back(line);
                line = word;
            }
            breakLong(line);
            p = wordEnd + 1;
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

} // namespace vorsel
