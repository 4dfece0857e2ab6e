#include "tools/hostilefiles/OggPages.h"

#include <cstring>

namespace hostile {

namespace {

uint32_t Crc(const std::string& page)
{
    static uint32_t table[256];
    if (!table[1])
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t r = i << 24;
            for (int k = 0; k < 8; ++k)
                r = r & 0x80000000u ? (r << 1) ^ 0x04C11DB7u : r << 1;
            table[i] = r;
        }
    uint32_t crc = 0;
    for (unsigned char c : page)
        crc = (crc << 8) ^ table[((crc >> 24) ^ c) & 0xFF];
    return crc;
}

uint64_t Le(const std::string& s, size_t at, int bytes)
{
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | uint8_t(s[at + size_t(i)]);
    return v;
}

void PutLe(std::string& s, uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        s += char(v >> (8 * i) & 0xFF);
}

} // namespace

std::vector<OggPage> ParseOggPages(const std::string& bytes)
{
    std::vector<OggPage> pages;
    size_t at = 0;
    while (at + 27 <= bytes.size() && bytes.compare(at, 4, "OggS") == 0) {
        OggPage p;
        p.headerType = uint8_t(bytes[at + 5]);
        p.granule = int64_t(Le(bytes, at + 6, 8));
        p.serial = uint32_t(Le(bytes, at + 14, 4));
        p.sequence = uint32_t(Le(bytes, at + 18, 4));
        size_t segments = uint8_t(bytes[at + 26]);
        if (at + 27 + segments > bytes.size())
            break;
        size_t size = 0;
        for (size_t i = 0; i < segments; ++i) {
            p.lacing.push_back(uint8_t(bytes[at + 27 + i]));
            size += p.lacing.back();
        }
        size_t body = at + 27 + segments;
        if (body + size > bytes.size())
            break;
        p.body = bytes.substr(body, size);
        pages.push_back(p);
        at = body + size;
    }
    return pages;
}

std::string WriteOggPages(const std::vector<OggPage>& pages)
{
    std::string out;
    for (const OggPage& p : pages) {
        std::string page = "OggS";
        page += '\0';
        page += char(p.headerType);
        PutLe(page, uint64_t(p.granule), 8);
        PutLe(page, p.serial, 4);
        PutLe(page, p.sequence, 4);
        PutLe(page, 0, 4);
        page += char(p.lacing.size());
        page.append(p.lacing.begin(), p.lacing.end());
        page += p.body;
        uint32_t crc = Crc(page);
        for (int i = 0; i < 4; ++i)
            page[22 + size_t(i)] = char(crc >> (8 * i) & 0xFF);
        out += page;
    }
    return out;
}

std::string OggWithLastGranule(const std::string& bytes, int64_t granule)
{
    std::vector<OggPage> pages = ParseOggPages(bytes);
    if (!pages.empty())
        pages.back().granule = granule;
    return WriteOggPages(pages);
}

std::string OggChain(const std::string& first, const std::string& second)
{
    uint32_t serial = 0;
    for (const OggPage& p : ParseOggPages(first))
        serial = p.serial + 1 > serial ? p.serial + 1 : serial;
    std::vector<OggPage> pages = ParseOggPages(second);
    for (OggPage& p : pages)
        p.serial = serial;
    return first + WriteOggPages(pages);
}

std::string OggSilence(const std::string& vorbisFile, uint32_t packets)
{
    std::vector<OggPage> source = ParseOggPages(vorbisFile);
    // The three header packets end on the first page whose last lacing value
    // closes the third packet; our encoder puts them on the first two pages.
    std::vector<OggPage> pages;
    int headers = 0;
    for (const OggPage& p : source) {
        if (headers >= 3)
            break;
        pages.push_back(p);
        for (uint8_t l : p.lacing)
            headers += l < 255;
    }
    if (pages.empty() || headers != 3)
        return {};
    const uint32_t serial = pages[0].serial;
    // Blocksizes of the identification header (its byte 28): the long one.
    const int64_t longBlock = int64_t(1) << (uint8_t(pages[0].body[28]) >> 4);
    // Audio packet, mode 1 (long), long windows before and after, every
    // channel's floor unused: bits 0, 1, 1, 1, 0, 0 from the lowest.
    const char packet = 0x0E;
    uint32_t sequence = uint32_t(pages.size());
    int64_t granule = 0;
    for (uint32_t done = 0; done < packets;) {
        OggPage p;
        p.serial = serial;
        p.sequence = sequence++;
        uint32_t n = packets - done < 255 ? packets - done : 255;
        p.lacing.assign(n, 1);
        p.body.assign(n, packet);
        // The first audio packet only starts the overlap; each one after it
        // gives half a long block.
        granule += int64_t(n) * (longBlock / 2) - (done == 0 ? longBlock / 2 : 0);
        p.granule = granule;
        done += n;
        if (done == packets)
            p.headerType = 4;
        pages.push_back(p);
    }
    return WriteOggPages(pages);
}

} // namespace hostile
