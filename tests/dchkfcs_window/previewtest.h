// Test fixture: a fresh copy of the library, a parent window and a Letter-size
// cover sheet for every test.
#ifndef TESTS_DCHKFCS_WINDOW_PREVIEWTEST_H
#define TESTS_DCHKFCS_WINDOW_PREVIEWTEST_H

#include <gtest/gtest.h>

#include "previewhost.h"

enum { LETTER_CX = 21590, LETTER_CY = 27940 };  // 0.01 mm

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(lib.Load()) << "cannot load a copy of VELMORAZ.dll";
        parent = CreateParentWindow();
        ASSERT_NE(nullptr, parent);
        sheet = CreateCoverSheet(LETTER_CX, LETTER_CY);
        ASSERT_NE(nullptr, sheet);
    }

    void TearDown() override
    {
        if (sheet)
            DeleteEnhMetaFile(sheet);
        if (parent)
            DestroyWindow(parent);
    }

    // The call ended as a closed preview does: result 1, parent enabled, no frame.
    void ExpectClosed(int nResult)
    {
        EXPECT_EQ(1, nResult);
        EXPECT_TRUE(IsWindowEnabled(parent));
        EXPECT_EQ(nullptr, FindPreviewFrame());
    }

    PreviewLibrary lib;
    HWND parent = nullptr;
    HENHMETAFILE sheet = nullptr;
};

// Indexes of the zoom box's items.
enum { LIST_500, LIST_200, LIST_150, LIST_100, LIST_75, LIST_50, LIST_25, LIST_10 };

// A list pick as the combo box reports it.
inline void Pick(const PreviewWindows &w, int index)
{
    SendMessageW(w.zoomBox, CB_SETCURSEL, index, 0);
    SendMessageW(w.frame, WM_COMMAND, MAKEWPARAM(IDC_ZOOMBOX, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(w.zoomBox));
}

#endif
