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

std::string Narrow(const UiChar *psz)
{
    std::string str;
    for (; *psz; ++psz)
        str.push_back(*psz < 0x80 ? char(*psz) : '?');
    return str;
}

template <typename Entry>
void AddRows(std::vector<std::string> &rows, const Entry *pEntry, size_t n, std::string (*pfnNumber)(const Entry &))
{
    for (size_t i = 0; i < n; ++i)
        rows.push_back(pfnNumber(pEntry[i]) + pEntry[i].szKey + "=" + Narrow(pEntry[i].szText));
}

// Every record of the table as "[number:]key=text", in table order.
std::vector<std::string> TableRows()
{
    std::vector<std::string> rows;
    auto none = [](const UiTextEntry &) { return std::string(); };
    auto percent = [](const UiZoomEntry &e) { return std::to_string(e.nZoomPercent) + ":"; };
    auto id = [](const UiMenuTextEntry &e) { return std::to_string(e.nCommandId) + ":"; };
    AddRows<UiZoomEntry>(rows, g_aUiZoomList, UI_ZOOM_LIST_COUNT, percent);
    AddRows<UiTextEntry>(rows, &g_UiWindowTitle, 1, none);
    AddRows<UiMenuTextEntry>(rows, g_aUiZoomMenu, UI_ZOOM_MENU_COUNT, id);
    AddRows<UiMenuTextEntry>(rows, g_aUiHelpMenu, UI_HELP_MENU_COUNT, id);
    AddRows<UiTextEntry>(rows, g_aUiImagePosition, UI_IMAGE_POSITION_COUNT, none);
    AddRows<UiTextEntry>(rows, &g_UiClose, 1, none);
    return rows;
}

TEST_F(UiLoader, WithoutTheFileTheBuiltInTextsStand)
{
    LoadUiStrings();
    EXPECT_EQ(TableRows(), (std::vector<std::string>{
        "500:TBD_500=500%", "200:TBD_200=200%", "150:TBD_150=150%", "100:TBD_100=100%", "75:TBD_75=75%",
        "50:TBD_50=50%", "25:TBD_25=25%", "10:TBD_10=10%", "0:=",
        "Dlg_CheckFAXCoverSheet=Check On FAX Cover Sheet",
        "0:CfcZoom=Zoom", "40001:Cfcz_ZoomIn=Zoom In", "40002:Cfcz_ZoomOut=Zoom Out",
        "40004:Cfcz_ViewWholePage=View Whole Page", "40005:Cfcz_ViewWholeWidth=View Whole Width", "-1:=",
        "0:CfcHelp=Help", "9:Cfch_Help=Help", "-1:=",
        "CfcImagePosition=Image Position", "CfcImagePositionX=X", "CfcImagePositionY=Y", "=",
        "CfcClose=Close"}));
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

// Built by hand: what the packer refuses. Long texts are cut to the field,
// overlong keys skipped, and entry chains end however large the count.
TEST_F(UiLoader, MalformedEntriesNeitherOverrunNorStall)
{
    std::vector<uint8_t> image = PackSource("[Dlg_CheckFAXCoverSheet]\nCfcZoom = z\nCfcClose = c\nCfcHelp = h\n");
    uint32_t offText = uint32_t(image.size());
    image.resize(image.size() + 400, 'W');  // 200 units of U+5757
    image.insert(image.end(), {0, 0});
    PutU32(image, 72 + 8, offText);
    uint32_t offKey = uint32_t(image.size());
    PutBytes(image, offKey, "CfcClose" + std::string(270, ' ') + '\0');
    PutU32(image, 72 + 16, offKey);
    PutU32(image, 8 + 52, 0xFFFFFFFF);
    m_folder.WriteVmd(image);
    LoadUiStrings();
    EXPECT_EQ(Text(g_aUiZoomMenu[0].szText), UiString(63, UiChar(0x5757)));
    EXPECT_EQ(Text(g_UiClose.szText), Ui(u"Close"));
    EXPECT_EQ(Text(g_aUiHelpMenu[0].szText), Ui(u"h"));

    PutU32(image, 72 + 32 + 12, 72);  // the last entry leads back to the first
    PutU32(image, 72 + 32 + 8, offText);
    m_folder.WriteVmd(image);
    LoadUiStrings();
    EXPECT_EQ(Text(g_aUiHelpMenu[0].szText), UiString(63, UiChar(0x5757)));
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
