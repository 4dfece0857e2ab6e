#pragma once
#include <functional>
#include <string>
#include <vector>

namespace vorsel {

// A page as plain text: the contents of script and style elements and of
// comments are dropped, tags are stripped, block tags break lines, the basic
// entities and numeric character references are decoded, blanks are
// collapsed. Lines are separated by "\n"; there are no empty lines.
std::wstring PageTextFromHtml(const std::wstring& html);

// Breaks lines at blanks so that each fits the width as measured (a word
// longer than the width is broken between characters).
std::vector<std::wstring> WrapText(const std::wstring& text, int width,
                                   const std::function<int(const std::wstring&)>& measure);

} // namespace vorsel
