#include "UiFile.h"

#include "LayoutBuilder.h"
#include "Tables.h"
#include "assets/Assets.h"

#include <algorithm>
#include <cstdio>

namespace contentgen {

namespace {

std::string Num(const char* format, int value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::vector<std::pair<std::string, std::string>> MakeFixedTextures()
{
    std::vector<std::pair<std::string, std::string>> t;
    auto add = [&t](const std::string& id, const std::string& file) { t.emplace_back(id, file); };
    add("hud_goal", "images\\hud\\hud_goal.png");
    add("hud_expert", "images\\hud\\hud_expert.png");
    add("bar", "images\\hud\\bar.png");
    add("bar_ex", "images\\hud\\bar_ex.png");
    for (int k = 0; k <= 12; ++k)
        add(Num("hud_clock%d", k), Num("images\\hud\\clock%02d.gif", k));
    for (const char* skin : {"man", "woman"}) {
        const std::string s = skin;
        add("db06_boss" + s, "images\\portraits\\db06_boss" + s + ".png");
        add("mn01_boss" + s, "images\\portraits\\mn01_boss" + s + ".png");
        add("mn04_boss" + s, "images\\portraits\\mn04_boss" + s + ".png");
        for (const char* kind : {"expert", "goal", "failure"})
            add("db07_boss" + s + "_" + kind, "images\\portraits\\db07_boss" + s + "_" + kind);
    }
    for (int k = 1; k <= 3; ++k) {
        add(Num("brief_calendar%d", k), Num("images\\calendar\\brief_calendar%d.png", k));
        add(Num("db07_calendar%d", k), Num("images\\calendar\\db07_calendar%d.png", k));
        add(Num("mn04_month%d", k), Num("images\\career\\month%d.png", k));
        add(Num("sv_month%d", k), Num("images\\survival\\month%d.png", k));
    }
    for (int level : BriefingPictureLevels())
        add(Num("brief_l%d", level), Num("images\\briefing\\brief_l%d.png", level));
    for (const char* day : {"work", "normal", "expert", "weekend"})
        add(std::string("mn04_calendar_day_") + day, std::string("images\\calendar\\day_") + day + ".png");
    for (const char* kind : {"expert", "goal", "failure"}) {
        add(std::string("db07_bosspanel_") + kind, std::string("images\\debriefing\\bosspanel_") + kind + ".png");
        add(std::string("db07_moneypanel_") + kind, std::string("images\\debriefing\\moneypanel_") + kind + ".png");
    }
    for (int k = 1; k <= 5; ++k)
        for (const char* skin : {"man", "woman"})
            add(Num("comix%d_", k) + skin, Num("images\\comic\\comix%d_", k) + skin + ".jpg");
    for (const char* kind : {"restlvl", "exitmenu", "delcareer", "quit", "delprof"})
        add(std::string("db01_icon_") + kind, std::string("images\\dialogs\\icon_") + kind + ".png");
    for (const std::string& option : UpgradeOptions())
        add("db08_" + option, "images\\upgrades\\" + option + ".png");
    add("fx_goal_star_small", "images\\fx\\star_small.tga");
    add("fx_goal_star_big", "images\\fx\\star_big");
    add("fx_work_smoke", "images\\fx\\smoke.png");
    add("bg_frontend", "images\\frontend\\background.jpg");
    add("bg_loading", "images\\frontend\\loading.jpg");
    add("splash_studio", "images\\splash\\studio.jpg");
    add("splash_title", "images\\splash\\title.jpg");
    add("splash_version", "images\\splash\\version.png");
    add("logo_title", "images\\loc\\logo_title.png");
    add("newflash", "images\\loc\\newflash.png");
    add("help1", "images\\help\\help1");
    add("help2", "images\\help\\help2");
    add("help3", "images\\help\\help3");
    add("help4", "images\\help\\help4");
    for (int k = 0; k < 8; ++k)
        add(Num("+%dspin", k), Num("images\\frontend\\spin%d.png", k));
    for (int k = 0; k < 6; ++k)
        add(Num("+%dspark", k), Num("images\\debriefing\\spark%d.png", k));
    add("banner_goal", "images\\hud\\banner_goal.png");
    add("banner_expert", "images\\hud\\banner_expert.png");
    add("upgrade_glow", "images\\hud\\upgrade_glow.png");
    add("cursor_normal", "images\\cursors\\normal.tga");
    add("cursor_active", "images\\cursors\\active.tga");
    add("cursor_text", "images\\cursors\\text.tga");
    return t;
}

XmlElement& Effect(XmlElement& element, const std::string& effect)
{
    element.Set("effect", effect);
    return element;
}

// Text centred in its box, across and down.
XmlElement Centred(XmlElement text)
{
    text.Set("justify", 0).Set("valign", 0);
    return text;
}

// The panel behind the career and survival screens, which lie over the
// front-end backdrop.
struct PanelRect {
    int x, y, w, h;
};
const PanelRect kScreenPanel = {8, 6, 784, 588};

// Where a panel's children may lie: inside its rim, in the coordinates of
// the dialog the panel is drawn in.
PanelRect InnerArea(const PanelRect& panel)
{
    const int frame = PanelFrame(panel.w, panel.h);
    return {panel.x + frame, panel.y + frame, panel.w - 3 - 2 * frame, panel.h - 4 - 2 * frame};
}

// A panel's title: in the band at its top, from x over w, inside the rim
// and above the rule under the band.
XmlElement Title(LayoutBuilder& b, const PanelRect& panel, int x, int w, const std::string& label)
{
    const PanelRect inner = InnerArea(panel);
    const int y = inner.y;
    const int h = std::min(44, panel.y + PanelTitleRuleTop(panel.h) - 2 - y);
    return b.Text("title", x, y, w, h, label, "title");
}

// Where each HUD hint points: the spot in the office it stands beside.
struct HintSpot {
    int x;
    int y;
};
const HintSpot kHintSpots[16] = {
    {250, 575}, {250, 500}, {250, 470}, {150, 152}, {510, 265}, {510, 265}, {510, 265}, {250, 575},
    {400, 300}, {345, 575}, {400, 60},  {300, 575}, {250, 470}, {150, 265}, {150, 265}, {250, 575}};

XmlElement GlobalBackground(LayoutBuilder& b)
{
    XmlElement layout = b.Dialog("global_bkg", 0, 0, 800, 600);
    LayoutBuilder::Texture(layout, "normal", "bg_frontend");
    XmlElement logo = b.Text("logo", 24, 14, 300, 90);
    LayoutBuilder::Texture(logo, "normal", "logo_title");
    layout.Add(Effect(logo, "title_glow"));
    return layout;
}

XmlElement MainMenu(LayoutBuilder& b)
{
    XmlElement layout = b.Dialog("main_menu", 0, 0, 800, 600);
    layout.SetBool("has_alpha", true).SetBool("mousevisible", false);

    XmlElement menu = b.PanelDialog("main_menu_dlg", 500, 130, 270, 400, false);
    Effect(menu, "dlg_slide_right");
    const char* const names[] = {"career", "survival", "hiscores", "options", "help", "quit"};
    for (int k = 0; k < 6; ++k)
        menu.Add(b.Button(names[k], 25, 30 + 58 * k, 220, 48, std::string("mm_") + names[k]));
    layout.Add(menu);

    XmlElement profile = b.PanelDialog("profile_dlg", 30, 440, 440, 140, false);
    // The button wide enough for its label on one line; the texts left of it.
    XmlElement change = b.Button("profile", 256, 84, 170, 40, "mm_change_player");
    profile.Add(Effect(change, "btn_pop"));
    for (int k = 1; k <= 2; ++k) {
        XmlElement text = b.Text(Num("profile_text%d", k), 24, 48, 228, 76, Num("mm_profile_text%d", k), "text");
        profile.Add(Effect(text, "fade_quick"));
    }
    layout.Add(profile);

    for (int k = 1; k <= 2; ++k) {
        XmlElement boss = b.Text(Num("boss%d", k), 60, 130, 220, 300);
        layout.Add(Effect(boss, "fade_quick"));
    }

    XmlElement select = b.PanelDialog("select_profile", 470, 120, 310, 380);
    Effect(select, "dlg_slide_right");
    select.Add(Title(b, {0, 0, 310, 380}, 18, 272, "mm_select_title"));
    XmlElement list("element");
    list.Set("type", "quorlist").Set("name", "list").Set("x", 18).Set("y", 66).Set("width", 272).Set("height", 222);
    list.Set("line_spacing", "1C").Set("left", "8").Set("sel_color", "B03C7DD9");
    LayoutBuilder::SystemLayers(list, false);
    b.WidgetTexture(list, "normal", "list_back", "normal", 272, 222);
    b.WidgetTexture(list, "disabled", "list_back", "disabled", 272, 222);
    b.WidgetTexture(list, "check", "tick", "", 22, 22);
    XmlElement scroll("element");
    scroll.Set("name", "scroll").Set("x", 250).Set("y", 0).Set("width", 22).Set("height", 222);
    scroll.Set("distx1", 0).Set("disty1", 22).Set("distx2", 0).Set("disty2", 178);
    for (const char* part : {"up", "down", "slider"}) {
        XmlElement button = b.Button(part, 0, 0, 22, 22, std::string());
        button.children.clear();
        const std::string kind = std::string(part) == "slider" ? "thumb" : std::string("scroll_") + part;
        for (const char* state : {"normal", "over", "down", "disabled"})
            b.WidgetTexture(button, state, kind, state, 22, 22);
        scroll.Add(button);
    }
    list.Add(scroll);
    select.Add(list);
    select.Add(b.Button("create", 18, 300, 88, 40, "mm_create"));
    select.Add(b.Button("select", 110, 300, 88, 40, "mm_select"));
    select.Add(b.Button("delete", 202, 300, 88, 40, "mm_delete"));
    layout.Add(select);

    XmlElement create = b.PanelDialog("create_profile", 170, 110, 460, 360);
    Effect(create, "dlg_popup");
    create.Add(Title(b, {0, 0, 460, 360}, 24, 410, "mm_create_title"));
    create.Add(b.Text("prompt", 30, 70, 400, 26, "mm_enter_name", "text"));
    XmlElement edit("element");
    edit.Set("type", "quoredit").Set("name", "entername_text").Set("x", 30).Set("y", 100).Set("width", 400).Set("height", 40);
    edit.Set("hilite_color", "A04A90E2");
    LayoutBuilder::SystemLayers(edit, true);
    b.WidgetTexture(edit, "normal", "edit_back", "normal", 400, 40);
    b.WidgetTexture(edit, "disabled", "edit_back", "disabled", 400, 40);
    create.Add(edit);
    for (const char* skin : {"man", "woman"}) {
        const std::string s = skin;
        // The small portrait itself is the button, at its size.
        XmlElement button = b.Button("boss" + s + "_btn", s == "man" ? 80 : 290, 152, 90, 120, std::string());
        button.children.clear();
        for (const char* state : {"normal", "over", "down", "disabled"})
            LayoutBuilder::Texture(button, state, "mn04_boss" + s);
        create.Add(button);
        create.Add(b.WidgetPicture("check_boss" + s, s == "man" ? 172 : 382, 152, 40, 40, "tick"));
    }
    create.Add(b.Button("cancel", 40, 284, 170, 44, "mm_cancel"));
    create.Add(b.Button("create", 250, 284, 170, 44, "mm_create_ok"));
    layout.Add(create);

    XmlElement nameplate("element");
    nameplate.Set("type", "quorbutton").Set("name", "nameplate").Set("x", 590).Set("y", 556).Set("width", 200).Set("height", 34);
    nameplate.Set("label", "mm_website");
    b.UseLabel("mm_website");
    b.WidgetTexture(nameplate, "normal", "highlight", "normal", 200, 34);
    b.WidgetTexture(nameplate, "over", "highlight", "over", 200, 34);
    // The link lies on the light front-end backdrop: dark letters.
    LayoutBuilder::TextLayer(nameplate, "normal", "sys_link", LayoutBuilder::kDarkText, "FF0A1424", "FF6A707A");
    layout.Add(nameplate);
    return layout;
}

XmlElement Career(LayoutBuilder& b)
{
    // A panel of its own: the front-end backdrop below is light and busy.
    XmlElement layout = b.ScrimDialog("career", kScreenPanel.x, kScreenPanel.y, kScreenPanel.w, kScreenPanel.h);
    layout.SetBool("has_alpha", true);
    Effect(layout, "dlg_slide_right");
    const PanelRect inner = InnerArea({kScreenPanel.x, kScreenPanel.y, kScreenPanel.w, kScreenPanel.h});
    layout.Add(Title(b, kScreenPanel, 130, 540, "cs_title"));
    layout.Add(b.Text("boss_icon", inner.x, inner.y, 90, 120));
    layout.Add(b.Text("info", 130, 80, 540, 40, "cs_info", "text"));
    // Three months of seven columns inside the rim.
    const int column = kCalendarColumn;
    const int monthW = kCareerMonthWidth;
    const int gap = (inner.w - 3 * monthW) / 2;
    for (int m = 1; m <= 3; ++m) {
        const int x = inner.x + (monthW + gap) * (m - 1);
        XmlElement pic = b.Text(Num("month%d_pic", m), x, 150, monthW, 90);
        LayoutBuilder::Texture(pic, "normal", Num("mn04_month%d", m));
        layout.Add(pic);
        layout.Add(b.Text(Num("month%d_text", m), x, 244, monthW, 26, Num("month_name_%d", m), "hud"));
        for (int k = 1; k <= 7; ++k)
            layout.Add(Centred(b.Text(Num("wd%d_", m) + std::to_string(k), x + column * (k - 1), 272, column, 18,
                                      Num("weekday_%d", k), "hud")));
        std::vector<int> levelOfDay(32, 0);
        for (int level = 20 * (m - 1) + 1; level <= 20 * m; ++level)
            levelOfDay[CalendarDay(level)] = level;
        for (int d = 1; d <= DaysInMonth(m); ++d) {
            const int cell = d + MonthOffset(m);
            const int cx = x + column * (cell % 7);
            const int cy = 292 + 30 * (cell / 7);
            if (levelOfDay[d]) {
                XmlElement button("element");
                button.Set("type", "quorbutton").Set("name", Num("career_day%d", levelOfDay[d]));
                button.Set("x", cx).Set("y", cy).Set("width", column).Set("height", 28).Set("label", Num("cal_day_%d", levelOfDay[d]));
                for (const char* state : {"normal", "over", "down", "disabled"})
                    LayoutBuilder::Texture(button, state, "mn04_calendar_day_work");
                LayoutBuilder::TextLayer(button, "normal", "hud", "FFFFFFFF", "FFFFE9A6", "FF9AA3AE");
                layout.Add(button);
                b.UseLabel(Num("cal_day_%d", levelOfDay[d]));
            } else {
                XmlElement cellText = Centred(b.Text(Num("episode%d_", m) + std::to_string(d), cx, cy, column, 28,
                                                     Num("cal_num_%d", d), "hud", LayoutBuilder::Surface::Light));
                LayoutBuilder::Texture(cellText, "normal", "mn04_calendar_day_weekend");
                layout.Add(cellText);
            }
        }
    }
    // The screen moves the mark to the selected day; it starts on day 1.
    const int firstCell = CalendarCell(1);
    layout.Add(b.WidgetPicture("mark", inner.x + column * (firstCell % 7) - (66 - column) / 2, 292 + 30 * (firstCell / 7) - 14,
                               66, 56, "ring"));
    const int buttonY = inner.y + inner.h - 48;
    layout.Add(b.Button("restart", 40, buttonY, 200, 48, "cs_restart"));
    layout.Add(b.Button("back", 300, buttonY, 200, 48, "cs_back"));
    layout.Add(b.Button("start", 560, buttonY, 200, 48, "cs_start"));
    return layout;
}

XmlElement Survival(LayoutBuilder& b)
{
    XmlElement layout = b.ScrimDialog("survival", kScreenPanel.x, kScreenPanel.y, kScreenPanel.w, kScreenPanel.h);
    layout.SetBool("has_alpha", true);
    Effect(layout, "dlg_slide_right");
    const PanelRect inner = InnerArea({kScreenPanel.x, kScreenPanel.y, kScreenPanel.w, kScreenPanel.h});
    layout.Add(Title(b, kScreenPanel, 130, 540, "sv_title"));
    layout.Add(b.Text("boss_icon", inner.x, inner.y, 90, 120));
    for (int k = 1; k <= 3; ++k) {
        const int x = inner.x + 8 + 245 * (k - 1);
        XmlElement button("element");
        button.Set("type", "quorbutton").Set("name", Num("month_pic%d", k)).Set("x", x).Set("y", 170).Set("width", 230).Set("height", 170);
        button.Set("label", Num("sv_level_%d", k));
        b.UseLabel(Num("sv_level_%d", k));
        const std::string id = Num("sv_month%d", k);
        LayoutBuilder::Texture(button, "normal", id, 0, 0);
        LayoutBuilder::Texture(button, "over", id, 0, 170);
        LayoutBuilder::Texture(button, "down", id, 0, 170);
        LayoutBuilder::Texture(button, "disabled", id, 0, 340);
        // The office picture is light: the label has the buttons' outline.
        LayoutBuilder::TextLayer(button, "normal", "button", "FFFFFFFF", "FFFFE9A6", "FF9AA3AE");
        LayoutBuilder::TextLayer(button, "stroke", "button_outline", "FF10233A", "FF10233A", "FF3A4450");
        LayoutBuilder::TextLayer(button, "shadow", "button_shadow", "80000000");
        layout.Add(button);
        layout.Add(b.WidgetPicture(Num("month_check%d", k), x + 182, 178, 40, 40, "tick"));
    }
    layout.Add(b.Text("text", 60, 370, 680, 120, "sv_description", "text"));
    layout.Add(b.Button("back", 80, inner.y + inner.h - 48, 220, 48, "sv_back"));
    layout.Add(b.Button("start", 500, inner.y + inner.h - 48, 220, 48, "sv_start"));
    return layout;
}

XmlElement Slider(LayoutBuilder& b, const std::string& name, int x, int y)
{
    XmlElement slider("element");
    slider.Set("type", "quorslider").Set("name", name).Set("x", x).Set("y", y).Set("width", 190).Set("height", 36);
    slider.Set("mz_x", 10).Set("mz_y", 0).Set("mz_width", 170).Set("mz_height", 36).Set("mz_dz1", 12).Set("mz_dz2", 8);
    slider.Add(b.WidgetPicture("back", 0, 6, 190, 24, "slider_back"));
    XmlElement bar("element");
    bar.Set("type", "quorbar").Set("name", "bar").Set("x", 10).Set("y", 12).Set("width", 170).Set("height", 12).Set("seg_width", 10);
    b.WidgetTexture(bar, "fill", "bar_fill", "", 10, 12);
    b.WidgetTexture(bar, "empty", "bar_empty", "", 10, 12);
    slider.Add(bar);
    slider.Add(b.WidgetPicture("thumb", 10, 0, 20, 36, "thumb"));
    return slider;
}

XmlElement CheckBox(LayoutBuilder& b, const std::string& name, int x, int y)
{
    XmlElement box("element");
    box.Set("type", "quorcheckbox").Set("name", name).Set("x", x).Set("y", y).Set("width", 40).Set("height", 40);
    for (const char* state : {"normal", "over", "disabled", "check_normal", "check_over", "check_disabled"})
        b.WidgetTexture(box, state, "check", state, 40, 40);
    return box;
}

XmlElement Options(LayoutBuilder& b)
{
    XmlElement layout = b.PanelDialog("options", 200, 110, 400, 380);
    Effect(layout, "dlg_popup");
    layout.Add(Title(b, {0, 0, 400, 380}, 22, 356, "op_title"));
    layout.Add(b.Text("sfx_label", 24, 78, 150, 36, "op_sfx", "text"));
    layout.Add(b.Text("music_label", 24, 138, 150, 36, "op_music", "text"));
    layout.Add(b.Text("mute_label", 24, 196, 280, 40, "op_mute", "text"));
    layout.Add(b.Text("fullscreen_label", 24, 246, 280, 40, "op_fullscreen", "text"));
    layout.Add(Slider(b, "sndvol_slider", 180, 78));
    layout.Add(Slider(b, "musvol_slider", 180, 138));
    layout.Add(CheckBox(b, "mute_checkbox", 320, 196));
    layout.Add(CheckBox(b, "fullscreen_checkbox", 320, 246));
    layout.Add(b.Button("cancel", 30, 310, 160, 48, "op_cancel"));
    layout.Add(b.Button("apply", 210, 310, 160, 48, "op_apply"));
    return layout;
}

XmlElement Help(LayoutBuilder& b)
{
    XmlElement layout = b.ScrimDialog("help", 60, 40, 680, 500);
    Effect(layout, "dlg_popup");
    const PanelRect panel = {60, 40, 680, 500};
    const PanelRect inner = InnerArea(panel);
    layout.Add(Title(b, panel, inner.x + 8, inner.w - 16, "hp_title"));
    // The pages start below the rule under the title.
    const int pageY = panel.y + PanelTitleRuleBottom(panel.h) + 6;
    const int buttonY = inner.y + inner.h - 44;
    for (int k = 1; k <= 4; ++k) {
        XmlElement page = b.Dialog(Num("page%d", k), inner.x + 8, pageY, inner.w - 16, buttonY - 8 - pageY);
        XmlElement pic = b.Text("pic", 0, 0, 300, 220);
        LayoutBuilder::Texture(pic, "normal", Num("help%d", k));
        page.Add(pic);
        XmlElement text = b.Text("text", 316, 0, inner.w - 16 - 316, buttonY - 8 - pageY, Num("hp_text%d", k), "text");
        text.Set("line_spacing", "14").Set("justify", -1);
        page.Add(text);
        layout.Add(page);
    }
    layout.Add(b.Button("prev_btn", inner.x + 8, buttonY, 160, 44, "hp_prev"));
    layout.Add(b.Button("next_btn", inner.x + inner.w - 8 - 160, buttonY, 160, 44, "hp_next"));
    layout.Add(b.Button("close", 320, buttonY, 160, 44, "hp_close"));
    return layout;
}

XmlElement Hiscores(LayoutBuilder& b)
{
    XmlElement layout = b.ScrimDialog("hiscores", 110, 40, 580, 500);
    Effect(layout, "dlg_fade");
    const PanelRect panel = {110, 40, 580, 500};
    const PanelRect inner = InnerArea(panel);
    const int width = inner.w - 16;
    layout.Add(Title(b, panel, inner.x + 8, width, "hs_title"));
    const int pageY = panel.y + PanelTitleRuleBottom(panel.h) + 6;
    const int buttonY = inner.y + inner.h - 44;
    for (const char* kind : {"career", "survival"}) {
        XmlElement page = b.Dialog(std::string(kind) + "_scores", inner.x + 8, pageY, width, buttonY - 6 - pageY);
        page.Add(b.Text("heading", 0, 0, width, 34, std::string("hs_") + kind, "title"));
        for (int i = 0; i < 10; ++i) {
            XmlElement line = b.Dialog(Num("line%d", i), 0, 36 + 31 * i, width, 29);
            line.Add(b.WidgetPicture("back", 0, 0, width, 29, "highlight"));
            // Rank, name and score share one vertical centre.
            XmlElement rank = b.Text("rank", 0, 0, 46, 29, Num("hs_rank_%d", i + 1), "text");
            rank.Set("valign", 0);
            line.Add(rank);
            XmlElement text1 = b.Text("text1", 50, 0, width - 210, 29, std::string(), "text");
            text1.Set("justify", -1).Set("valign", 0);
            line.Add(text1);
            XmlElement text2 = b.Text("text2", width - 150, 0, 140, 29, std::string(), "text");
            text2.Set("justify", 1).Set("valign", 0);
            line.Add(text2);
            page.Add(line);
        }
        layout.Add(page);
    }
    layout.Add(b.Button("prev_btn", inner.x + 8, buttonY, 160, 44, "hs_prev"));
    layout.Add(b.Button("next_btn", inner.x + inner.w - 8 - 160, buttonY, 160, 44, "hs_next"));
    layout.Add(b.Button("close", 320, buttonY, 160, 44, "hs_close"));
    return layout;
}

XmlElement LoadScreen(LayoutBuilder& b)
{
    XmlElement layout = b.Dialog("load_screen", 0, 0, 800, 600);
    LayoutBuilder::Texture(layout, "normal", "bg_loading");
    Effect(layout, "dlg_fade");
    XmlElement spinner = b.Text("spinner", 368, 380, 64, 64);
    spinner.Set("fps", 12);
    LayoutBuilder::Texture(spinner, "normal", "+0spin");
    layout.Add(spinner);
    layout.Add(Centred(b.Text("text", 200, 300, 400, 60, "ld_loading", "big")));
    // Light letters shrunk to text_small lose their thin strokes on the dim
    // backdrop; the tip is set at the body size.
    layout.Add(Centred(b.Text("tip", 100, 480, 600, 60, "ld_tip", "text")));
    return layout;
}

XmlElement Splash(LayoutBuilder& b)
{
    XmlElement layout = b.Dialog("splash", 0, 0, 800, 600);
    struct Page {
        const char* name;
        const char* texture;
        const char* label;
    };
    const Page pages[] = {{"page_studio", "splash_studio", "sp_studio"},
                          {"page_title", "splash_title", "sp_press_key"},
                          {"page_version", "splash_version", "sp_version"}};
    for (const Page& p : pages) {
        XmlElement page = b.Dialog(p.name, 0, 0, 800, 600);
        LayoutBuilder::Texture(page, "normal", p.texture);
        Effect(page, "splash_page");
        if (std::string(p.name) == "page_title") {
            XmlElement logo = b.Text("logo", 250, 180, 300, 90);
            LayoutBuilder::Texture(logo, "normal", "logo_title");
            page.Add(Effect(logo, "title_glow"));
        }
        // The title font's outline reads on the dark pages and on the office alike.
        page.Add(Centred(b.Text("text", 60, 490, 680, 60, p.label, "title")));
        layout.Add(page);
    }
    return layout;
}

XmlElement Hud(LayoutBuilder& b)
{
    XmlElement layout = b.Dialog("hud", 0, 0, 800, 600);
    layout.SetBool("has_alpha", true).SetBool("mousevisible", false);
    XmlElement bg = b.Text("bg_hud", 0, 0, 800, 44);
    LayoutBuilder::Texture(bg, "normal", "hud_goal");
    layout.Add(bg);
    layout.Add(b.Text("money_label", 10, 6, 60, 32, "hud_money_label", "hud"));
    XmlElement money = b.Text("money_text", 70, 4, 120, 36, "hud_money", "big");
    layout.Add(Effect(money, "text_pulse"));
    XmlElement bar("element");
    bar.Set("type", "quorbar").Set("name", "bar").Set("x", 196).Set("y", 14).Set("width", 250).Set("height", 16).Set("seg_width", 10);
    LayoutBuilder::Texture(bar, "fill", "bar", 0, 0);
    LayoutBuilder::Texture(bar, "empty", "bar", 0, 16);
    layout.Add(bar);
    const struct {
        const char* name;
        const char* label;
        int y;
        int h;
    } values[] = {{"goal", "hud_goal_label", 2, 20},
                  {"goal_value", "hud_goal_value", 20, 22},
                  {"expert", "hud_expert_label", 2, 20},
                  {"expert_value", "hud_expert_value", 20, 22}};
    for (const auto& v : values) {
        XmlElement text = b.Text(v.name, 452, v.y, 90, v.h, v.label, "hud");
        layout.Add(Effect(text, "fade_quick"));
    }
    layout.Add(b.Text("day", 550, 4, 120, 36, "hud_day", "hud"));
    XmlElement clock = b.Text("hud_clock", 676, 0, 44, 44);
    LayoutBuilder::Texture(clock, "normal", "hud_clock0");
    layout.Add(clock);
    layout.Add(b.Button("menu", 724, 6, 70, 32, "hud_menu"));
    XmlElement lives = b.Dialog("survival_lives", 560, 46, 110, 34);
    for (int k = 1; k <= 3; ++k) {
        XmlElement life = b.Text(Num("life%d", k), 36 * (k - 1), 0, 34, 34);
        b.WidgetTexture(life, "normal", "life_full", "", 34, 34);
        b.WidgetTexture(life, "disabled", "life_lost", "", 34, 34);
        lives.Add(life);
    }
    layout.Add(lives);
    XmlElement glow = b.Text("upgrade_back", 676, 44, 124, 50);
    LayoutBuilder::Texture(glow, "normal", "upgrade_glow");
    layout.Add(glow);
    XmlElement upgrade = b.Button("upgrade_btn", 680, 48, 116, 40, "hud_upgrade");
    layout.Add(Effect(upgrade, "upgrade_blink"));
    for (const char* kind : {"goal", "expert"}) {
        const std::string k = kind;
        XmlElement popup = b.Dialog(k + "_dialog", 0, 0, 800, 600);
        popup.SetBool("has_alpha", true).SetBool("mousevisible", false);
        Effect(popup, "hud_" + k + "_popup");
        XmlElement banner = b.Text("banner", 200, 200, 400, 150, "hud_" + k + "_reached", "title");
        LayoutBuilder::Texture(banner, "normal", "banner_" + k);
        popup.Add(Effect(banner, "banner_zoom"));
        layout.Add(popup);
    }
    for (int n = 1; n <= 16; ++n) {
        const HintSpot spot = kHintSpots[n - 1];
        const int x = std::max(0, std::min(800 - 260, spot.x - 130));
        int y = spot.y - 110 - 10;
        if (y < 50)
            y = spot.y + 20;
        y = std::max(50, std::min(600 - 110, y));
        XmlElement hint("element");
        hint.Set("type", "quortutorial").Set("name", Num("tutorial%d", n)).Set("x", x).Set("y", y).Set("width", 260).Set("height", 110);
        hint.Set("clickhide", "true").Set("effect", "hint_fx");
        b.WidgetTexture(hint, "normal", "hint", "", 260, 110);
        // The texts leave the mouse to the hint, so a click anywhere on it
        // closes it.
        XmlElement text = b.Text("text", 14, 10, 232, 64, Num("hint_%02d", n), "text_small", LayoutBuilder::Surface::Light);
        hint.Add(text.SetBool("mousevisible", false));
        XmlElement close = b.Text("close_note", 14, 72, 232, 20, "hint_close", "text_small", LayoutBuilder::Surface::Light);
        hint.Add(close.Set("justify", 1).SetBool("mousevisible", false));
        layout.Add(hint);
    }
    return layout;
}

XmlElement Briefing(LayoutBuilder& b)
{
    XmlElement layout = b.PanelDialog("briefing", 70, 60, 660, 480);
    Effect(layout, "dlg_slide_up");
    layout.Add(Title(b, {0, 0, 660, 480}, 24, 610, "br_title"));
    layout.Add(b.Text("boss", 24, 64, 150, 190));
    XmlElement text = b.Text("briefing_text", 196, 64, 438, 200, std::string(), "text");
    text.Set("line_spacing", "14");
    layout.Add(text);
    layout.Add(b.Text("goals", 210, 270, 424, 40, "br_goals", "text"));
    layout.Add(b.Text("context_help", 24, 268, 175, 180));
    // The screen moves the mark to the day's cell; it starts on day 1.
    const int firstCell = CalendarCell(1);
    layout.Add(b.WidgetPicture("callendar_mark", 24 + 25 * (firstCell % 7) - 8, 268 + 38 * (firstCell / 7) - 2, 40, 42, "ring"));
    XmlElement flash = b.Text("newflash", 100, 262, 90, 44);
    LayoutBuilder::Texture(flash, "normal", "newflash");
    layout.Add(flash);
    layout.Add(b.Button("continue", 428, 400, 200, 48, "br_continue"));
    return layout;
}

XmlElement Debriefing(LayoutBuilder& b)
{
    XmlElement layout = b.PanelDialog("debriefing", 60, 40, 680, 520);
    Effect(layout, "dlg_popup_locked");
    layout.Add(b.Text("bosspanel", 26, 60, 226, 300));
    layout.Add(b.Text("boss", 38, 74, 200, 260));
    layout.Add(b.Text("result_text", 260, 26, 388, 38, std::string(), "title"));
    layout.Add(b.Text("moneypanel", 260, 70, 388, 120));
    layout.Add(b.Text("score", 270, 90, 380, 80, "de_score", "big"));
    XmlElement ghost = b.Text("score_ghost", 270, 90, 380, 80);
    ghost.Set("fps", 14).SetBool("oneshot", true);
    LayoutBuilder::Texture(ghost, "normal", "+0spark");
    layout.Add(ghost);
    layout.Add(b.Text("debriefing_text", 260, 196, 388, 120, std::string(), "text"));
    layout.Add(b.Text("goal_value", 260, 320, 194, 28, "de_goal", "text"));
    layout.Add(b.Text("expert_value", 454, 320, 194, 28, "de_expert", "text"));
    layout.Add(b.Text("calendar", 270, 346, 126, 145));
    const int firstCell = CalendarCell(1);
    layout.Add(b.WidgetPicture("calendar_mark", 270 + 18 * (firstCell % 7) - 2, 346 + 29 * (firstCell / 7) - 2, 22, 33, "ring"));
    layout.Add(b.Button("continue", 424, 386, 220, 46, "de_continue"));
    layout.Add(b.Button("replay", 424, 440, 220, 46, "de_replay"));
    layout.Add(b.Button("survival_replay", 424, 386, 220, 46, "de_survival_replay"));
    layout.Add(b.Button("survival_leave", 424, 440, 220, 46, "de_survival_leave"));
    return layout;
}

XmlElement EscapeMenu(LayoutBuilder& b)
{
    XmlElement layout = b.PanelDialog("escape_menu", 265, 130, 270, 340);
    Effect(layout, "dlg_popup");
    layout.Add(Title(b, {0, 0, 270, 340}, 20, 230, "em_title"));
    const char* const names[] = {"resume", "restart", "settings", "help", "quit"};
    for (int k = 0; k < 5; ++k)
        layout.Add(b.Button(names[k], 25, 68 + 50 * k, 220, 44, std::string("em_") + names[k]));
    return layout;
}

XmlElement Upgrade(LayoutBuilder& b)
{
    XmlElement layout = b.PanelDialog("upgrade", 70, 70, 660, 460);
    Effect(layout, "dlg_popup");
    layout.Add(Title(b, {0, 0, 660, 460}, 24, 612, "up_title"));
    layout.Add(b.Text("description_text", 30, 68, 600, 40, "up_description", "text"));
    layout.Add(b.Text("sel_upgrade_text", 30, 348, 600, 30, "up_selected", "text"));
    for (int k = 1; k <= 3; ++k) {
        XmlElement pic = b.Dialog(Num("pic%d", k), 30 + 205 * (k - 1), 110, 190, 230);
        XmlElement button("element");
        button.Set("type", "quorbutton").Set("name", "pic").Set("x", 15).Set("y", 0).Set("width", 160).Set("height", 120);
        b.WidgetTexture(button, "over", "highlight", "over", 160, 120);
        button.children.back().Set("mode", "additive");
        pic.Add(button);
        pic.Add(b.Text("text", 0, 126, 190, 80, std::string(), "text"));
        pic.Add(b.WidgetPicture("check", 140, 4, 40, 40, "tick"));
        layout.Add(pic);
    }
    layout.Add(b.Button("upgrade", 230, 384, 200, 48, "up_take"));
    return layout;
}

XmlElement Comix(LayoutBuilder& b)
{
    XmlElement layout = b.Dialog("comix", 0, 0, 800, 600);
    layout.SetBool("has_alpha", true);
    Effect(layout, "dlg_fade");
    for (int k = 1; k <= 5; ++k) {
        XmlElement page = b.Dialog(Num("comix%d", k), 40, 30, 720, 540);
        LayoutBuilder::Texture(page, "normal", Num("comix%d_woman", k));
        Effect(page, "comic_page");
        page.Add(b.WidgetPicture("caption", 20, 376, 680, 100, "caption"));
        page.Add(b.Text("text1", 40, 388, 640, 80, Num("cx%d_text", k), "text", LayoutBuilder::Surface::Light));
        page.Add(b.Button("btn", 520, 486, 180, 44, k == 1 ? "cx_next" : k == 5 ? "cx_menu" : "cx_start"));
        if (k == 2)
            page.Add(b.Button("prev_btn", 20, 486, 180, 44, "cx_back"));
        layout.Add(page);
    }
    return layout;
}

XmlElement MessageBox(LayoutBuilder& b)
{
    XmlElement layout = b.PanelDialog("dialogbox_2button", 210, 170, 380, 240, false);
    Effect(layout, "dlg_popup");
    layout.Add(b.Text("icon", 20, 50, 96, 96));
    // The question may take two lines of the big letters.
    layout.Add(b.Text("text1", 130, 20, 230, 66, std::string(), "big"));
    layout.Add(b.Text("text2", 130, 92, 230, 76, std::string(), "text"));
    layout.Add(b.Button("btn_yes", 30, 176, 150, 46, std::string()));
    layout.Add(b.Button("btn_no", 200, 176, 150, 46, std::string()));
    return layout;
}

void AddFonts(XmlElement& root)
{
    const struct {
        const char* name;
        const char* file;
        const char* scale;
    } images[] = {{"title", "title", "1.0"},   {"big", "big", "1.0"},   {"button", "button", "1.0"},
                  {"button_outline", "button_outline", "1.0"}, {"button_shadow", "button_shadow", "1.0"},
                  {"text", "text", "1.0"},     {"text_small", "text", "0.8"}, {"hud", "hud", "1.0"},
                  {"popup", "popup", "1.0"},   {"popup_outline", "popup_outline", "1.0"}};
    for (const auto& font : images)
        root.Add("font").Set("name", font.name).Set("type", "Image").Set("face", std::string("fonts\\") + font.file + ".txt").Set("scale", font.scale);
    root.Add("font").Set("name", "sys").Set("type", "System").Set("face", "Arial").Set("size", 12).SetBool("bold", false).SetBool("italic", false).SetBool("underline", false);
    root.Add("font").Set("name", "sys_bold").Set("type", "System").Set("face", "Tahoma").Set("size", 11).SetBool("bold", true).SetBool("italic", false).SetBool("underline", false);
    root.Add("font").Set("name", "sys_link").Set("type", "System").Set("face", "Arial").Set("size", 10).SetBool("bold", false).SetBool("italic", true).SetBool("underline", true);
}

} // namespace

const std::vector<std::string>& LayoutNames()
{
    static const std::vector<std::string> names = {
        "global_bkg", "main_menu", "career", "survival", "options", "help", "hiscores", "load_screen",
        "splash", "hud", "briefing", "debriefing", "escape_menu", "upgrade", "comix", "dialogbox_2button"};
    return names;
}

const std::vector<std::pair<std::string, std::string>>& FixedTextures()
{
    static const auto textures = MakeFixedTextures();
    return textures;
}

XmlElement BuildUiFile(DataSet& data, std::set<std::string>& labels)
{
    LayoutBuilder b;
    std::vector<XmlElement> layouts = {GlobalBackground(b), MainMenu(b), Career(b),     Survival(b),
                                       Options(b),          Help(b),     Hiscores(b),   LoadScreen(b),
                                       Splash(b),           Hud(b),      Briefing(b),   Debriefing(b),
                                       EscapeMenu(b),       Upgrade(b),  Comix(b),      MessageBox(b)};
    const std::vector<XmlElement> atlasTextures = b.Finish(layouts, data);

    XmlElement root("root");
    for (const auto& texture : FixedTextures())
        root.Add("texture").Set("id", texture.first).Set("file", texture.second);
    for (const XmlElement& texture : atlasTextures)
        root.Add(texture);
    AddFonts(root);
    root.Add("cursors").Set("mode", "normal").Set("image", "cursor_normal").Set("hot_spot_x", 1).Set("hot_spot_y", 1);
    root.Add("cursors").Set("mode", "active").Set("image", "cursor_active").Set("hot_spot_x", 9).Set("hot_spot_y", 2);
    root.Add("cursors").Set("mode", "text").Set("image", "cursor_text").Set("hot_spot_x", 15).Set("hot_spot_y", 16);
    for (XmlElement& layout : layouts)
        root.Add(std::move(layout));
    labels = b.Labels();
    return root;
}

} // namespace contentgen
