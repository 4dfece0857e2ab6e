#pragma once
#include <map>
#include <string>
#include <vector>

namespace Zelk {

// One token of the XML parser.
class XMLElement {
public:
    enum {
        TYPE_NONE = 0,
        TYPE_START = 1,
        TYPE_END = 2,
        TYPE_TEXT = 3,
        TYPE_INSTRUCTION = 4,
        TYPE_COMMENT = 5,
    };

    int mType = TYPE_NONE;
    // The names of the elements open when the token began, joined by "/".
    std::wstring mSection;
    // Tag name, text, instruction target, or "!--" for a comment.
    std::wstring mValue;
    // The rest of an instruction after its target, or a comment's text.
    std::wstring mInstruction;
    std::map<std::wstring, std::wstring> mAttributes;
    // Names in the order they were added (twice when added twice; never "/").
    std::vector<std::wstring> mAttributeOrder;

    void AddAttribute(const std::wstring& name, const std::wstring& value)
    {
        mAttributes[name] = value;
        if (name != L"/")
            mAttributeOrder.push_back(name);
    }

    void Clear()
    {
        mType = TYPE_NONE;
        mSection.clear();
        mValue.clear();
        mInstruction.clear();
        mAttributes.clear();
        mAttributeOrder.clear();
    }
};

} // namespace Zelk
