// The page view as it lies in the frame, scrolls and paints: layout after
// resizes, scroll ranges and steps, the wheel, and the captured pixels of the
// page, its outline, shadow and the background.
#include <algorithm>

#include "previewtest.h"

static const COLORREF kBackground = RGB(0, 128, 128);  // distinct from the white page
static const COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);
static const COLORREF kGrey = RGB(128, 128, 128), kRed = RGB(255, 0, 0);

// Every view test sees the view's background in a colour of its own.
class ViewTest : public PreviewTest {
protected:
    void SetUp() override
    {
        m_saved = GetSysColor(COLOR_WINDOW);
        const int index = COLOR_WINDOW;
        SetSysColors(1, &index, &kBackground);
        PreviewTest::SetUp();
    }

    void TearDown() override
    {
        const int index = COLOR_WINDOW;
        SetSysColors(1, &index, &m_saved);
        PreviewTest::TearDown();
    }

private:
    COLORREF m_saved = 0;
};

static void Resize(const PreviewWindows &w, int cx, int cy)
{
    SetWindowPos(w.frame, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
}

// Toolbar on top, the view right below it, the dialog bar right below the
// view and right above the status bar, all across the full client width.
static void ExpectLayout(const PreviewWindows &w)
{
    const RECT c = ClientRect(w.frame);
    const RECT tb = WindowRectIn(w.toolbar, w.frame), vw = WindowRectIn(w.view, w.frame);
    const RECT db = WindowRectIn(w.dlgBar, w.frame), sb = WindowRectIn(w.status, w.frame);
    SCOPED_TRACE(testing::Message() << "client " << c.right << "x" << c.bottom);
    EXPECT_EQ(0, tb.top);
    EXPECT_EQ(tb.bottom - tb.top, vw.top);
    EXPECT_EQ(vw.bottom, db.top);
    EXPECT_EQ(db.bottom, sb.top);
    EXPECT_EQ(c.bottom, sb.bottom);
    for (const RECT &rc : {vw, db, sb}) {
        EXPECT_EQ(0, rc.left);
        EXPECT_EQ(c.right, rc.right);
    }
    // The dialog keeps to the bar's right end, even when the bar is narrower;
    // the bar is the dialog plus two separator rows.
    const RECT dlg = WindowRectIn(w.dialog, w.dlgBar);
    EXPECT_EQ(ClientRect(w.dlgBar).right, dlg.right);
    EXPECT_EQ(0, dlg.top);
    EXPECT_EQ(dlg.bottom + 2, ClientRect(w.dlgBar).bottom);
}

TEST_F(ViewTest, ChildrenStackExactlyAfterResizes)
{
    const int nResult =
        RunPreview(lib, parent, sheet, 0, 0,
                   {{50, [&](const PreviewWindows &w) {
                         ExpectLayout(w);
                         for (SIZE size : {SIZE{640, 480}, SIZE{1000, 700}, SIZE{260, 400}}) {
                             Resize(w, size.cx, size.cy);
                             ExpectLayout(w);
                         }
                         // Narrower than the dialog: the Close button still ends at the right edge.
                         RECT rcClose = WindowRectIn(GetDlgItem(w.dialog, ID_CANCEL), w.dlgBar);
                         EXPECT_LE(rcClose.right, ClientRect(w.dlgBar).right);
                         EXPECT_GT(rcClose.left, 0);
                         ShowWindow(w.frame, SW_MAXIMIZE);
                         ExpectLayout(w);
                         ShowWindow(w.frame, SW_RESTORE);
                         ExpectLayout(w);
                         PostMessageW(w.frame, WM_CLOSE, 0, 0);
                     }}});
    ExpectClosed(nResult);
}

static SCROLLINFO ScrollInfo(HWND hwnd, int bar)
{
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    GetScrollInfo(hwnd, bar, &si);
    return si;
}

static int Scroll(HWND hwnd, UINT msg, int code, int thumb = 0)
{
    SendMessageW(hwnd, msg, MAKEWPARAM(code, thumb), 0);
    return GetScrollPos(hwnd, msg == WM_VSCROLL ? SB_VERT : SB_HORZ);
}

static int Wheel(const PreviewWindows &w, int delta)
{
    SendMessageW(w.frame, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), 0);
    return GetScrollPos(w.view, SB_VERT);
}

static bool BarDisabled(HWND hwnd, LONG object)
{
    SCROLLBARINFO info = {};
    info.cbSize = sizeof(info);
    GetScrollBarInfo(hwnd, object, &info);
    return (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) != 0 &&
           (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) == 0;
}

TEST_F(ViewTest, ScrollBarsFollowTheZoomAndStepAsRequested)
{
    const int nResult = RunPreview(
        lib, parent, sheet, 0, 0,
        {{50,
          [&](const PreviewWindows &w) {
              Resize(w, 800, 600);
              Pick(w, LIST_200);
              UpdateWindow(w.view);
              const SIZE page = PageSizeOnDevice(w.view, sheet);
              const RECT c = ClientRect(w.view);
              const SCROLLINFO v = ScrollInfo(w.view, SB_VERT), h = ScrollInfo(w.view, SB_HORZ);
              EXPECT_EQ(0, v.nMin);
              EXPECT_EQ(MulDiv(page.cy, 200, 100) + 20, v.nMax);
              EXPECT_EQ(static_cast<UINT>(c.bottom), v.nPage);
              EXPECT_EQ(0, h.nMin);
              EXPECT_EQ(MulDiv(page.cx, 200, 100) + 20, h.nMax);
              EXPECT_EQ(static_cast<UINT>(c.right), h.nPage);
              ASSERT_GT(v.nMax - static_cast<int>(v.nPage), 100);
              ASSERT_GT(h.nMax - static_cast<int>(h.nPage), 100);

              const int vLast = v.nMax - static_cast<int>(v.nPage);
              const int hLast = h.nMax - static_cast<int>(h.nPage);
              EXPECT_EQ(10, Scroll(w.view, WM_VSCROLL, SB_LINEDOWN));
              EXPECT_EQ(10 + c.bottom, Scroll(w.view, WM_VSCROLL, SB_PAGEDOWN));
              EXPECT_EQ(c.bottom, Scroll(w.view, WM_VSCROLL, SB_LINEUP));
              EXPECT_EQ(c.bottom, Scroll(w.view, WM_VSCROLL, SB_ENDSCROLL));
              EXPECT_EQ(vLast, Scroll(w.view, WM_VSCROLL, SB_BOTTOM));
              EXPECT_EQ(vLast, Scroll(w.view, WM_VSCROLL, SB_LINEDOWN));
              EXPECT_EQ(vLast - 5, Scroll(w.view, WM_VSCROLL, SB_THUMBPOSITION, vLast - 5));
              EXPECT_EQ(vLast, Scroll(w.view, WM_VSCROLL, SB_LINEDOWN));
              EXPECT_EQ(0, Scroll(w.view, WM_VSCROLL, SB_TOP));
              EXPECT_EQ(0, Scroll(w.view, WM_VSCROLL, SB_PAGEUP));
              EXPECT_EQ(33, Scroll(w.view, WM_VSCROLL, SB_THUMBTRACK, 33));

              EXPECT_EQ(10, Scroll(w.view, WM_HSCROLL, SB_LINERIGHT));
              EXPECT_EQ(10 + c.right, Scroll(w.view, WM_HSCROLL, SB_PAGERIGHT));
              EXPECT_EQ(hLast, Scroll(w.view, WM_HSCROLL, SB_RIGHT));
              EXPECT_EQ(0, Scroll(w.view, WM_HSCROLL, SB_LEFT));
              EXPECT_EQ(10, Scroll(w.view, WM_HSCROLL, SB_LINERIGHT));

              // Two lines of 10 pixels per notch, vertical only, no remainders kept.
              EXPECT_EQ(73, Wheel(w, -240));
              EXPECT_EQ(53, Wheel(w, 120));
              EXPECT_EQ(53, Wheel(w, -60));
              EXPECT_EQ(53, Wheel(w, 119));
              EXPECT_EQ(0, Wheel(w, 720));
              EXPECT_EQ(10, GetScrollPos(w.view, SB_HORZ));
              Scroll(w.view, WM_VSCROLL, SB_BOTTOM);
          }},
         {30, [&](const PreviewWindows &w) {
              // At 10 % the page fits: both bars stay, disabled, back in range.
              Pick(w, LIST_10);
              UpdateWindow(w.view);
              for (int bar : {SB_VERT, SB_HORZ}) {
                  const SCROLLINFO si = ScrollInfo(w.view, bar);
                  EXPECT_GE(si.nPos, 0);
                  EXPECT_LE(si.nPos, si.nMax);
                  EXPECT_EQ(0, GetScrollPos(w.view, bar)) << "bar " << bar;
              }
              EXPECT_TRUE(BarDisabled(w.view, OBJID_VSCROLL));
              EXPECT_TRUE(BarDisabled(w.view, OBJID_HSCROLL));
              PostMessageW(w.frame, WM_CLOSE, 0, 0);
          }}});
    ExpectClosed(nResult);
}

// Checks the page drawn with its top-left corner at (left, top).
static void ExpectPage(const Capture &cap, int left, int top, SIZE zoomed)
{
    const int right = left + zoomed.cx, bottom = top + zoomed.cy;
    const int midX = left + zoomed.cx / 2, midY = top + zoomed.cy / 2;
    SCOPED_TRACE(testing::Message()
                 << "page " << left << "," << top << " " << zoomed.cx << "x" << zoomed.cy);
    ASSERT_LT(right + 6, cap.cx);
    ASSERT_LT(bottom + 6, cap.cy);
    // One-pixel black outline on the page's edge.
    EXPECT_EQ(kBlack, cap.At(left, midY));
    EXPECT_EQ(kBlack, cap.At(right - 1, midY));
    EXPECT_EQ(kBlack, cap.At(midX, top));
    EXPECT_EQ(kBlack, cap.At(midX, bottom - 1));
    // White inside, with the cover sheet's red block at its top left.
    EXPECT_EQ(kWhite, cap.At(left + 1, top + 1));
    EXPECT_EQ(kWhite, cap.At(left + zoomed.cx * 7 / 10, top + zoomed.cy * 7 / 10));
    EXPECT_EQ(kRed, cap.At(left + zoomed.cx / 5, top + zoomed.cy * 15 / 100));
    EXPECT_EQ(kWhite, cap.At(right - zoomed.cx / 5, top + zoomed.cy * 15 / 100));
    // A 4-pixel grey shadow offset by 4 to the right and below.
    EXPECT_EQ(kGrey, cap.At(right, midY));
    EXPECT_EQ(kGrey, cap.At(right + 3, bottom + 3));
    EXPECT_EQ(kGrey, cap.At(midX, bottom));
    EXPECT_EQ(kGrey, cap.At(left + 4, bottom + 3));
    EXPECT_EQ(kGrey, cap.At(right + 3, top + 4));
    // Background everywhere else.
    EXPECT_EQ(kBackground, cap.At(right + 1, top + 3));
    EXPECT_EQ(kBackground, cap.At(left + 3, bottom + 1));
    EXPECT_EQ(kBackground, cap.At(right + 4, midY));
    EXPECT_EQ(kBackground, cap.At(midX, bottom + 4));
    EXPECT_EQ(kBackground, cap.At(left - 1, midY));
    EXPECT_EQ(kBackground, cap.At(midX, top - 1));
}

TEST_F(ViewTest, PaintShowsPageOutlineShadowAndBackground)
{
    const int nResult = RunPreview(
        lib, parent, sheet, 0, 0,
        {{50,
          [&](const PreviewWindows &w) {
              Resize(w, 800, 600);
              const SIZE page = PageSizeOnDevice(w.view, sheet);
              // A fixed percentage puts the page 8 pixels in from the top left.
              Pick(w, LIST_25);
              UpdateWindow(w.view);
              ExpectPage(CaptureClient(w.view), 8, 8,
                         {MulDiv(page.cx, 25, 100), MulDiv(page.cy, 25, 100)});

              // The fit modes centre it across the view; WM_PRINTCLIENT draws
              // the same picture, background included, into a memory bitmap.
              SendMessageW(w.frame, WM_COMMAND, IDM_WHOLEPAGE, 0);
              UpdateWindow(w.view);
              const int nPercent = ShownPercent(w);
              const SIZE fitted = {MulDiv(page.cx, nPercent, 100), MulDiv(page.cy, nPercent, 100)};
              const RECT c = ClientRect(w.view);
              for (bool bPrintClient : {false, true}) {
                  SCOPED_TRACE(bPrintClient ? "WM_PRINTCLIENT" : "screen");
                  const Capture cap = CaptureClient(w.view, bPrintClient);
                  ExpectPage(cap, c.right / 2 - fitted.cx / 2, 8, fitted);
                  EXPECT_EQ(kBackground, cap.At(c.right - 1, c.bottom - 1));
              }
          }},
         {30, [&](const PreviewWindows &w) {
              // Scrolled to the bottom: the page ends 12 pixels above the view's
              // bottom edge (extent = page + 20, margin 8).
              Pick(w, LIST_200);
              UpdateWindow(w.view);
              SendMessageW(w.view, WM_VSCROLL, SB_BOTTOM, 0);
              UpdateWindow(w.view);
              const Capture cap = CaptureClient(w.view);
              const int bottom = cap.cy - 12;
              EXPECT_EQ(kBlack, cap.At(100, bottom - 1));
              EXPECT_EQ(kWhite, cap.At(100, bottom - 2));
              EXPECT_EQ(kGrey, cap.At(100, bottom + 3));
              EXPECT_EQ(kBackground, cap.At(100, bottom + 4));
              EXPECT_EQ(kBlack, cap.At(8, bottom - 20));
              EXPECT_EQ(kBackground, cap.At(7, bottom - 20));
              PostMessageW(w.frame, WM_CLOSE, 0, 0);
          }}});
    ExpectClosed(nResult);
}

// A metafile of a header and the end record only, with the given frame.
static HENHMETAFILE CreateHeaderOnlyCoverSheet(const RECTL &rclFrame)
{
    struct {
        ENHMETAHEADER header;
        EMREOF eof;
    } bits = {};
    bits.header.iType = EMR_HEADER;
    bits.header.nSize = sizeof(bits.header);
    bits.header.rclBounds = {0, 0, -1, -1};
    bits.header.rclFrame = rclFrame;
    bits.header.dSignature = ENHMETA_SIGNATURE;
    bits.header.nVersion = 0x10000;
    bits.header.nBytes = sizeof(bits);
    bits.header.nRecords = 2;
    bits.header.nHandles = 1;
    bits.header.szlDevice = {1024, 768};
    bits.header.szlMillimeters = {320, 240};
    bits.eof.emr.iType = EMR_EOF;
    bits.eof.emr.nSize = sizeof(bits.eof);
    bits.eof.offPalEntries = sizeof(bits.eof) - sizeof(DWORD);
    bits.eof.nSizeLast = sizeof(bits.eof);
    return SetEnhMetaFileBits(sizeof(bits), reinterpret_cast<const BYTE *>(&bits));
}

// A frame that is empty, empty in one direction, or smaller than a pixel
// gives no page size to fit: the view shows a blank A4 page.
TEST_F(ViewTest, UnusableFrameShowsABlankA4Page)
{
    HENHMETAFILE hA4 = CreateCoverSheet(21000, 29700);
    for (RECTL rcl : {RECTL{0, 0, 0, 0}, RECTL{100, 100, 100, 5000}, RECTL{0, 0, 1, 1}}) {
        SCOPED_TRACE(rcl.right);
        HENHMETAFILE hEmpty = CreateHeaderOnlyCoverSheet(rcl);
        ASSERT_NE(nullptr, hEmpty);
        const int nResult = RunPreview(
            lib, parent, hEmpty, 0, 0,
            {{50, [&](const PreviewWindows &w) {
                  Resize(w, 700, 600);
                  const SIZE page = PageSizeOnDevice(w.view, hA4);
                  const RECT c = ClientRect(w.view);
                  const int fitW = (c.right - 21) * 100 / page.cx,
                            fitH = (c.bottom - 21) * 100 / page.cy;
                  const int fit = std::max(10, std::min(500, std::min(fitW, fitH)));
                  EXPECT_EQ(fit, ShownPercent(w));
                  UpdateWindow(w.view);
                  const Capture cap = CaptureClient(w.view);
                  const SIZE zoomed = {MulDiv(page.cx, fit, 100), MulDiv(page.cy, fit, 100)};
                  const int left = c.right / 2 - zoomed.cx / 2;
                  EXPECT_EQ(kBlack, cap.At(left, 8 + zoomed.cy / 2));
                  EXPECT_EQ(kWhite, cap.At(left + zoomed.cx / 5, 8 + zoomed.cy * 15 / 100));
                  EXPECT_EQ(kGrey, cap.At(left + zoomed.cx, 8 + zoomed.cy / 2));
                  PostMessageW(w.frame, WM_CLOSE, 0, 0);
              }}});
        ExpectClosed(nResult);
        DeleteEnhMetaFile(hEmpty);
    }
    DeleteEnhMetaFile(hA4);
}
