#include "platform/xml/XmlDocument.h"

#include "platform/xml/XmlTree.h"

namespace plat {

namespace {

// Comments and processing instructions stay nodes, as in the DOM; text that
// is only white space does not become a node.
constexpr unsigned kParseFlags = pugi::parse_default | pugi::parse_comments | pugi::parse_pi;

// Parses into a fresh tree, so nodes of the old one keep theirs; a tree that
// did not parse whole is emptied.
std::shared_ptr<XmlTree> Parse(const void* data, size_t size, pugi::xml_encoding encoding)
{
    auto tree = std::make_shared<XmlTree>();
    if (size == 0 || !tree->doc.load_buffer(data, size, kParseFlags, encoding))
        tree->doc.reset();
    return tree;
}

} // namespace

XmlDocument::XmlDocument() : mTree(std::make_shared<XmlTree>()) {}

bool XmlDocument::LoadText(const std::wstring& text)
{
    mTree = Parse(text.data(), text.size() * sizeof(wchar_t), pugi::encoding_wchar);
    return mTree->doc.first_child() != nullptr;
}

bool XmlDocument::LoadUtf16LE(const uint8_t* data, size_t size)
{
    mTree = Parse(data, size & ~size_t(1), pugi::encoding_utf16_le);
    return mTree->doc.first_child() != nullptr;
}

void XmlDocument::Clear() { mTree = std::make_shared<XmlTree>(); }

XmlNode XmlDocument::Node() const { return XmlNode(mTree, mTree->doc.internal_object(), nullptr); }

} // namespace plat
