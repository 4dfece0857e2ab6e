#include "tools/hostilefiles/TextBombs.h"

namespace hostile {

std::wstring TenfoldDefines(int levels, const std::wstring& word)
{
    auto tenTimes = [](const std::wstring& item) {
        std::wstring out;
        for (int i = 0; i < 10; ++i)
            out += item + L" ";
        return out;
    };
    std::wstring text = L"Define A0 (" + tenTimes(word) + L");\n";
    for (int i = 1; i < levels; ++i)
        text += L"Define A" + std::to_wstring(i) + L" (" + tenTimes(L"A" + std::to_wstring(i - 1)) + L");\n";
    return text;
}

std::string NestedXml(int levels)
{
    std::string text;
    for (int i = 0; i < levels; ++i)
        text += "<a>";
    for (int i = 0; i < levels; ++i)
        text += "</a>";
    return text;
}

std::string NestedXmlUtf16(int levels)
{
    std::string text = NestedXml(levels), out = "\xFF\xFE";
    for (char c : text) {
        out += c;
        out += '\0';
    }
    return out;
}

} // namespace hostile
