#pragma once
#include <string>
#include <vector>

namespace vorsel {

// Text of the configuration and of its downloaded copy: a byte-order mark
// decides (UTF-8, UTF-16 little- or big-endian; an odd last byte is
// dropped); without one the bytes are UTF-8 when they are valid UTF-8, else
// each byte is the character of the same value.
std::wstring DecodeText(const std::string& bytes);

// Splits at CR, LF or CR LF; a final line needs no line end; nothing is
// trimmed. At most maxLines lines are kept. False when a kept line is longer
// than kMaxLine characters.
constexpr size_t kMaxLine = 65536;
bool SplitLines(const std::wstring& text, size_t maxLines, std::vector<std::wstring>& lines);

} // namespace vorsel
