// Shared set-up of the white-box window tests: the test executable carries
// the library's resources, so it stands in for the library's module.
#ifndef DCHKFCS_WINDOWTEST_H
#define DCHKFCS_WINDOWTEST_H

#include <windows.h>

#include <gtest/gtest.h>

#include "checkfcsstate.h"

// An enhanced metafile of wMm x hMm millimetres whose top-left quarter is a
// solid blue rectangle; the rest is left to the page.
HENHMETAFILE MakeQuarterMetafile(int wMm, int hMm);

// Pixels of a frame rectangle (0.01 mm) on the screen, as the platform maps it.
SIZE ScreenPixelsOfHimetric(int cx, int cy);

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates a frame with the library's window procedure and menu over a
    // fresh state for hemf, client size about cx x cy. Showing a top-level
    // window costs seconds under Wine without a window manager, so only
    // tests of painting and focus ask for it.
    HWND CreateFrame(HENHMETAFILE hemf, int cx, int cy, bool bShow = false);
    // Dispatches every waiting message of the thread.
    static void Pump();

    CheckFcsState m_state;
    HWND m_hwndFrame = NULL;
    HENHMETAFILE m_hemf = NULL;
};

#endif
