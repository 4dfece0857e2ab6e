#include "XmlRead.h"

#include <cstdlib>

namespace contentgen {

std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string Attr(const plat::XmlNode& node, const wchar_t* name)
{
    std::wstring value;
    const plat::XmlNode attribute = node.Attribute(name);
    if (attribute.IsEmpty() || !attribute.Value(value))
        return std::string();
    return Narrow(value);
}

bool HasAttr(const plat::XmlNode& node, const wchar_t* name) { return !node.Attribute(name).IsEmpty(); }

std::vector<plat::XmlNode> Elements(const plat::XmlNode& node, const std::wstring& name)
{
    std::vector<plat::XmlNode> list;
    for (const plat::XmlNode& child : node.Children())
        if (child.Type() == 1 && (name.empty() || child.Name() == name))
            list.push_back(child);
    return list;
}

long Int(const std::string& text, long fallback)
{
    if (text.empty())
        return fallback;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    return *end == '\0' ? value : fallback;
}

double Float(const std::string& text, double fallback)
{
    if (text.empty())
        return fallback;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return *end == '\0' ? value : fallback;
}

} // namespace contentgen
