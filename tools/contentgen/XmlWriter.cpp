#include "XmlWriter.h"

#include <cmath>
#include <cstdio>

namespace contentgen {

XmlElement& XmlElement::Set(const std::string& key, const std::string& value)
{
    for (auto& attribute : attributes) {
        if (attribute.first == key) {
            attribute.second = value;
            return *this;
        }
    }
    attributes.emplace_back(key, value);
    return *this;
}

XmlElement& XmlElement::Set(const std::string& key, int value) { return Set(key, std::to_string(value)); }

XmlElement& XmlElement::SetFloat(const std::string& key, double value) { return Set(key, FormatFloat(value)); }

XmlElement& XmlElement::SetBool(const std::string& key, bool value) { return Set(key, value ? "true" : "false"); }

std::string XmlElement::Get(const std::string& key) const
{
    for (const auto& attribute : attributes)
        if (attribute.first == key)
            return attribute.second;
    return std::string();
}

bool XmlElement::Has(const std::string& key) const
{
    for (const auto& attribute : attributes)
        if (attribute.first == key)
            return true;
    return false;
}

XmlElement& XmlElement::Add(const std::string& childName)
{
    children.emplace_back(childName);
    return children.back();
}

XmlElement& XmlElement::Add(XmlElement child)
{
    children.push_back(std::move(child));
    return children.back();
}

std::string FormatFloat(double value)
{
    if (std::fabs(value) < 0.0000005)
        value = 0;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6f", value);
    std::string text = buffer;
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

namespace {

void Escape(const std::string& text, std::string& out)
{
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\n': out += "&#10;"; break;
        default: out += c;
        }
    }
}

void Write(const XmlElement& element, int depth, std::string& out)
{
    out.append(static_cast<size_t>(depth) * 2, ' ');
    out += '<';
    out += element.name;
    for (const auto& attribute : element.attributes) {
        out += ' ';
        out += attribute.first;
        out += "=\"";
        Escape(attribute.second, out);
        out += '"';
    }
    if (element.children.empty()) {
        out += "/>\r\n";
        return;
    }
    out += ">\r\n";
    for (const XmlElement& child : element.children)
        Write(child, depth + 1, out);
    out.append(static_cast<size_t>(depth) * 2, ' ');
    out += "</" + element.name + ">\r\n";
}

} // namespace

std::string WriteUtf8Xml(const XmlElement& root)
{
    std::string text = "<?xml version=\"1.0\"?>\r\n";
    Write(root, 0, text);
    return text;
}

std::vector<uint8_t> Utf8ToUtf16LE(const std::string& text)
{
    std::vector<uint8_t> out;
    out.reserve(text.size() * 2);
    auto put = [&out](uint32_t unit) {
        out.push_back(static_cast<uint8_t>(unit & 0xFF));
        out.push_back(static_cast<uint8_t>(unit >> 8));
    };
    for (size_t i = 0; i < text.size();) {
        const uint8_t lead = static_cast<uint8_t>(text[i]);
        uint32_t code = lead;
        size_t extra = 0;
        if (lead >= 0xF0) {
            code = lead & 0x07;
            extra = 3;
        } else if (lead >= 0xE0) {
            code = lead & 0x0F;
            extra = 2;
        } else if (lead >= 0xC0) {
            code = lead & 0x1F;
            extra = 1;
        }
        for (size_t k = 1; k <= extra && i + k < text.size(); ++k)
            code = (code << 6) | (static_cast<uint8_t>(text[i + k]) & 0x3F);
        i += extra + 1;
        if (code >= 0x10000) {
            code -= 0x10000;
            put(0xD800 | (code >> 10));
            put(0xDC00 | (code & 0x3FF));
        } else {
            put(code);
        }
    }
    return out;
}

std::vector<uint8_t> WriteUtf16Xml(const XmlElement& root)
{
    std::vector<uint8_t> bytes = {0xFF, 0xFE};
    const std::vector<uint8_t> body = Utf8ToUtf16LE(WriteUtf8Xml(root));
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

} // namespace contentgen
