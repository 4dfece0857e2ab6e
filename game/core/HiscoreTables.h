#pragma once
class GameApp;

// The survival and career top-ten tables, kept in pref.dat. Filled in by the
// hiscores.
class HiscoreTables {
public:
    HiscoreTables();
    virtual ~HiscoreTables();
    // The default entries, from the localised texts.
    void LoadDefaults(GameApp* app);
};
