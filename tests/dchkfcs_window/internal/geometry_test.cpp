// Pure computations of the zoom model and the page view.
#include <windows.h>

#include <gtest/gtest.h>

#include "viewwnd.h"
#include "zoom.h"

TEST(FitZoomPercent, FitsWholePageOrWidthWithTheMargin)
{
    // (821 - 21) * 100 / 800 = 100; (600 - 21) * 100 / 1000 = 57.
    EXPECT_EQ(57, FitZoomPercent(ZOOM_WHOLEPAGE, 821, 600, 800, 1000));
    EXPECT_EQ(100, FitZoomPercent(ZOOM_WHOLEWIDTH, 821, 600, 800, 1000));
    // A wide, low view: the height decides the whole page.
    EXPECT_EQ(ZOOM_MIN_PERCENT, FitZoomPercent(ZOOM_WHOLEPAGE, 2000, 60, 800, 1000));
}

TEST(FitZoomPercent, ClampsTo10And500)
{
    EXPECT_EQ(10, FitZoomPercent(ZOOM_WHOLEPAGE, 15, 15, 800, 1000));   // negative fit
    EXPECT_EQ(10, FitZoomPercent(ZOOM_WHOLEWIDTH, 21, 600, 800, 1000));  // zero fit
    EXPECT_EQ(10, FitZoomPercent(ZOOM_WHOLEWIDTH, 101, 600, 800, 1000)); // exactly 10
    EXPECT_EQ(11, FitZoomPercent(ZOOM_WHOLEWIDTH, 109, 600, 800, 1000));
    EXPECT_EQ(500, FitZoomPercent(ZOOM_WHOLEPAGE, 4000, 4000, 100, 100));
    EXPECT_EQ(499, FitZoomPercent(ZOOM_WHOLEWIDTH, 520, 100, 100, 100));
}

TEST(FitZoomPercent, PageOfNoSizeNeverDivides)
{
    EXPECT_EQ(100, FitZoomPercent(ZOOM_WHOLEPAGE, 821, 600, 0, 1000));
    EXPECT_EQ(100, FitZoomPercent(ZOOM_WHOLEWIDTH, 821, 600, 800, 0));
}

TEST(ParseTypedZoom, AcceptsDecimalWithinLimits)
{
    int n = -1;
    EXPECT_TRUE(ParseTypedZoom(L"80", &n));
    EXPECT_EQ(80, n);
    EXPECT_TRUE(ParseTypedZoom(L"  80", &n));
    EXPECT_EQ(80, n);
    EXPECT_TRUE(ParseTypedZoom(L"80%", &n));
    EXPECT_EQ(80, n);
    EXPECT_TRUE(ParseTypedZoom(L"10", &n));
    EXPECT_EQ(10, n);
    EXPECT_TRUE(ParseTypedZoom(L"+500", &n));
    EXPECT_EQ(500, n);
}

TEST(ParseTypedZoom, RejectsOutOfRangeAndNonNumbersWithoutTouchingTheResult)
{
    int n = 123;
    for (const WCHAR *psz : {L"5", L"9", L"501", L"abc", L"", L"-80", L"%80"})
        EXPECT_FALSE(ParseTypedZoom(psz, &n)) << psz;
    EXPECT_EQ(123, n);
}

TEST(ComputeStatusParts, ReservesRightEdgeAndPartWidth)
{
    int aRight[2];
    ComputeStatusParts(600, 2 * 20, aRight);
    EXPECT_EQ(544, aRight[0]);
    EXPECT_EQ(584, aRight[1]);
}

TEST(ComputePageRect, CentresInFitModesAndSitsAtMarginInPercent)
{
    RECT rcClient = {0, 0, 501, 300};
    RECT rc = ComputePageRect(ZOOM_WHOLEPAGE, rcClient, 480, 600);
    EXPECT_EQ(10, rc.left);
    EXPECT_EQ(490, rc.right);
    EXPECT_EQ(8, rc.top);
    EXPECT_EQ(608, rc.bottom);
    rc = ComputePageRect(ZOOM_WHOLEWIDTH, rcClient, 481, 600);
    EXPECT_EQ(250 - 240, rc.left);  // halves truncate separately
    rc = ComputePageRect(ZOOM_PERCENT, rcClient, 480, 600);
    EXPECT_EQ(8, rc.left);
    EXPECT_EQ(8, rc.top);
    EXPECT_EQ(488, rc.right);
    // A page wider than the view starts left of it when centred.
    rc = ComputePageRect(ZOOM_WHOLEPAGE, rcClient, 701, 600);
    EXPECT_EQ(250 - 350, rc.left);
}

static SCROLLINFO Bar(int nMax, int nPage, int nPos)
{
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.nMin = 0;
    si.nMax = nMax;
    si.nPage = (UINT)nPage;
    si.nPos = nPos;
    return si;
}

TEST(ComputeScrollPos, StepsAndClampsToMaxMinusPage)
{
    SCROLLINFO si = Bar(1020, 400, 0);
    const int nLast = 620;
    EXPECT_EQ(10, ComputeScrollPos(SB_LINEDOWN, 0, si));
    EXPECT_EQ(0, ComputeScrollPos(SB_LINEUP, 0, si));
    EXPECT_EQ(400, ComputeScrollPos(SB_PAGEDOWN, 0, si));
    EXPECT_EQ(nLast, ComputeScrollPos(SB_BOTTOM, 0, si));
    EXPECT_EQ(333, ComputeScrollPos(SB_THUMBTRACK, 333, si));
    EXPECT_EQ(nLast, ComputeScrollPos(SB_THUMBPOSITION, 900, si));
    si.nPos = nLast - 5;
    EXPECT_EQ(nLast, ComputeScrollPos(SB_LINEDOWN, 0, si));
    si.nPos = nLast;
    EXPECT_EQ(nLast, ComputeScrollPos(SB_LINEDOWN, 0, si));
    EXPECT_EQ(nLast - 400, ComputeScrollPos(SB_PAGEUP, 0, si));
    EXPECT_EQ(0, ComputeScrollPos(SB_TOP, 0, si));
    EXPECT_EQ(nLast, ComputeScrollPos(SB_ENDSCROLL, 0, si));
}

TEST(ComputeScrollPos, PageLargerThanRangeStaysAtMinimum)
{
    SCROLLINFO si = Bar(300, 500, 0);
    EXPECT_EQ(0, ComputeScrollPos(SB_BOTTOM, 0, si));
    EXPECT_EQ(0, ComputeScrollPos(SB_LINEDOWN, 0, si));
}

TEST(WheelLineCount, TwoLinesPerWholeNotchRemaindersDropped)
{
    EXPECT_EQ(4, WheelLineCount(240));
    EXPECT_EQ(2, WheelLineCount(-120));
    EXPECT_EQ(2, WheelLineCount(239));
    EXPECT_EQ(0, WheelLineCount(-60));
    EXPECT_EQ(0, WheelLineCount(119));
    EXPECT_EQ(6, WheelLineCount(-360));
}
