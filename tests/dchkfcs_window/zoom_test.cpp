// Zoom through the commands a user gives: the two fit modes and their clamps,
// the zoom list, typed percentages, Zoom In and Out, the toggles, the check
// marks on menu and toolbar, and the status bar.
#include <windows.h>
#include <commctrl.h>

#include "previewtest.h"

static void Command(const PreviewWindows &w, int id)
{
    SendMessageW(w.frame, WM_COMMAND, id, 0);
}

// Types into the zoom box and presses Enter there; the result shows a step later.
static void Type(const PreviewWindows &w, const WCHAR *pszText)
{
    SetFocus(w.zoomBox);
    SetWindowTextW(w.zoomBox, pszText);
    PostKey(GetFocus(), VK_RETURN);
}

static int Selected(const PreviewWindows &w)
{
    return static_cast<int>(SendMessageW(w.zoomBox, CB_GETCURSEL, 0, 0));
}

// Resizes the frame until the view's client area has the given size.
static void SizeViewClient(const PreviewWindows &w, int cx, int cy)
{
    for (int i = 0; i < 4; ++i) {
        RECT rcFrame, rcView = ClientRect(w.view);
        GetWindowRect(w.frame, &rcFrame);
        const int dx = cx - rcView.right, dy = cy - rcView.bottom;
        if (dx == 0 && dy == 0)
            return;
        SetWindowPos(w.frame, nullptr, 0, 0, rcFrame.right - rcFrame.left + dx,
                     rcFrame.bottom - rcFrame.top + dy, SWP_NOMOVE | SWP_NOZORDER);
    }
}

// Check marks of View Whole Page and View Whole Width: on the toolbar as the
// last idle pass left them, and on the Zoom menu, refreshed as when the popup
// opens (not when the system menu opens). Nothing is ever greyed, and Zoom In,
// Zoom Out and the separator are never touched.
static void ExpectChecks(const PreviewWindows &w, bool bPage, bool bWidth)
{
    EXPECT_EQ(bPage, SendMessageW(w.toolbar, TB_ISBUTTONCHECKED, IDM_WHOLEPAGE, 0) != 0);
    EXPECT_EQ(bWidth, SendMessageW(w.toolbar, TB_ISBUTTONCHECKED, IDM_WHOLEWIDTH, 0) != 0);
    EXPECT_TRUE(SendMessageW(w.toolbar, TB_ISBUTTONENABLED, IDM_WHOLEPAGE, 0));
    EXPECT_TRUE(SendMessageW(w.toolbar, TB_ISBUTTONENABLED, IDM_WHOLEWIDTH, 0));
    HMENU hZoom = GetSubMenu(GetMenu(w.frame), 0);
    CheckMenuItem(hZoom, IDM_WHOLEPAGE, MF_BYCOMMAND | (bPage ? MF_UNCHECKED : MF_CHECKED));
    SendMessageW(w.frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hZoom), MAKELPARAM(0, TRUE));
    EXPECT_EQ(!bPage, (GetMenuState(hZoom, IDM_WHOLEPAGE, MF_BYCOMMAND) & MF_CHECKED) != 0);
    SendMessageW(w.frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hZoom), MAKELPARAM(0, FALSE));
    EXPECT_EQ(bPage, (GetMenuState(hZoom, IDM_WHOLEPAGE, MF_BYCOMMAND) & MF_CHECKED) != 0);
    EXPECT_EQ(bWidth, (GetMenuState(hZoom, IDM_WHOLEWIDTH, MF_BYCOMMAND) & MF_CHECKED) != 0);
    for (UINT uId : {IDM_WHOLEPAGE, IDM_WHOLEWIDTH, IDM_ZOOMIN, IDM_ZOOMOUT})
        EXPECT_EQ(0u, GetMenuState(hZoom, uId, MF_BYCOMMAND) & MF_GRAYED) << uId;
    for (UINT uId : {IDM_ZOOMIN, IDM_ZOOMOUT})
        EXPECT_EQ(0u, GetMenuState(hZoom, uId, MF_BYCOMMAND) & MF_CHECKED) << uId;
    const UINT uSeparator = GetMenuState(hZoom, 2, MF_BYPOSITION);
    EXPECT_EQ(static_cast<UINT>(MF_SEPARATOR), uSeparator & (MF_SEPARATOR | MF_CHECKED));
}

static std::wstring StatusText(const PreviewWindows &w, int part)
{
    WCHAR sz[64] = L"";
    SendMessageW(w.status, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(sz));
    return sz;
}

// Two status parts ending 16 pixels short of the frame's right edge, the
// first leaving room for twice the percentage text measured on the bar's DC.
static void ExpectStatusZoom(const PreviewWindows &w, int nPercent)
{
    const std::wstring text = std::to_wstring(nPercent) + L"%";
    EXPECT_EQ(text, StatusText(w, 1));
    EXPECT_EQ(L"", StatusText(w, 0));
    EXPECT_TRUE(HIWORD(SendMessageW(w.status, SB_GETTEXTLENGTHW, 0, 0)) & SBT_NOBORDERS);
    HDC hdc = GetDC(w.status);
    SIZE extent = {};
    GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &extent);
    ReleaseDC(w.status, hdc);
    int aRight[2] = {};
    ASSERT_EQ(2, SendMessageW(w.status, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(aRight)));
    const int cw = ClientRect(w.frame).right;
    EXPECT_EQ(cw - 16 - 2 * extent.cx, aRight[0]);
    EXPECT_EQ(cw - 16, aRight[1]);
}

// A zoom step with no list item beyond the current percentage changes
// nothing: marks put into the box and the status bar stay.
static void ExpectNoStep(const PreviewWindows &w, int idCommand, int nSelected)
{
    SetWindowTextW(w.zoomBox, L"box mark");
    SendMessageW(w.status, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"status mark"));
    Command(w, idCommand);
    EXPECT_EQ(nSelected, Selected(w));
    EXPECT_EQ(L"box mark", WindowText(w.zoomBox));
    EXPECT_EQ(L"status mark", StatusText(w, 1));
}

// A cover sheet that measures exactly cx by cy pixels on the screen.
static HENHMETAFILE CoverSheetOfPixels(HWND hwnd, int cx, int cy)
{
    SIZE himetric = HimetricForPixels(hwnd, cx, cy);
    return CreateCoverSheet(himetric.cx, himetric.cy);
}

TEST_F(PreviewTest, FitModesFollowTheViewSizeAndClamp)
{
    HENHMETAFILE hPage = CoverSheetOfPixels(parent, 800, 1000);
    ASSERT_EQ(800, PageSizeOnDevice(parent, hPage).cx);
    int nResult =
        RunPreview(lib, parent, hPage, 0, 0,
                   {{50,
                     [&](const PreviewWindows &w) {
                         SizeViewClient(w, 821, 600);
                         RECT rc = ClientRect(w.view);
                         ASSERT_EQ(821, rc.right);
                         ASSERT_EQ(600, rc.bottom);
                         EXPECT_EQ(57, ShownPercent(w));  // (600 - 21) * 100 / 1000
                         ExpectStatusZoom(w, 57);
                         Command(w, IDM_WHOLEWIDTH);
                         EXPECT_EQ(100, ShownPercent(w));  // (821 - 21) * 100 / 800
                         ExpectStatusZoom(w, 100);
                         SizeViewClient(w, 421, 800);
                         EXPECT_EQ(50, ShownPercent(w));  // whole width follows the new size
                         Command(w, IDM_WHOLEPAGE);
                         EXPECT_EQ(50, ShownPercent(w));
                         SizeViewClient(w, 1021, 800);
                         EXPECT_EQ(77, ShownPercent(w));  // height bound: 779 / 1000
                     }},
                    {30, [&](const PreviewWindows &w) {
                         // A view too small for the margin gives a negative fit: 10 %.
                         SetWindowPos(w.frame, nullptr, 0, 0, 160, 120, SWP_NOMOVE | SWP_NOZORDER);
                         ASSERT_LT(ClientRect(w.view).bottom, 21);
                         EXPECT_EQ(10, ShownPercent(w));
                         PostMessageW(w.frame, WM_CLOSE, 0, 0);
                     }}});
    ExpectClosed(nResult);

    // A small page in a large view stops at 500 %.
    HENHMETAFILE hSmall = CoverSheetOfPixels(parent, 40, 30);
    nResult = RunPreview(lib, parent, hSmall, 0, 0, {{50, [&](const PreviewWindows &w) {
                                                          SizeViewClient(w, 821, 600);
                                                          EXPECT_EQ(500, ShownPercent(w));
                                                          Command(w, IDM_WHOLEWIDTH);
                                                          EXPECT_EQ(500, ShownPercent(w));
                                                          PostMessageW(w.frame, WM_CLOSE, 0, 0);
                                                      }}});
    ExpectClosed(nResult);
    DeleteEnhMetaFile(hPage);
    DeleteEnhMetaFile(hSmall);
}

TEST_F(PreviewTest, ZoomListStepsAndTypedPercentages)
{
    HENHMETAFILE hPage = CoverSheetOfPixels(parent, 800, 1000);
    std::vector<PreviewStep> steps = {{50,
                                       [&](const PreviewWindows &w) {
                                           SizeViewClient(w, 821, 600);
                                           ASSERT_EQ(57, ShownPercent(w));
                                           Command(w, IDM_ZOOMIN);
                                           EXPECT_EQ(LIST_75, Selected(w));
                                           EXPECT_EQ(L"75%", WindowText(w.zoomBox));
                                           ExpectStatusZoom(w, 75);
                                           Command(w, IDM_ZOOMOUT);
                                           EXPECT_EQ(LIST_50, Selected(w));
                                           Pick(w, LIST_150);
                                           Command(w, IDM_ZOOMIN);
                                           EXPECT_EQ(LIST_200, Selected(w));
                                           // Nothing above 500 and below 10: no selection, box text
                                           // or status text changes.
                                           Pick(w, LIST_500);
                                           ExpectStatusZoom(w, 500);
                                           ExpectNoStep(w, IDM_ZOOMIN, LIST_500);
                                           Pick(w, LIST_10);
                                           ExpectNoStep(w, IDM_ZOOMOUT, LIST_10);
                                           // The status bar follows resizes while the percentage
                                           // stays.
                                           SizeViewClient(w, 700, 500);
                                           ExpectStatusZoom(w, 10);
                                           Type(w, L"80");
                                       }},
                                      {30,
                                       [&](const PreviewWindows &w) {
                                           EXPECT_EQ(80, ShownPercent(w));
                                           ExpectStatusZoom(w, 80);
                                           EXPECT_EQ(w.frame,
                                                     GetFocus());  // the box gave the focus back
                                           Command(w, IDM_ZOOMIN);
                                           EXPECT_EQ(100, ShownPercent(w));
                                           Type(w, L"80");
                                       }},
                                      {30, [&](const PreviewWindows &w) {
                                           Command(w, IDM_ZOOMOUT);
                                           EXPECT_EQ(75, ShownPercent(w));
                                       }}};
    // Rejected entries put the percentage in force back; 10 and 500 are taken.
    // Each step checks what the step before typed.
    static const struct {
        const WCHAR *pszTyped;
        int nShown;
    } aTyped[] = {{L"5", 75},     {L"501", 75},  {L"zoom", 75},
                  {L"  90%", 90}, {L"500", 500}, {L"10", 10}};
    for (size_t i = 0; i <= ARRAYSIZE(aTyped); ++i) {
        steps.push_back({30, [i](const PreviewWindows &w) {
                             if (i > 0) {
                                 SCOPED_TRACE(aTyped[i - 1].pszTyped);
                                 EXPECT_EQ(std::to_wstring(aTyped[i - 1].nShown) + L"%",
                                           WindowText(w.zoomBox));
                                 ExpectStatusZoom(w, aTyped[i - 1].nShown);
                             }
                             if (i < ARRAYSIZE(aTyped))
                                 Type(w, aTyped[i].pszTyped);
                         }});
    }
    // Enter without the box focused only puts the percentage back.
    steps.push_back({0, [](const PreviewWindows &w) {
                         SetFocus(w.frame);
                         SetWindowTextW(w.zoomBox, L"120");
                         PostKey(w.frame, VK_RETURN);
                     }});
    steps.push_back({30, [](const PreviewWindows &w) {
                         EXPECT_EQ(L"10%", WindowText(w.zoomBox));
                         PostMessageW(w.frame, WM_CLOSE, 0, 0);
                     }});
    ExpectClosed(RunPreview(lib, parent, hPage, 0, 0, std::move(steps)));
    DeleteEnhMetaFile(hPage);
}

TEST_F(PreviewTest, ViewTogglesAndCheckMarksFollowTheMode)
{
    int nFitPage = 0, nFitWidth = 0;
    const int nResult =
        RunPreview(lib, parent, sheet, 0, 0,
                   {Wait(50),  // the first idle pass sets the toolbar's check marks
                    {30,
                     [&](const PreviewWindows &w) {
                         ExpectChecks(w, true, false);
                         nFitPage = ShownPercent(w);
                         Command(w, IDM_WHOLEPAGE);  // active fit mode again: fixed percentage
                         EXPECT_EQ(nFitPage, ShownPercent(w));
                     }},
                    {30,
                     [&](const PreviewWindows &w) {
                         ExpectChecks(w, false, false);
                         Command(w, IDM_WHOLEWIDTH);
                         nFitWidth = ShownPercent(w);
                         const SIZE page = PageSizeOnDevice(w.view, sheet);
                         const int expected = (ClientRect(w.view).right - 21) * 100 / page.cx;
                         EXPECT_EQ(expected < 10 ? 10 : expected > 500 ? 500 : expected, nFitWidth);
                     }},
                    {30,
                     [&](const PreviewWindows &w) {
                         ExpectChecks(w, false, true);
                         Command(w, IDM_WHOLEWIDTH);
                         EXPECT_EQ(nFitWidth, ShownPercent(w));
                     }},
                    {30,
                     [&](const PreviewWindows &w) {
                         ExpectChecks(w, false, false);
                         Command(w, IDM_WHOLEPAGE);
                         EXPECT_EQ(nFitPage, ShownPercent(w));
                         // A click of its own may press a button; the next idle pass undoes it.
                         SendMessageW(w.toolbar, TB_CHECKBUTTON, IDM_WHOLEWIDTH, TRUE);
                     }},
                    {30,
                     [&](const PreviewWindows &w) {
                         ExpectChecks(w, true, false);
                         Pick(w, LIST_500);
                     }},
                    {30, [&](const PreviewWindows &w) {
                         ExpectChecks(w, false, false);  // Zoom In stays enabled at 500 %
                         Pick(w, LIST_10);
                         ExpectChecks(w, false, false);  // nor Zoom Out at 10 %
                         PostMessageW(w.frame, WM_CLOSE, 0, 0);
                     }}});
    ExpectClosed(nResult);
}
