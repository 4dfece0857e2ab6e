#include "game/effects/EffectFile.h"

#include "framework/app/StringUtil.h"
#include "game/effects/Effect.h"

XmlDocument* gEffectDocument = nullptr;
XmlNode gEffectsNode;

void LoadEffectFile()
{
    ReleaseEffectFile();
    gEffectDocument = new XmlDocument();
    XmlCreateDocument(*gEffectDocument);
    XmlLoadFile("cfg\\effect.xml", *gEffectDocument);
    gEffectsNode = gEffectDocument->Node().SelectSingle(L"effects");
}

void ReleaseEffectFile()
{
    gEffectsNode = XmlNode();
    delete gEffectDocument;
    gEffectDocument = nullptr;
}

Effect* CreateEffect(const std::string& name)
{
    if (gEffectsNode.IsEmpty())
        return nullptr;
    // The name is compared here, never put into a query: any text is a name.
    std::wstring wideName = Zelk::StringToWString(name);
    std::vector<XmlNode> nodes;
    gEffectsNode.Select(L"effect", nodes);
    for (const XmlNode& node : nodes) {
        std::wstring value;
        if (XmlGetAttrWString(node, L"name", value) && value == wideName) {
            Effect* effect = new Effect();
            effect->Load(node);
            return effect;
        }
    }
    return nullptr;
}
