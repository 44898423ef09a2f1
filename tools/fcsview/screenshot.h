// Captures the preview window into a BMP file once it is shown, then closes it.
#ifndef TOOLS_FCSVIEW_SCREENSHOT_H
#define TOOLS_FCSVIEW_SCREENSHOT_H

#include <windows.h>

// Arms a timer on the calling thread; the preview's own message loop runs it.
void ArmScreenshot(const WCHAR *pszPath);

// Whether the armed capture was written.
bool ScreenshotTaken();

#endif
