// Dump of a VMD file through the library's own reader and chain walks, so
// what is printed is what the preview would read.
#include <stdarg.h>
#include <string.h>
#include <string>
#include "vmddump.h"
#include "uichar.h"
#include "vmdwalk.h"

enum { KEY_BUFFER_LEN = 260, PREVIEW_TEXT_MAX = 63 };

namespace {

struct Dump {
    VmdFile *pFile;
    FILE *pOut;
    FILE *pWarn;
    int nWarnings;

    void Warn(const char *pszFormat, ...) __attribute__((format(printf, 2, 3)));
};

void Dump::Warn(const char *pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    fputs("warning: ", pWarn);
    vfprintf(pWarn, pszFormat, args);
    fputc('\n', pWarn);
    va_end(args);
    ++nWarnings;
}

}  // namespace

static bool IsPrintableAsciiChar(unsigned char ch)
{
    return ch > 0x20 && ch < 0x7F;
}

static bool IsPrintableAscii(const char *psz)
{
    for (; *psz; ++psz) {
        if (!IsPrintableAsciiChar(static_cast<unsigned char>(*psz)))
            return false;
    }
    return true;
}

// Section names are bytes: all but printable ASCII are shown as \xHH, so
// that the dump stays one line of UTF-8 text per name.
static std::string ShownName(const char *pszName)
{
    std::string str;
    for (const char *p = pszName; *p; ++p) {
        unsigned char ch = static_cast<unsigned char>(*p);
        char szEscape[5];
        snprintf(szEscape, sizeof szEscape, "\\x%02X", ch);
        str += IsPrintableAsciiChar(ch) ? std::string(1, char(ch)) : szEscape;
    }
    return str;
}

static void DumpText(Dump &d, const char *pszKey, uint32_t offText)
{
    UiChar szText[VMD_STRING_MAX];
    if (!VmdReadWideString(d.pFile, offText, szText, VMD_STRING_MAX)) {
        uint8_t first[2] = {0, 0};
        VmdReadAt(d.pFile, first, 2, offText);
        if (first[0] != 0 || first[1] != 0)
            d.Warn("text of '%s' at offset %u has no terminator within 290 units", pszKey, offText);
        fprintf(d.pOut, "%s =\n", pszKey);
        return;
    }
    size_t cch = UiTextLength(szText, VMD_STRING_MAX);
    if (cch > PREVIEW_TEXT_MAX)
        d.Warn("text of '%s' is %zu UTF-16 units; the preview cuts it to 63", pszKey, cch);
    char szUtf8[VMD_STRING_MAX * 3];
    VmdUtf16ToUtf8(szText, szUtf8, sizeof szUtf8);
    std::string strShown;
    for (const char *p = szUtf8; *p; ++p)
        strShown += *p == '\n' ? std::string("\\n") : std::string(1, *p);
    if (strShown.size() != strlen(szUtf8))
        d.Warn("text of '%s' holds line breaks, shown as \\n: a source cannot hold them", pszKey);
    fprintf(d.pOut, "%s = %s\n", pszKey, strShown.c_str());
}

static void DumpEntry(Dump &d, uint32_t offEntry, const uint8_t *pEntry)
{
    char szKey[KEY_BUFFER_LEN];
    memset(szKey, 0, sizeof szKey);
    uint32_t offKey = VmdGetU32(pEntry + VMD_ENTRY_KEY);
    if (!VmdReadString(d.pFile, offKey, szKey, sizeof szKey)) {
        d.Warn("entry at offset %u: key at offset %u is unterminated or longer than 259 bytes",
               offEntry, offKey);
        return;
    }
    if (szKey[0] == 0 || !IsPrintableAscii(szKey)) {
        d.Warn("entry at offset %u: key at offset %u is empty or not printable ASCII", offEntry,
               offKey);
        return;
    }
    // Such a key would read back as a section, a comment or another key.
    if (szKey[0] == '[' || szKey[0] == '#' || strchr(szKey, '=')) {
        d.Warn("entry at offset %u: key '%s' starts with '[' or '#' or holds '=', which a source "
               "cannot: skipped",
               offEntry, szKey);
        return;
    }
    DumpText(d, szKey, VmdGetU32(pEntry + VMD_ENTRY_TEXT));
}

// The loader makes entry-count passes wherever the chain leads: a chain
// that ends early goes on at offset 0 and reads the header as an entry.
static void DumpEntries(Dump &d, const char *pszSection, uint32_t offSection, const uint8_t *pHead)
{
    uint8_t counts[VMD_SECTION_COUNTS_SIZE];
    memset(counts, 0, sizeof counts);
    VmdReadSectionCounts(d.pFile, offSection + VMD_SECTION_HEAD_SIZE, counts);
    VmdEntryWalk walk;
    uint8_t entry[VMD_ENTRY_SIZE];
    VmdStartEntryWalk(&walk, pHead, counts);
    uint32_t nCount = walk.nLeft, nRead = 0;
    bool fHeaderWarned = false;
    while (true) {
        if (walk.offNext == 0 && walk.nLeft != 0 && walk.nLoop == 0 && !fHeaderWarned) {
            d.Warn("entries of '%s' reach offset 0 after %u of %u entries: the header is read as "
                   "an entry",
                   pszSection, nRead, nCount);
            fHeaderWarned = true;
        }
        if (VmdReadNextEntry(d.pFile, &walk, entry) != VMD_WALK_RECORD)
            break;
        ++nRead;
        DumpEntry(d, walk.offEntry, entry);
    }
    if (walk.nLoop != 0)
        d.Warn("entries of '%s' loop back (a loop of %u entries): %u of %u passes shown, the "
               "others repeat it",
               pszSection, walk.nLoop, nRead, nCount);
}

static void DumpSection(Dump &d, const VmdSectionWalk &walk, const uint8_t *pHead)
{
    char szName[VMD_SECTION_NAME_LEN + 1];
    memcpy(szName, pHead, VMD_SECTION_NAME_LEN);
    szName[VMD_SECTION_NAME_LEN] = 0;
    std::string strName = ShownName(szName);
    if (strlen(szName) == VMD_SECTION_NAME_LEN)
        d.Warn("section name at offset %u fills its field without a NUL", walk.offSection);
    if (szName[0] == 0 || !IsPrintableAscii(szName))
        d.Warn("section name '%s' at offset %u is empty or not printable ASCII", strName.c_str(),
               walk.offSection);
    if (walk.offSection >= walk.uLimit)
        d.Warn(
            "section '%s' at offset %u lies at or beyond the section limit %u: it is never found",
            strName.c_str(), walk.offSection, walk.uLimit);
    fprintf(d.pOut, "[%s]\n", strName.c_str());
    DumpEntries(d, strName.c_str(), walk.offSection, pHead);
}

// How the section chain ended: the expected end is a next offset that
// equals the limit or points where no record lies beyond it.
static void CheckChainEnd(Dump &d, const VmdSectionWalk &walk, VmdWalkStep step)
{
    uint8_t head[VMD_SECTION_HEAD_SIZE];
    if (step == VMD_WALK_CYCLE)
        d.Warn("the section chain loops back to offset %u", walk.offNext);
    else if (step == VMD_WALK_LIMIT && walk.offNext != walk.uLimit &&
             VmdReadAt(d.pFile, head, sizeof head, walk.offNext) == VMD_SECTION_HEAD_SIZE)
        d.Warn("the section chain goes on at offset %u, beyond the section limit %u: sections from "
               "there are never found",
               walk.offNext, walk.uLimit);
    else if (step == VMD_WALK_SHORT && (walk.fStarted || walk.uLimit > VMD_FIRST_SECTION))
        d.Warn("the section chain points to offset %u, where no whole section record lies",
               walk.offNext);
}

int DumpVmdFile(VmdFile *pFile, FILE *pOut, FILE *pWarn)
{
    Dump d{pFile, pOut, pWarn, 0};
    VmdSectionWalk walk;
    uint8_t head[VMD_SECTION_HEAD_SIZE];
    VmdStartSectionWalk(pFile, &walk);
    fprintf(pOut, "# section limit %u\n", walk.uLimit);
    VmdWalkStep step;
    while ((step = VmdReadNextSection(pFile, &walk, head)) == VMD_WALK_RECORD)
        DumpSection(d, walk, head);
    CheckChainEnd(d, walk, step);
    return d.nWarnings;
}
