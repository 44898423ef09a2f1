// Texts from a VELMORAD.VMD beside the library: built-in defaults without the
// file (or when a call without a cover sheet saw it), translations with it,
// and translations that stay for the life of the library once loaded.
#include "previewtest.h"
#include "vmdbytes.h"

static std::wstring MenuText(HMENU hMenu, UINT uItem, UINT uFlags)
{
    WCHAR sz[128] = L"";
    GetMenuStringW(hMenu, uItem, sz, ARRAYSIZE(sz), uFlags);
    return sz;
}

// Title; menu bar Zoom and Help; Zoom In, Zoom Out, View Whole Page, View
// Whole Width, Help; the position line; Close; the zoom box's "100%" item.
typedef std::vector<std::wstring> ShownTexts;

static ShownTexts ReadTexts(const PreviewWindows &w)
{
    HMENU hMenu = GetMenu(w.frame);
    HMENU hZoom = GetSubMenu(hMenu, 0), hHelp = GetSubMenu(hMenu, 1);
    WCHAR sz[32] = L"";
    SendMessageW(w.zoomBox, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(sz));
    return {WindowText(w.frame),
            MenuText(hMenu, 0, MF_BYPOSITION),
            MenuText(hMenu, 1, MF_BYPOSITION),
            MenuText(hZoom, IDM_ZOOMIN, MF_BYCOMMAND),
            MenuText(hZoom, IDM_ZOOMOUT, MF_BYCOMMAND),
            MenuText(hZoom, IDM_WHOLEPAGE, MF_BYCOMMAND),
            MenuText(hZoom, IDM_WHOLEWIDTH, MF_BYCOMMAND),
            MenuText(hHelp, ID_HELP, MF_BYCOMMAND),
            WindowText(GetDlgItem(w.dialog, IDC_IMAGEPOS)),
            WindowText(GetDlgItem(w.dialog, ID_CANCEL)),
            sz};
}

static const ShownTexts kDefaults = {L"Check On FAX Cover Sheet",
                                     L"Zoom",
                                     L"Help",
                                     L"Zoom In",
                                     L"Zoom Out",
                                     L"View Whole Page",
                                     L"View Whole Width",
                                     L"Help",
                                     L"Image Position X 12 Y -3",
                                     L"Close",
                                     L"100%"};

static const ShownTexts kTranslated = {L"\x8868\x7D19\x306E\x78BA\x8A8D",
                                       L"\x30BA\x30FC\x30E0(&Z)",
                                       L"Help",
                                       L"Enlarge",
                                       L"Zoom Out",          // not in the file
                                       L"Fit Page",          // the last of two entries
                                       L"View Whole Width",  // empty text in the file
                                       L"Manual",
                                       L"Pos H 12 V -3",
                                       L"Done",
                                       L"100%"};  // the zoom list is never translated

static std::vector<uint8_t> TranslationFile()
{
    return BuildVmd("dlg_checkfaxcoversheet",  // the section name in other letter case
                    {{"Dlg_CheckFAXCoverSheet", L"\x8868\x7D19\x306E\x78BA\x8A8D"},
                     {"cfczoom", L"\x30BA\x30FC\x30E0(&Z)"},
                     {"Cfcz_ZoomIn", L"Enlarge"},
                     {"Cfcz_ViewWholePage", L"Whole Page"},
                     {"Cfcz_ViewWholeWidth", L""},
                     {"TBD_100", L"hundred"},
                     {"Cfcz_ViewWholePage", L"Fit Page"},
                     {"Cfch_Help", L"Manual"},
                     {"CfcImagePosition", L"Pos"},
                     {"CFCIMAGEPOSITIONX", L"H"},
                     {"CfcImagePositionY", L"V"},
                     {"CfcUnknownKey", L"ignored"},
                     {"CfcClose", L"Done"}});
}

TEST_F(PreviewTest, TextsStartAsDefaultsAndTranslationsOutliveTheFile)
{
    auto shown = [&]() {
        ShownTexts texts;
        EXPECT_EQ(1, RunPreview(lib, parent, sheet, 12, -3, {{50, [&](const PreviewWindows &w) {
                                                                  texts = ReadTexts(w);
                                                                  PostMessageW(w.frame, WM_CLOSE, 0,
                                                                               0);
                                                              }}}));
        return texts;
    };
    // A call without a cover sheet reads nothing, even with the file there.
    ASSERT_TRUE(lib.WriteDataFile(TranslationFile()));
    EXPECT_EQ(0, lib.pfnShow(parent, nullptr, 0, 12, -3));
    lib.RemoveDataFile();
    EXPECT_EQ(kDefaults, shown()) << "without a file";
    ASSERT_TRUE(lib.WriteDataFile(TranslationFile()));
    EXPECT_EQ(kTranslated, shown()) << "with the file";
    lib.RemoveDataFile();
    EXPECT_EQ(kTranslated, shown()) << "after the file is gone";
    // A file without the section changes nothing either.
    ASSERT_TRUE(lib.WriteDataFile(BuildVmd("Dlg_Other", {{"CfcClose", L"Shut"}})));
    EXPECT_EQ(kTranslated, shown()) << "with another section";
}
