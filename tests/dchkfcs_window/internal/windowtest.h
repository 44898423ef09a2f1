// Shared set-up of the white-box window tests: the test executable carries
// the library's resources, so it stands in for the library's module.
#ifndef TESTS_DCHKFCS_WINDOW_INTERNAL_WINDOWTEST_H
#define TESTS_DCHKFCS_WINDOW_INTERNAL_WINDOWTEST_H

#include <windows.h>

#include <gtest/gtest.h>

#include "checkfcsstate.h"

// A hidden frame with the library's window procedure and menu over a fresh
// state for an empty 100 x 150 mm page, client size about 700 x 500.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Dispatches every waiting message of the thread.
    static void Pump();

    CheckFcsState m_state;
    HWND m_hwndFrame = nullptr;
    HENHMETAFILE m_hemf = nullptr;
};

#endif
