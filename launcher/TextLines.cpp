#include "launcher/TextLines.h"

#include <cstdint>

namespace vorsel {

namespace {

std::wstring FromUtf16(const std::string& bytes, size_t start, bool bigEndian)
{
    std::wstring out;
    const size_t end = start + (bytes.size() - start) / 2 * 2;
    for (size_t i = start; i < end; i += 2) {
        const unsigned a = static_cast<unsigned char>(bytes[i]);
        const unsigned b = static_cast<unsigned char>(bytes[i + 1]);
        uint32_t unit = bigEndian ? (a << 8 | b) : (b << 8 | a);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < end) {
            const unsigned c = static_cast<unsigned char>(bytes[i + 2]);
            const unsigned d = static_cast<unsigned char>(bytes[i + 3]);
            const uint32_t low = bigEndian ? (c << 8 | d) : (d << 8 | c);
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        out.push_back(wchar_t(unit));
    }
    return out;
}

// Strict UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool DecodeUtf8(const std::string& bytes, size_t start, std::wstring& out)
{
    out.clear();
    for (size_t i = start; i < bytes.size();) {
        const unsigned c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            out.push_back(wchar_t(c));
            ++i;
            continue;
        }
        int more;
        uint32_t cp, min;
        if ((c & 0xE0) == 0xC0) {
            more = 1, cp = c & 0x1F, min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            more = 2, cp = c & 0x0F, min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            more = 3, cp = c & 0x07, min = 0x10000;
        } else {
            return false;
        }
        if (i + size_t(more) >= bytes.size())
            return false;
        for (int k = 1; k <= more; ++k) {
            const unsigned t = static_cast<unsigned char>(bytes[i + size_t(k)]);
            if ((t & 0xC0) != 0x80)
                return false;
            cp = cp << 6 | (t & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000))
            return false;
        out.push_back(wchar_t(cp));
        i += size_t(more) + 1;
    }
    return true;
}

} // namespace

std::wstring DecodeText(const std::string& bytes)
{
    auto startsWith = [&](const char* bom, size_t n) { return bytes.size() >= n && bytes.compare(0, n, bom, n) == 0; };
    std::wstring out;
    if (startsWith("\xEF\xBB\xBF", 3)) {
        if (DecodeUtf8(bytes, 3, out))
            return out;
        // A mark followed by bad UTF-8: the bytes as characters.
        out.clear();
        for (size_t i = 3; i < bytes.size(); ++i)
            out.push_back(wchar_t(static_cast<unsigned char>(bytes[i])));
        return out;
    }
    if (startsWith("\xFF\xFE", 2))
        return FromUtf16(bytes, 2, false);
    if (startsWith("\xFE\xFF", 2))
        return FromUtf16(bytes, 2, true);
    if (DecodeUtf8(bytes, 0, out))
        return out;
    out.clear();
    for (unsigned char c : bytes)
        out.push_back(wchar_t(c));
    return out;
}

bool SplitLines(const std::wstring& text, size_t maxLines, std::vector<std::wstring>& lines)
{
    lines.clear();
    size_t start = 0;
    while (start < text.size() && lines.size() < maxLines) {
        size_t end = start;
        while (end < text.size() && text[end] != L'\r' && text[end] != L'\n')
            ++end;
        if (end - start > kMaxLine)
            return false;
        lines.push_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n')
            ++end;
        start = end + 1;
    }
    return true;
}

} // namespace vorsel
