#pragma once
#include <string>

namespace hostile {

// A font description whose Define i holds ten copies of Define i - 1, the
// first ten copies of word: ten to the levels copies of word in a few lines.
std::wstring TenfoldDefines(int levels, const std::wstring& word);
// An XML file of that many elements, each inside the one before.
std::string NestedXml(int levels);
// The same as UTF-16 text after its byte-order mark (the game's form).
std::string NestedXmlUtf16(int levels);

} // namespace hostile
