#include "framework/app/StringUtil.h"
#include "platform/debug/DebugSink.h"

#include <cstdio>
#include <vector>

namespace Zelk {

std::string StrVFormat(const char* fmt, va_list args)
{
    // Format on the stack first: most texts are short and formatted every frame.
    char small[160];
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(small, sizeof small, fmt, copy);
    va_end(copy);
    if (n < 0)
        return std::string();
    if (size_t(n) < sizeof small)
        return std::string(small, size_t(n));
    std::string out(size_t(n) + 1, '\0');
    va_copy(copy, args);
    vsnprintf(out.data(), out.size(), fmt, copy);
    va_end(copy);
    out.resize(size_t(n));
    return out;
}

std::string StrFormat(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    std::string s = StrVFormat(fmt, args);
    va_end(args);
    return s;
}

std::wstring WStrFormat(const wchar_t* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    std::wstring s = WStrVFormat(fmt, args);
    va_end(args);
    return s;
}

void DebugPrint(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    std::string s = StrVFormat(fmt, args);
    va_end(args);
    plat::OutputDebugString(s);
}

void DebugPrintW(const wchar_t* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    std::wstring s = WStrVFormat(fmt, args);
    va_end(args);
    plat::OutputDebugString(WStringToString(s));
}

std::wstring StringToWString(const std::string& text)
{
    std::wstring out(text.size(), L'\0');
    for (size_t i = 0; i < text.size(); ++i)
        out[i] = wchar_t(static_cast<unsigned char>(text[i]));
    return out;
}

std::string WStringToString(const std::wstring& text)
{
    std::string out(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = uint32_t(text[i]);
        if (c > 0xFF)
            return std::string();
        out[i] = char(c);
    }
    return out;
}

int CharToUpper(int c)
{
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 'A';
    // Latin-1 small letters, except the division sign and the two letters
    // without a capital in Latin-1 (sharp s and y with diaeresis).
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 0x20;
    return c;
}

int CharToLower(int c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 'a';
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 0x20;
    return c;
}

bool CharIsSpace(int c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }
bool CharIsDigit(int c) { return c >= '0' && c <= '9'; }
bool CharIsAlpha(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool CharIsAlnum(int c) { return CharIsAlpha(c) || CharIsDigit(c); }

std::string StringToUpper(const std::string& text)
{
    std::string out(text);
    for (char& c : out)
        c = char(CharToUpper(static_cast<unsigned char>(c)));
    return out;
}

std::wstring WStringToUpper(const std::wstring& text)
{
    std::wstring out(text);
    for (wchar_t& c : out)
        if (uint32_t(c) <= 0xFF)
            c = wchar_t(CharToUpper(int(c)));
    return out;
}

std::string StringToLower(const std::string& text)
{
    std::string out(text);
    for (char& c : out)
        c = char(CharToLower(static_cast<unsigned char>(c)));
    return out;
}

std::wstring WStringToLower(const std::wstring& text)
{
    std::wstring out(text);
    for (wchar_t& c : out)
        if (uint32_t(c) <= 0xFF)
            c = wchar_t(CharToLower(int(c)));
    return out;
}

template <typename S, typename Code>
static S TrimImpl(const S& text, Code code)
{
    size_t b = 0, e = text.size();
    while (b < e && CharIsSpace(code(text[b])))
        ++b;
    while (e > b && CharIsSpace(code(text[e - 1])))
        --e;
    return text.substr(b, e - b);
}

std::string StringTrim(const std::string& text)
{
    return TrimImpl(text, [](char c) { return int(static_cast<unsigned char>(c)); });
}

std::wstring WStringTrim(const std::wstring& text)
{
    return TrimImpl(text, [](wchar_t c) { return uint32_t(c) <= 0xFF ? int(c) : 0x100; });
}

int StrFindNoCase(const std::string& text, const std::string& pattern)
{
    if (text.empty())
        return -1;
    if (pattern.empty())
        return 0;
    if (pattern.size() > text.size())
        return -1;
    for (size_t i = 0; i + pattern.size() <= text.size(); ++i) {
        size_t j = 0;
        while (j < pattern.size() &&
               CharToLower(static_cast<unsigned char>(text[i + j])) ==
                   CharToLower(static_cast<unsigned char>(pattern[j])))
            ++j;
        if (j == pattern.size())
            return int(i);
    }
    return -1;
}

std::wstring WStringUnquote(const std::wstring& text)
{
    if (text.empty() || (text[0] != L'\'' && text[0] != L'"'))
        return text;
    const wchar_t q = text[0];
    std::wstring out;
    bool afterQuote = false;
    for (wchar_t c : text) {
        if (c != q) {
            out += c;
            afterQuote = false;
        } else if (afterQuote) {
            out += c;
            afterQuote = true; // after any q the next q counts as following a q again
        } else {
            afterQuote = true;
        }
    }
    return out;
}

std::wstring CommaSeparate(int32_t value) { return CommaSeparate64(value); }

std::wstring CommaSeparate64(int64_t value)
{
    if (value < 0)
        return std::wstring();
    std::string digits = std::to_string(value);
    std::wstring out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += L',';
        out += wchar_t(digits[i]);
    }
    return out;
}

int64_t ReadLeadingInteger(const std::string& text, int64_t lo, int64_t hi)
{
    constexpr int64_t kCap = 1000000000000000000; // above every bound
    size_t i = 0;
    while (i < text.size() && CharIsSpace((unsigned char)text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int64_t v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        v = v > (kCap - digit) / 10 ? kCap : v * 10 + digit;
    }
    if (negative)
        v = -v;
    return v < lo ? lo : (v > hi ? hi : v);
}

} // namespace Zelk
