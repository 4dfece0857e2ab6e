#pragma once
#include "platform/xml/XmlDocument.h"

#include <string>
#include <vector>

// Reading the game's XML files as the checks see them: narrow ASCII
// attribute values (other characters as '?'), child elements by name.
namespace contentgen {

std::string Narrow(const std::wstring& text);
std::string Lower(std::string text);
// The attribute's value, or empty when it is absent.
std::string Attr(const plat::XmlNode& node, const wchar_t* name);
bool HasAttr(const plat::XmlNode& node, const wchar_t* name);
// The child elements, or those of one name.
std::vector<plat::XmlNode> Elements(const plat::XmlNode& node, const std::wstring& name = std::wstring());
// A plain decimal; fallback when the text is empty or not wholly a number.
long Int(const std::string& text, long fallback);
// A decimal with an optional fraction; fallback as for Int.
double Float(const std::string& text, double fallback);

} // namespace contentgen
