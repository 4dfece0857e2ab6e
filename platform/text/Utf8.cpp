#include "platform/text/Utf8.h"

#include <cstdint>

namespace plat {

std::string WideToUtf8(const std::wstring& text)
{
    std::string out;
    for (wchar_t wc : text) {
        uint32_t c = uint32_t(wc);
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
            c = 0xFFFD;
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

namespace {

// One character of UTF-8 at text[i]; false for a bad lead byte or a cut or
// bad sequence. Strict also refuses overlong forms, surrogates and values
// above U+10FFFF.
bool DecodeUtf8(const std::string& text, size_t i, bool strict, uint32_t& c, size_t& length)
{
    uint8_t b = uint8_t(text[i]);
    int extra;
    if (b < 0x80) { c = b; extra = 0; }
    else if ((b & 0xE0) == 0xC0) { c = b & 0x1F; extra = 1; }
    else if ((b & 0xF0) == 0xE0) { c = b & 0x0F; extra = 2; }
    else if ((b & 0xF8) == 0xF0) { c = b & 0x07; extra = 3; }
    else return false;
    for (int k = 1; k <= extra; ++k) {
        if (i + size_t(k) >= text.size() || (uint8_t(text[i + k]) & 0xC0) != 0x80)
            return false;
        c = (c << 6) | (uint8_t(text[i + k]) & 0x3F);
    }
    if (strict) {
        static const uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (c < kSmallest[extra] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
            return false;
    }
    length = size_t(extra) + 1;
    return true;
}

} // namespace

std::wstring Utf8ToWide(const std::string& text)
{
    std::wstring out;
    size_t i = 0;
    while (i < text.size()) {
        uint32_t c;
        size_t length;
        if (!DecodeUtf8(text, i, false, c, length)) {
            out += wchar_t(0xFFFD);
            ++i;
            continue;
        }
        out += wchar_t(c);
        i += length;
    }
    return out;
}

bool Utf8ToWideStrict(const std::string& text, std::wstring& out)
{
    out.clear();
    size_t i = 0;
    while (i < text.size()) {
        uint32_t c;
        size_t length;
        if (!DecodeUtf8(text, i, true, c, length))
            return false;
        out += wchar_t(c);
        i += length;
    }
    return true;
}

} // namespace plat
