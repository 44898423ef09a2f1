#include "vmdbytes.h"

#include <cstring>

enum { HEADER_SIZE = 8, SECTION_SIZE = 64, ENTRY_SIZE = 16, NAME_SIZE = 32 };

static void Put32(std::vector<uint8_t> *pFile, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        (*pFile)[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

static uint32_t Append(std::vector<uint8_t> *pFile, const void *pv, size_t cb)
{
    const uint32_t at = static_cast<uint32_t>(pFile->size());
    const uint8_t *pb = static_cast<const uint8_t *>(pv);
    pFile->insert(pFile->end(), pb, pb + cb);
    return at;
}

static void PutSection(std::vector<uint8_t> *pFile, size_t at, const std::string &name,
                       uint32_t firstEntry, uint32_t next, uint32_t count)
{
    std::memcpy(pFile->data() + at, name.c_str(), name.size() + 1);
    Put32(pFile, at + NAME_SIZE, firstEntry);
    Put32(pFile, at + 48, next);
    Put32(pFile, at + 52, count);
}

std::vector<uint8_t> BuildVmd(const std::string &section, const VmdEntries &entries)
{
    const uint32_t firstSection = HEADER_SIZE, secondSection = HEADER_SIZE + SECTION_SIZE;
    const uint32_t limit = secondSection + SECTION_SIZE;
    const uint32_t firstEntry = limit;
    std::vector<uint8_t> file(limit + ENTRY_SIZE * entries.size(), 0);
    Put32(&file, 4, limit);
    PutSection(&file, firstSection, "Dlg_SomethingElse", 0, secondSection, 0);
    PutSection(&file, secondSection, section, entries.empty() ? 0 : firstEntry, limit,
               static_cast<uint32_t>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        const uint32_t entry = firstEntry + static_cast<uint32_t>(i * ENTRY_SIZE);
        const std::string &key = entries[i].first;
        const std::wstring &text = entries[i].second;
        Put32(&file, entry, Append(&file, key.c_str(), key.size() + 1));
        Put32(&file, entry + 8, Append(&file, text.c_str(), (text.size() + 1) * 2));
        Put32(&file, entry + 12, entry + ENTRY_SIZE);
    }
    return file;
}
