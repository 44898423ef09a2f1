// LoadUiStrings against VELMORAD.VMD files in the folder it reads from.
#include <gtest/gtest.h>
#include <fstream>
#include <iterator>
#include <string.h>
#include "module.h"
#include "text_test_util.h"

namespace {

class UiLoader : public testing::Test {
protected:
    UiTableSnapshot m_defaults;  // puts the table back after each test
    DataFolder m_folder;

    void Load(const std::string &strSource)
    {
        m_folder.WriteVmd(PackSource(strSource));
        LoadUiStrings();
    }
};

UiString Text(const UiChar *psz)
{
    return UiString(psz);
}

TEST_F(UiLoader, WithoutTheFileTheBuiltInTextsStand)
{
    LoadUiStrings();
    EXPECT_EQ(Text(g_UiWindowTitle.szText), Ui(u"Check On FAX Cover Sheet"));
    EXPECT_STREQ(g_UiWindowTitle.szKey, "Dlg_CheckFAXCoverSheet");
    const struct { int32_t nId; const char *pszKey; const char16_t *pszText; } aMenu[] = {
        {0, "CfcZoom", u"Zoom"}, {40001, "Cfcz_ZoomIn", u"Zoom In"}, {40002, "Cfcz_ZoomOut", u"Zoom Out"},
        {40004, "Cfcz_ViewWholePage", u"View Whole Page"}, {40005, "Cfcz_ViewWholeWidth", u"View Whole Width"},
        {-1, "", u""}, {0, "CfcHelp", u"Help"}, {9, "Cfch_Help", u"Help"}, {-1, "", u""}};
    for (int i = 0; i < 9; ++i) {
        const UiMenuTextEntry &e = i < 6 ? g_aUiZoomMenu[i] : g_aUiHelpMenu[i - 6];
        EXPECT_EQ(e.nCommandId, aMenu[i].nId) << i;
        EXPECT_STREQ(e.szKey, aMenu[i].pszKey);
        EXPECT_EQ(Text(e.szText), Ui(aMenu[i].pszText)) << i;
    }
    const int aPercent[] = {500, 200, 150, 100, 75, 50, 25, 10, 0};
    for (int i = 0; i < UI_ZOOM_LIST_COUNT; ++i) {
        EXPECT_EQ(g_aUiZoomList[i].nZoomPercent, aPercent[i]);
        std::string strPercent = i < 8 ? std::to_string(aPercent[i]) : "";
        EXPECT_EQ(g_aUiZoomList[i].szKey, i < 8 ? "TBD_" + strPercent : "");
        UiString strText;
        for (char ch : i < 8 ? strPercent + "%" : "")
            strText.push_back(UiChar(ch));
        EXPECT_EQ(Text(g_aUiZoomList[i].szText), strText);
    }
    EXPECT_EQ(Text(g_aUiImagePosition[0].szText), Ui(u"Image Position"));
    EXPECT_EQ(Text(g_aUiImagePosition[1].szText), Ui(u"X"));
    EXPECT_EQ(Text(g_aUiImagePosition[2].szText), Ui(u"Y"));
    EXPECT_STREQ(g_aUiImagePosition[2].szKey, "CfcImagePositionY");
    EXPECT_EQ(g_aUiImagePosition[3].szKey[0], 0);
    EXPECT_EQ(Text(g_UiClose.szText), Ui(u"Close"));
    EXPECT_STREQ(g_UiClose.szKey, "CfcClose");
}

TEST_F(UiLoader, OneTranslatedKeyChangesOnlyItsText)
{
    UiMenuTextEntry zoom = g_aUiZoomMenu[0];
    Load("[Dlg_CheckFAXCoverSheet]\nCfcZoom = Zoomen\n");
    EXPECT_EQ(Text(g_aUiZoomMenu[0].szText), Ui(u"Zoomen"));
    g_aUiZoomMenu[0] = zoom;
    EXPECT_TRUE(UiTableSnapshot() == m_defaults);  // nothing else moved
}

TEST_F(UiLoader, KeysAndSectionNameIgnoreLetterCase)
{
    Load("[DLG_checkfaxcoversheet]\ncfczoom = a\nCFCCLOSE = b\ncfch_HELP = c\n");
    EXPECT_EQ(Text(g_aUiZoomMenu[0].szText), Ui(u"a"));
    EXPECT_EQ(Text(g_UiClose.szText), Ui(u"b"));
    EXPECT_EQ(Text(g_aUiHelpMenu[1].szText), Ui(u"c"));
}

TEST_F(UiLoader, ZoomListIsNeverLocalised)
{
    UiTableSnapshot before;
    Load("[Dlg_CheckFAXCoverSheet]\nTBD_100 = hundert\nTBD_500 = x\nUnknownKey = y\n");
    EXPECT_TRUE(UiTableSnapshot() == before);
}

TEST_F(UiLoader, OtherSectionsAreNotRead)
{
    UiTableSnapshot before;
    Load("[Dlg_Other]\nCfcZoom = no\n[Dlg_CheckFAXCoverSheetX]\nCfcZoom = no\n");
    EXPECT_TRUE(UiTableSnapshot() == before);
}

TEST_F(UiLoader, EmptyTextKeepsTheCurrentOne)
{
    Load("[Dlg_CheckFAXCoverSheet]\nCfcClose =\n");
    EXPECT_EQ(Text(g_UiClose.szText), Ui(u"Close"));
}

// Built by hand: the packer refuses duplicate keys.
TEST_F(UiLoader, LastNonEmptyDuplicateWins)
{
    std::vector<uint8_t> image = PackSource("[Dlg_CheckFAXCoverSheet]\nCfcClose = first\nA = second\nB =\n");
    uint32_t offKeyClose = VmdGetU32(&image[72]);
    PutU32(image, 72 + 16, offKeyClose);  // A and B both become CfcClose
    PutU32(image, 72 + 32, offKeyClose);
    m_folder.WriteVmd(image);
    LoadUiStrings();
    EXPECT_EQ(Text(g_UiClose.szText), Ui(u"second"));
}

TEST_F(UiLoader, TextsStayAfterALaterCallWithoutTheFile)
{
    Load("[Dlg_CheckFAXCoverSheet]\nDlg_CheckFAXCoverSheet = Titel\n");
    m_folder.RemoveVmd();
    LoadUiStrings();
    EXPECT_EQ(Text(g_UiWindowTitle.szText), Ui(u"Titel"));
}

TEST_F(UiLoader, LongTextIsCutToTheField)
{
    std::vector<uint8_t> image = PackSource("[Dlg_CheckFAXCoverSheet]\nCfcClose = x\n");
    uint32_t offText = uint32_t(image.size());
    for (int i = 0; i < 200; ++i) {
        image.push_back('W');
        image.push_back(0);
    }
    image.insert(image.end(), {0, 0});
    PutU32(image, 72 + 8, offText);
    m_folder.WriteVmd(image);
    LoadUiStrings();
    EXPECT_EQ(Text(g_UiClose.szText), UiString(63, UiChar('W')));
}

TEST_F(UiLoader, EntryCountIsBoundedByTheChain)
{
    // A huge count over a chain of two, and a chain that loops: both end.
    std::vector<uint8_t> image = PackSource("[Dlg_CheckFAXCoverSheet]\nCfcZoom = z\nCfcClose = c\n");
    PutU32(image, 8 + 52, 0xFFFFFFFF);
    m_folder.WriteVmd(image);
    LoadUiStrings();
    EXPECT_EQ(Text(g_aUiZoomMenu[0].szText), Ui(u"z"));
    EXPECT_EQ(Text(g_UiClose.szText), Ui(u"c"));

    PutU32(image, 72 + 16 + 12, 72);
    m_folder.WriteVmd(image);
    LoadUiStrings();
    EXPECT_EQ(Text(g_UiClose.szText), Ui(u"c"));
}

TEST_F(UiLoader, CountSmallerThanTheChainStopsEarly)
{
    std::vector<uint8_t> image = PackSource("[Dlg_CheckFAXCoverSheet]\nCfcZoom = z\nCfcClose = c\n");
    PutU32(image, 8 + 52, 1);
    m_folder.WriteVmd(image);
    LoadUiStrings();
    EXPECT_EQ(Text(g_aUiZoomMenu[0].szText), Ui(u"z"));
    EXPECT_EQ(Text(g_UiClose.szText), Ui(u"Close"));
}

TEST_F(UiLoader, OverlongKeyIsSkipped)
{
    std::vector<uint8_t> image = PackSource("[Dlg_CheckFAXCoverSheet]\nCfcZoom = z\nCfcClose = c\n");
    uint32_t offKey = uint32_t(image.size());
    PutBytes(image, offKey, "CfcClose" + std::string(270, ' ') + '\0');
    PutU32(image, 72, offKey);
    m_folder.WriteVmd(image);
    LoadUiStrings();
    EXPECT_EQ(Text(g_aUiZoomMenu[0].szText), Ui(u"Zoom"));
    EXPECT_EQ(Text(g_UiClose.szText), Ui(u"c"));
}

std::vector<uint8_t> ReadFile(const std::string &strPath)
{
    std::ifstream in(strPath, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

#ifdef VELMORA_JA_VMD
// The packed Japanese file: every key of the table is translated, and all
// three ways of reading give the same table.
TEST_F(UiLoader, JapaneseFileTranslatesEveryTextInEveryReadMode)
{
    std::vector<uint8_t> image = ReadFile(VELMORA_JA_VMD);
    ASSERT_FALSE(image.empty());
    m_folder.WriteVmd(image);
    LoadUiStrings();
    EXPECT_EQ(Text(g_UiWindowTitle.szText), Ui(u"FAX 送付状の確認"));
    EXPECT_EQ(Text(g_aUiZoomMenu[0].szText), Ui(u"ズーム"));
    EXPECT_EQ(Text(g_UiClose.szText), Ui(u"閉じる"));
    for (const UiMenuTextEntry *p : {&g_aUiZoomMenu[1], &g_aUiZoomMenu[4], &g_aUiHelpMenu[0], &g_aUiHelpMenu[1]})
        EXPECT_GT(p->szText[0], 0x3000) << p->szKey;
    UiTableSnapshot buffered;
    for (ReadMode mode : {ReadMode::FallbackSize, ReadMode::FallbackAlloc}) {
        m_defaults.Restore();
        ScopedFileOps ops(mode);
        LoadUiStrings();
        EXPECT_TRUE(UiTableSnapshot() == buffered) << ReadModeName(mode);
    }
}
#endif

#ifndef _WIN32
// Natively the folder can be made as deep as needed: the file's path must
// fit in 259 units, else the file counts as missing.
TEST_F(UiLoader, FolderTooDeepForThePathMeansNoFile)
{
    TempFolder temp;
    std::filesystem::path folder = temp.Path();
    for (size_t cchPath : {260u, 259u}) {
        std::filesystem::path deep = folder;
        while (UiPath(deep).size() + 1 + 12 + 100 < cchPath)
            deep /= std::string(90, 'd');
        size_t cchLast = cchPath - UiPath(deep).size() - 1 - 1 - 12;
        deep /= std::string(cchLast, 'e');
        std::filesystem::create_directories(deep);
        UiString strFolder = UiPath(deep) + u"/";
        ASSERT_EQ(strFolder.size() + 12, cchPath);
        ASSERT_TRUE(SetModuleFolder(strFolder.c_str()));
        std::vector<uint8_t> image = PackSource("[Dlg_CheckFAXCoverSheet]\nCfcClose = deep\n");
        std::ofstream(deep / "VELMORAD.VMD", std::ios::binary)
            .write(reinterpret_cast<const char *>(image.data()), std::streamsize(image.size()));
        LoadUiStrings();
        EXPECT_EQ(Text(g_UiClose.szText), cchPath == 260 ? Ui(u"Close") : Ui(u"deep")) << cchPath;
    }
}
#endif

}  // namespace
