// Ending the preview: every way of closing returns 1 with the parent enabled
// and no window left; calls in sequence; the caller's metafile; idle cost;
// a frame that cannot be created.
#include "previewtest.h"

static HWND CloseButton(const PreviewWindows &w)
{
    return GetDlgItem(w.dialog, ID_CANCEL);
}

static std::vector<BYTE> MetafileBytes(HENHMETAFILE hemf)
{
    std::vector<BYTE> bytes(GetEnhMetaFileBits(hemf, 0, nullptr));
    GetEnhMetaFileBits(hemf, static_cast<UINT>(bytes.size()), bytes.data());
    return bytes;
}

TEST_F(PreviewTest, EveryWayOfClosingReturnsOne)
{
    const std::vector<std::pair<const char *, std::function<void(const PreviewWindows &)>>> ways = {
        {"Esc in the view", [](const PreviewWindows &w) { PostKey(w.view, VK_ESCAPE); }},
        {"Esc in the zoom box",
         [](const PreviewWindows &w) {
             SetFocus(w.zoomBox);
             PostKey(GetFocus(), VK_ESCAPE);
         }},
        {"Esc on the Close button",
         [](const PreviewWindows &w) {
             SetFocus(CloseButton(w));
             PostKey(GetFocus(), VK_ESCAPE);
         }},
        {"the Close button",
         [](const PreviewWindows &w) { SendMessageW(CloseButton(w), BM_CLICK, 0, 0); }},
        {"Space on the Close button",
         [](const PreviewWindows &w) {
             SetFocus(CloseButton(w));
             PostKey(CloseButton(w), VK_SPACE);
         }},
        {"the system menu",
         [](const PreviewWindows &w) { PostMessageW(w.frame, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"WM_CLOSE", [](const PreviewWindows &w) { PostMessageW(w.frame, WM_CLOSE, 0, 0); }},
    };
    for (const auto &way : ways) {
        SCOPED_TRACE(way.first);
        const int nResult =
            RunPreview(lib, parent, sheet, 0, 0, {{50, [&](const PreviewWindows &w) {
                                                       EXPECT_FALSE(IsWindowEnabled(parent));
                                                       way.second(w);
                                                   }}});
        ExpectClosed(nResult);
    }
}

TEST_F(PreviewTest, QuitMessageEndsTheCallAndIsConsumed)
{
    const int nResult = RunPreview(lib, parent, sheet, 0, 0,
                                   {{50, [](const PreviewWindows &) { PostQuitMessage(7); }}});
    ExpectClosed(nResult);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// Three calls in a row, one without a parent (the frame then has no owner and
// the call still ends with 1), each showing its own position values.
TEST_F(PreviewTest, CallsInSequenceLeaveTheMetafileAsItWas)
{
    const std::vector<BYTE> before = MetafileBytes(sheet);
    const struct {
        bool bParent;
        int x, y;
        const WCHAR *pszShown;
    } aCalls[] = {
        {true, 12, -3, L"Image Position X 12 Y -3"},
        {false, 0, 0, L"Image Position X 0 Y 0"},
        {true, -2147483647 - 1, 2147483647, L"Image Position X -2147483648 Y 2147483647"}};
    for (const auto &call : aCalls) {
        SCOPED_TRACE(call.pszShown);
        HWND hwndParent = call.bParent ? parent : nullptr;
        const int nResult = RunPreview(
            lib, hwndParent, sheet, call.x, call.y,
            {{50, [&](const PreviewWindows &w) {
                  EXPECT_EQ(hwndParent, GetWindow(w.frame, GW_OWNER));
                  EXPECT_EQ(call.pszShown, WindowText(GetDlgItem(w.dialog, IDC_IMAGEPOS)));
                  SendMessageW(CloseButton(w), BM_CLICK, 0, 0);
              }}});
        ExpectClosed(nResult);
        EXPECT_EQ(before, MetafileBytes(sheet));
    }
    ENHMETAHEADER header = {};
    EXPECT_EQ(sizeof(header), GetEnhMetaFileHeader(sheet, sizeof(header), &header));
}

static ULONGLONG ProcessCpu100ns()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME &ft) {
        return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    };
    return value(kernel) + value(user);
}

TEST_F(PreviewTest, IdlePreviewUsesNextToNoCpu)
{
    ULONGLONG cpuStart = 0, wallStart = 0;
    const int nResult = RunPreview(lib, parent, sheet, 0, 0,
                                   {{300,
                                     [&](const PreviewWindows &) {
                                         cpuStart = ProcessCpu100ns();
                                         wallStart = GetTickCount64();
                                     }},
                                    {1000, [&](const PreviewWindows &w) {
                                         const ULONGLONG cpuMs =
                                             (ProcessCpu100ns() - cpuStart) / 10000;
                                         const ULONGLONG wallMs = GetTickCount64() - wallStart;
                                         EXPECT_GE(wallMs, 900u);
                                         // A polling loop would take a whole core; waiting costs
                                         // almost nothing.
                                         EXPECT_LT(cpuMs, wallMs / 4)
                                             << cpuMs << " ms of CPU in " << wallMs << " ms";
                                         PostMessageW(w.frame, WM_CLOSE, 0, 0);
                                     }}});
    ExpectClosed(nResult);
}

enum { MSG_KEYF1 = 0x004D };  // WM_KEYF1, which the mingw-w64 headers lack

// Help for the window and for a control, by menu, by message and by F1 (the
// help file is absent here, so each call must simply come back), and Enter on
// the focused Close button (command IDOK of the frame, not a click): the
// preview stays open and unchanged.
TEST_F(PreviewTest, HelpAndEnterLeaveThePreviewWorking)
{
    auto helpFor = [](HWND hwndTarget, HWND hwndItem) {
        HELPINFO info = {};
        info.cbSize = sizeof(info);
        info.iContextType = HELPINFO_WINDOW;
        info.iCtrlId = GetDlgCtrlID(hwndItem);
        info.hItemHandle = hwndItem;
        return SendMessageW(hwndTarget, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    };
    int nBefore = 0;
    const int nResult = RunPreview(lib, parent, sheet, 0, 0,
                                   {{50,
                                     [&](const PreviewWindows &w) {
                                         nBefore = ShownPercent(w);
                                         EXPECT_EQ(1, helpFor(w.frame, w.frame));
                                         EXPECT_EQ(1, helpFor(w.frame, w.view));
                                         PostMessageW(w.frame, WM_COMMAND, ID_HELP, 0);
                                         SetFocus(w.view);
                                         PostMessageW(w.view, MSG_KEYF1, 0, 0);
                                         SetFocus(CloseButton(w));
                                         PostKey(GetFocus(), VK_RETURN);
                                     }},
                                    {100, [&](const PreviewWindows &w) {
                                         EXPECT_TRUE(IsWindowVisible(w.frame));
                                         EXPECT_FALSE(IsWindowEnabled(parent));
                                         EXPECT_EQ(nBefore, ShownPercent(w));
                                         PostKey(w.view, VK_ESCAPE);
                                     }}});
    ExpectClosed(nResult);
}

// Watches window creation on this thread and refuses the preview's frame,
// noting whether the parent was disabled at that moment.
static HWND s_hwndRefusedParent;
static bool s_bRefused, s_bParentDisabledThen;

static LRESULT CALLBACK RefuseFrameHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND &&
        ClassName(reinterpret_cast<HWND>(wParam)) == L"VX_CHKFCS_MAINWND") {
        s_bRefused = true;
        s_bParentDisabledThen = !IsWindowEnabled(s_hwndRefusedParent);
        return 1;
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

TEST_F(PreviewTest, RefusedFrameReturnsZeroWithTheParentEnabledAgain)
{
    s_hwndRefusedParent = parent;
    s_bRefused = s_bParentDisabledThen = false;
    HHOOK hHook = SetWindowsHookExW(WH_CBT, RefuseFrameHook, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hHook);
    const int nResult = lib.pfnShow(parent, sheet, 0, 0, 0);
    UnhookWindowsHookEx(hHook);
    ASSERT_TRUE(s_bRefused);
    EXPECT_TRUE(s_bParentDisabledThen);
    EXPECT_EQ(0, nResult);
    EXPECT_TRUE(IsWindowEnabled(parent));
    EXPECT_EQ(nullptr, FindPreviewFrame());
}
