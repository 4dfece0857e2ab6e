#pragma once
#include "platform/xml/XmlNode.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace plat {

// An XML document with XPath 1.0 (the DOM document of the system). Loading
// replaces the whole tree; nodes taken from the old tree keep it. Malformed
// text leaves an empty document, in which every selection finds nothing.
class XmlDocument {
public:
    XmlDocument();

    // Parses wide text; false (and an empty document) when it is malformed,
    // and then ErrorLine(), ErrorColumn() (from 1, in characters) and
    // ErrorReason() tell where and why it stopped.
    bool LoadText(const std::wstring& text);
    // Parses UTF-16 little-endian text without a byte-order mark; an odd
    // last byte is ignored.
    bool LoadUtf16LE(const uint8_t* data, size_t size);
    void Clear();

    int ErrorLine() const { return mErrorLine; }
    int ErrorColumn() const { return mErrorColumn; }
    const std::string& ErrorReason() const { return mErrorReason; }

    // The document node: the context of queries from the top.
    XmlNode Node() const;
    operator XmlNode() const { return Node(); }

private:
    std::shared_ptr<XmlTree> mTree;
    int mErrorLine = 0;
    int mErrorColumn = 0;
    std::string mErrorReason;
};

} // namespace plat
