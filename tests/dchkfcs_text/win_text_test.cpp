// The Win32 side of the texts on real files under Windows or Wine: sharing
// of the open data file, positioned reads, the module folder and DllMain.
#include <gtest/gtest.h>
#include <fstream>
#include <windows.h>
#include "helplaunch.h"
#include "module.h"
#include "text_test_util.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID pReserved);

namespace {

HANDLE OpenForWriting(const UiString &strPath, DWORD dwShare)
{
    return CreateFileW(strPath.c_str(), GENERIC_WRITE, dwShare, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

TEST(Win32FileLayer, OpenDataFileAdmitsReadersButNoWriters)
{
    TempFolder temp;
    std::vector<uint8_t> image = PackSource("[S]\nk = v\n");
    UiString strPath = UiPath(temp.Write("a.vmd", image));
    VmdFile *pFile = VmdOpen(strPath.c_str());
    ASSERT_NE(pFile, nullptr);
    EXPECT_NE(pFile->pbData, nullptr);
    EXPECT_EQ(pFile->cbData, image.size());

    HANDLE hRead = CreateFileW(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(hRead, INVALID_HANDLE_VALUE);
    CloseHandle(hRead);
    HANDLE hWrite = OpenForWriting(strPath, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_EQ(hWrite, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));

    VmdClose(pFile);
    hWrite = OpenForWriting(strPath, 0);
    EXPECT_NE(hWrite, INVALID_HANDLE_VALUE);
    CloseHandle(hWrite);
}

TEST(Win32FileLayer, FileThatSomeoneWritesIsNotOpened)
{
    TempFolder temp;
    UiString strPath = UiPath(temp.Write("a.vmd", PackSource("[S]\n")));
    HANDLE hWrite = OpenForWriting(strPath, FILE_SHARE_READ);
    ASSERT_NE(hWrite, INVALID_HANDLE_VALUE);
    EXPECT_EQ(VmdOpen(strPath.c_str()), nullptr);
    CloseHandle(hWrite);
}

// Positions of 2 GiB and more are unsigned: far past the end, not an error.
TEST(Win32FileLayer, FallbackReadsFarPastTheEndDeliverNothing)
{
    TempFolder temp;
    UiString strPath = UiPath(temp.Write("a.vmd", PackSource("[S]\nk = v\n")));
    ScopedFileOps ops(ReadMode::FallbackSize);
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

// In a program g_hInstance stays null: the folder is the program's own.
TEST(ModuleFolder, IsTheFolderOfTheModuleFileWithItsSeparator)
{
    WCHAR szExe[MAX_PATH];
    DWORD cch = GetModuleFileNameW(nullptr, szExe, MAX_PATH);
    ASSERT_GT(cch, 0u);
    std::wstring strExe(szExe, cch);
    std::wstring strFolder = strExe.substr(0, strExe.find_last_of(L"\\/") + 1);
    UiChar szFolder[MAX_PATH];
    ASSERT_TRUE(GetModuleFolder(szFolder, MAX_PATH));
    EXPECT_EQ(std::wstring(szFolder), strFolder);
    szFolder[0] = L'#';
    EXPECT_FALSE(GetModuleFolder(szFolder, strFolder.size()));  // no room for the terminator
    EXPECT_TRUE(GetModuleFolder(szFolder, strFolder.size() + 1));
}

TEST(DllMainEntry, RecordsTheInstanceAtProcessAttachOnly)
{
    HINSTANCE hOld = g_hInstance;
    HINSTANCE hFake = reinterpret_cast<HINSTANCE>(0x10000);
    EXPECT_TRUE(DllMain(hFake, DLL_THREAD_ATTACH, nullptr));
    EXPECT_EQ(g_hInstance, hOld);
    EXPECT_TRUE(DllMain(hFake, DLL_PROCESS_ATTACH, nullptr));
    EXPECT_EQ(g_hInstance, hFake);
    EXPECT_TRUE(DllMain(reinterpret_cast<HINSTANCE>(0x20000), DLL_PROCESS_DETACH, nullptr));
    EXPECT_EQ(g_hInstance, hFake);
    g_hInstance = hOld;
}

}  // namespace

namespace {

// The probe library copied into a folder of cchFolder units and loaded as
// the preview's module.
class DeepModule {
public:
    DeepModule(const TempFolder &temp, size_t cchFolder)
    {
        std::filesystem::path folder = temp.Path();
        while (folder.wstring().size() + 101 < cchFolder)
            folder /= std::wstring(100, L'd');
        folder /= std::wstring(cchFolder - folder.wstring().size() - 1, L'e');
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(ModuleFolderOfProgram() + L"probe.dll", folder / L"p.dll");
        m_strFolder = folder.wstring() + L"\\";
        m_hModule = LoadLibraryW((m_strFolder + L"p.dll").c_str());
        m_hOld = g_hInstance;
        g_hInstance = m_hModule;
    }
    ~DeepModule()
    {
        g_hInstance = m_hOld;
        FreeLibrary(m_hModule);
    }
    HMODULE Module() const { return m_hModule; }
    const std::wstring &Folder() const { return m_strFolder; }

private:
    static std::wstring ModuleFolderOfProgram()
    {
        UiChar szFolder[MAX_PATH];
        return GetModuleFolder(szFolder, MAX_PATH) ? szFolder : L"";
    }
    std::wstring m_strFolder;
    HMODULE m_hModule;
    HINSTANCE m_hOld;
};

// A folder of 246 units and its separator leave room for the 12-unit file
// names and the terminator; one more unit and the help path is empty and
// the data file counts as missing.
TEST(DeepFolder, PathsThatDoNotFitAreEmptyOrMissing)
{
    UiTableSnapshot defaults;
    for (size_t cchFolder : {247u, 246u}) {
        TempFolder temp;
        DeepModule module(temp, cchFolder);
        ASSERT_NE(module.Module(), nullptr) << cchFolder;
        ASSERT_EQ(module.Folder().size(), cchFolder + 1);
        std::vector<uint8_t> image = PackSource("[Dlg_CheckFAXCoverSheet]\nCfcClose = deep\n");
        std::ofstream(std::filesystem::path(module.Folder() + L"VELMORAD.VMD"), std::ios::binary)
            .write(reinterpret_cast<const char *>(image.data()), std::streamsize(image.size()));
        WCHAR szHelp[MAX_PATH];
        GetHelpFilePath(szHelp, MAX_PATH);
        LoadUiStrings();
        bool fFits = cchFolder == 246;
        EXPECT_EQ(std::wstring(szHelp), fFits ? module.Folder() + L"VELMORA_.CHM" : L"") << cchFolder;
        EXPECT_EQ(std::wstring(g_UiClose.szText), fFits ? L"deep" : L"Close") << cchFolder;
    }
}

}  // namespace
