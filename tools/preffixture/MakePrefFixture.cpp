// Writes pref.dat fixtures into a folder: pref0.dat, pref1.dat, pref3.dat
// (0, 1 and 3 profiles), career3.dat (one profile at career day 3) and
// damaged copies of pref3.dat named after what is wrong with them.
// Usage: make_pref_fixture <folder>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

const uint8_t kMagic[16] = {0x78, 0xd8, 0x64, 0xfa, 0xd2, 0xca, 0x9e, 0x43,
                            0xab, 0xf6, 0x64, 0x46, 0xd2, 0xfe, 0x9b, 0xd7};

void Put32(std::string& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + size_t(i)] = char(v >> (8 * i));
}

void PutFloat(std::string& b, size_t at, float f)
{
    uint32_t bits;
    memcpy(&bits, &f, 4);
    Put32(b, at, bits);
}

// UTF-16LE units of a code point list, at most 259 units, zero after.
void PutName(std::string& b, size_t at, const std::u32string& name)
{
    size_t unit = 0;
    auto put = [&](uint32_t u) {
        b[at + 2 * unit] = char(u & 0xFF);
        b[at + 2 * unit + 1] = char(u >> 8);
        ++unit;
    };
    for (char32_t c : name) {
        if (c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    }
}

struct Profile {
    const char* figure;
    std::u32string name;
    int32_t level;
    int32_t results[60];
    float seconds;
};

const size_t kSlots = 10520;
const size_t kSlot = 1028;

std::string Header(int32_t index)
{
    std::string b(kSlots, '\0');
    memcpy(&b[0], kMagic, 16);
    Put32(b, 16, 11);
    Put32(b, 20, 60); // music
    Put32(b, 24, 70); // effects
    b[28] = 0;        // full screen
    b[29] = 0;        // not muted
    Put32(b, 32, uint32_t(index));
    Put32(b, 36, 0);
    // Survival table at 40, career table at 5280: ten places each.
    for (int table = 0; table < 2; ++table) {
        for (int place = 0; place < 10; ++place) {
            size_t at = (table == 0 ? 40 : 5280) + size_t(place) * 524;
            std::string n = (table == 0 ? "Survivor " : "Careerist ") + std::to_string(place + 1);
            PutName(b, at, std::u32string(n.begin(), n.end()));
            Put32(b, at + 520, uint32_t((10 - place) * (table == 0 ? 1000 : 5000)));
        }
    }
    return b;
}

void AddSlot(std::string& b, const Profile& p)
{
    size_t at = b.size();
    b.append(kSlot, '\0');
    memcpy(&b[at], p.figure, strlen(p.figure));
    PutName(b, at + 260, p.name);
    Put32(b, at + 780, uint32_t(p.level));
    for (int i = 0; i < 60; ++i)
        Put32(b, at + 784 + 4 * size_t(i), uint32_t(p.results[i]));
    PutFloat(b, at + 1024, p.seconds);
}

std::vector<Profile> Profiles()
{
    Profile zoe{"man", U"Zo\u00eb Marsh", 25, {}, 3725.9f};
    for (int i = 0; i < 24; ++i)
        zoe.results[i] = 1000 * (i + 1);
    Profile ada{"woman", U"Ada \U0001D11E Crane", 1, {}, 0.0f};
    Profile bo{"woman", U"Bo", 61, {}, 123456.5f};
    for (int i = 0; i < 60; ++i)
        bo.results[i] = 500 * (i + 1);
    return {zoe, ada, bo};
}

bool Save(const std::string& folder, const std::string& name, const std::string& bytes)
{
    std::string path = folder + "/" + name;
    FILE* f = fopen(path.c_str(), "wb");
    if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || fclose(f) != 0) {
        fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    std::vector<Profile> profiles = Profiles();

    std::string pref0 = Header(-1);
    std::string pref1 = Header(0);
    AddSlot(pref1, profiles[0]);
    std::string pref3 = Header(2);
    for (const Profile& p : profiles)
        AddSlot(pref3, p);
    // A career at its third day: days 1 and 2 won.
    Profile starter{"man", U"Ada", 3, {1400, 1900}, 612.0f};
    std::string career3 = Header(0);
    AddSlot(career3, starter);

    const size_t slot0 = kSlots;
    const size_t slot2 = kSlots + 2 * kSlot;
    struct Variant {
        const char* name;
        std::string bytes;
    };
    std::vector<Variant> files = {{"pref0.dat", pref0}, {"pref1.dat", pref1}, {"pref3.dat", pref3}, {"career3.dat", career3}};
    auto variant = [&](const char* name, auto change) {
        std::string b = pref3;
        change(b);
        files.push_back({name, b});
    };
    variant("bad-magic.dat", [](std::string& b) { b[5] = char(b[5] ^ 0xFF); });
    variant("version10.dat", [](std::string& b) { Put32(b, 16, 10); });
    variant("version12.dat", [](std::string& b) { Put32(b, 16, 12); });
    for (size_t size : {0, 30, 5000, 10600})
        files.push_back({nullptr, pref3.substr(0, size)});
    files[files.size() - 4].name = "size0.dat";
    files[files.size() - 3].name = "size30.dat";
    files[files.size() - 2].name = "size5000.dat";
    files[files.size() - 1].name = "size10600.dat";
    variant("name-unterminated.dat", [&](std::string& b) {
        for (size_t i = 0; i < 260; ++i) {
            b[slot0 + 260 + 2 * i] = 'N';
            b[slot0 + 261 + 2 * i] = 0;
        }
    });
    variant("figure-unterminated.dat", [&](std::string& b) { memset(&b[slot0], 'f', 260); });
    variant("level0.dat", [&](std::string& b) { Put32(b, slot2 + 780, 0); });
    variant("level-1.dat", [&](std::string& b) { Put32(b, slot2 + 780, uint32_t(-1)); });
    variant("level62.dat", [&](std::string& b) { Put32(b, slot2 + 780, 62); });
    variant("time-nan.dat", [&](std::string& b) { PutFloat(b, slot2 + 1024, std::numeric_limits<float>::quiet_NaN()); });
    variant("time-5.dat", [&](std::string& b) { PutFloat(b, slot2 + 1024, -5.0f); });
    variant("time1e30.dat", [&](std::string& b) { PutFloat(b, slot2 + 1024, 1e30f); });
    variant("volume250.dat", [](std::string& b) { Put32(b, 20, 250); });
    variant("muted7.dat", [](std::string& b) { b[29] = 7; });
    variant("index-7.dat", [](std::string& b) { Put32(b, 32, uint32_t(-7)); });
    variant("index99.dat", [](std::string& b) { Put32(b, 32, 99); });

    for (const Variant& v : files) {
        if (!Save(folder, v.name, v.bytes))
            return 1;
    }
    return 0;
}
