// UTF-16 to UTF-8, for file names on POSIX systems and for printing texts.
#ifndef DCHKFCS_VMDUTF8_H
#define DCHKFCS_VMDUTF8_H

#include <stddef.h>
#include "uichar.h"

const size_t VMD_UTF8_NO_ROOM = size_t(-1);

// Converts the terminated pszSrc into pszDest (cbDest bytes, terminated);
// a lone surrogate becomes U+FFFD. Returns the bytes written without the
// terminator, or VMD_UTF8_NO_ROOM (pszDest then holds no usable string).
size_t VmdUtf16ToUtf8(const UiChar *pszSrc, char *pszDest, size_t cbDest);

#endif
