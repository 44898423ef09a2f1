// Measuring and painting the page.
#include "pagepaint.h"

// A4, 210 x 297 mm, in the metafile frame's unit of 0.01 mm.
enum { A4_WIDTH_HIMETRIC = 21000, A4_HEIGHT_HIMETRIC = 29700 };

// TRUE when the metafile's header is readable and its frame is not empty.
static BOOL HasUsableFrame(HENHMETAFILE hemf, ENHMETAHEADER *pHeader)
{
    ZeroMemory(pHeader, sizeof *pHeader);
    if (!hemf || !GetEnhMetaFileHeader(hemf, sizeof *pHeader, pHeader))
        return FALSE;
    const RECTL &rc = pHeader->rclFrame;
    return rc.right != rc.left && rc.bottom != rc.top;
}

// Size of a frame rectangle (0.01 mm) in device pixels of hdc.
static SIZE FrameToPixels(HDC hdc, const RECTL &rclFrame)
{
    POINT aCorner[2] = {{rclFrame.left, rclFrame.top}, {rclFrame.right, rclFrame.bottom}};
    int nSaved = SaveDC(hdc);
    SetMapMode(hdc, MM_HIMETRIC);
    SetViewportOrgEx(hdc, 0, 0, nullptr);
    LPtoDP(hdc, aCorner, 2);
    RestoreDC(hdc, nSaved);
    SIZE size = {abs(aCorner[1].x - aCorner[0].x), abs(aCorner[1].y - aCorner[0].y)};
    return size;
}

void MeasurePage(CheckFcsState *pState, HDC hdc)
{
    static const RECTL rclA4 = {0, 0, A4_WIDTH_HIMETRIC, A4_HEIGHT_HIMETRIC};
    ENHMETAHEADER header;
    SIZE size = {0, 0};
    if (HasUsableFrame(pState->hCoverSheet, &header))
        size = FrameToPixels(hdc, header.rclFrame);
    // A frame too small for one pixel is no more usable than an empty one.
    if (size.cx == 0 || size.cy == 0)
        size = FrameToPixels(hdc, rclA4);
    pState->cxPage = size.cx;
    pState->cyPage = size.cy;
}

RECT ComputePageRect(int nZoomMode, const RECT &rcClient, int cxZoomed, int cyZoomed)
{
    RECT rc;
    if (nZoomMode == ZOOM_PERCENT) {
        rc.left = PAGE_MARGIN;
        rc.top = PAGE_MARGIN;
    } else {
        rc.left = rcClient.left + (rcClient.right - rcClient.left) / 2 - cxZoomed / 2;
        rc.top = rcClient.top + PAGE_MARGIN;
    }
    rc.right = rc.left + cxZoomed;
    rc.bottom = rc.top + cyZoomed;
    return rc;
}

// Range 0..nMax with the client size as page; the position is kept within
// the new range. The bar is disabled rather than hidden when all fits.
static void UpdateScrollBar(HWND hwnd, int nBar, int nMax, int nPage)
{
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(hwnd, nBar, &si);
    si.nMin = 0;
    si.nMax = nMax;
    si.nPage = (UINT)nPage;
    if (si.nPos < 0)
        si.nPos = 0;
    if (si.nPos > nMax)
        si.nPos = nMax;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    SetScrollInfo(hwnd, nBar, &si, TRUE);
}

static void LayoutPage(CheckFcsState *pState, HWND hwndView)
{
    RECT rcClient;
    GetClientRect(hwndView, &rcClient);
    pState->cxZoomed = MulDiv(pState->cxPage, pState->nZoomPercent, 100);
    pState->cyZoomed = MulDiv(pState->cyPage, pState->nZoomPercent, 100);
    pState->cxScroll = pState->cxZoomed + PAGE_SCROLL_EXTRA;
    pState->cyScroll = pState->cyZoomed + PAGE_SCROLL_EXTRA;
    pState->rcPage =
        ComputePageRect(pState->nZoomMode, rcClient, pState->cxZoomed, pState->cyZoomed);
    UpdateScrollBar(hwndView, SB_HORZ, pState->cxScroll, rcClient.right - rcClient.left);
    UpdateScrollBar(hwndView, SB_VERT, pState->cyScroll, rcClient.bottom - rcClient.top);
}

static void FillBox(HDC hdc, int nLeft, int nTop, int nRight, int nBottom, int nStockBrush)
{
    RECT rc = {nLeft, nTop, nRight, nBottom};
    FillRect(hdc, &rc, (HBRUSH)GetStockObject(nStockBrush));
}

// White sheet, the metafile stretched over it, a grey shadow to the right
// and below, and a black outline on the sheet's edge over everything.
static void DrawPage(CheckFcsState *pState, HDC hdc)
{
    const RECT &r = pState->rcPage;
    FillBox(hdc, r.left, r.top, r.right, r.bottom, WHITE_BRUSH);
    ENHMETAHEADER header;
    if (HasUsableFrame(pState->hCoverSheet, &header))
        PlayEnhMetaFile(hdc, pState->hCoverSheet, &r);
    FillBox(hdc, r.right, r.top + PAGE_SHADOW, r.right + PAGE_SHADOW, r.bottom + PAGE_SHADOW,
            GRAY_BRUSH);
    FillBox(hdc, r.left + PAGE_SHADOW, r.bottom, r.right + PAGE_SHADOW, r.bottom + PAGE_SHADOW,
            GRAY_BRUSH);
    HGDIOBJ hOldPen = SelectObject(hdc, GetStockObject(BLACK_PEN));
    HGDIOBJ hOldBrush = SelectObject(hdc, GetStockObject(NULL_BRUSH));
    Rectangle(hdc, r.left, r.top, r.right, r.bottom);
    SelectObject(hdc, hOldBrush);
    SelectObject(hdc, hOldPen);
}

void PaintContent(CheckFcsState *pState, HWND hwndView, HDC hdc)
{
    LayoutPage(pState, hwndView);
    int nSaved = SaveDC(hdc);
    SetViewportOrgEx(hdc, -GetScrollPos(hwndView, SB_HORZ), -GetScrollPos(hwndView, SB_VERT),
                     nullptr);
    DrawPage(pState, hdc);
    RestoreDC(hdc, nSaved);
}
