#include "tools/makeanm/AnmText.h"

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <sstream>

namespace makeanm {

namespace {

// A whole word as a number within [low, high]: decimal, or hexadecimal after "0x".
bool Number(const std::string& word, int64_t low, int64_t high, int64_t& value)
{
    const bool negative = !word.empty() && word[0] == '-';
    const std::string digits = negative ? word.substr(1) : word;
    const bool hex = digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
    const std::string body = hex ? digits.substr(2) : digits;
    if (body.empty() || body.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") != std::string::npos)
        return false;
    errno = 0;
    const unsigned long long magnitude = std::strtoull(body.c_str(), nullptr, hex ? 16 : 10);
    if (errno == ERANGE || magnitude > uint64_t(std::numeric_limits<int64_t>::max()))
        return false;
    value = negative ? -int64_t(magnitude) : int64_t(magnitude);
    return value >= low && value <= high;
}

bool Int32(const std::string& word, int32_t& value)
{
    int64_t wide = 0;
    if (!Number(word, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), wide))
        return false;
    value = int32_t(wide);
    return true;
}

bool Mode(const std::string& word, int32_t& mode)
{
    if (word == "cycle")
        mode = kModeCycle;
    else if (word == "once")
        mode = kModeOnce;
    else if (word == "backward")
        mode = kModeBackward;
    else
        return Int32(word, mode);
    return true;
}

} // namespace

bool ParseAnmText(const std::string& text, AnmFile& file, std::string& error)
{
    file = AnmFile();
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const size_t comment = line.find('#');
        if (comment != std::string::npos)
            line.erase(comment);
        std::istringstream in(line);
        std::vector<std::string> words;
        for (std::string word; in >> word;)
            words.push_back(word);
        if (words.empty())
            continue;
        const std::string at = "line " + std::to_string(number) + ": ";
        const std::string& keyword = words[0];
        if (keyword == "base") {
            int64_t base = 0;
            if (words.size() != 2 || !Number(words[1], 0, std::numeric_limits<uint32_t>::max(), base)) {
                error = at + "\"base ADDRESS\" takes one number from 0 to 0xFFFFFFFF";
                return false;
            }
            if (!file.animations.empty()) {
                error = at + "\"base\" comes before the first animation";
                return false;
            }
            file.base = uint32_t(base);
        } else if (keyword == "animation") {
            Animation animation;
            if (words.size() != 6) {
                error = at + "\"animation IMAGE NAME CANVAS_WIDTH MODE FPS\" takes five words";
                return false;
            }
            animation.image = words[1];
            animation.name = words[2];
            if (!Int32(words[3], animation.canvasWidth)) {
                error = at + "canvas width \"" + words[3] + "\" is not a 32-bit number";
                return false;
            }
            if (!Mode(words[4], animation.mode)) {
                error = at + "mode \"" + words[4] + "\" is not cycle, once, backward or a 32-bit number";
                return false;
            }
            if (!Int32(words[5], animation.fps)) {
                error = at + "fps \"" + words[5] + "\" is not a 32-bit number";
                return false;
            }
            file.animations.push_back(animation);
        } else if (keyword == "frame") {
            if (file.animations.empty()) {
                error = at + "a frame before the first animation";
                return false;
            }
            if (words.size() != 7) {
                error = at + "\"frame X Y W H OFFSET_X OFFSET_Y\" takes six numbers";
                return false;
            }
            Frame frame;
            int32_t* fields[6] = {&frame.x, &frame.y, &frame.w, &frame.h, &frame.offsetX, &frame.offsetY};
            for (int k = 0; k < 6; ++k)
                if (!Int32(words[size_t(k) + 1], *fields[k])) {
                    error = at + "\"" + words[size_t(k) + 1] + "\" is not a 32-bit number";
                    return false;
                }
            file.animations.back().frames.push_back(frame);
        } else {
            error = at + "unknown statement \"" + keyword + "\" (base, animation or frame)";
            return false;
        }
    }
    return true;
}

} // namespace makeanm
