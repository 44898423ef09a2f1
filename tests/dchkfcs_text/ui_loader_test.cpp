// LoadUiStrings against VELMORAD.VMD files in the folder it reads from.
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include "module.h"
#include "text_test_util.h"

namespace {

// Entry k of a packed source, and the entry count of its section n.
uint32_t Entry(uint32_t k)
{
    return SectionOffset(1) + 16 * k;
}
uint32_t Count(uint32_t n = 0)
{
    return SectionOffset(n) + 52;
}

void SetText(UiChar *pszField, const char16_t *psz)
{
    UiString str = Ui(psz);
    std::copy(str.c_str(), str.c_str() + str.size() + 1, pszField);
}

// Every record of the table as "[number:]key=text", in table order, with
// non-ASCII characters as '?'.
template <typename Entry>
std::string Row(const Entry &e, const std::string &strNumber = "")
{
    std::string str = strNumber + e.szKey + "=";
    for (const UiChar *p = e.szText; *p; ++p)
        str.push_back(*p < 0x80 ? char(*p) : '?');
    return str;
}

std::vector<std::string> TableRows()
{
    std::vector<std::string> rows;
    for (const UiZoomEntry &e : g_aUiZoomList)
        rows.push_back(Row(e, std::to_string(e.nZoomPercent) + ":"));
    rows.push_back(Row(g_UiWindowTitle));
    for (const UiMenuTextEntry &e : g_aUiZoomMenu)
        rows.push_back(Row(e, std::to_string(e.nCommandId) + ":"));
    for (const UiMenuTextEntry &e : g_aUiHelpMenu)
        rows.push_back(Row(e, std::to_string(e.nCommandId) + ":"));
    for (const UiTextEntry &e : g_aUiImagePosition)
        rows.push_back(Row(e));
    rows.push_back(Row(g_UiClose));
    return rows;
}

class UiLoader : public testing::Test {
protected:
    ~UiLoader() override { RestoreUiTable(m_defaults); }

    void Load(const Bytes &image)
    {
        m_folder.WriteVmd(image);
        LoadUiStrings();
    }
    void Load(const std::string &strSource) { Load(PackSource(strSource)); }

    UiTable m_defaults = SaveUiTable();
    DataFolder m_folder;
};

TEST_F(UiLoader, WithoutTheFileTheBuiltInTextsStand)
{
    LoadUiStrings();
    EXPECT_EQ(TableRows(),
              (std::vector<std::string>{"500:TBD_500=500%",
                                        "200:TBD_200=200%",
                                        "150:TBD_150=150%",
                                        "100:TBD_100=100%",
                                        "75:TBD_75=75%",
                                        "50:TBD_50=50%",
                                        "25:TBD_25=25%",
                                        "10:TBD_10=10%",
                                        "0:=",
                                        "Dlg_CheckFAXCoverSheet=Check On FAX Cover Sheet",
                                        "0:CfcZoom=Zoom",
                                        "40001:Cfcz_ZoomIn=Zoom In",
                                        "40002:Cfcz_ZoomOut=Zoom Out",
                                        "40004:Cfcz_ViewWholePage=View Whole Page",
                                        "40005:Cfcz_ViewWholeWidth=View Whole Width",
                                        "-1:=",
                                        "0:CfcHelp=Help",
                                        "9:Cfch_Help=Help",
                                        "-1:=",
                                        "CfcImagePosition=Image Position",
                                        "CfcImagePositionX=X",
                                        "CfcImagePositionY=Y",
                                        "=",
                                        "CfcClose=Close"}));
}

// Each source against the defaults: the listed texts change, nothing else.
TEST_F(UiLoader, SectionAndKeysMatchIgnoringCaseAndChangeOnlyTheirTexts)
{
    const struct {
        const char *pszSource;
        std::vector<std::pair<UiChar *, const char16_t *>> changes;
    } aCases[] = {
        {"[Dlg_CheckFAXCoverSheet]\nCfcZoom = Zoomen\n", {{g_aUiZoomMenu[0].szText, u"Zoomen"}}},
        {"[DLG_checkfaxcoversheet]\ncfczoom = a\nCFCCLOSE = b\ncfch_HELP = c\ncfcimagepositiony = "
         "d\n",
         {{g_aUiZoomMenu[0].szText, u"a"},
          {g_UiClose.szText, u"b"},
          {g_aUiHelpMenu[1].szText, u"c"},
          {g_aUiImagePosition[2].szText, u"d"}}},
        {"[Dlg_CheckFAXCoverSheet]\nTBD_100 = hundert\nTBD_500 = x\nUnknownKey = y\n",
         {}},  // zoom list: never
        {"[Dlg_Other]\nCfcZoom = no\n[Dlg_CheckFAXCoverSheetX]\nCfcZoom = no\n", {}},
        {"[Dlg_CheckFAXCoverSheet]\nCfcClose =\n", {}},  // an empty text keeps the current one
    };
    for (const auto &c : aCases) {
        for (const auto &change : c.changes)
            SetText(change.first, change.second);
        std::vector<std::string> expected = TableRows();
        RestoreUiTable(m_defaults);
        Load(c.pszSource);
        EXPECT_EQ(TableRows(), expected) << c.pszSource;
        RestoreUiTable(m_defaults);
    }
}

// Built by hand: the packer refuses duplicate keys.
TEST_F(UiLoader, LastNonEmptyDuplicateWins)
{
    Bytes image = PackSource("[Dlg_CheckFAXCoverSheet]\nCfcClose = first\nA = second\nB =\n");
    uint32_t offKeyClose = VmdGetU32(&image[Entry(0)]);
    PutU32(image, Entry(1), offKeyClose);  // A and B both become CfcClose
    PutU32(image, Entry(2), offKeyClose);
    Load(image);
    EXPECT_EQ(UiString(g_UiClose.szText), Ui(u"second"));
}

TEST_F(UiLoader, TextsStayAfterALaterCallWithoutTheFile)
{
    Load("[Dlg_CheckFAXCoverSheet]\nDlg_CheckFAXCoverSheet = Titel\n");
    m_folder.RemoveVmd();
    LoadUiStrings();
    EXPECT_EQ(UiString(g_UiWindowTitle.szText), Ui(u"Titel"));
}

// Built by hand: what the packer refuses. Long texts are cut to the field,
// overlong keys skipped, and a huge count ends.
TEST_F(UiLoader, MalformedEntriesNeitherOverrunNorStall)
{
    Bytes image = PackSource("[Dlg_CheckFAXCoverSheet]\nCfcZoom = z\nCfcClose = c\nCfcHelp = h\n");
    uint32_t offText = AppendText(image, std::u16string(200, u'\x5757'));
    uint32_t offKey = uint32_t(image.size());
    PutBytes(image, offKey, "CfcClose" + std::string(270, ' ') + '\0');
    PutU32(image, Entry(0) + 8, offText);
    PutU32(image, Entry(1), offKey);
    PutU32(image, Count(), 0xFFFFFFFF);
    Load(image);
    EXPECT_EQ(UiString(g_aUiZoomMenu[0].szText), UiString(63, UiChar(0x5757)));
    EXPECT_EQ(UiString(g_UiClose.szText), Ui(u"Close"));
    EXPECT_EQ(UiString(g_aUiHelpMenu[0].szText), Ui(u"h"));
}

// Exactly entry-count passes: a count below the chain's length stops
// early; one above it goes on at offset 0 and reads the header as an entry:
// key at the offset in its reserved field, text at the offset that the
// first section's name spells.
TEST_F(UiLoader, EntryCountGivesThePasses)
{
    Bytes image = PackSource("[Dlg_CheckFAXCoverSheet]\nCfcZoom = z\nCfcClose = c\n");
    PutU32(image, Count(), 1);
    Load(image);
    EXPECT_EQ(UiString(g_aUiZoomMenu[0].szText), Ui(u"z"));
    EXPECT_EQ(UiString(g_UiClose.szText), Ui(u"Close"));

    image = PackSource("[X]\n[Dlg_CheckFAXCoverSheet]\nCfcZoom = z\nCfcClose = c\n");
    PutU32(image, Count(1), 3);
    uint32_t offKey = uint32_t(image.size());
    PutBytes(image, offKey, std::string("CfcHelp\0", 8));
    PutU32(image, 0, offKey);
    PutU32(image, 8, AppendText(image, u"header"));
    Load(image);
    EXPECT_EQ(UiString(g_UiClose.szText), Ui(u"c"));
    EXPECT_EQ(UiString(g_aUiHelpMenu[0].szText), Ui(u"header"));
}

// Entries A and B leading to each other: count passes alternate A, B, A...
// and the last one sets the text, however large the count.
TEST_F(UiLoader, EntryLoopGivesTheTextOfTheLastPass)
{
    Bytes image = PackSource("[Dlg_CheckFAXCoverSheet]\nCfcClose = a\nA = b\n");
    PutU32(image, Entry(1), VmdGetU32(&image[Entry(0)]));  // A becomes CfcClose
    PutU32(image, Entry(1) + 12, Entry(0));
    for (uint32_t nCount : {4u, 5u, 0xFFFFFFFEu, 0xFFFFFFFFu}) {
        PutU32(image, Count(), nCount);
        Load(image);
        EXPECT_EQ(UiString(g_UiClose.szText), Ui(nCount % 2 ? u"a" : u"b")) << nCount;
    }
}

#ifdef VELMORA_JA_VMD
// The packed Japanese file: every key of the table is translated, and all
// three ways of reading give the same table.
TEST_F(UiLoader, JapaneseFileTranslatesEveryTextInEveryReadMode)
{
    std::ifstream in(VELMORA_JA_VMD, std::ios::binary);
    Bytes image{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(image.empty());
    Load(image);
    EXPECT_EQ(UiString(g_UiWindowTitle.szText), Ui(u"FAX 送付状の確認"));
    EXPECT_EQ(UiString(g_aUiZoomMenu[0].szText), Ui(u"ズーム"));
    EXPECT_EQ(UiString(g_UiClose.szText), Ui(u"閉じる"));
    for (const UiMenuTextEntry *p :
         {&g_aUiZoomMenu[1], &g_aUiZoomMenu[4], &g_aUiHelpMenu[0], &g_aUiHelpMenu[1]})
        EXPECT_GT(p->szText[0], 0x3000) << p->szKey;
    UiTable buffered = SaveUiTable();
    for (FileOps mode : {FileOps::FallbackSize, FileOps::FallbackAlloc}) {
        RestoreUiTable(m_defaults);
        ScopedFileOps ops(mode);
        LoadUiStrings();
        EXPECT_TRUE(SaveUiTable() == buffered) << int(mode);
    }
}
#endif

#ifndef _WIN32
// Natively the folder can be made as deep as needed: the file's path must
// fit in 259 units, else the file counts as missing.
TEST_F(UiLoader, FolderTooDeepForThePathMeansNoFile)
{
    TempFolder temp;
    for (size_t cchPath : {260u, 259u}) {
        std::filesystem::path deep = temp.path;
        while (UiPath(deep).size() + 1 + 12 + 100 < cchPath)
            deep /= std::string(90, 'd');
        deep /= std::string(cchPath - UiPath(deep).size() - 1 - 1 - 12, 'e');
        std::filesystem::create_directories(deep);
        UiString strFolder = UiPath(deep) + u"/";
        ASSERT_EQ(strFolder.size() + 12, cchPath);
        ASSERT_TRUE(SetModuleFolder(strFolder.c_str()));
        WriteFile(deep / "VELMORAD.VMD", PackSource("[Dlg_CheckFAXCoverSheet]\nCfcClose = deep\n"));
        LoadUiStrings();
        EXPECT_EQ(UiString(g_UiClose.szText), Ui(cchPath == 260 ? u"Close" : u"deep")) << cchPath;
    }
}
#endif

}  // namespace
