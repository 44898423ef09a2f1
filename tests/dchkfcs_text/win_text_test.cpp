// The Win32 side of the texts on real files under Windows or Wine: sharing
// of the open data file, positioned reads, and the library's folder, also
// when it is too deep for the paths.
#include <gtest/gtest.h>
#include <windows.h>
#include "helplaunch.h"
#include "module.h"
#include "text_test_util.h"

namespace {

HANDLE OpenFor(const UiString &strPath, DWORD dwAccess, DWORD dwShare)
{
    return CreateFileW(strPath.c_str(), dwAccess, dwShare, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Readers are admitted while the file is open, writers are not; a file
// that someone writes is not opened.
TEST(Win32FileLayer, OpenDataFileIsSharedForReadingOnly)
{
    TempFolder temp;
    Bytes image = PackSource("[S]\nk = v\n");
    UiString strPath = UiPath(temp.Write("a.vmd", image));
    VmdFile *pFile = VmdOpen(strPath.c_str());
    ASSERT_NE(pFile, nullptr);
    EXPECT_NE(pFile->pbData, nullptr);
    EXPECT_EQ(pFile->cbData, image.size());
    HANDLE hRead = OpenFor(strPath, GENERIC_READ, FILE_SHARE_READ);
    EXPECT_NE(hRead, INVALID_HANDLE_VALUE);
    CloseHandle(hRead);
    EXPECT_EQ(OpenFor(strPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
    VmdClose(pFile);

    HANDLE hWrite = OpenFor(strPath, GENERIC_WRITE, FILE_SHARE_READ);
    ASSERT_NE(hWrite, INVALID_HANDLE_VALUE);
    EXPECT_EQ(VmdOpen(strPath.c_str()), nullptr);
    CloseHandle(hWrite);
}

// Positions of 2 GiB and more are unsigned: far past the end, not an error.
TEST(Win32FileLayer, FallbackReadsFarPastTheEndDeliverNothing)
{
    TempFolder temp;
    UiString strPath = UiPath(temp.Write("a.vmd", PackSource("[S]\nk = v\n")));
    ScopedFileOps ops(FileOps::FallbackSize);
    VmdFile *pFile = VmdOpen(strPath.c_str());
    ASSERT_NE(pFile, nullptr);
    ASSERT_EQ(pFile->pbData, nullptr);
    uint8_t buf[16];
    EXPECT_EQ(VmdReadAt(pFile, buf, 16, 0x80000010u), 0);
    EXPECT_EQ(VmdReadAt(pFile, buf, 16, 0xFFFFFFF0u), 0);
    EXPECT_EQ(VmdReadAt(pFile, buf, 4, 4), 4);
    EXPECT_EQ(VmdGetU32(buf), 72u);
    EXPECT_EQ(VmdFindSection(pFile, "s"), 8u);
    VmdClose(pFile);
}

// The probe library, copied into a folder of 246 units and loaded as the
// preview's module, leaves room for the 12-unit file names and the
// terminator; one unit more and the help path is empty and the data file
// counts as missing.
TEST(DeepFolder, PathsThatDoNotFitAreEmptyOrMissing)
{
    UiChar szProgram[MAX_PATH];
    ASSERT_TRUE(GetModuleFolder(szProgram, MAX_PATH));
    UiTable defaults = SaveUiTable();
    HINSTANCE hOld = g_hInstance;
    for (size_t cchFolder : {247u, 246u}) {
        TempFolder temp;
        std::filesystem::path folder = temp.path;
        while (folder.wstring().size() + 101 < cchFolder)
            folder /= std::wstring(100, L'd');
        folder /= std::wstring(cchFolder - folder.wstring().size() - 1, L'e');
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(std::wstring(szProgram) + L"probe.dll", folder / L"p.dll");
        std::wstring strFolder = folder.wstring() + L"\\";
        ASSERT_EQ(strFolder.size(), cchFolder + 1);
        WriteFile(folder / L"VELMORAD.VMD",
                  PackSource("[Dlg_CheckFAXCoverSheet]\nCfcClose = deep\n"));
        g_hInstance = LoadLibraryW((strFolder + L"p.dll").c_str());
        ASSERT_NE(g_hInstance, nullptr) << cchFolder;
        WCHAR szHelp[MAX_PATH];
        GetHelpFilePath(szHelp, MAX_PATH);
        LoadUiStrings();
        FreeLibrary(g_hInstance);
        g_hInstance = hOld;
        bool fFits = cchFolder == 246;
        EXPECT_EQ(std::wstring(szHelp), fFits ? strFolder + L"VELMORA_.CHM" : L"") << cchFolder;
        EXPECT_EQ(std::wstring(g_UiClose.szText), fFits ? L"deep" : L"Close") << cchFolder;
    }
    RestoreUiTable(defaults);
}

}  // namespace
