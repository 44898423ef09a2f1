// The preview's windows as a host finds them: classes, styles, ids, toolbar,
// zoom box and the dialog bar. The templates themselves are read back from
// the library in resource_test.cpp.
#include <windows.h>
#include <commctrl.h>

#include "previewtest.h"

static std::wstring DlgItemText(HWND hwndDlg, int id)
{
    WCHAR sz[260] = L"";
    GetDlgItemTextW(hwndDlg, id, sz, ARRAYSIZE(sz));
    return sz;
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
    const int nResult = RunPreview(
        lib, parent, sheet, 12, -3,
        {{50, [&](const PreviewWindows &w) {
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

TEST_F(PreviewTest, ToolbarAndZoomBoxHoldTheirItems)
{
    const int nResult = RunPreview(
        lib, parent, sheet, 12, -3,
        {{50, [&](const PreviewWindows &w) {
              ASSERT_EQ(7, SendMessageW(w.toolbar, TB_BUTTONCOUNT, 0, 0));
              const int aCommands[] = {IDM_ZOOMIN,     IDM_ZOOMOUT, 0,          IDM_WHOLEPAGE,
                                       IDM_WHOLEWIDTH, 0,           IDM_ZOOMBOX};
              const BYTE aStyles[] = {BTNS_BUTTON, BTNS_BUTTON, BTNS_SEP, BTNS_CHECK,
                                      BTNS_CHECK,  BTNS_SEP,    BTNS_SEP};
              const int aImages[] = {0, 1, -1, 2, 3, -1, -1};
              for (int i = 0; i < 7; ++i) {
                  TBBUTTON button = {};
                  ASSERT_TRUE(
                      SendMessageW(w.toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
                  EXPECT_EQ(aCommands[i], button.idCommand) << "button " << i;
                  EXPECT_EQ(aStyles[i], button.fsStyle) << "button " << i;
                  if (aImages[i] >= 0)
                      EXPECT_EQ(aImages[i], button.iBitmap) << "button " << i;
                  EXPECT_TRUE(button.fsState & TBSTATE_ENABLED) << "button " << i;
              }
              EXPECT_EQ(nullptr,
                        reinterpret_cast<HWND>(SendMessageW(w.toolbar, TB_GETTOOLTIPS, 0, 0)));
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
    const int nResult = RunPreview(
        lib, parent, sheet, 12, -3,
        {{50, [&](const PreviewWindows &w) {
              ASSERT_NE(nullptr, w.dialog);
              EXPECT_EQ(L"#32770", ClassName(w.dialog));
              EXPECT_EQ(L"Image Position X 12 Y -3", DlgItemText(w.dialog, IDC_IMAGEPOS));
              EXPECT_EQ(L"Close", DlgItemText(w.dialog, ID_CANCEL));
              // The panel keeps its template's size, 240 x 20 dialog units.
              RECT rcSize = {0, 0, 240, 20};
              MapDialogRect(w.dialog, &rcSize);
              const RECT rcDlg = WindowRectIn(w.dialog, w.dialog);
              EXPECT_EQ(rcSize.right, rcDlg.right - rcDlg.left);
              EXPECT_EQ(rcSize.bottom, rcDlg.bottom - rcDlg.top);

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
