#pragma once
#include <string>

namespace plat {

// UTF-8 for the desktop's interfaces (window titles, message boxes).
std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);

} // namespace plat
