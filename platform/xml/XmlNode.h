#pragma once
#include <memory>
#include <string>
#include <vector>

namespace pugi {
struct xml_node_struct;
struct xml_attribute_struct;
} // namespace pugi

namespace plat {

struct XmlTree;

// DOM node types, numbered as the DOM numbers them.
enum XmlNodeType : int {
    XML_NODE_NONE = 0,
    XML_NODE_ELEMENT = 1,
    XML_NODE_ATTRIBUTE = 2,
    XML_NODE_TEXT = 3,
    XML_NODE_CDATA = 4,
    XML_NODE_PROCESSING_INSTRUCTION = 7,
    XML_NODE_COMMENT = 8,
    XML_NODE_DOCUMENT = 9,
};

// A node of an XML document: the document itself, an element, an attribute,
// a text, a comment. A handle shares ownership of its tree, so it stays
// valid after its document is loaded again or goes away. An empty handle
// answers every question with nothing. No operation throws.
class XmlNode {
public:
    XmlNode() = default;

    bool IsEmpty() const { return mNode == nullptr; }
    explicit operator bool() const { return !IsEmpty(); }
    bool operator==(const XmlNode& other) const { return mNode == other.mNode && mAttr == other.mAttr; }
    bool operator!=(const XmlNode& other) const { return !(*this == other); }

    int Type() const;
    // Tag or attribute name; "#text", "#cdata-section", "#comment",
    // "#document" for the nodes without one.
    std::wstring Name() const;
    // The text of the node and everything below it, trimmed (an attribute's
    // text is its value).
    std::wstring Text() const;
    // The value of an attribute, text, comment or processing instruction;
    // false for elements and the document, which have none.
    bool Value(std::wstring& value) const;

    std::vector<XmlNode> Children() const;
    // The attributes of an element (empty for other nodes).
    std::vector<XmlNode> Attributes() const;
    // The element's attribute of that name (exact case), or empty.
    XmlNode Attribute(const std::wstring& name) const;

    // XPath 1.0 with this node as context; the selected nodes in document
    // order. False (and nothing selected) when the node is empty or the
    // expression is rejected or selects no nodes but a number or text.
    bool Select(const std::wstring& xpath, std::vector<XmlNode>& nodes) const;
    // The first node Select would give, or empty.
    XmlNode SelectSingle(const std::wstring& xpath) const;

    // A new element appended to this element or document, or inserted before
    // one of its children; empty when this node cannot hold elements.
    XmlNode CreateChildElement(const std::wstring& name, const XmlNode& before);
    XmlNode CreateChildElement(const std::wstring& name);
    // Sets (creating when needed) an attribute of this element.
    bool SetAttribute(const std::wstring& name, const std::wstring& value);

private:
    friend class XmlDocument;
    XmlNode(std::shared_ptr<XmlTree> tree, pugi::xml_node_struct* node, pugi::xml_attribute_struct* attr)
        : mTree(std::move(tree)), mNode(node), mAttr(attr)
    {
    }

    std::shared_ptr<XmlTree> mTree;
    pugi::xml_node_struct* mNode = nullptr;      // the node, or the element of an attribute
    pugi::xml_attribute_struct* mAttr = nullptr; // set for an attribute node
};

} // namespace plat
