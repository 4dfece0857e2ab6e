#include "framework/app/Utf16.h"

namespace Zelk {

std::wstring Utf16ToWide(const std::u16string& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (uint32_t(text[i + 1]) - 0xDC00);
            ++i;
        }
        out += wchar_t(c);
    }
    return out;
}

std::u16string WideToUtf16(const std::wstring& text)
{
    std::u16string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        uint32_t c = uint32_t(wc);
        if (c >= 0x10000 && c <= 0x10FFFF) {
            c -= 0x10000;
            out += char16_t(0xD800 + (c >> 10));
            out += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            out += char16_t(c > 0x10FFFF ? 0xFFFD : c);
        }
    }
    return out;
}

std::wstring Utf16LEToWide(const uint8_t* data, size_t size)
{
    std::u16string units(size / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = char16_t(data[2 * i] | (data[2 * i + 1] << 8));
    return Utf16ToWide(units);
}

std::string WideToUtf16LE(const std::wstring& text)
{
    std::u16string units = WideToUtf16(text);
    std::string out(units.size() * 2, '\0');
    for (size_t i = 0; i < units.size(); ++i) {
        out[2 * i] = char(units[i] & 0xFF);
        out[2 * i + 1] = char(units[i] >> 8);
    }
    return out;
}

} // namespace Zelk
