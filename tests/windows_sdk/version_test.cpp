// Every shipped file carries a version resource with the project's version,
// a description and the name it ships under, as installers read it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A build path as Wine sees it: the Unix root is drive Z:.
std::wstring WinePath(const char *pszUnixPath)
{
    std::wstring path = L"Z:";
    for (const char *p = pszUnixPath; *p; ++p)
        path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path;
}

std::wstring StringValue(const std::vector<BYTE> &info, const wchar_t *pszName)
{
    std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + pszName;
    void *pValue = nullptr;
    UINT cch = 0;
    if (!VerQueryValueW(info.data(), query.c_str(), &pValue, &cch) || cch == 0)
        return L"";
    return static_cast<const wchar_t *>(pValue);
}

// The name a file is built (and shipped) under: the last part of its path.
std::wstring FileName(const std::wstring &path)
{
    return path.substr(path.find_last_of(L'\\') + 1);
}

}  // namespace

TEST(VersionResource, EveryShippedFileNamesItsVersionAndItself)
{
    const char *const apszFiles[] = {VELMORAJ_DLL, VELMORAZ_DLL, FCSVIEW_EXE, VELMORAJ_EXE,
                                     VMDTOOL_EXE};
    const DWORD dwMs = MAKELONG(VELMORA_VERSION_MINOR, VELMORA_VERSION_MAJOR);
    const DWORD dwLs = MAKELONG(0, VELMORA_VERSION_PATCH);
    for (const char *pszFile : apszFiles) {
        const std::wstring path = WinePath(pszFile), name = FileName(path);
        SCOPED_TRACE(pszFile);
        DWORD dwHandle = 0;
        std::vector<BYTE> info(GetFileVersionInfoSizeW(path.c_str(), &dwHandle));
        ASSERT_FALSE(info.empty()) << "no version resource";
        ASSERT_TRUE(
            GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));

        VS_FIXEDFILEINFO *pFixed = nullptr;
        UINT cb = 0;
        ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void **>(&pFixed), &cb));
        EXPECT_EQ(VS_FFI_SIGNATURE, pFixed->dwSignature);
        EXPECT_EQ(dwMs, pFixed->dwFileVersionMS);
        EXPECT_EQ(dwLs, pFixed->dwFileVersionLS);
        EXPECT_EQ(dwMs, pFixed->dwProductVersionMS);
        EXPECT_EQ(dwLs, pFixed->dwProductVersionLS);
        EXPECT_EQ(name.find(L".dll") != std::wstring::npos ? DWORD(VFT_DLL) : DWORD(VFT_APP),
                  pFixed->dwFileType);

        // The name the file is built under: a renamed output must rename its resource too.
        EXPECT_EQ(name, StringValue(info, L"OriginalFilename"));
        EXPECT_EQ(VELMORA_VERSION_TEXT, StringValue(info, L"FileVersion"));
        EXPECT_EQ(VELMORA_VERSION_TEXT, StringValue(info, L"ProductVersion"));
        EXPECT_NE(L"", StringValue(info, L"FileDescription"));
    }
}
