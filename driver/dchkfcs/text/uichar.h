// UTF-16 code unit of every user-visible text. On Windows it is WCHAR, so
// texts go straight to the W functions; natively (reader, loader and their
// tests) it is char16_t. Also the one conversion the texts need: to UTF-8,
// for file names on POSIX systems and for printing texts.
#ifndef DRIVER_DCHKFCS_TEXT_UICHAR_H
#define DRIVER_DCHKFCS_TEXT_UICHAR_H

#include <stddef.h>

#ifdef _WIN32
typedef wchar_t UiChar;
#define UI_STR(s) L##s
#else
typedef char16_t UiChar;
#define UI_STR(s) u##s
#endif

static_assert(sizeof(UiChar) == 2, "texts are UTF-16");

// Units before the terminator, but no more than cchMax: a text that is not
// terminated within cchMax units counts as cchMax long.
inline size_t UiTextLength(const UiChar *psz, size_t cchMax)
{
    size_t cch = 0;
    while (cch < cchMax && psz[cch] != 0)
        ++cch;
    return cch;
}

inline bool UiIsHighSurrogate(UiChar ch)
{
    return ch >= 0xD800 && ch <= 0xDBFF;
}
inline bool UiIsLowSurrogate(UiChar ch)
{
    return ch >= 0xDC00 && ch <= 0xDFFF;
}

const size_t VMD_UTF8_NO_ROOM = size_t(-1);

// Converts the terminated pszSrc into pszDest (cbDest bytes, terminated);
// a lone surrogate becomes U+FFFD. Returns the bytes written without the
// terminator, or VMD_UTF8_NO_ROOM (pszDest then holds no usable string).
size_t VmdUtf16ToUtf8(const UiChar *pszSrc, char *pszDest, size_t cbDest);

#endif
