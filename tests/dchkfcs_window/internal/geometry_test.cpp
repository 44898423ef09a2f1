// Pure computations of the zoom model, the page view and the dialog bar, at
// the boundaries that a host cannot set up exactly.
#include <windows.h>

#include <gtest/gtest.h>

#include "dlgbar.h"
#include "pagepaint.h"
#include "viewwnd.h"
#include "zoom.h"

TEST(FitZoomPercent, MarginTruncationAndClamps)
{
    struct Case {
        int nMode, cxView, cyView, cxPage, cyPage, nExpected;
    };
    const Case aCases[] = {
        {ZOOM_WHOLEPAGE, 821, 600, 800, 1000, 57},  // (600 - 21) * 100 / 1000
        {ZOOM_WHOLEPAGE, 2000, 60, 800, 1000, 10},  // the height decides
        {ZOOM_WHOLEWIDTH, 21, 600, 800, 1000, 10},  // zero fit
        {ZOOM_WHOLEWIDTH, 101, 600, 800, 1000, 10},
        {ZOOM_WHOLEWIDTH, 109, 600, 800, 1000, 11},
        {ZOOM_WHOLEWIDTH, 520, 100, 100, 100, 499},
        {ZOOM_WHOLEPAGE, 821, 600, 0, 1000, 100},  // no page size: no division
        {ZOOM_WHOLEWIDTH, 821, 600, 800, 0, 100},
    };
    for (const Case &c : aCases)
        EXPECT_EQ(c.nExpected, FitZoomPercent(c.nMode, c.cxView, c.cyView, c.cxPage, c.cyPage))
            << c.nMode << " " << c.cxView << "x" << c.cyView << " " << c.cxPage << "x" << c.cyPage;
}

TEST(ParseTypedZoom, DecimalWithinLimitsOtherwiseUntouched)
{
    const struct {
        const WCHAR *psz;
        int nExpected;
    } aTaken[] = {{L"80", 80}, {L"  80", 80}, {L"80%", 80}, {L"10", 10}, {L"+500", 500}};
    for (const auto &c : aTaken) {
        int n = -1;
        EXPECT_TRUE(ParseTypedZoom(c.psz, &n)) << c.psz;
        EXPECT_EQ(c.nExpected, n) << c.psz;
    }
    for (const WCHAR *psz : {L"5", L"9", L"501", L"abc", L"", L"-80", L"%80"}) {
        int n = 123;
        EXPECT_FALSE(ParseTypedZoom(psz, &n)) << psz;
        EXPECT_EQ(123, n) << psz;
    }
}

TEST(ComputePageRect, CentresInFitModesAndSitsAtMarginInPercent)
{
    const RECT rcClient = {0, 0, 501, 300};
    struct Case {
        int nMode, cxZoomed;
        RECT expected;
    };
    const Case aCases[] = {
        {ZOOM_WHOLEPAGE, 480, {10, 8, 490, 608}},
        {ZOOM_WHOLEWIDTH, 481, {10, 8, 491, 608}},  // halves truncate separately
        {ZOOM_PERCENT, 480, {8, 8, 488, 608}},
        {ZOOM_WHOLEPAGE, 701, {-100, 8, 601, 608}},  // wider than the view
    };
    for (const Case &c : aCases) {
        RECT rc = ComputePageRect(c.nMode, rcClient, c.cxZoomed, 600);
        EXPECT_TRUE(EqualRect(&c.expected, &rc))
            << c.nMode << " " << c.cxZoomed << ": " << rc.left << "," << rc.top << "," << rc.right
            << "," << rc.bottom;
    }
}

TEST(ComputeScrollPos, StepsAndClampsToMaxMinusPage)
{
    struct Case {
        int nMax, nPage, nPos, nCode, nThumb, nExpected;
    };
    const int nLast = 620;  // 1020 - 400
    const Case aCases[] = {
        {1020, 400, 0, SB_LINEUP, 0, 0},
        {1020, 400, 0, SB_THUMBPOSITION, 900, nLast},
        {1020, 400, nLast, SB_PAGEUP, 0, nLast - 400},
        {300, 500, 0, SB_BOTTOM, 0, 0},  // page larger than the range
        {300, 500, 0, SB_LINEDOWN, 0, 0},
    };
    for (const Case &c : aCases) {
        SCROLLINFO si = {};
        si.cbSize = sizeof si;
        si.nMax = c.nMax;
        si.nPage = (UINT)c.nPage;
        si.nPos = c.nPos;
        EXPECT_EQ(c.nExpected, ComputeScrollPos(c.nCode, c.nThumb, si))
            << "code " << c.nCode << " at " << c.nPos << " of " << c.nMax << "/" << c.nPage;
    }
}

TEST(FormatImagePosition, StaysWithinTheBuffer)
{
    WCHAR szSmall[12];
    wmemset(szSmall, L'#', 12);
    FormatImagePosition(szSmall, 10, 12, -3);
    EXPECT_EQ(L'\0', szSmall[9]);
    EXPECT_EQ(L'#', szSmall[10]);
}
