#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vorsel {

// The launcher's configuration: the ten lines of vorsel.ini, in order.
struct TOpt {
    std::wstring url_vorsel;        // address of the update configuration; empty: no update check
    std::wstring url_ad;            // address of the advertisement page
    int32_t max_time_ldng_conf = 0; // time budget of the update check, seconds
    int32_t max_time_ldng_ad = 0;   // time allowed for the page to load, seconds; 0: no advertisement
    int32_t max_time_ad = 0;        // time the page is shown, seconds; 0: none; negative: no limit
    struct Point {
        int32_t X = 0;
        int32_t Y = 0;
    } size_pxls;                    // client width and height
    std::wstring caption;
    std::wstring path_icon;
    std::wstring path_execute;      // the game; empty: start nothing
    uint8_t can_close = 0;          // closing the window: nonzero starts the game
};

// The integer syntax of the configuration: blanks (U+0020 only) skipped,
// then an optional "-" or "+", then decimal digits or a hexadecimal number
// after "$", "x", "X", "0x" or "0X"; the rest must be digits and the value
// must fit a signed 32-bit integer.
bool StrToInt(const std::wstring& text, int32_t& value);

// Lines 1 to 10 into the record (further lines are ignored). False when
// there are fewer than ten, a number is bad, or the size line has no blank;
// the record may then be half filled.
bool ParseOpt(const std::vector<std::wstring>& lines, TOpt& opt);

// The whole configuration from the bytes of a file or a download.
bool ParseOptText(const std::string& bytes, TOpt& opt);

} // namespace vorsel
