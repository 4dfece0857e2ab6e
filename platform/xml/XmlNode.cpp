#include "platform/xml/XmlNode.h"

#include "platform/xml/XmlTree.h"

namespace plat {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

std::wstring Trimmed(const std::wstring& text)
{
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::wstring Wide(const pugi::char_t* text) { return pugi::as_wide(text); }
std::string Utf8(const std::wstring& text) { return pugi::as_utf8(text); }

} // namespace

int XmlNode::Type() const
{
    if (IsEmpty())
        return XML_NODE_NONE;
    if (mAttr)
        return XML_NODE_ATTRIBUTE;
    switch (pugi::xml_node(mNode).type()) {
    case pugi::node_document: return XML_NODE_DOCUMENT;
    case pugi::node_element: return XML_NODE_ELEMENT;
    case pugi::node_pcdata: return XML_NODE_TEXT;
    case pugi::node_cdata: return XML_NODE_CDATA;
    case pugi::node_comment: return XML_NODE_COMMENT;
    case pugi::node_pi: return XML_NODE_PROCESSING_INSTRUCTION;
    default: return XML_NODE_NONE;
    }
}

std::wstring XmlNode::Name() const
{
    switch (Type()) {
    case XML_NODE_ATTRIBUTE: return Wide(pugi::xml_attribute(mAttr).name());
    case XML_NODE_ELEMENT:
    case XML_NODE_PROCESSING_INSTRUCTION: return Wide(pugi::xml_node(mNode).name());
    case XML_NODE_TEXT: return L"#text";
    case XML_NODE_CDATA: return L"#cdata-section";
    case XML_NODE_COMMENT: return L"#comment";
    case XML_NODE_DOCUMENT: return L"#document";
    default: return std::wstring();
    }
}

std::wstring XmlNode::Text() const
{
    int type = Type();
    if (type == XML_NODE_NONE)
        return std::wstring();
    if (type != XML_NODE_ELEMENT && type != XML_NODE_DOCUMENT) {
        std::wstring value;
        Value(value);
        return Trimmed(value);
    }
    // The texts below the node in document order, walked without recursion so
    // that a deeply nested file cannot exhaust the stack.
    std::string text;
    pugi::xml_node top(mNode);
    pugi::xml_node n = top.first_child();
    while (n) {
        if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata)
            text += n.value();
        if (n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n && n != top && !n.next_sibling())
            n = n.parent();
        if (!n || n == top)
            break;
        n = n.next_sibling();
    }
    return Trimmed(Wide(text.c_str()));
}

bool XmlNode::Value(std::wstring& value) const
{
    switch (Type()) {
    case XML_NODE_ATTRIBUTE: value = Wide(pugi::xml_attribute(mAttr).value()); return true;
    case XML_NODE_TEXT:
    case XML_NODE_CDATA:
    case XML_NODE_COMMENT:
    case XML_NODE_PROCESSING_INSTRUCTION: value = Wide(pugi::xml_node(mNode).value()); return true;
    default: return false;
    }
}

std::vector<XmlNode> XmlNode::Children() const
{
    std::vector<XmlNode> nodes;
    if (IsEmpty() || mAttr)
        return nodes;
    for (pugi::xml_node child : pugi::xml_node(mNode).children())
        nodes.push_back(XmlNode(mTree, child.internal_object(), nullptr));
    return nodes;
}

std::vector<XmlNode> XmlNode::Attributes() const
{
    std::vector<XmlNode> nodes;
    if (Type() != XML_NODE_ELEMENT)
        return nodes;
    for (pugi::xml_attribute a : pugi::xml_node(mNode).attributes())
        nodes.push_back(XmlNode(mTree, mNode, a.internal_object()));
    return nodes;
}

XmlNode XmlNode::Attribute(const std::wstring& name) const
{
    if (Type() != XML_NODE_ELEMENT)
        return XmlNode();
    std::string key = Utf8(name);
    for (pugi::xml_attribute a : pugi::xml_node(mNode).attributes())
        if (key == a.name())
            return XmlNode(mTree, mNode, a.internal_object());
    return XmlNode();
}

bool XmlNode::Select(const std::wstring& xpath, std::vector<XmlNode>& nodes) const
{
    nodes.clear();
    if (IsEmpty())
        return false;
    try {
        pugi::xpath_query query(Utf8(xpath).c_str());
        if (query.return_type() != pugi::xpath_type_node_set)
            return false;
        pugi::xpath_node context = mAttr ? pugi::xpath_node(pugi::xml_attribute(mAttr), pugi::xml_node(mNode))
                                         : pugi::xpath_node(pugi::xml_node(mNode));
        pugi::xpath_node_set set = query.evaluate_node_set(context);
        set.sort();
        nodes.reserve(set.size());
        for (const pugi::xpath_node& n : set) {
            if (n.attribute())
                nodes.push_back(XmlNode(mTree, n.parent().internal_object(), n.attribute().internal_object()));
            else
                nodes.push_back(XmlNode(mTree, n.node().internal_object(), nullptr));
        }
        return true;
    } catch (...) {
        // The parser reports a rejected expression (and a lack of memory) by
        // throwing; here that is an empty selection.
        nodes.clear();
        return false;
    }
}

XmlNode XmlNode::SelectSingle(const std::wstring& xpath) const
{
    std::vector<XmlNode> nodes;
    Select(xpath, nodes);
    return nodes.empty() ? XmlNode() : nodes.front();
}

XmlNode XmlNode::CreateChildElement(const std::wstring& name, const XmlNode& before)
{
    int type = Type();
    if (type != XML_NODE_ELEMENT && type != XML_NODE_DOCUMENT)
        return XmlNode();
    pugi::xml_node self(mNode);
    std::string tag = Utf8(name);
    pugi::xml_node made;
    if (!before.IsEmpty() && !before.mAttr && pugi::xml_node(before.mNode).parent() == self)
        made = self.insert_child_before(tag.c_str(), pugi::xml_node(before.mNode));
    else
        made = self.append_child(tag.c_str());
    return made ? XmlNode(mTree, made.internal_object(), nullptr) : XmlNode();
}

XmlNode XmlNode::CreateChildElement(const std::wstring& name) { return CreateChildElement(name, XmlNode()); }

bool XmlNode::SetAttribute(const std::wstring& name, const std::wstring& value)
{
    if (Type() != XML_NODE_ELEMENT || name.empty())
        return false;
    pugi::xml_node self(mNode);
    std::string key = Utf8(name);
    pugi::xml_attribute a = self.attribute(key.c_str());
    if (!a)
        a = self.append_attribute(key.c_str());
    return a && a.set_value(Utf8(value).c_str());
}

} // namespace plat
