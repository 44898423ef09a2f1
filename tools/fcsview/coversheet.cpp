#include "coversheet.h"

#include <cwchar>

// The page is drawn in thousandths of an inch; the metafile frame is the
// same page in the 0.01 mm units that enhanced metafiles keep.
enum { PAGE_W = 8500, PAGE_H = 11000, FRAME_W = 21590, FRAME_H = 27940 };

static HFONT CreatePageFont(int nHeight, int nWeight)
{
    return CreateFontW(-nHeight, 0, 0, 0, nWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                       VARIABLE_PITCH | FF_SWISS, L"Arial");
}

static void PutText(HDC hdc, int x, int y, const WCHAR *pszText, int nHeight, int nWeight)
{
    HFONT hFont = CreatePageFont(nHeight, nWeight);
    HGDIOBJ hOld = SelectObject(hdc, hFont);
    TextOutW(hdc, x, y, pszText, static_cast<int>(wcslen(pszText)));
    SelectObject(hdc, hOld);
    DeleteObject(hFont);
}

static void FillBox(HDC hdc, int left, int top, int right, int bottom, COLORREF colour)
{
    RECT rc = {left, top, right, bottom};
    HBRUSH hBrush = CreateSolidBrush(colour);
    FillRect(hdc, &rc, hBrush);
    DeleteObject(hBrush);
}

static void DrawLine(HDC hdc, int x0, int y0, int x1, int y1, int nWidth)
{
    HPEN hPen = CreatePen(PS_SOLID, nWidth, RGB(0, 0, 0));
    HGDIOBJ hOld = SelectObject(hdc, hPen);
    MoveToEx(hdc, x0, y0, nullptr);
    LineTo(hdc, x1, y1);
    SelectObject(hdc, hOld);
    DeleteObject(hPen);
}

// A blue tile with a white sheet and a red arrow pointing into it.
static void DrawLogo(HDC hdc, int x, int y)
{
    FillBox(hdc, x, y, x + 1000, y + 1000, RGB(0, 70, 160));
    FillBox(hdc, x + 400, y + 150, x + 850, y + 850, RGB(255, 255, 255));
    for (int yLine = y + 300; yLine < y + 800; yLine += 120)
        DrawLine(hdc, x + 480, yLine, x + 770, yLine, 20);
    POINT aArrow[] = {{x + 100, y + 430}, {x + 300, y + 430}, {x + 300, y + 330},
                      {x + 480, y + 500}, {x + 300, y + 670}, {x + 300, y + 570},
                      {x + 100, y + 570}};
    HBRUSH hBrush = CreateSolidBrush(RGB(220, 30, 30));
    HGDIOBJ hOldBrush = SelectObject(hdc, hBrush);
    HGDIOBJ hOldPen = SelectObject(hdc, GetStockObject(NULL_PEN));
    Polygon(hdc, aArrow, ARRAYSIZE(aArrow));
    SelectObject(hdc, hOldPen);
    SelectObject(hdc, hOldBrush);
    DeleteObject(hBrush);
}

// A bold label with its value written on a line that ends at xEnd.
static void DrawField(HDC hdc, int x, int y, int xEnd, const WCHAR *pszLabel, const WCHAR *pszValue)
{
    PutText(hdc, x, y, pszLabel, 190, FW_BOLD);
    PutText(hdc, x + 900, y, pszValue, 190, FW_NORMAL);
    DrawLine(hdc, x + 880, y + 260, xEnd, y + 260, 10);
}

static void DrawCheckBox(HDC hdc, int x, int y, const WCHAR *pszLabel, bool bChecked)
{
    HGDIOBJ hOldBrush = SelectObject(hdc, GetStockObject(NULL_BRUSH));
    HPEN hPen = CreatePen(PS_SOLID, 15, RGB(0, 0, 0));
    HGDIOBJ hOldPen = SelectObject(hdc, hPen);
    Rectangle(hdc, x, y + 20, x + 180, y + 200);
    SelectObject(hdc, hOldPen);
    SelectObject(hdc, hOldBrush);
    DeleteObject(hPen);
    if (bChecked) {
        DrawLine(hdc, x + 30, y + 110, x + 80, y + 170, 30);
        DrawLine(hdc, x + 80, y + 170, x + 160, y + 40, 30);
    }
    PutText(hdc, x + 260, y, pszLabel, 170, FW_NORMAL);
}

static void DrawPage(HDC hdc)
{
    const int left = 750, right = PAGE_W - 750;

    DrawLogo(hdc, left, 700);
    PutText(hdc, left + 1300, 600, L"FAX", 1000, FW_HEAVY);
    PutText(hdc, left + 3900, 1250, L"Facsimile Cover Sheet", 230, FW_NORMAL);
    DrawLine(hdc, left, 1950, right, 1950, 60);

    SYSTEMTIME now;
    GetLocalTime(&now);
    WCHAR szDate[32];
    swprintf(szDate, ARRAYSIZE(szDate), L"%04u-%02u-%02u", now.wYear, now.wMonth, now.wDay);

    const int mid = PAGE_W / 2 + 100, half = mid - 250;
    DrawField(hdc, left, 2300, half, L"To:", L"Accounts Department");
    DrawField(hdc, mid, 2300, right, L"Fax:", L"+1 555 0100");
    DrawField(hdc, left, 2800, half, L"From:", L"Sample Sender");
    DrawField(hdc, mid, 2800, right, L"Phone:", L"+1 555 0199");
    DrawField(hdc, left, 3300, half, L"Date:", szDate);
    DrawField(hdc, mid, 3300, right, L"Pages:", L"3 (with cover)");
    DrawField(hdc, left, 3800, right, L"Re:", L"Quarterly statement");

    DrawCheckBox(hdc, left, 4400, L"Urgent", true);
    DrawCheckBox(hdc, left + 1800, 4400, L"For Review", false);
    DrawCheckBox(hdc, left + 3800, 4400, L"Please Reply", true);
    DrawLine(hdc, left, 4900, right, 4900, 20);

    PutText(hdc, left, 5100, L"Comments:", 190, FW_BOLD);
    for (int y = 5700; y <= 9300; y += 450)
        DrawLine(hdc, left, y, right, y, 10);
    PutText(hdc, left, 5350, L"Please find the statement for the last quarter attached.", 170,
            FW_NORMAL);
    DrawLine(hdc, left, 9800, right, 9800, 20);
    PutText(hdc, left, 9900,
            L"This message is meant only for the addressee. If it reached you by mistake,"
            L" please call the sender.",
            120, FW_NORMAL);
}

HENHMETAFILE CreateSampleCoverSheet()
{
    RECT rcFrame = {0, 0, FRAME_W, FRAME_H};
    HDC hdc = CreateEnhMetaFileW(nullptr, nullptr, &rcFrame, L"fcsview\0sample cover sheet\0");
    if (!hdc)
        return nullptr;
    // The metafile's device units are the reference device's pixels.
    const int cxDevice =
        MulDiv(FRAME_W, GetDeviceCaps(hdc, HORZRES), GetDeviceCaps(hdc, HORZSIZE) * 100);
    const int cyDevice =
        MulDiv(FRAME_H, GetDeviceCaps(hdc, VERTRES), GetDeviceCaps(hdc, VERTSIZE) * 100);
    SetMapMode(hdc, MM_ANISOTROPIC);
    SetWindowExtEx(hdc, PAGE_W, PAGE_H, nullptr);
    SetViewportExtEx(hdc, cxDevice, cyDevice, nullptr);
    SetBkMode(hdc, TRANSPARENT);
    DrawPage(hdc);
    return CloseEnhMetaFile(hdc);
}
