#include "EffectCatalogue.h"

#include <sstream>

namespace contentgen {

namespace {

const char* const kUsualMessages[] = {"onshow: stop hide; start show", "onhide: stop show; start hide",
                                      "render_ps: call RenderPSFunc"};

std::vector<std::string> Usual() { return std::vector<std::string>(std::begin(kUsualMessages), std::end(kUsualMessages)); }

std::vector<EffectSpec> MakeCatalogue()
{
    std::vector<EffectSpec> effects;
    effects.push_back({"dlg_fade",
                       {"show usual 0.25: P0 DlgShow, R0-0.25 DlgFadeIn",
                        "hide usual 0.25: R0-0.25 DlgFadeOut, P0.25 DlgHide"},
                       Usual()});
    effects.push_back({"fade_quick",
                       {"show usual 0.2: P0 DlgShow, R0-0.2 DlgFadeIn",
                        "hide usual 0.2 backward: R0-0.2 DlgFadeIn, P0 DlgHide"},
                       Usual()});
    effects.push_back({"dlg_popup",
                       {"show usual 0.35: P0 DlgShow, P0 DlgSetCenterScalePoint, R0-0.35 DlgScaleUpRecoil, R0-0.2 DlgFadeIn",
                        "hide usual 0.2: R0-0.2 DlgSmallScaleDownAccel, R0-0.2 DlgFadeOut, P0.2 DlgHide"},
                       Usual()});
    effects.push_back({"dlg_popup_locked",
                       {"show usual 0.35: P0 DlgShow, P0 DlgSetCenterScalePoint, R0-0.35 DlgScaleUpRecoil, R0-0.2 DlgFadeIn, "
                        "P0 WidgetsLock, P0.35 WidgetsUnlock",
                        "hide usual 0.2: P0 WidgetsUnlock, R0-0.2 DlgSmallScaleDownAccel, R0-0.2 DlgFadeOut, P0.2 DlgHide"},
                       {"onshow: stop hide; start show", "onhide: call WidgetsUnlock; stop show; start hide",
                        "render_ps: call RenderPSFunc"}});
    effects.push_back({"dlg_slide_right",
                       {"show usual 0.4: P0 DlgShow, R0-0.4 DlgSlideFromRightAccel, R0-0.2 DlgFadeIn",
                        "hide usual 0.3: R0-0.3 DlgSlideRightAccel, R0-0.3 DlgFadeOut, P0.3 DlgHide"},
                       Usual()});
    effects.push_back({"dlg_slide_up",
                       {"show usual 0.45: P0 DlgShow, R0-0.45 DlgSlideFromBottomAccel",
                        "hide usual 0.35: R0-0.35 DlgSlideDownAccel, P0.35 DlgHide"},
                       Usual()});
    effects.push_back({"splash_page",
                       {"show usual 0.6: P0 DlgShow, R0-0.6 DlgFadeIn",
                        "hide self_destructive 0.5: R0-0.5 DlgFadeOut, R0-0.5 DlgShiftDownAccel, P0.5 DlgHide"},
                       Usual()});
    // A hint sinks as it goes; shown again it rises back to where its layout
    // puts it, the place that points at its object.
    effects.push_back({"hint_fx",
                       {"show usual 0.3: P0 DlgShow, P0 DlgSetCenterScalePoint, R0-0.3 DlgSmallScaleUpAccel, R0-0.3 DlgFadeIn",
                        "rise usual 0.3 backward: R0-0.3 DlgShiftDown",
                        "hide usual 0.3: R0-0.3 DlgShiftDown, R0-0.3 DlgFadeOut, P0.3 DlgHide"},
                       {"onshow: stop hide; start show; start rise", "onhide: stop show; stop rise; start hide",
                        "render_ps: call RenderPSFunc"}});
    effects.push_back({"comic_page",
                       {"show usual 0.5: P0 DlgShow, R0-0.5 DlgSlideFromRightAccel",
                        "hide usual 0.3: R0-0.3 DlgFadeOut, P0.3 DlgHide"},
                       Usual()});
    for (const char* name : {"hud_goal_popup", "hud_expert_popup"}) {
        effects.push_back({name,
                           {"life usual 3.0: P0 DlgShow, R0-0.3 DlgFadeIn, R2.6-3.0 DlgFadeOut, P3.0 DlgHide",
                            "stars usual 2.0: R0-2.0 FuncOnGoalExpertPSEffect", "hide usual 0.01: P0 DlgHide"},
                           {"onshow: start life; start stars", "onhide: stop life; call StopPSFunc; start hide",
                            "render_ps: call RenderPSFunc"}});
    }
    effects.push_back({"banner_zoom",
                       {"show usual 3.0: P0 DlgShow, P0 DlgSetCenterScalePoint, R0-0.4 DlgBigScaleDownAccel, R2.5-3.0 DlgScaleUpEaseOut",
                        "hide usual 0.01: P0 DlgHide"},
                       {"onshow: stop hide; start show", "onhide: stop show; start hide"}});
    effects.push_back({"text_pulse",
                       {"pulse usual 0.25: P0 DlgSetCenterScalePoint, R0-0.25 DlgSmallScaleUpAccel",
                        "show usual 0.01: P0 DlgShow", "hide usual 0.01: P0 DlgHide"},
                       {"onchange: start pulse", "onshow: start show", "onhide: start hide"}});
    effects.push_back({"upgrade_blink",
                       {"blink cycle 1.2: R0-1.2 DlgUpgradeBtnBlink", "show usual 0.01: P0 DlgShow",
                        "hide usual 0.01: P0 DlgHide"},
                       {"oncreate: start blink", "onshow: start show; resume blink", "onhide: pause blink; start hide"}});
    effects.push_back({"title_glow",
                       {"glow ping_pong 1.6: P0 DlgSetCenterScalePoint, R0-1.6 DlgSmallScaleUpAccel",
                        "show usual 0.01: P0 DlgShow", "hide usual 0.01: P0 DlgHide"},
                       {"oncreate: start glow", "onshow: start show; resume glow", "onhide: pause glow; start hide"}});
    effects.push_back({"btn_pop",
                       {"show usual 0.3: P0 DlgShow, P0 DlgSetCenterScalePoint, R0-0.3 DlgSmallScaleUpAccel",
                        "hide usual 0.01: P0 DlgHide"},
                       {"onshow: stop hide; start show", "onhide: stop show; start hide"}});
    return effects;
}

// The office's object and part effects.
std::vector<EffectSpec> MakeObjectCatalogue()
{
    const std::string show = "show usual 0.3: P0 EffectItemShow, R0-0.3 EffectFadeIn";
    const std::string hide = "hide usual 0.3: R0-0.3 EffectFadeOut, P0.3 EffectItemHide";
    const std::vector<std::string> fade = {"onshow: stop hide; start show", "onhide: stop show; start hide"};
    const std::string add = "add usual 1.0: R0-0.5 EffectScaleUpRecoil, R0-1.0 UpgradeEffectBlink";
    std::vector<EffectSpec> effects;
    effects.push_back({"obj_fade", {show, hide}, fade});
    effects.push_back({"engineer_fx", {show, "hide usual 0.01: P0 EffectItemHide"}, fade});
    effects.push_back({"client_fx",
                       {"show usual 0.5: P0 EffectItemShow, R0-0.3 EffectFadeIn, R0-0.5 EffectJumpUp",
                        "hide usual 0.01: P0 EffectItemHide"},
                       fade});
    {
        std::vector<std::string> messages = fade;
        messages.push_back("on_blink_hp: start blink");
        messages.push_back("off_blink_hp: stop blink; start unblink");
        effects.push_back({"status_hp_fx",
                           {show, hide, "blink cycle 0.6: R0-0.6 EffectBlinkHP", "unblink usual 0.01: P0 EffectBlinkHPOff"},
                           messages});
    }
    {
        std::vector<std::string> messages = fade;
        messages.push_back("shake_start: start shake");
        messages.push_back("shake_stop: stop shake");
        messages.push_back("product_highlight: start pulse");
        messages.push_back("hide_product_highlight: stop pulse; start unpulse");
        effects.push_back({"status_bubble_fx",
                           {"show usual 0.35: P0 EffectItemShow, R0-0.35 EffectSlideFromBottomDecel, R0-0.2 EffectFadeIn",
                            "hide usual 0.2: R0-0.2 EffectFadeOut, P0.2 EffectItemHide",
                            "shake cycle 0.1: R0-0.1 EffectShake", "pulse cycle 0.8: R0-0.8 EffectScalePulse",
                            "unpulse usual 0.01: R0-0.01 EffectScaleDownToOne"},
                           messages});
    }
    effects.push_back({"checkmark_fx",
                       {"init usual 0.01: P0 EffectScaleZero",
                        "show usual 0.3: P0 EffectItemShow, P0 EffectSetCheckmarkScalepoint, R0-0.3 EffectScaleUpRecoil",
                        "hide usual 0.2: R0-0.2 EffectScaleDown, P0.2 EffectItemHide"},
                       {"oncreate: start init", "onshow: stop hide; start show", "onhide: stop show; start hide"}});
    effects.push_back({"popup_cash",
                       {"cash self_destructive 1.4: P0 EffectSetCashBonusColor, R0-1.4 EffectSlideUpAccel, "
                        "R1.0-1.4 EffectFadeOut, P1.4 EffectItemHide",
                        "penalty usual 1.4: P0 EffectSetCashPenaltyColor, P0 EffectSetCashPenaltyOffset, "
                        "R0.9-1.4 EffectFadeOut, P1.4 EffectItemHide"},
                       {"on_cash: stop penalty; start cash", "on_penalty: stop cash; start penalty"}});
    effects.push_back({"popup_bonus",
                       {"bonus usual 1.6: P0 EffectSetChainColor, R0-0.4 EffectScaleDownToOne, R0.4-1.6 EffectSlideUpAccel, "
                        "R1.2-1.6 EffectFadeOut, P1.6 EffectItemHide"},
                       {"on_bonus: start bonus"}});
    effects.push_back({"table_fx", {"tint usual 0.01: P0 EffectTableSpecColor", add},
                       {"onsetskin: start tint", "add_object: start add"}});
    effects.push_back({"add_fx", {add}, {"add_object: start add"}});
    effects.push_back({"smoke_fx", {},
                       {"work_start: call FuncOnWorkerWorkingPSEffect", "work_stop: call StopPSFunc",
                        "onstart: call StopPSFunc", "render_ps: call RenderPSFunc"}});
    effects.push_back({"window_fx", {"reset usual 0.01: P0 WindowReset"}, {"window_reset: start reset"}});
    effects.push_back({"window_part_fx", {"fade usual 3.0: R0-3.0 WindowFadeOut"}, {"fade_out: start fade"}});
    effects.push_back({"signal_fx",
                       {"show usual 0.01: P0 EffectItemShow", "blink cycle 0.8: P0 EffectFadeOne, P0.4 EffectFadeZero",
                        "hide usual 0.01: P0 EffectItemHide"},
                       {"onshow: start show; start blink", "onhide: stop blink; start hide"}});
    return effects;
}

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) {
        part = Trim(part);
        if (!part.empty())
            parts.push_back(part);
    }
    return parts;
}

bool IsNumber(const std::string& text)
{
    if (text.empty())
        return false;
    bool dot = false;
    for (char c : text) {
        if (c == '.' && !dot)
            dot = true;
        else if (c < '0' || c > '9')
            return false;
    }
    return true;
}

bool BuildTimer(const std::string& text, XmlElement& timer, std::string& error)
{
    const size_t colon = text.find(':');
    if (colon == std::string::npos) {
        error = "timer \"" + text + "\" has no \":\"";
        return false;
    }
    const std::vector<std::string> head = Split(text.substr(0, colon), ' ');
    if (head.size() < 3 || head.size() > 4 || !IsNumber(head[2]) || (head.size() == 4 && head[3] != "backward")) {
        error = "timer \"" + text + "\" needs \"name type length [backward]\"";
        return false;
    }
    const std::string& type = head[1];
    if (type != "usual" && type != "self_destructive" && type != "cycle" && type != "ping_pong") {
        error = "timer " + head[0] + " has the unknown type " + type;
        return false;
    }
    timer.Set("name", head[0]).Set("type", type).Set("ftime", head[2]).Set("direction", head.size() == 4 ? "backward" : "forward");
    int id = 0;
    for (const std::string& control : Split(text.substr(colon + 1), ',')) {
        const std::vector<std::string> words = Split(control, ' ');
        if (words.size() != 2 || words[0].size() < 2 || (words[0][0] != 'P' && words[0][0] != 'R')) {
            error = "timer " + head[0] + ": control \"" + control + "\" needs \"P t Function\" or \"R a-b Function\"";
            return false;
        }
        const std::string times = words[0].substr(1);
        std::string start = times;
        std::string end = times;
        if (words[0][0] == 'R') {
            const size_t dash = times.find('-');
            if (dash == std::string::npos) {
                error = "timer " + head[0] + ": range \"" + control + "\" needs a-b";
                return false;
            }
            start = times.substr(0, dash);
            end = times.substr(dash + 1);
        }
        if (!IsNumber(start) || !IsNumber(end)) {
            error = "timer " + head[0] + ": bad time in \"" + control + "\"";
            return false;
        }
        timer.Add("control")
            .Set("id", id++)
            .Set("starttime", start)
            .Set("endtime", end)
            .Set("function", words[1])
            .Set("type", words[0][0] == 'P' ? "point" : "range")
            .Set("active", "true");
    }
    return true;
}

} // namespace

const std::vector<EffectSpec>& UiEffects()
{
    static const std::vector<EffectSpec> catalogue = MakeCatalogue();
    return catalogue;
}

const std::vector<EffectSpec>& ObjectEffects()
{
    static const std::vector<EffectSpec> catalogue = MakeObjectCatalogue();
    return catalogue;
}

bool BuildEffect(const EffectSpec& spec, XmlElement& effect, std::string& error)
{
    effect = XmlElement("effect");
    effect.Set("name", spec.name);
    XmlElement& timers = effect.Add("timers");
    for (const std::string& text : spec.timers) {
        XmlElement timer("timer");
        if (!BuildTimer(text, timer, error)) {
            error = "effect " + spec.name + ": " + error;
            return false;
        }
        timers.Add(std::move(timer));
    }
    XmlElement& messages = effect.Add("messages");
    for (const std::string& text : spec.messages) {
        const size_t colon = text.find(':');
        if (colon == std::string::npos) {
            error = "effect " + spec.name + ": message \"" + text + "\" has no \":\"";
            return false;
        }
        const std::string name = Trim(text.substr(0, colon));
        for (const std::string& entry : Split(text.substr(colon + 1), ';')) {
            const std::vector<std::string> words = Split(entry, ' ');
            const bool known = words.size() == 2 && (words[0] == "start" || words[0] == "stop" || words[0] == "pause" ||
                                                     words[0] == "resume" || words[0] == "call");
            if (!known) {
                error = "effect " + spec.name + ": message " + name + " has the bad entry \"" + entry + "\"";
                return false;
            }
            messages.Add("message").Set("name", name).Set("command", words[0]).Set("timer_id", words[1]);
        }
    }
    return true;
}

bool BuildEffectFile(XmlElement& root, std::string& error)
{
    root = XmlElement("effects");
    for (const auto* catalogue : {&UiEffects(), &ObjectEffects()})
        for (const EffectSpec& spec : *catalogue) {
            XmlElement effect;
            if (!BuildEffect(spec, effect, error))
                return false;
            root.Add(std::move(effect));
        }
    return true;
}

} // namespace contentgen
