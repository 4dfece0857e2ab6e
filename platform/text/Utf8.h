#pragma once
#include <string>

namespace plat {

// UTF-8 for the desktop's interfaces (window titles, message boxes).
std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);
// Well-formed UTF-8 only: false on a bad or cut sequence, an overlong form, a
// surrogate or a value above U+10FFFF.
bool Utf8ToWideStrict(const std::string& text, std::wstring& out);

} // namespace plat
