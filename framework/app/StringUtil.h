#pragma once
#include <cstdarg>
#include <cstdint>
#include <string>

namespace Zelk {

// printf-style formatting. The whole text is returned at every length.
std::string StrFormat(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string StrVFormat(const char* fmt, va_list args);

// Wide formatting keeps the system's meaning of the string conversions: "%s"
// takes a wide string (const wchar_t*) and "%S" a narrow one (const char*,
// widened byte for byte). "%ls" and "%hs" say the same explicitly.
std::wstring WStrFormat(const wchar_t* fmt, ...);
std::wstring WStrVFormat(const wchar_t* fmt, va_list args);

// Developer output (the debugger output of the system).
void DebugPrint(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void DebugPrintW(const wchar_t* fmt, ...);

// Narrow text holds bytes; each byte is the character of the same value.
std::wstring StringToWString(const std::string& text);
inline std::wstring ToWString(const std::string& text) { return StringToWString(text); }
// Empty when any character is above U+00FF (it cannot be converted).
std::string WStringToString(const std::wstring& text);
inline std::string ToString(const std::wstring& text) { return WStringToString(text); }

// Character classes and case of the system's C locale, extended to Latin-1.
// Safe for every byte value.
int CharToUpper(int c);
int CharToLower(int c);
bool CharIsSpace(int c);
bool CharIsDigit(int c);
bool CharIsAlpha(int c);
bool CharIsAlnum(int c);

std::string StringToUpper(const std::string& text);
std::wstring WStringToUpper(const std::wstring& text);
std::string StringToLower(const std::string& text);
std::wstring WStringToLower(const std::wstring& text);
std::string StringTrim(const std::string& text);
std::wstring WStringTrim(const std::wstring& text);
// Index of the first case-insensitive occurrence of pattern; -1 when none or
// the text is empty; 0 for an empty pattern in a non-empty text.
int StrFindNoCase(const std::string& text, const std::string& pattern);
std::wstring WStringUnquote(const std::wstring& text);
// Digits in groups of three ("1,234,567"); empty for a negative number.
std::wstring CommaSeparate(int32_t value);
std::wstring CommaSeparate64(int64_t value);
// A leading decimal number as the C library's atoi reads it (white space, a
// sign, digits; 0 when there is none), held inside lo..hi instead of
// overflowing. The bounds lie within +-10^18.
int64_t ReadLeadingInteger(const std::string& text, int64_t lo, int64_t hi);

} // namespace Zelk
