#include "importcount.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

namespace {

struct LiveObject {
    const char *pszKind;
    int nRefs;  // a cached DC may be handed out again before it is released
};

// What the wrappers saw; plain data because the wrappers are plain routines.
struct Tally {
    std::map<std::string, ObjectCount> counts;
    std::map<UINT_PTR, LiveObject> live;
    std::map<HDC, std::vector<int>> savedStates;       // SaveDC levels per DC
    std::map<HDC, std::map<DWORD, HGDIOBJ>> selected;  // objects selected into each DC, by type
};
Tally *s_pTally;

const char KIND_WINDOW[] = "window", KIND_PEN[] = "pen", KIND_DC[] = "device context (GetDC)",
           KIND_PAINT_DC[] = "device context (BeginPaint)", KIND_STATE[] = "saved DC state",
           KIND_ACCEL[] = "accelerator table";

void Created(const char *pszKind, const void *h)
{
    if (!h)
        return;
    ++s_pTally->counts[pszKind].nCreated;
    LiveObject &object = s_pTally->live[reinterpret_cast<UINT_PTR>(h)];
    if (object.nRefs > 0 && object.pszKind == KIND_WINDOW)
        ++s_pTally->counts[KIND_WINDOW].nReleased;  // a handle value reused: its window is gone
    else
        ++object.nRefs;
    object.pszKind = pszKind;
}

void Released(const void *h)
{
    auto it = s_pTally->live.find(reinterpret_cast<UINT_PTR>(h));
    if (it == s_pTally->live.end())
        return;
    ++s_pTally->counts[it->second.pszKind].nReleased;
    if (--it->second.nRefs == 0)
        s_pTally->live.erase(it);
}

bool IsSelected(HGDIOBJ h)
{
    for (const auto &dc : s_pTally->selected)
        for (const auto &object : dc.second)
            if (object.second == h)
                return true;
    return false;
}

// ---- the wrappers: each calls the original and counts ---------------------

decltype(&CreateWindowExW) s_CreateWindowExW;
decltype(&CreateDialogParamW) s_CreateDialogParamW;
decltype(&CreateToolbarEx) s_CreateToolbarEx;
decltype(&DestroyWindow) s_DestroyWindow;
decltype(&CreatePen) s_CreatePen;
decltype(&DeleteObject) s_DeleteObject;
decltype(&SelectObject) s_SelectObject;
decltype(&GetDC) s_GetDC;
decltype(&ReleaseDC) s_ReleaseDC;
decltype(&BeginPaint) s_BeginPaint;
decltype(&EndPaint) s_EndPaint;
decltype(&SaveDC) s_SaveDC;
decltype(&RestoreDC) s_RestoreDC;
decltype(&LoadAcceleratorsW) s_LoadAcceleratorsW;
decltype(&DestroyAcceleratorTable) s_DestroyAcceleratorTable;

// Wrappers of imports that return a new object, and of imports that
// release their one argument; one instance per import.
template <typename Fn, Fn *ppfnOriginal, const char *pszKind>
struct Creator;
template <typename R, typename... A, R(WINAPI **ppfnOriginal)(A...), const char *pszKind>
struct Creator<R(WINAPI *)(A...), ppfnOriginal, pszKind> {
    static R WINAPI Call(A... args)
    {
        R result = (*ppfnOriginal)(args...);
        Created(pszKind, result);
        return result;
    }
};

template <typename Fn, Fn *ppfnOriginal>
struct Releaser;
template <typename H, BOOL(WINAPI **ppfnOriginal)(H)>
struct Releaser<BOOL(WINAPI *)(H), ppfnOriginal> {
    static BOOL WINAPI Call(H h)
    {
        BOOL bOk = (*ppfnOriginal)(h);
        if (bOk)
            Released(h);
        return bOk;
    }
};

// An object still selected into a DC cannot be deleted on Windows (Wine
// only defers it): that counts as not released.
BOOL WINAPI CountDeleteObject(HGDIOBJ h)
{
    bool bSelected = IsSelected(h);
    BOOL bOk = s_DeleteObject(h);
    if (bOk && !bSelected)
        Released(h);
    return bOk;
}

HGDIOBJ WINAPI CountSelectObject(HDC hdc, HGDIOBJ h)
{
    HGDIOBJ hOld = s_SelectObject(hdc, h);
    if (hOld)
        s_pTally->selected[hdc][GetObjectType(h)] = h;
    return hOld;
}

int WINAPI CountReleaseDC(HWND hwnd, HDC hdc)
{
    int nOk = s_ReleaseDC(hwnd, hdc);
    if (nOk) {
        Released(hdc);
        s_pTally->selected.erase(hdc);
    }
    return nOk;
}

BOOL WINAPI CountEndPaint(HWND hwnd, const PAINTSTRUCT *pps)
{
    HDC hdc = pps->hdc;
    BOOL bOk = s_EndPaint(hwnd, pps);
    if (bOk) {
        Released(hdc);
        s_pTally->selected.erase(hdc);
    }
    return bOk;
}

int WINAPI CountSaveDC(HDC hdc)
{
    int nLevel = s_SaveDC(hdc);
    if (nLevel) {
        s_pTally->savedStates[hdc].push_back(nLevel);
        ++s_pTally->counts[KIND_STATE].nCreated;
    }
    return nLevel;
}

// RestoreDC(hdc, n) drops every state from level n up; n < 0 the last -n.
BOOL WINAPI CountRestoreDC(HDC hdc, int nLevel)
{
    BOOL bOk = s_RestoreDC(hdc, nLevel);
    std::vector<int> &levels = s_pTally->savedStates[hdc];
    while (bOk && !levels.empty() && (nLevel < 0 ? nLevel++ < 0 : levels.back() >= nLevel)) {
        levels.pop_back();
        ++s_pTally->counts[KIND_STATE].nReleased;
    }
    return bOk;
}

struct Wrapper {
    const char *pszName;
    void *pfnWrapper;
    void **ppfnOriginal;
};

#define WRAP(name)                                                                                 \
    {                                                                                              \
#name, reinterpret_cast < void *>(Count##name), reinterpret_cast < void **>(&s_##name)     \
    }
#define ORIGINAL(name) decltype(s_##name), &s_##name
#define CREATOR(name, kind)                                                                        \
    {                                                                                              \
#name, reinterpret_cast < void *>(&Creator <ORIGINAL(name), kind>::Call),                  \
            reinterpret_cast < void **>(&s_##name)                                                 \
    }
#define RELEASER(name)                                                                             \
    {                                                                                              \
#name, reinterpret_cast < void *>(&Releaser <ORIGINAL(name)>::Call),                       \
            reinterpret_cast < void **>(&s_##name)                                                 \
    }
const Wrapper s_aWrappers[] = {
    CREATOR(CreateWindowExW, KIND_WINDOW),
    CREATOR(CreateDialogParamW, KIND_WINDOW),
    CREATOR(CreateToolbarEx, KIND_WINDOW),
    RELEASER(DestroyWindow),
    CREATOR(CreatePen, KIND_PEN),
    WRAP(DeleteObject),
    WRAP(SelectObject),
    CREATOR(GetDC, KIND_DC),
    WRAP(ReleaseDC),
    CREATOR(BeginPaint, KIND_PAINT_DC),
    WRAP(EndPaint),
    WRAP(SaveDC),
    WRAP(RestoreDC),
    CREATOR(LoadAcceleratorsW, KIND_ACCEL),
    RELEASER(DestroyAcceleratorTable),
};
#undef RELEASER
#undef CREATOR
#undef ORIGINAL
#undef WRAP

// Imports that hand out shared or system objects, which nobody releases:
// resource icons and cursors, stock objects and system colour brushes, the
// frame's own menu (destroyed with the frame), and window classes, which are
// registered on every call and stay registered by design.
const char *const s_apszShared[] = {"LoadIconW",        "LoadCursorW", "GetStockObject",
                                    "GetSysColorBrush", "GetMenu",     "GetSubMenu",
                                    "RegisterClassW"};

bool LooksCreating(const char *pszName)
{
    for (const char *pszPrefix : {"Create", "Load", "Copy", "ImageList_", "Register", "SetTimer",
                                  "SetWindowsHook", "BeginPaint", "SaveDC"})
        if (strncmp(pszName, pszPrefix, strlen(pszPrefix)) == 0)
            return true;
    for (const char *psz : {"GetDC", "GetDCEx", "GetWindowDC", "GetStockObject", "GetSysColorBrush",
                            "GetMenu", "GetSubMenu", "GetSystemMenu"})
        if (strcmp(pszName, psz) == 0)
            return true;
    return false;
}

bool IsUiLibrary(const char *pszDll)
{
    for (const char *psz : {"user32.dll", "gdi32.dll", "comctl32.dll"})
        if (_stricmp(pszDll, psz) == 0)
            return true;
    return false;
}

template <typename T>
T *At(HMODULE hModule, DWORD rva)
{
    return reinterpret_cast<T *>(reinterpret_cast<BYTE *>(hModule) + rva);
}

}  // namespace

void ImportCounter::Redirect(void **ppSlot, void *pTarget)
{
    DWORD dwOld = 0;
    VirtualProtect(ppSlot, sizeof(void *), PAGE_READWRITE, &dwOld);
    *ppSlot = pTarget;
    VirtualProtect(ppSlot, sizeof(void *), dwOld, &dwOld);
}

ImportCounter::ImportCounter(HMODULE hModule) : m_hModule(hModule)
{
    s_pTally = new Tally;
    const IMAGE_NT_HEADERS *pNt =
        At<IMAGE_NT_HEADERS>(hModule, At<IMAGE_DOS_HEADER>(hModule, 0)->e_lfanew);
    const IMAGE_DATA_DIRECTORY &dir =
        pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto *pImport = At<IMAGE_IMPORT_DESCRIPTOR>(hModule, dir.VirtualAddress); pImport->Name;
         ++pImport) {
        const char *pszDll = At<char>(hModule, pImport->Name);
        auto *pName = At<IMAGE_THUNK_DATA>(hModule, pImport->OriginalFirstThunk);
        auto *pSlot = At<IMAGE_THUNK_DATA>(hModule, pImport->FirstThunk);
        for (; pName->u1.AddressOfData; ++pName, ++pSlot) {
            if (IMAGE_SNAP_BY_ORDINAL(pName->u1.Ordinal))
                continue;
            const char *pszName =
                At<IMAGE_IMPORT_BY_NAME>(hModule, DWORD(pName->u1.AddressOfData))->Name;
            void **ppSlot = reinterpret_cast<void **>(&pSlot->u1.Function);
            bool bCounted = false;
            for (const Wrapper &w : s_aWrappers) {
                if (strcmp(pszName, w.pszName) == 0) {
                    *w.ppfnOriginal = *ppSlot;
                    m_patches.push_back({ppSlot, *ppSlot});
                    Redirect(ppSlot, w.pfnWrapper);
                    bCounted = true;
                }
            }
            bool bShared = false;
            for (const char *psz : s_apszShared)
                bShared |= strcmp(pszName, psz) == 0;
            if (IsUiLibrary(pszDll) && LooksCreating(pszName) && !bCounted && !bShared)
                m_uncounted.push_back(pszName);
        }
    }
}

ImportCounter::~ImportCounter()
{
    for (const Patch &p : m_patches)
        Redirect(p.ppSlot, p.pOriginal);
    delete s_pTally;
    s_pTally = nullptr;
}

std::map<std::string, ObjectCount> ImportCounter::Counts()
{
    for (auto it = s_pTally->live.begin(); it != s_pTally->live.end();) {
        bool bGoneWithParent =
            it->second.pszKind == KIND_WINDOW && !IsWindow(reinterpret_cast<HWND>(it->first));
        if (bGoneWithParent)
            ++s_pTally->counts[KIND_WINDOW].nReleased;
        it = bGoneWithParent ? s_pTally->live.erase(it) : std::next(it);
    }
    return s_pTally->counts;
}

std::vector<std::string> ImportCounter::Live()
{
    Counts();
    std::vector<std::string> live;
    char sz[64];
    for (const auto &object : s_pTally->live) {
        snprintf(sz, sizeof sz, " %#llx", static_cast<unsigned long long>(object.first));
        live.push_back(object.second.pszKind + std::string(sz));
    }
    for (const auto &dc : s_pTally->savedStates)
        for (int nLevel : dc.second)
            live.push_back(std::string(KIND_STATE) + " " + std::to_string(nLevel));
    return live;
}
