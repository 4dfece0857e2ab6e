// Any bytes as a configuration file: loaded with XmlLoadFile, then walked
// with the queries the game uses and every attribute reader.
#include "fuzz/resources/FuzzSupport.h"
#include "game/core/LocTable.h"
#include "game/core/XmlFunctions.h"

namespace {

const XmlFlag kFlags[] = {{"a", 1}, {"B", 2}, {"loop", 4}};
const XmlFlagW kFlagsW[] = {{L"a", 1}, {L"B", 2}, {L"loop", 4}};

bool ReadEverything(const XmlNode& node, void*, void*)
{
    std::string narrow;
    std::wstring wide;
    for (int mode = 0; mode < 3; ++mode) {
        XmlGetNodeText(node, mode, narrow);
        XmlGetNodeTextW(node, mode, wide);
    }
    for (const XmlNode& attr : node.Attributes()) {
        std::wstring name = attr.Name();
        int i = 0, f = 0, s = 0;
        float x = 0;
        bool b = false;
        uint32_t mask = 0;
        XmlGetAttrString(node, name, narrow);
        XmlGetAttrWString(node, name, wide);
        XmlGetAttrInt(node, name, i);
        XmlTryGetAttrInt(node, name, i);
        XmlGetAttrFixed(node, name, i, f, s);
        XmlGetAttrFloat(node, name, x);
        XmlGetAttrBool(node, name, b);
        XmlGetAttrFlags(node, name, kFlags, 3, mask);
        XmlGetAttrFlagsW(node, name, kFlagsW, 3, mask);
    }
    XmlCountChildren(node, plat::XML_NODE_ELEMENT);
    XmlForEachAttribute(node, [](const XmlNode&, void*, void*) { return true; }, nullptr, nullptr);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::Serve("cfg\\fuzz.xml", data, size);
    XmlDocument doc;
    XmlCreateDocument(doc);
    XmlLoadFile("cfg\\fuzz.xml", doc);
    for (const wchar_t* query : {L"root", L"root/loc", L"//params", L"office", L"sounds/sound", L"//element",
                                 L"//*", L"//@*", L"//text()", L"//comment()", L"//["}) {
        XmlForEachNode(doc, query, ReadEverything, nullptr, nullptr);
        XmlCountNodes(doc, query);
    }
    XmlForEachChild(doc, plat::XML_NODE_ELEMENT, ReadEverything, nullptr, nullptr);
    LocTable table;
    table.Load("cfg\\fuzz.xml");
    table.Get("app_title");
    return 0;
}
