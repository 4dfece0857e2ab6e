#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace Zelk {

// Wide text is one code point per wchar_t in memory and UTF-16 little-endian
// in files. These two helpers are the only crossing between the two: pairs
// are joined on read and split on write; a lone surrogate passes through
// unchanged both ways, so text read and written back stays byte-identical.
std::wstring Utf16LEToWide(const uint8_t* data, size_t size);
std::string WideToUtf16LE(const std::wstring& text);
std::wstring Utf16ToWide(const std::u16string& text);
std::u16string WideToUtf16(const std::wstring& text);

} // namespace Zelk
