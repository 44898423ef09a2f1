// UTF-16 to UTF-8 conversion into a fixed buffer.
#include "uichar.h"

// Code point at psz, advancing past its one or two units.
static char32_t NextCodePoint(const UiChar *&psz)
{
    char32_t cp = *psz++;
    if (UiIsHighSurrogate(UiChar(cp)) && UiIsLowSurrogate(*psz))
        return 0x10000 + ((cp - 0xD800) << 10) + (char32_t(*psz++) - 0xDC00);
    if (UiIsHighSurrogate(UiChar(cp)) || UiIsLowSurrogate(UiChar(cp)))
        return 0xFFFD;
    return cp;
}

static size_t EncodeUtf8(char32_t cp, char *p)
{
    if (cp < 0x80) {
        p[0] = char(cp);
        return 1;
    }
    if (cp < 0x800) {
        p[0] = char(0xC0 | cp >> 6);
        p[1] = char(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        p[0] = char(0xE0 | cp >> 12);
        p[1] = char(0x80 | (cp >> 6 & 0x3F));
        p[2] = char(0x80 | (cp & 0x3F));
        return 3;
    }
    p[0] = char(0xF0 | cp >> 18);
    p[1] = char(0x80 | (cp >> 12 & 0x3F));
    p[2] = char(0x80 | (cp >> 6 & 0x3F));
    p[3] = char(0x80 | (cp & 0x3F));
    return 4;
}

size_t VmdUtf16ToUtf8(const UiChar *pszSrc, char *pszDest, size_t cbDest)
{
    size_t cb = 0;
    while (*pszSrc != 0) {
        char bytes[4];
        size_t n = EncodeUtf8(NextCodePoint(pszSrc), bytes);
        if (cb + n >= cbDest)
            return VMD_UTF8_NO_ROOM;
        for (size_t i = 0; i < n; ++i)
            pszDest[cb++] = bytes[i];
    }
    if (cbDest == 0)
        return VMD_UTF8_NO_ROOM;
    pszDest[cb] = 0;
    return cb;
}
