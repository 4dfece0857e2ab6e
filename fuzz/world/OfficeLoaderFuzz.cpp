// Any bytes as an office and a level: a little-endian u32 length, that many
// bytes of cfg\office.xml, and the rest as cfg\l1.xml, both read through the
// archive layer. The office is built, the level applied, the visible objects
// switched on, 100 ticks run, every part drawn, every object hit-tested on a
// grid and asked for its link, the level applied again, and everything
// deleted. Parts named "fuzz" find an animation file, and the objects' and
// parts' effects come from a fixed cfg\effect.xml.
#include "fuzz/world/WorldFuzz.h"
#include "game/effects/EffectFile.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeDefinitions.h"
#include "game/world/SceneObject.h"
#include "game/world/SceneObjectList.h"
#include "tools/makeanm/AnmText.h"
#include "tools/makeanm/AnmWriter.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kAnimations[] =
    "animation images\\fuzz.png fuzzidle 64 cycle 10\n"
    "frame 0 0 16 16 0 -16\nframe 16 0 16 16 2 -16\nframe 32 0 16 16 4 -16\n"
    "animation images\\fuzz.png fuzzplainbridle 64 cycle 5\n"
    "frame 0 16 16 16 0 -16\nframe 16 16 16 16 0 -16\n"
    "animation missing.png fuzzwave 64 once 20\n"
    "frame 0 0 16 16 0 0\nframe 16 0 16 16 0 0\nframe 32 0 16 16 0 0\n"
    "animation images\\fuzz.png fuzzback 64 backward 10\n"
    "frame 0 0 16 16 0 0\nframe 48 48 16 16 0 0\n";

const char kEffects[] =
    "<effects>"
    "<effect name='fade'><timers><timer name='in' type='usual' ftime='0.3' direction='forward'>"
    "<control id='1' type='point' starttime='0' function='EffectItemShow' active='true'/>"
    "<control id='2' type='range' starttime='0' endtime='0.3' function='EffectFadeIn' active='true'/></timer>"
    "<timer name='out' type='usual' ftime='0.3' direction='forward'>"
    "<control id='1' type='range' starttime='0' endtime='0.3' function='WindowFadeOut' active='true'/>"
    "<control id='2' type='point' starttime='0.3' function='EffectItemHide' active='true'/></timer></timers>"
    "<messages><message name='onshow' command='start' timer_id='in'/>"
    "<message name='onhide' command='start' timer_id='out'/>"
    "<message name='fade_out' command='start' timer_id='out'/>"
    "<message name='window_reset' command='call' timer_id='WindowReset'/></messages></effect>"
    "<effect name='pulse'><timers><timer name='t' type='cycle' ftime='0.5' direction='forward'>"
    "<control id='1' type='range' starttime='0' endtime='0.5' function='EffectScalePulse' active='true'/>"
    "<control id='2' type='range' starttime='0' endtime='0.5' function='EffectShake' active='true'/>"
    "<control id='3' type='range' starttime='0' endtime='0.5' function='UpgradeEffectBlink' active='true'/>"
    "<control id='4' type='point' starttime='0.2' function='EffectSetCheckmarkScalepoint' active='true'/>"
    "</timer></timers><messages><message name='onstart' command='start' timer_id='t'/>"
    "<message name='onsetskin' command='start' timer_id='t'/></messages></effect>"
    "<effect name='tint'><timers><timer name='t' type='ping_pong' ftime='0.4' direction='forward'>"
    "<control id='1' type='point' starttime='0.1' function='EffectTableSpecColor' active='true'/>"
    "<control id='2' type='range' starttime='0' endtime='0.4' function='EffectSlideUpAccel' active='true'/>"
    "</timer></timers><messages><message name='onstart' command='start' timer_id='t'/></messages></effect>"
    "<effect name='smoke'><messages><message name='onstart' command='call' timer_id='FuncOnWorkerWorkingPSEffect'/>"
    "<message name='render_ps' command='call' timer_id='RenderPSFunc'/>"
    "<message name='onhide' command='call' timer_id='StopPSFunc'/></messages></effect>"
    "<effect name='cash'><timers><timer name='t' type='usual' ftime='1' direction='forward'>"
    "<control id='1' type='point' starttime='0' function='EffectSetCashBonusColor' active='true'/>"
    "</timer></timers><messages><message name='oncreate' command='start' timer_id='t'/></messages></effect>"
    "</effects>";

void Prepare()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    makeanm::AnmFile file;
    std::string error;
    std::vector<uint8_t> bytes;
    if (makeanm::ParseAnmText(kAnimations, file, error) && makeanm::WriteAnm(file, bytes, error))
        fuzzsupport::Archive().Add("anm\\fuzz.anm", std::string(bytes.begin(), bytes.end()));
    fuzzsupport::Archive().Add("cfg\\effect.xml", fuzzsupport::Utf16WithMark(kEffects));
    LoadEffectFile();
}

XmlNode Root(XmlDocument& document, const char* path, const wchar_t* root)
{
    XmlLoadFile(path, document);
    return document.Node().SelectSingle(root);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    worldfuzz::World& w = worldfuzz::TheWorld();
    Prepare();
    uint32_t length = 0;
    if (size >= 4)
        std::memcpy(&length, data, 4);
    const size_t start = size < 4 ? size : 4;
    const size_t officeBytes = std::min<size_t>(length, size - start);
    fuzzsupport::Serve("cfg\\office.xml", data + start, officeBytes);
    fuzzsupport::Serve("cfg\\l1.xml", data + start + officeBytes, size - start - officeBytes);

    XmlDocument office, level;
    LoadOfficeDefinitions(Root(office, "cfg\\office.xml", L"office"));
    XmlNode levelRoot = Root(level, "cfg\\l1.xml", L"level");
    LoadLevelObjects(levelRoot);
    ActivateVisibleObjects();
    gFrameDelta = 0.01f;
    for (int tick = 0; tick < 100; ++tick) {
        UpdateAllObjects();
        UpdateAllObjectsSmooth(0.5f);
    }
    Zelk::Graphics g(&w.target);
    for (SceneObject* object : w.world.sceneObjects)
        for (ObjectPart* part : object->GetParts()) {
            part->Draw(&g);
            part->GetParentZPart();
        }
    for (SceneObject* object : w.world.sceneObjects) {
        for (int y = -20; y < 620; y += 40)
            for (int x = -20; x < 820; x += 40)
                object->HitTest({x, y});
        int out = 0;
        object->Interact(object, true, &out);
        object->SetVisible(!object->IsVisible());
        object->IsMessageEnabled("onshow");
    }
    LoadLevelObjects(levelRoot);
    DeactivateAllObjects();
    DeleteAllObjects();

    w.world.levelParams = LevelParams();
    w.world.clientParams.clear();
    w.world.workerParams.clear();
    w.world.persParams.clear();
    w.world.levelTimelines.Clear();
    w.app.PurgeSharedImages();
    return 0;
}
