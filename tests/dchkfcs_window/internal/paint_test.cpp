// Page measurement, painting through WM_PRINTCLIENT into a memory bitmap,
// and the scroll bars that the paint keeps in range.
#include <vector>

#include "viewwnd.h"
#include "windowtest.h"
#include "zoom.h"

static const COLORREF MAGENTA = RGB(255, 0, 255);
static const COLORREF BLUE = RGB(0, 0, 255);
static const COLORREF GREY = RGB(128, 128, 128);
static const COLORREF WHITE = RGB(255, 255, 255);
static const COLORREF BLACK = RGB(0, 0, 0);

// A metafile holding only a header and an end record, with the given frame.
static HENHMETAFILE MakeHeaderOnlyMetafile(const RECTL &rclFrame)
{
    struct {
        ENHMETAHEADER header;
        EMREOF eof;
    } bits = {};
    bits.header.iType = EMR_HEADER;
    bits.header.nSize = sizeof bits.header;
    bits.header.rclBounds = {0, 0, -1, -1};
    bits.header.rclFrame = rclFrame;
    bits.header.dSignature = ENHMETA_SIGNATURE;
    bits.header.nVersion = 0x10000;
    bits.header.nBytes = sizeof bits;
    bits.header.nRecords = 2;
    bits.header.nHandles = 1;
    bits.header.szlDevice = {1024, 768};
    bits.header.szlMillimeters = {320, 240};
    bits.eof.emr.iType = EMR_EOF;
    bits.eof.emr.nSize = sizeof bits.eof;
    bits.eof.offPalEntries = sizeof bits.eof - sizeof(DWORD);
    bits.eof.nSizeLast = sizeof bits.eof;
    return SetEnhMetaFileBits(sizeof bits, reinterpret_cast<const BYTE *>(&bits));
}

static void Measure(CheckFcsState *pState, HENHMETAFILE hemf)
{
    pState->hCoverSheet = hemf;
    HDC hdc = GetDC(NULL);
    MeasurePage(pState, hdc);
    ReleaseDC(NULL, hdc);
}

TEST(MeasurePage, UsesTheFrameRectangleAtTheScreenResolution)
{
    CheckFcsState state = {};
    HENHMETAFILE hemf = MakeQuarterMetafile(100, 150);
    ENHMETAHEADER header;
    ASSERT_TRUE(GetEnhMetaFileHeader(hemf, sizeof header, &header));
    Measure(&state, hemf);
    SIZE expected = ScreenPixelsOfHimetric(header.rclFrame.right - header.rclFrame.left,
                                           header.rclFrame.bottom - header.rclFrame.top);
    EXPECT_EQ(expected.cx, state.cxPage);
    EXPECT_EQ(expected.cy, state.cyPage);
    // One inch is LOGPIXELSX pixels, within rounding of the 0.01 mm frame.
    HDC hdc = GetDC(NULL);
    int nDpi = GetDeviceCaps(hdc, LOGPIXELSX);
    ReleaseDC(NULL, hdc);
    EXPECT_NEAR(MulDiv(10000, nDpi, 2540), state.cxPage, 2);
    DeleteEnhMetaFile(hemf);
}

TEST(MeasurePage, UnusableFrameGivesAnA4Page)
{
    SIZE a4 = ScreenPixelsOfHimetric(21000, 29700);
    for (RECTL rcl : {RECTL{0, 0, 0, 0}, RECTL{100, 100, 100, 5000}, RECTL{0, 0, 1, 1}}) {
        HENHMETAFILE hemf = MakeHeaderOnlyMetafile(rcl);
        ASSERT_TRUE(hemf);
        CheckFcsState state = {};
        Measure(&state, hemf);
        EXPECT_EQ(a4.cx, state.cxPage);
        EXPECT_EQ(a4.cy, state.cyPage);
        DeleteEnhMetaFile(hemf);
    }
}

TEST(HasUsableFrame, RejectsMissingAndEmptyFrames)
{
    ENHMETAHEADER header;
    EXPECT_FALSE(HasUsableFrame(NULL, &header));
    HENHMETAFILE hemf = MakeHeaderOnlyMetafile({0, 0, 2000, 0});
    EXPECT_FALSE(HasUsableFrame(hemf, &header));
    DeleteEnhMetaFile(hemf);
    hemf = MakeHeaderOnlyMetafile({0, 0, 2000, 3000});
    EXPECT_TRUE(HasUsableFrame(hemf, &header));
    DeleteEnhMetaFile(hemf);
}

// Renders the view through WM_PRINTCLIENT into a bitmap prefilled with
// magenta and reads its pixels back.
class PaintTest : public WindowTest {
protected:
    void Render(UINT uFlags)
    {
        RECT rc;
        GetClientRect(m_state.hwndView, &rc);
        m_cx = rc.right;
        m_cy = rc.bottom;
        HDC hdcScreen = GetDC(NULL);
        HDC hdc = CreateCompatibleDC(hdcScreen);
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
        bmi.bmiHeader.biWidth = m_cx;
        bmi.bmiHeader.biHeight = -m_cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        void *pBits = NULL;
        HBITMAP hbm = CreateDIBSection(hdcScreen, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
        ReleaseDC(NULL, hdcScreen);
        HGDIOBJ hOld = SelectObject(hdc, hbm);
        HBRUSH hMagenta = CreateSolidBrush(MAGENTA);
        FillRect(hdc, &rc, hMagenta);
        DeleteObject(hMagenta);
        SendMessageW(m_state.hwndView, WM_PRINTCLIENT, (WPARAM)hdc, uFlags);
        GdiFlush();
        const DWORD *p = static_cast<const DWORD *>(pBits);
        m_pixels.assign(p, p + m_cx * m_cy);
        SelectObject(hdc, hOld);
        DeleteObject(hbm);
        DeleteDC(hdc);
    }

    COLORREF Pixel(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= m_cx || y >= m_cy)
            return CLR_INVALID;
        DWORD v = m_pixels[y * m_cx + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

    int m_cx = 0, m_cy = 0;
    std::vector<DWORD> m_pixels;
};

TEST_F(PaintTest, PageHasOutlineShadowAndTheMetafileInsideAtTheMargin)
{
    m_hemf = MakeQuarterMetafile(100, 150);
    CreateFrame(m_hemf, 800, 600);
    m_state.nZoomPercent = 50;
    SetZoomMode(&m_state, ZOOM_PERCENT);
    Render(PRF_CLIENT);

    SIZE page = ScreenPixelsOfHimetric(10000, 15000);
    ASSERT_EQ(page.cx, m_state.cxPage);
    int cx = MulDiv(page.cx, 50, 100), cy = MulDiv(page.cy, 50, 100);
    EXPECT_EQ(cx, m_state.cxZoomed);
    EXPECT_EQ(cy, m_state.cyZoomed);
    const int l = 8, t = 8, r = l + cx, b = t + cy;
    EXPECT_EQ(l, m_state.rcPage.left);
    EXPECT_EQ(r, m_state.rcPage.right);
    ASSERT_LT(b + 4, m_cy);

    EXPECT_EQ(BLACK, Pixel(l, t));
    EXPECT_EQ(BLACK, Pixel(r - 1, t + cy / 2));
    EXPECT_EQ(BLACK, Pixel(l + cx / 2, b - 1));
    EXPECT_EQ(MAGENTA, Pixel(l - 1, t));             // nothing left of the page
    EXPECT_EQ(BLUE, Pixel(l + cx / 4, t + cy / 4));   // the metafile's top-left quarter
    EXPECT_EQ(WHITE, Pixel(l + cx * 3 / 4, t + cy / 4));
    EXPECT_EQ(WHITE, Pixel(l + cx / 4, t + cy * 3 / 4));
    EXPECT_EQ(GREY, Pixel(r, t + 4));                 // right shadow starts 4 down
    EXPECT_EQ(MAGENTA, Pixel(r, t + 3));
    EXPECT_EQ(GREY, Pixel(r + 3, b + 3));
    EXPECT_EQ(MAGENTA, Pixel(r + 4, t + cy / 2));
    EXPECT_EQ(GREY, Pixel(l + 4, b));                 // bottom shadow starts 4 right
    EXPECT_EQ(MAGENTA, Pixel(l + 3, b));
    EXPECT_EQ(MAGENTA, Pixel(l + cx / 2, b + 4));
}

TEST_F(PaintTest, FitModesCentreThePageAndEraseWithTheWindowColour)
{
    m_hemf = MakeQuarterMetafile(100, 150);
    CreateFrame(m_hemf, 800, 600);
    SetZoomMode(&m_state, ZOOM_WHOLEPAGE);
    Render(PRF_CLIENT | PRF_ERASEBKGND);
    RECT rc;
    GetClientRect(m_state.hwndView, &rc);
    EXPECT_EQ(rc.right / 2 - m_state.cxZoomed / 2, m_state.rcPage.left);
    EXPECT_EQ(8, m_state.rcPage.top);
    COLORREF window = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(window, Pixel(m_state.rcPage.left - 2, 2));
    EXPECT_EQ(BLACK, Pixel(m_state.rcPage.left, m_state.rcPage.top));
}

TEST_F(PaintTest, UnreadableFrameShowsAnEmptyA4Page)
{
    m_hemf = MakeHeaderOnlyMetafile({0, 0, 0, 0});
    CreateFrame(m_hemf, 800, 600);
    SIZE a4 = ScreenPixelsOfHimetric(21000, 29700);
    EXPECT_EQ(a4.cx, m_state.cxPage);
    EXPECT_GE(m_state.nZoomPercent, 10);
    EXPECT_LE(m_state.nZoomPercent, 500);
    Render(PRF_CLIENT);
    const RECT &p = m_state.rcPage;
    EXPECT_EQ(BLACK, Pixel(p.left, p.top));
    EXPECT_EQ(WHITE, Pixel((p.left + p.right) / 2, (p.top + p.bottom) / 2));
}

TEST_F(PaintTest, ScrollBarsFollowTheZoomAndStepByLinePageAndWheel)
{
    m_hemf = MakeQuarterMetafile(100, 150);
    CreateFrame(m_hemf, 800, 600, true);
    m_state.nZoomPercent = 300;
    SetZoomMode(&m_state, ZOOM_PERCENT);
    UpdateWindow(m_state.hwndView);
    RECT rc;
    GetClientRect(m_state.hwndView, &rc);
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(m_state.hwndView, SB_VERT, &si);
    EXPECT_EQ(0, si.nMin);
    EXPECT_EQ(m_state.cyZoomed + 20, si.nMax);
    EXPECT_EQ((UINT)rc.bottom, si.nPage);
    const int nLast = si.nMax - (int)si.nPage;

    SendMessageW(m_state.hwndView, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(10, GetScrollPos(m_state.hwndView, SB_VERT));
    SendMessageW(m_state.hwndView, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(10 + rc.bottom, GetScrollPos(m_state.hwndView, SB_VERT));
    SendMessageW(m_state.hwndView, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(nLast, GetScrollPos(m_state.hwndView, SB_VERT));
    // The wheel reaches the view through the frame; one notch is 2 lines.
    SendMessageW(m_hwndFrame, WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
    EXPECT_EQ(nLast - 40, GetScrollPos(m_state.hwndView, SB_VERT));
    SendMessageW(m_hwndFrame, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-60), 0);
    EXPECT_EQ(nLast - 40, GetScrollPos(m_state.hwndView, SB_VERT));
    SendMessageW(m_state.hwndView, WM_HSCROLL, SB_RIGHT, 0);
    EXPECT_EQ(m_state.cxZoomed + 20 - rc.right, GetScrollPos(m_state.hwndView, SB_HORZ));

    // Lowered so that the page fits: positions back in range, bars disabled.
    m_state.nZoomPercent = 10;
    SetZoomMode(&m_state, ZOOM_PERCENT);
    UpdateWindow(m_state.hwndView);
    GetScrollInfo(m_state.hwndView, SB_VERT, &si);
    EXPECT_LE(si.nPos, si.nMax);
    EXPECT_EQ(m_state.cyZoomed + 20, si.nMax);
    SCROLLBARINFO sbi = {};
    sbi.cbSize = sizeof sbi;
    ASSERT_TRUE(GetScrollBarInfo(m_state.hwndView, OBJID_VSCROLL, &sbi));
    EXPECT_TRUE(sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_FALSE(sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE);
}
