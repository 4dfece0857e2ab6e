#include "game/core/LocTable.h"

#include "game/core/XmlFunctions.h"

namespace {

bool AddEntry(const XmlNode& node, void* context, void*)
{
    auto& texts = *static_cast<std::map<std::string, std::wstring>*>(context);
    std::string id;
    std::wstring text;
    if (XmlGetAttrString(node, L"id", id) && XmlGetAttrWString(node, L"text", text) && !text.empty())
        texts.emplace(id, text); // keeps an earlier entry of the id
    return true;
}

} // namespace

bool LocTable::Load(const std::string& path)
{
    XmlDocument document;
    XmlCreateDocument(document);
    XmlLoadFile(path, document);
    XmlNode root = XmlNode(document).SelectSingle(L"root");
    if (root)
        XmlForEachNode(root, L"loc", AddEntry, &mTexts, nullptr);
    return true;
}

const std::wstring& LocTable::Get(const std::string& id) const
{
    static const std::wstring empty;
    auto it = mTexts.find(id);
    return it == mTexts.end() ? empty : it->second;
}
