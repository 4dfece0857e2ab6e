#pragma once
// The functions through which the game reads its configuration: documents
// loaded through the archive layer, the nodes an XPath expression selects,
// and attributes read as text, numbers, booleans or flag sets. A reader
// writes its output only when the attribute is present, so the caller sets
// the default first. Values are read whole, however long.
#include "platform/xml/XmlDocument.h"

#include <cstdint>
#include <string>

using XmlDocument = plat::XmlDocument;
using XmlNode = plat::XmlNode;

// Called for each node of a walk; false stops the walk.
using XmlNodeCallback = bool (*)(const XmlNode& node, void* context1, void* context2);

// A flag name and its bits, for the flag readers.
struct XmlFlag {
    const char* name;
    uint32_t mask;
};
struct XmlFlagW {
    const wchar_t* name;
    uint32_t mask;
};

// Node texts for XmlGetNodeText: the name, the text below it, the value.
enum XmlNodeTextMode { XML_TEXT_NAME = 0, XML_TEXT_TEXT = 1, XML_TEXT_VALUE = 2 };

// A new, empty document; true.
bool XmlCreateDocument(XmlDocument& document);
// Reads the whole file ("rb", archives first) as UTF-16 little-endian text
// after its 2-byte byte-order mark and gives it to the document. True when a
// file was read (malformed text then leaves an empty document); a file that
// cannot be opened leaves the document as it was.
bool XmlLoadFile(const std::string& path, XmlDocument& document);

// Calls back for each node the expression selects, in document order. False
// for an empty node or a rejected expression, else true (also when nothing
// was selected or the callback stopped the walk).
bool XmlForEachNode(const XmlNode& node, const std::wstring& xpath, XmlNodeCallback callback, void* context1,
                    void* context2);
// The same over the node's children of one DOM node type.
bool XmlForEachChild(const XmlNode& node, int nodeType, XmlNodeCallback callback, void* context1, void* context2);
// The same over an element's attributes; false when the node is no element.
bool XmlForEachAttribute(const XmlNode& node, XmlNodeCallback callback, void* context1, void* context2);
int XmlCountNodes(const XmlNode& node, const std::wstring& xpath);
int XmlCountChildren(const XmlNode& node, int nodeType);

// The node's name, text or value (XmlNodeTextMode); true when the node has
// one. The narrow form holds the characters up to U+00FF (empty otherwise).
bool XmlGetNodeText(const XmlNode& node, int mode, std::string& text);
bool XmlGetNodeTextW(const XmlNode& node, int mode, std::wstring& text);
XmlNode XmlGetAttributeNode(const XmlNode& node, const std::wstring& name);

// Attribute readers: true when the attribute is present.
bool XmlGetAttrString(const XmlNode& node, const std::wstring& name, std::string& value);
bool XmlGetAttrWString(const XmlNode& node, const std::wstring& name, std::wstring& value);
// ParseDecimal of the text: "12px" is 12, "+5" and "" are 0.
bool XmlGetAttrInt(const XmlNode& node, const std::wstring& name, int& value);
bool XmlTryGetAttrInt(const XmlNode& node, const std::wstring& name, int& value);
// Split at the first ".": the integer part, the fraction's digits as a
// number (negative when the text starts with "-") and 10 to the number of
// those digits (0 without a fraction).
bool XmlGetAttrFixed(const XmlNode& node, const std::wstring& name, int& integerPart, int& fraction, int& scale);
// integerPart + fraction / scale: "2.05" is 2.05, ".5" 0.5, "1e3" 1.
bool XmlGetAttrFloat(const XmlNode& node, const std::wstring& name, float& value);
// "true" is true; otherwise the text read as an integer, true when nonzero.
bool XmlGetAttrBool(const XmlNode& node, const std::wstring& name, bool& value);
// The mask is set to the bits of the names listed (see XmlParseFlags); false
// without a table.
bool XmlGetAttrFlags(const XmlNode& node, const std::wstring& name, const XmlFlag* table, int count, uint32_t& mask);
bool XmlGetAttrFlagsW(const XmlNode& node, const std::wstring& name, const XmlFlagW* table, int count,
                      uint32_t& mask);

// Digits from the start ("-" allowed first) until any other character, in
// 32-bit arithmetic that wraps; scale receives 10 to the number of digits.
int ParseDecimal(const std::wstring& text, int* scale = nullptr);
// ORs into mask the bits of each comma-separated name, until an empty name;
// the narrow form ignores letter case, the wide one does not. Blanks count.
bool XmlParseFlags(const std::string& text, const XmlFlag* table, int count, uint32_t& mask);
bool XmlParseFlagsW(const std::wstring& text, const XmlFlagW* table, int count, uint32_t& mask);

// Sets the element's attribute to the printf-style text (narrow, each byte
// one character); nothing happens without an element, name or format.
void XmlSetAttribute(XmlNode& element, const std::wstring& name, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// A new element under parent, before the given child or last; empty when it
// cannot be made.
XmlNode XmlCreateChildElement(XmlNode& parent, const std::wstring& tag, const XmlNode& before = XmlNode());
