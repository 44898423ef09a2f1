// Reader of VMD files, the driver's data files of localised texts. A file is
// a header (reserved, section limit), section records linked by offsets,
// entry records linked by offsets, NUL-terminated ASCII key names and
// zero-terminated UTF-16LE texts. All integers are 32-bit little-endian and
// every offset counts from the start of the file.
#ifndef DRIVER_DCHKFCS_TEXT_VMD_H
#define DRIVER_DCHKFCS_TEXT_VMD_H

#include <stddef.h>
#include <stdint.h>
#include "uichar.h"
#include "vmdfile.h"

enum {
    VMD_PATH_LEN = 260,  // path buffer, terminator included
    VMD_HEADER_SIZE = 8,
    VMD_HEADER_LIMIT = 4,  // section limit within the header
    VMD_FIRST_SECTION = 8,
    VMD_SECTION_NAME_LEN = 32,
    VMD_SECTION_HEAD_SIZE = 52,
    VMD_SECTION_FIRST_ENTRY = 32,  // fields of the section head
    VMD_SECTION_NEXT = 48,
    VMD_SECTION_COUNTS_SIZE = 12,  // entry count and two reserved values
    VMD_ENTRY_SIZE = 16,
    VMD_ENTRY_KEY = 0,  // fields of the entry record
    VMD_ENTRY_TEXT = 8,
    VMD_ENTRY_NEXT = 12,
    VMD_STRING_MAX = 290  // longest key or text, terminator included
};

// An open VMD file. With pbData the whole file is in memory (buffer mode);
// without it every read goes to the file (fallback mode).
struct VmdFile {
    const VmdFileOps *pOps;
    VmdHandle hFile;
    UiChar szPath[VMD_PATH_LEN];
    uint8_t *pbData;
    uint32_t cbData;
};

// Files opened from now on use pOps; returns the table used until now.
const VmdFileOps *VmdSetFileOps(const VmdFileOps *pOps);

// Paths of VMD_PATH_LEN units or more are refused: a cut path would name
// another file.
VmdFile *VmdOpen(const UiChar *pszPath);
void VmdClose(VmdFile *pFile);

// Bytes copied (fewer at the end of the file, 0 at or past it), or -1 on a
// read error of the file in fallback mode.
int32_t VmdReadAt(VmdFile *pFile, void *pDest, uint32_t cb, uint32_t off);

// Offset of the section record named pszName (ASCII, any letter case), or 0.
uint32_t VmdFindSection(VmdFile *pFile, const char *pszName);

bool VmdReadSectionHead(VmdFile *pFile, uint32_t off, uint8_t *pHead);
bool VmdReadSectionCounts(VmdFile *pFile, uint32_t off, uint8_t *pCounts);
bool VmdReadBlock(VmdFile *pFile, uint32_t off, uint32_t cb, void *pDest);

// Key name at off into pszDest (cbDest bytes). Fails, leaving pszDest as it
// was, on a read error or when the name and its NUL need more than
// VMD_STRING_MAX or cbDest bytes.
bool VmdReadString(VmdFile *pFile, uint32_t off, char *pszDest, size_t cbDest);

// Text at off into pszDest (cchDest units). Fails, leaving pszDest as it
// was, when the text is empty or has no terminator within VMD_STRING_MAX
// units. A longer text than pszDest holds is cut, never inside a surrogate
// pair.
bool VmdReadWideString(VmdFile *pFile, uint32_t off, UiChar *pszDest, size_t cchDest);

uint32_t VmdGetU32(const uint8_t *p);

// Whole-string comparison ignoring ASCII letter case.
bool VmdNamesEqual(const char *pszA, const char *pszB);

#endif
