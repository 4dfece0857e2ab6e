#include "platform/xml/XmlDocument.h"

#include "platform/xml/XmlTree.h"

#include <algorithm>
#include <cstddef>

namespace plat {

namespace {

// Comments and processing instructions stay nodes, as in the DOM; text that
// is only white space does not become a node.
constexpr unsigned kParseFlags = pugi::parse_default | pugi::parse_comments | pugi::parse_pi;

// Parses into a fresh tree, so nodes of the old one keep theirs; a tree that
// did not parse whole is emptied.
std::shared_ptr<XmlTree> Parse(const void* data, size_t size, pugi::xml_encoding encoding,
                               pugi::xml_parse_result* result = nullptr)
{
    auto tree = std::make_shared<XmlTree>();
    pugi::xml_parse_result parsed;
    if (size != 0)
        parsed = tree->doc.load_buffer(data, size, kParseFlags, encoding);
    if (size == 0 || !parsed)
        tree->doc.reset();
    if (result)
        *result = parsed;
    return tree;
}

// The UTF-8 bytes of one character: the parser counts its offsets in them.
size_t Utf8Length(wchar_t c)
{
    const auto u = static_cast<uint32_t>(c);
    return u < 0x80 ? 1 : u < 0x800 ? 2 : u < 0x10000 ? 3 : 4;
}

} // namespace

XmlDocument::XmlDocument() : mTree(std::make_shared<XmlTree>()) {}

bool XmlDocument::LoadText(const std::wstring& text)
{
    pugi::xml_parse_result result;
    mTree = Parse(text.data(), text.size() * sizeof(wchar_t), pugi::encoding_wchar, &result);
    const bool loaded = mTree->doc.first_child() != nullptr;
    mErrorLine = mErrorColumn = 0;
    mErrorReason.clear();
    if (!loaded) {
        mErrorReason = text.empty() ? "no element" : result ? "no element" : result.description();
        mErrorLine = mErrorColumn = 1;
        size_t bytes = 0;
        for (size_t i = 0; i < text.size() && bytes < size_t(std::max<ptrdiff_t>(result.offset, 0)); ++i) {
            bytes += Utf8Length(text[i]);
            if (text[i] == L'\n') {
                ++mErrorLine;
                mErrorColumn = 1;
            } else {
                ++mErrorColumn;
            }
        }
    }
    return loaded;
}

bool XmlDocument::LoadUtf16LE(const uint8_t* data, size_t size)
{
    mTree = Parse(data, size & ~size_t(1), pugi::encoding_utf16_le);
    return mTree->doc.first_child() != nullptr;
}

void XmlDocument::Clear() { mTree = std::make_shared<XmlTree>(); }

XmlNode XmlDocument::Node() const { return XmlNode(mTree, mTree->doc.internal_object(), nullptr); }

} // namespace plat
