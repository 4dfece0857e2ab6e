#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace contentgen {

// One element of a file the tool writes: attributes in the order given,
// then child elements. Names and values are UTF-8.
struct XmlElement {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<XmlElement> children;

    explicit XmlElement(std::string elementName = std::string()) : name(std::move(elementName)) {}

    // Sets (or replaces) an attribute; returns the element for chaining.
    XmlElement& Set(const std::string& key, const std::string& value);
    XmlElement& Set(const std::string& key, int value);
    // Floats as the game's readers take them: plain decimals with ".", no
    // exponent, trailing zeros dropped.
    XmlElement& SetFloat(const std::string& key, double value);
    XmlElement& SetBool(const std::string& key, bool value);
    // The attribute's value, or empty.
    std::string Get(const std::string& key) const;
    bool Has(const std::string& key) const;
    // Appends a child and returns it; the reference is valid only until the
    // next Add on this element.
    XmlElement& Add(const std::string& childName);
    XmlElement& Add(XmlElement child);
};

// Decimal text of a float as the data files hold it.
std::string FormatFloat(double value);

// The element as the game reads its configuration: UTF-16 little-endian
// text after the mark FF FE, one element per line, two blanks per level.
std::vector<uint8_t> WriteUtf16Xml(const XmlElement& root);
// The same text as UTF-8, without a mark (for tests and sheets).
std::string WriteUtf8Xml(const XmlElement& root);

// UTF-8 text as UTF-16 little-endian code units (no mark).
std::vector<uint8_t> Utf8ToUtf16LE(const std::string& text);

} // namespace contentgen
