// The preview's windows as a host finds them: classes, styles, ids, menu,
// toolbar, zoom box and the dialog bar.
#include <windows.h>
#include <commctrl.h>

#include "previewtest.h"

static std::wstring MenuText(HMENU hMenu, UINT uPosition)
{
    WCHAR sz[128] = L"";
    GetMenuStringW(hMenu, uPosition, sz, ARRAYSIZE(sz), MF_BYPOSITION);
    return sz;
}

static std::wstring DlgItemText(HWND hwndDlg, int id)
{
    WCHAR sz[260] = L"";
    GetDlgItemTextW(hwndDlg, id, sz, ARRAYSIZE(sz));
    return sz;
}

// A control's place in dialog units, in the dialog's pixels: position and
// size are converted one by one, as the dialog manager does.
static RECT DialogUnits(HWND hwndDlg, int x, int y, int cx, int cy)
{
    RECT rc = {x, y, cx, cy};
    MapDialogRect(hwndDlg, &rc);
    return {rc.left, rc.top, rc.left + rc.right, rc.top + rc.bottom};
}

static void ExpectRect(const RECT &expected, const RECT &actual, const char *what)
{
    EXPECT_EQ(expected.left, actual.left) << what;
    EXPECT_EQ(expected.top, actual.top) << what;
    EXPECT_EQ(expected.right, actual.right) << what;
    EXPECT_EQ(expected.bottom, actual.bottom) << what;
}

static void ExpectChild(HWND hwnd, const WCHAR *pszClass, int id, LONG style, LONG exStyle)
{
    ASSERT_NE(nullptr, hwnd) << "child " << id;
    EXPECT_EQ(0, lstrcmpiW(pszClass, ClassName(hwnd).c_str())) << "child " << id;
    EXPECT_EQ(id, GetDlgCtrlID(hwnd));
    EXPECT_EQ(style, GetWindowLongW(hwnd, GWL_STYLE) & style) << "child " << id;
    EXPECT_EQ(exStyle, GetWindowLongW(hwnd, GWL_EXSTYLE) & exStyle) << "child " << id;
}

TEST_F(PreviewTest, NullCoverSheetReturnsZeroWithoutAWindow)
{
    EXPECT_EQ(0, lib.pfnShow(parent, nullptr, 0, 12, -3));
    EXPECT_TRUE(IsWindowEnabled(parent));
    EXPECT_EQ(nullptr, FindPreviewFrame());
}

TEST_F(PreviewTest, FrameAndChildrenHaveTheirClassesStylesAndIds)
{
    const int nResult = RunPreview(lib, parent, sheet, 12, -3, {{50, [&](const PreviewWindows &w) {
        EXPECT_EQ(L"Check On FAX Cover Sheet", WindowText(w.frame));
        EXPECT_FALSE(IsWindowEnabled(parent));
        EXPECT_EQ(parent, GetWindow(w.frame, GW_OWNER));
        const LONG frameBits = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX |
                               WS_MINIMIZEBOX | WS_CHILD | WS_POPUP | WS_VISIBLE;
        EXPECT_EQ(static_cast<LONG>(0xCD0000 | WS_VISIBLE),
                  GetWindowLongW(w.frame, GWL_STYLE) & frameBits);
        EXPECT_EQ(0, GetWindowLongW(w.frame, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE);
        EXPECT_EQ(0u, GetClassLongPtrW(w.frame, GCL_STYLE));
        EXPECT_EQ(reinterpret_cast<ULONG_PTR>(GetStockObject(NULL_BRUSH)),
                  GetClassLongPtrW(w.frame, GCLP_HBRBACKGROUND));
        EXPECT_EQ(reinterpret_cast<ULONG_PTR>(LoadCursorW(nullptr, IDC_ARROW)),
                  GetClassLongPtrW(w.frame, GCLP_HCURSOR));
        EXPECT_NE(0u, GetClassLongPtrW(w.frame, GCLP_HICON));

        ExpectChild(w.toolbar, TOOLBARCLASSNAMEW, IDC_TOOLBAR, WS_CHILD | WS_VISIBLE, 0);
        EXPECT_EQ(0, GetWindowLongW(w.toolbar, GWL_STYLE) & TBSTYLE_TRANSPARENT);
        ExpectChild(w.view, L"VX_CHKFCS_VIEWWND", IDC_VIEW,
                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, WS_EX_CLIENTEDGE);
        EXPECT_EQ(static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW),
                  GetClassLongPtrW(w.view, GCL_STYLE));
        EXPECT_EQ(static_cast<ULONG_PTR>(COLOR_WINDOW + 1),
                  GetClassLongPtrW(w.view, GCLP_HBRBACKGROUND));
        ExpectChild(w.dlgBar, L"VX_CHKFCS_DLGBAR", IDC_DLGBAR, WS_CHILD | WS_VISIBLE, 0);
        EXPECT_EQ(static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW),
                  GetClassLongPtrW(w.dlgBar, GCL_STYLE));
        EXPECT_EQ(static_cast<ULONG_PTR>(COLOR_BTNFACE + 1),
                  GetClassLongPtrW(w.dlgBar, GCLP_HBRBACKGROUND));
        ExpectChild(w.status, STATUSCLASSNAMEW, IDC_STATUSBAR,
                    WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0);
        EXPECT_EQ(2, SendMessageW(w.status, SB_GETPARTS, 0, 0));
        ExpectChild(w.zoomBox, L"ComboBox", IDC_ZOOMBOX, WS_CHILD | WS_VISIBLE, 0);
        const LONG boxStyle = GetWindowLongW(w.zoomBox, GWL_STYLE);
        EXPECT_EQ(CBS_DROPDOWN, boxStyle & 3);
        EXPECT_EQ(0, boxStyle & CBS_SORT);
        PostMessageW(w.frame, WM_CLOSE, 0, 0);
    }}});
    ExpectClosed(nResult);
}

TEST_F(PreviewTest, MenuToolbarAndZoomBoxHoldTheirItems)
{
    const int nResult = RunPreview(lib, parent, sheet, 12, -3, {{50, [&](const PreviewWindows &w) {
        HMENU hMenu = GetMenu(w.frame);
        ASSERT_NE(nullptr, hMenu);
        ASSERT_EQ(2, GetMenuItemCount(hMenu));
        EXPECT_EQ(L"Zoom", MenuText(hMenu, 0));
        EXPECT_EQ(L"Help", MenuText(hMenu, 1));
        HMENU hZoom = GetSubMenu(hMenu, 0), hHelp = GetSubMenu(hMenu, 1);
        ASSERT_EQ(5, GetMenuItemCount(hZoom));
        const UINT aZoomIds[] = {IDM_ZOOMIN, IDM_ZOOMOUT, 0, IDM_WHOLEPAGE, IDM_WHOLEWIDTH};
        const WCHAR *const apszZoomTexts[] = {L"Zoom In", L"Zoom Out", L"", L"View Whole Page",
                                              L"View Whole Width"};
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(aZoomIds[i], GetMenuItemID(hZoom, i)) << "item " << i;
            EXPECT_EQ(apszZoomTexts[i], MenuText(hZoom, i)) << "item " << i;
        }
        EXPECT_TRUE(GetMenuState(hZoom, 2, MF_BYPOSITION) & MF_SEPARATOR);
        ASSERT_EQ(1, GetMenuItemCount(hHelp));
        EXPECT_EQ(static_cast<UINT>(ID_HELP), GetMenuItemID(hHelp, 0));
        EXPECT_EQ(L"Help", MenuText(hHelp, 0));

        ASSERT_EQ(7, SendMessageW(w.toolbar, TB_BUTTONCOUNT, 0, 0));
        const int aCommands[] = {IDM_ZOOMIN, IDM_ZOOMOUT, 0, IDM_WHOLEPAGE, IDM_WHOLEWIDTH, 0,
                                 IDM_ZOOMBOX};
        const BYTE aStyles[] = {BTNS_BUTTON, BTNS_BUTTON, BTNS_SEP, BTNS_CHECK, BTNS_CHECK,
                                BTNS_SEP, BTNS_SEP};
        const int aImages[] = {0, 1, -1, 2, 3, -1, -1};
        for (int i = 0; i < 7; ++i) {
            TBBUTTON button = {};
            ASSERT_TRUE(SendMessageW(w.toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
            EXPECT_EQ(aCommands[i], button.idCommand) << "button " << i;
            EXPECT_EQ(aStyles[i], button.fsStyle) << "button " << i;
            if (aImages[i] >= 0)
                EXPECT_EQ(aImages[i], button.iBitmap) << "button " << i;
            EXPECT_TRUE(button.fsState & TBSTATE_ENABLED) << "button " << i;
        }
        EXPECT_EQ(nullptr, reinterpret_cast<HWND>(SendMessageW(w.toolbar, TB_GETTOOLTIPS, 0, 0)));
        HIMAGELIST hImages =
            reinterpret_cast<HIMAGELIST>(SendMessageW(w.toolbar, TB_GETIMAGELIST, 0, 0));
        int cxImage = 0, cyImage = 0;
        EXPECT_TRUE(ImageList_GetIconSize(hImages, &cxImage, &cyImage));
        EXPECT_EQ(20, cxImage);
        EXPECT_EQ(20, cyImage);

        // The zoom box sits in the 80-pixel slot of the last button.
        TBBUTTONINFOW info = {};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_SIZE | TBIF_STYLE;
        ASSERT_NE(-1, SendMessageW(w.toolbar, TB_GETBUTTONINFOW, IDM_ZOOMBOX,
                                   reinterpret_cast<LPARAM>(&info)));
        EXPECT_EQ(80, info.cx);
        RECT rcSlot = {};
        SendMessageW(w.toolbar, TB_GETITEMRECT, 6, reinterpret_cast<LPARAM>(&rcSlot));
        RECT rcBox = WindowRectIn(w.zoomBox, w.toolbar);
        EXPECT_EQ(rcSlot.left, rcBox.left);
        EXPECT_EQ(rcSlot.top, rcBox.top);
        EXPECT_EQ(rcSlot.right - rcSlot.left, rcBox.right - rcBox.left);
        EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT),
                  reinterpret_cast<HGDIOBJ>(SendMessageW(w.zoomBox, WM_GETFONT, 0, 0)));
        // Each item's data is its list record: a 32-byte key, the percentage, the text.
        ASSERT_EQ(8, SendMessageW(w.zoomBox, CB_GETCOUNT, 0, 0));
        const int aPercents[] = {500, 200, 150, 100, 75, 50, 25, 10};
        for (int i = 0; i < 8; ++i) {
            SCOPED_TRACE(aPercents[i]);
            const std::wstring text = std::to_wstring(aPercents[i]) + L"%";
            WCHAR sz[32] = L"";
            SendMessageW(w.zoomBox, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(sz));
            EXPECT_EQ(text, sz);
            const LRESULT data = SendMessageW(w.zoomBox, CB_GETITEMDATA, i, 0);
            ASSERT_TRUE(data != 0 && data != CB_ERR);
            const char *pRecord = reinterpret_cast<const char *>(data);
            EXPECT_EQ("TBD_" + std::to_string(aPercents[i]), pRecord);
            EXPECT_EQ(aPercents[i], *reinterpret_cast<const int32_t *>(pRecord + 32));
            EXPECT_EQ(text, reinterpret_cast<const WCHAR *>(pRecord + 36));
        }
        EXPECT_EQ(CB_ERR, SendMessageW(w.zoomBox, CB_GETCURSEL, 0, 0));
        PostMessageW(w.frame, WM_CLOSE, 0, 0);
    }}});
    ExpectClosed(nResult);
}

TEST_F(PreviewTest, DialogBarShowsThePositionCloseButtonAndSeparator)
{
    const int nResult = RunPreview(lib, parent, sheet, 12, -3, {{50, [&](const PreviewWindows &w) {
        ASSERT_NE(nullptr, w.dialog);
        EXPECT_EQ(L"#32770", ClassName(w.dialog));
        EXPECT_EQ(L"Image Position X 12 Y -3", DlgItemText(w.dialog, IDC_IMAGEPOS));
        EXPECT_EQ(L"Close", DlgItemText(w.dialog, ID_CANCEL));
        EXPECT_TRUE(GetWindowLongW(GetDlgItem(w.dialog, IDC_IMAGEPOS), GWL_STYLE) & SS_RIGHT);
        HWND hwndLine = GetDlgItem(w.dialog, 0xFFFF);
        ASSERT_NE(nullptr, hwndLine);
        EXPECT_EQ(SS_ETCHEDVERT, GetWindowLongW(hwndLine, GWL_STYLE) & SS_TYPEMASK);

        // Template 103 in the dialog's own units.
        RECT rcDlg = WindowRectIn(w.dialog, w.dialog);
        RECT rcSize = DialogUnits(w.dialog, 0, 0, 240, 20);
        EXPECT_EQ(rcSize.right, rcDlg.right - rcDlg.left);
        EXPECT_EQ(rcSize.bottom, rcDlg.bottom - rcDlg.top);
        ExpectRect(DialogUnits(w.dialog, 176, 2, 60, 14),
                   WindowRectIn(GetDlgItem(w.dialog, ID_CANCEL), w.dialog), "Close button");
        ExpectRect(DialogUnits(w.dialog, 1, 5, 127, 8),
                   WindowRectIn(GetDlgItem(w.dialog, IDC_IMAGEPOS), w.dialog), "position text");

        // The separator: shadow above highlight on the bar's last two rows.
        UpdateWindow(w.dlgBar);
        Capture bar = CaptureClient(w.dlgBar);
        ASSERT_GE(bar.cy, 3);
        EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), bar.At(2, bar.cy - 2));
        EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), bar.At(2, bar.cy - 1));
        EXPECT_EQ(GetSysColor(COLOR_BTNFACE), bar.At(2, bar.cy - 3));
        EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), bar.At(bar.cx - 1, bar.cy - 2));

        // The toolbar's empty stretch right of the zoom box shows the button
        // face too (a themed toolbar leaves it to the frame).
        UpdateWindow(w.toolbar);
        Capture strip = CaptureClient(w.toolbar);
        ASSERT_GT(strip.cx, WindowRectIn(w.zoomBox, w.toolbar).right + 10);
        EXPECT_EQ(GetSysColor(COLOR_BTNFACE), strip.At(strip.cx - 5, strip.cy / 2));
        PostMessageW(w.frame, WM_CLOSE, 0, 0);
    }}});
    ExpectClosed(nResult);
}
