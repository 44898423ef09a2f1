// A table of fake help platform calls (helpbind.h) that records every call
// and answers as a FakeHelpWorld says, so tests watch the help launcher and
// the frame's help requests without a viewer appearing. Shared by the
// launcher's tests and the frame's white-box tests.
#ifndef TESTS_DCHKFCS_TEXT_HELP_FAKES_H
#define TESTS_DCHKFCS_TEXT_HELP_FAKES_H

#include <string>
#include <vector>

#include "helpbind.h"

// The control path the fake registry names.
extern const wchar_t kFakeRegisteredControl[];

// One call of a viewer.
struct HelpCall {
    std::string strApi;  // "HtmlHelpW" or "WinHelpW"
    HWND hwnd;
    std::wstring strFile;
    UINT uCommand;
    ULONG_PTR dwData;
};

// What the fakes answer and what they saw. By default an NT 6 system whose
// registered control loads and exports HtmlHelpW at ordinal 15.
struct FakeHelpWorld {
    DWORD dwPlatformId = VER_PLATFORM_WIN32_NT, dwMajor = 6;
    bool fRegistered = true, fRegisteredLoads = true, fNamedLoads = true, fHasOrdinal = true;
    std::vector<std::wstring> queries, loads;
    std::vector<ULONG_PTR> procs;
    std::vector<HelpCall> calls;
};

// The fake table; its calls act on the world of the FakeHelp in force.
extern const HelpPlatform kFakeHelpPlatform;

// The fake HtmlHelpW that ordinal 15 of the fake control gives.
HWND WINAPI FakeHtmlHelpW(HWND hwnd, LPCWSTR pszFile, UINT uCommand, DWORD_PTR dwData);

// Installs the fake table for as long as it lives (one at a time) and puts
// the table in use before it back at the end.
class FakeHelp {
public:
    FakeHelp();
    ~FakeHelp();
    FakeHelp(const FakeHelp &) = delete;
    FakeHelp &operator=(const FakeHelp &) = delete;

    // A fresh world and the fake table again, so the next HTML Help
    // request binds anew.
    void Reset();

    FakeHelpWorld world;

private:
    const HelpPlatform *m_pOld;
};

#endif
