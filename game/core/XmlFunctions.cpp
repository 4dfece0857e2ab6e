#include "game/core/XmlFunctions.h"

#include "framework/app/StringUtil.h"
#include "framework/resources/PakFileAccess.h"
#include "game/core/WideText.h"

#include <cstdarg>
#include <vector>

bool XmlCreateDocument(XmlDocument& document)
{
    document = XmlDocument();
    return true;
}

bool XmlLoadFile(const std::string& path, XmlDocument& document)
{
    PakFile* file = PakFOpen(path, "rb");
    if (!file)
        return false;
    PakFSeek(file, 0, SEEK_END);
    long size = PakFTell(file);
    PakFSeek(file, 0, SEEK_SET);
    std::vector<uint8_t> bytes(size > 0 ? size_t(size) : 0);
    size_t got = bytes.empty() ? 0 : PakFRead(bytes.data(), 1, bytes.size(), file);
    PakFClose(file);
    // The first two bytes are the byte-order mark; a file too short to hold
    // it holds no text.
    if (got < 2)
        document.Clear();
    else
        document.LoadUtf16LE(bytes.data() + 2, got - 2);
    return true;
}

namespace {

bool Walk(const std::vector<XmlNode>& nodes, int nodeType, XmlNodeCallback callback, void* context1,
          void* context2)
{
    for (const XmlNode& n : nodes)
        if ((nodeType < 0 || n.Type() == nodeType) && !callback(n, context1, context2))
            break;
    return true;
}

} // namespace

bool XmlForEachNode(const XmlNode& node, const std::wstring& xpath, XmlNodeCallback callback, void* context1,
                    void* context2)
{
    std::vector<XmlNode> nodes;
    if (!node.Select(xpath, nodes))
        return false;
    return Walk(nodes, -1, callback, context1, context2);
}

bool XmlForEachChild(const XmlNode& node, int nodeType, XmlNodeCallback callback, void* context1, void* context2)
{
    if (node.IsEmpty())
        return false;
    return Walk(node.Children(), nodeType, callback, context1, context2);
}

bool XmlForEachAttribute(const XmlNode& node, XmlNodeCallback callback, void* context1, void* context2)
{
    if (node.Type() != plat::XML_NODE_ELEMENT)
        return false;
    return Walk(node.Attributes(), -1, callback, context1, context2);
}

int XmlCountNodes(const XmlNode& node, const std::wstring& xpath)
{
    std::vector<XmlNode> nodes;
    node.Select(xpath, nodes);
    return int(nodes.size());
}

int XmlCountChildren(const XmlNode& node, int nodeType)
{
    int count = 0;
    for (const XmlNode& n : node.Children())
        count += n.Type() == nodeType;
    return count;
}

bool XmlGetNodeTextW(const XmlNode& node, int mode, std::wstring& text)
{
    if (node.IsEmpty())
        return false;
    switch (mode) {
    case XML_TEXT_NAME: text = node.Name(); return true;
    case XML_TEXT_TEXT: text = node.Text(); return true;
    case XML_TEXT_VALUE: return node.Value(text);
    default: return false;
    }
}

bool XmlGetNodeText(const XmlNode& node, int mode, std::string& text)
{
    std::wstring wide;
    if (!XmlGetNodeTextW(node, mode, wide))
        return false;
    text = Zelk::WStringToString(wide);
    return true;
}

XmlNode XmlGetAttributeNode(const XmlNode& node, const std::wstring& name) { return node.Attribute(name); }

bool XmlGetAttrWString(const XmlNode& node, const std::wstring& name, std::wstring& value)
{
    XmlNode attr = node.Attribute(name);
    return attr && attr.Value(value);
}

bool XmlGetAttrString(const XmlNode& node, const std::wstring& name, std::string& value)
{
    std::wstring wide;
    if (!XmlGetAttrWString(node, name, wide))
        return false;
    value = Zelk::WStringToString(wide);
    return true;
}

int ParseDecimal(const std::wstring& text, int* scale)
{
    // Unsigned arithmetic: a long run of digits wraps instead of overflowing,
    // and a scale that wrapped to 0 or below is what the float reader checks.
    uint32_t value = 0, factor = 1;
    bool negative = false;
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c >= L'0' && c <= L'9') {
            value = value * 10u + uint32_t(c - L'0');
            factor *= 10u;
        } else if (c == L'-' && i == 0) {
            negative = true;
        } else {
            break;
        }
    }
    if (scale)
        *scale = int32_t(factor);
    return int32_t(negative ? 0u - value : value);
}

bool XmlGetAttrInt(const XmlNode& node, const std::wstring& name, int& value)
{
    std::wstring text;
    if (!XmlGetAttrWString(node, name, text))
        return false;
    value = ParseDecimal(text);
    return true;
}

bool XmlTryGetAttrInt(const XmlNode& node, const std::wstring& name, int& value)
{
    int read = 0;
    if (!XmlGetAttrInt(node, name, read))
        return false;
    value = read;
    return true;
}

bool XmlGetAttrFixed(const XmlNode& node, const std::wstring& name, int& integerPart, int& fraction, int& scale)
{
    std::wstring text;
    if (!XmlGetAttrWString(node, name, text))
        return false;
    size_t dot = text.find(L'.');
    integerPart = ParseDecimal(text.substr(0, dot));
    fraction = 0;
    scale = 0;
    if (dot != std::wstring::npos)
        fraction = ParseDecimal(text.substr(dot + 1), &scale);
    if (!text.empty() && text[0] == L'-')
        fraction = int32_t(0u - uint32_t(fraction));
    return true;
}

bool XmlGetAttrFloat(const XmlNode& node, const std::wstring& name, float& value)
{
    int integerPart = 0, fraction = 0, scale = 0;
    if (!XmlGetAttrFixed(node, name, integerPart, fraction, scale))
        return false;
    value = scale <= 0 ? float(integerPart) : float(integerPart + double(fraction) / double(scale));
    return true;
}

bool XmlGetAttrBool(const XmlNode& node, const std::wstring& name, bool& value)
{
    std::wstring text;
    if (!XmlGetAttrWString(node, name, text))
        return false;
    value = WideCompare(text, L"true") == 0 || ParseDecimal(text) != 0;
    return true;
}

namespace {

// Splits at every ","; the names up to the first empty one, in order.
template <class Text>
std::vector<Text> FlagNames(const Text& text)
{
    std::vector<Text> names;
    size_t start = 0;
    for (;;) {
        size_t comma = text.find(typename Text::value_type(','), start);
        Text name = text.substr(start, comma == Text::npos ? Text::npos : comma - start);
        if (name.empty())
            break;
        names.push_back(name);
        if (comma == Text::npos)
            break;
        start = comma + 1;
    }
    return names;
}

bool SameIgnoringCase(const std::string& a, const char* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (Zelk::CharToUpper(static_cast<unsigned char>(a[i])) != Zelk::CharToUpper(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

} // namespace

bool XmlParseFlags(const std::string& text, const XmlFlag* table, int count, uint32_t& mask)
{
    for (const std::string& name : FlagNames(text)) {
        for (int i = 0; i < count; ++i) {
            if (table[i].name && SameIgnoringCase(name, table[i].name)) {
                mask |= table[i].mask;
                break;
            }
        }
    }
    return true;
}

bool XmlParseFlagsW(const std::wstring& text, const XmlFlagW* table, int count, uint32_t& mask)
{
    for (const std::wstring& name : FlagNames(text)) {
        for (int i = 0; i < count; ++i) {
            if (table[i].name && WideCompare(name, table[i].name) == 0) {
                mask |= table[i].mask;
                break;
            }
        }
    }
    return true;
}

bool XmlGetAttrFlags(const XmlNode& node, const std::wstring& name, const XmlFlag* table, int count, uint32_t& mask)
{
    std::wstring text;
    if (!table || count <= 0 || !XmlGetAttrWString(node, name, text))
        return false;
    mask = 0;
    return XmlParseFlags(Zelk::WStringToString(text), table, count, mask);
}

bool XmlGetAttrFlagsW(const XmlNode& node, const std::wstring& name, const XmlFlagW* table, int count,
                      uint32_t& mask)
{
    std::wstring text;
    if (!table || count <= 0 || !XmlGetAttrWString(node, name, text))
        return false;
    mask = 0;
    return XmlParseFlagsW(text, table, count, mask);
}

void XmlSetAttribute(XmlNode& element, const std::wstring& name, const char* format, ...)
{
    if (element.IsEmpty() || name.empty() || !format)
        return;
    va_list args;
    va_start(args, format);
    std::string text = Zelk::StrVFormat(format, args);
    va_end(args);
    element.SetAttribute(name, Zelk::StringToWString(text));
}

XmlNode XmlCreateChildElement(XmlNode& parent, const std::wstring& tag, const XmlNode& before)
{
    return parent.CreateChildElement(tag, before);
}
