#pragma once
// Temporary: the few XML operations the application uses, until the XML
// functions land. Deleted then.
#include "framework/resources/PakFileAccess.h"

#include <pugixml.hpp>
#include <string>
#include <vector>

class XmlNode {
public:
    XmlNode() = default;
    explicit XmlNode(pugi::xml_node n) : node(n) {}
    bool IsEmpty() const { return !node; }
    pugi::xml_node node;
};

class XmlDocument {
public:
    pugi::xml_document doc;
};

inline bool XmlCreateDocument(XmlDocument& document) { return true; }

inline bool XmlLoadFile(const char* path, XmlDocument& document)
{
    PakFile* f = PakFOpen(path, "rb");
    if (!f)
        return false;
    PakFSeek(f, 0, 2);
    long size = PakFTell(f);
    PakFSeek(f, 0, 0);
    std::vector<char> bytes(size_t(size > 0 ? size : 0));
    PakFRead(bytes.data(), 1, bytes.size(), f);
    PakFClose(f);
    document.doc.reset();
    if (bytes.size() >= 2)
        document.doc.load_buffer(bytes.data() + 2, (bytes.size() - 2) & ~size_t(1), pugi::parse_default,
                                 pugi::encoding_utf16_le);
    return true;
}

inline XmlNode XmlSelectNode(const XmlDocument& document, const char* xpath)
{
    try {
        return XmlNode(document.doc.select_node(xpath).node());
    } catch (...) {
        return XmlNode();
    }
}

inline bool XmlGetAttrInt(const XmlNode& node, const char* name, int& value)
{
    pugi::xml_attribute a = node.node.attribute(name);
    if (!a)
        return false;
    value = a.as_int();
    return true;
}
#include <map>

class LocTable {
public:
    bool Load()
    {
        XmlDocument d;
        XmlLoadFile("cfg\\loc.xml", d);
        for (auto x : d.doc.select_nodes("root/loc")) {
            std::string id = x.node().attribute("id").value();
            std::string t = x.node().attribute("text").value();
            if (!t.empty() && !mTexts.count(id))
                mTexts[id] = std::wstring(t.begin(), t.end());
        }
        return true;
    }
    const std::wstring& Get(const std::string& id)
    {
        static const std::wstring empty;
        auto it = mTexts.find(id);
        return it == mTexts.end() ? empty : it->second;
    }

private:
    std::map<std::string, std::wstring> mTexts;
};

class StringTable {};
