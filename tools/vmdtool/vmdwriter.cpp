// VMD layout: every record's place is known before anything is written, so
// all offsets are filled in one pass.
#include <string.h>
#include "vmdwriter.h"

enum { HEADER_SIZE = 8, SECTION_SIZE = 64, ENTRY_SIZE = 16 };

static void PutU32(std::vector<uint8_t> &image, size_t off, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        image[off + i] = uint8_t(value >> (8 * i));
}

static uint32_t Append(std::vector<uint8_t> &image, const void *p, size_t cb)
{
    uint32_t off = uint32_t(image.size());
    const uint8_t *pb = static_cast<const uint8_t *>(p);
    image.insert(image.end(), pb, pb + cb);
    return off;
}

static uint32_t AppendKey(std::vector<uint8_t> &image, const std::string &strKey)
{
    return Append(image, strKey.c_str(), strKey.size() + 1);
}

static uint32_t AppendText(std::vector<uint8_t> &image, const std::u16string &strText)
{
    if (image.size() % 2 != 0)
        image.push_back(0);
    uint32_t off = uint32_t(image.size());
    for (char16_t unit : strText) {
        image.push_back(uint8_t(unit));
        image.push_back(uint8_t(unit >> 8));
    }
    image.push_back(0);
    image.push_back(0);
    return off;
}

static size_t CountEntries(const VmdSource &source)
{
    size_t n = 0;
    for (const VmdSourceSection &section : source.sections)
        n += section.entries.size();
    return n;
}

std::vector<uint8_t> BuildVmdImage(const VmdSource &source)
{
    uint32_t uLimit = uint32_t(HEADER_SIZE + SECTION_SIZE * source.sections.size());
    std::vector<uint8_t> image(uLimit + ENTRY_SIZE * CountEntries(source), 0);
    PutU32(image, 4, uLimit);
    size_t offEntry = uLimit;
    for (size_t s = 0; s < source.sections.size(); ++s) {
        const VmdSourceSection &section = source.sections[s];
        size_t offSection = HEADER_SIZE + SECTION_SIZE * s;
        memcpy(&image[offSection], section.strName.c_str(), section.strName.size());
        if (!section.entries.empty())
            PutU32(image, offSection + 32, uint32_t(offEntry));
        PutU32(image, offSection + 48, uint32_t(offSection + SECTION_SIZE));  // the last: the limit
        PutU32(image, offSection + 52, uint32_t(section.entries.size()));
        for (size_t e = 0; e < section.entries.size(); ++e, offEntry += ENTRY_SIZE) {
            PutU32(image, offEntry, AppendKey(image, section.entries[e].strKey));
            PutU32(image, offEntry + 8, AppendText(image, section.entries[e].strText));
            if (e + 1 < section.entries.size())
                PutU32(image, offEntry + 12, uint32_t(offEntry + ENTRY_SIZE));
        }
    }
    return image;
}
