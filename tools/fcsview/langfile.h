// Puts a localised VELMORAD.VMD beside the preview library for one run.
#ifndef TOOLS_FCSVIEW_LANGFILE_H
#define TOOLS_FCSVIEW_LANGFILE_H

#include <windows.h>

// Copies <folder>lang\<code>\VELMORAD.VMD to <folder>VELMORAD.VMD. A data file
// that was already there is set aside and comes back in RemoveLanguageFile.
bool PlaceLanguageFile(const WCHAR *pszFolder, const WCHAR *pszCode);
void RemoveLanguageFile(const WCHAR *pszFolder);

#endif
