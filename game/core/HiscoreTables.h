#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

class GameApp;
class LocTable;

// One place of a top-ten table: the player's name (at most 259 UTF-16 units
// in the file) and the money earned.
struct HiscoreEntry {
    std::wstring mName;
    int32_t mScore = 0;
};

// The survival and career top-ten tables, each in descending order of score
// (place 0 the best), kept in pref.dat. Empty at construction, then the
// localised defaults, then the tables of a valid pref.dat.
class HiscoreTables {
public:
    static constexpr int kPlaces = 10;

    HiscoreTables();
    virtual ~HiscoreTables();
    // The default entries, from the application's localised texts.
    void LoadDefaults(GameApp* app);
    // Places 1..10 from "record_<survival|career>_name_NN" and "..._value_NN";
    // a missing id gives the empty name and 0.
    void LoadDefaults(const LocTable& texts);
    // Reads the whole entries that pref.dat's bytes hold at offsets 40 (survival)
    // and 5280 (career); the places the bytes do not reach keep their entries.
    // True when a name had no terminator and was cut.
    bool Read(const uint8_t* data, size_t size);
    // Writes both tables into pref.dat's bytes (at least 10520 of them).
    void Write(uint8_t* data) const;
    // Enters a result: returns the place 0..9 it took, or 10 when it did not
    // enter (a score below 1, or not above the tenth place). An equal score
    // goes above the existing one. The name is cut to what the file keeps.
    int Insert(bool survival, const std::wstring& name, int32_t score);
    // The first entry of the survival (true) or career table.
    HiscoreEntry* GetTable(bool survival);
    const HiscoreEntry* GetTable(bool survival) const;

private:
    HiscoreEntry mTables[2][kPlaces];
};

// A number as the C library's wide-text-to-int conversion reads it: leading
// blanks, a sign, then digits up to the first other character; 0 without
// digits; saturated at the limits of int32.
int32_t ParseLeadingInt(const std::wstring& text);
