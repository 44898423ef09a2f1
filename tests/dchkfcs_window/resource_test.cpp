// The templates inside the built library, read back with the platform's
// resource functions: all filed under Japanese (Japan), the toolbar strip,
// the icon, the menu, the dialog-bar panel, the accelerators and the toolbar
// layout as resource tools write it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <cwctype>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "previewhost.h"

namespace {

const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN);  // 0x0411
enum { IDB_STRIP = 101, IDR_MENU = 102, IDD_PANEL = 103, IDR_KEYS = 104, IDI_SHEET = 105 };
enum { RT_TOOLBAR_DATA = 241, IDR_LAYOUT = 101 };

// Little-endian fields of a resource, in order; reading past the end gives
// zeros and clears ok.
struct Reader {
    const BYTE *p, *pBase, *pEnd;
    bool ok = true;

    explicit Reader(const std::vector<BYTE> &bytes)
        : p(bytes.data()), pBase(bytes.data()), pEnd(bytes.data() + bytes.size())
    {
    }
    WORD Word()
    {
        WORD w = 0;
        if (pEnd - p < 2)
            ok = false;
        else
            memcpy(&w, p, 2);
        p += 2;
        return w;
    }
    DWORD Dword()
    {
        const DWORD lo = Word();
        return lo | static_cast<DWORD>(Word()) << 16;
    }
    std::wstring String()
    {
        std::wstring text;
        for (WORD c = Word(); c != 0 && ok; c = Word())
            text += static_cast<wchar_t>(c);
        return text;
    }
    // A name or an ordinal (0xFFFF, then the number) as "#number".
    std::wstring NameOrOrdinal()
    {
        if (pEnd - p >= 2 && p[0] == 0xFF && p[1] == 0xFF) {
            Word();
            return L"#" + std::to_wstring(Word());
        }
        return String();
    }
    // Four signed 16-bit values as "x,y,cx,cy".
    std::wstring Rect()
    {
        std::wstring text;
        for (int i = 0; i < 4; ++i)
            text += (i ? L"," : L"") + std::to_wstring(static_cast<SHORT>(Word()));
        return text;
    }
    void AlignDword()
    {
        while ((p - pBase) % 4)
            ++p;
    }
};

class ResourceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(lib.Load()) << "cannot load a copy of VELMORAZ.dll"; }

    std::vector<BYTE> Bytes(LPCWSTR pszType, WORD id) const
    {
        HRSRC hResource = FindResourceExW(lib.hModule, pszType, MAKEINTRESOURCEW(id), kJapanese);
        if (!hResource)
            return {};
        const BYTE *p =
            static_cast<const BYTE *>(LockResource(LoadResource(lib.hModule, hResource)));
        return std::vector<BYTE>(p, p + SizeofResource(lib.hModule, hResource));
    }

    PreviewLibrary lib;
};

// ---- every resource and its language --------------------------------------

typedef std::tuple<ULONG_PTR, ULONG_PTR, WORD> ResourceKey;  // type, number, language

// Names are numbers here; a named resource shows as ~0.
ULONG_PTR Number(LPCWSTR psz)
{
    return IS_INTRESOURCE(psz) ? reinterpret_cast<ULONG_PTR>(psz) : ~ULONG_PTR(0);
}

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR pszType, LPCWSTR pszName, WORD wLanguage,
                          LONG_PTR lParam)
{
    reinterpret_cast<std::set<ResourceKey> *>(lParam)->insert(
        ResourceKey(Number(pszType), Number(pszName), wLanguage));
    return TRUE;
}

BOOL CALLBACK AddName(HMODULE hModule, LPCWSTR pszType, LPWSTR pszName, LONG_PTR lParam)
{
    EnumResourceLanguagesW(hModule, pszType, pszName, AddLanguage, lParam);
    return TRUE;
}

BOOL CALLBACK AddType(HMODULE hModule, LPWSTR pszType, LONG_PTR lParam)
{
    EnumResourceNamesW(hModule, pszType, AddName, lParam);
    return TRUE;
}

// The images of icon group 105, as its directory lists them.
struct IconEntry {
    BYTE bWidth, bHeight, bColorCount;
    WORD wBitCount;
    DWORD dwBytesInRes;
    WORD nId;
};

std::vector<IconEntry> IconGroup(const std::vector<BYTE> &group)
{
    Reader r(group);
    const WORD wReserved = r.Word(), wType = r.Word(), wCount = r.Word();
    EXPECT_EQ(0, wReserved);
    EXPECT_EQ(1, wType);  // icons, not cursors
    std::vector<IconEntry> entries(wCount);
    for (IconEntry &e : entries) {
        const WORD wSize = r.Word(), wColours = r.Word();
        e.bWidth = LOBYTE(wSize);
        e.bHeight = HIBYTE(wSize);
        e.bColorCount = LOBYTE(wColours);
        r.Word();  // planes
        e.wBitCount = r.Word();
        e.dwBytesInRes = r.Dword();
        e.nId = r.Word();
    }
    EXPECT_TRUE(r.ok && r.p == r.pEnd) << "directory of " << group.size() << " bytes";
    return entries;
}

TEST_F(ResourceTest, EveryTemplateIsFiledUnderJapaneseAndNothingElseIsThere)
{
    std::set<ResourceKey> found;
    EnumResourceTypesW(lib.hModule, AddType, reinterpret_cast<LONG_PTR>(&found));
    std::set<ResourceKey> expected = {
        ResourceKey(Number(RT_BITMAP), IDB_STRIP, kJapanese),
        ResourceKey(Number(RT_MENU), IDR_MENU, kJapanese),
        ResourceKey(Number(RT_DIALOG), IDD_PANEL, kJapanese),
        ResourceKey(Number(RT_ACCELERATOR), IDR_KEYS, kJapanese),
        ResourceKey(Number(RT_GROUP_ICON), IDI_SHEET, kJapanese),
        ResourceKey(RT_TOOLBAR_DATA, IDR_LAYOUT, kJapanese),
        ResourceKey(Number(RT_VERSION), 1, kJapanese),
    };
    for (const IconEntry &e : IconGroup(Bytes(RT_GROUP_ICON, IDI_SHEET)))
        expected.insert(ResourceKey(Number(RT_ICON), e.nId, kJapanese));
    EXPECT_EQ(expected, found);
}

// ---- bitmap 101: the toolbar strip ------------------------------------------

enum { CELL = 20, CELLS = 5, STRIP_STRIDE = 52 };  // 100 pixels at 4 bits, in DWORDs

COLORREF StripPixel(const std::vector<BYTE> &strip, int x, int y)
{
    const BYTE *pPalette = strip.data() + sizeof(BITMAPINFOHEADER);
    const BYTE *pRow =
        pPalette + 16 * sizeof(RGBQUAD) + (CELL - 1 - y) * STRIP_STRIDE;  // bottom-up
    const int index = x % 2 ? pRow[x / 2] & 0x0F : pRow[x / 2] >> 4;
    const BYTE *pEntry = pPalette + index * sizeof(RGBQUAD);  // blue, green, red
    return RGB(pEntry[2], pEntry[1], pEntry[0]);
}

TEST_F(ResourceTest, ToolbarStripHoldsFourPicturesOnRedAndOneGreyCell)
{
    const std::vector<BYTE> strip = Bytes(RT_BITMAP, IDB_STRIP);
    BITMAPINFOHEADER header = {};
    ASSERT_GE(strip.size(), sizeof(header));
    memcpy(&header, strip.data(), sizeof(header));
    EXPECT_EQ(CELLS * CELL, header.biWidth);
    ASSERT_EQ(CELL, header.biHeight);  // bottom-up
    ASSERT_EQ(4, header.biBitCount);
    ASSERT_EQ(static_cast<DWORD>(BI_RGB), header.biCompression);
    ASSERT_TRUE(header.biClrUsed == 0 || header.biClrUsed == 16) << header.biClrUsed;
    ASSERT_GE(strip.size(), sizeof(header) + 16 * sizeof(RGBQUAD) + CELL * STRIP_STRIDE);

    const COLORREF kRed = RGB(255, 0, 0), kLightGrey = RGB(192, 192, 192);
    for (int cell = 0; cell < CELLS; ++cell) {
        int nRing = 0, nRedRing = 0, nInside = 0, nRedInside = 0, nGrey = 0;
        for (int y = 0; y < CELL; ++y) {
            for (int x = 0; x < CELL; ++x) {
                const COLORREF c = StripPixel(strip, cell * CELL + x, y);
                const bool bRing = x == 0 || y == 0 || x == CELL - 1 || y == CELL - 1;
                (bRing ? nRing : nInside)++;
                (bRing ? nRedRing : nRedInside) += c == kRed;
                nGrey += c == kLightGrey;
            }
        }
        if (cell < CELLS - 1) {
            EXPECT_EQ(nRing, nRedRing) << "cell " << cell << ": the background is pure red";
            EXPECT_LT(nRedInside, nInside) << "cell " << cell << ": a picture on it";
        } else {
            EXPECT_EQ(CELL * CELL, nGrey) << "the last cell is blank light grey";
        }
    }
}

// ---- icon group 105 -------------------------------------------------------

TEST_F(ResourceTest, IconHolds32And16PixelImagesIn16ColoursWithMasks)
{
    std::set<int> sizes;
    for (const IconEntry &e : IconGroup(Bytes(RT_GROUP_ICON, IDI_SHEET))) {
        const int n = e.bWidth;
        SCOPED_TRACE(n);
        sizes.insert(n);
        EXPECT_EQ(n, e.bHeight);
        EXPECT_EQ(16, e.bColorCount);
        EXPECT_EQ(4, e.wBitCount);
        const std::vector<BYTE> image = Bytes(RT_ICON, e.nId);
        EXPECT_EQ(e.dwBytesInRes, image.size());
        BITMAPINFOHEADER header = {};
        ASSERT_GE(image.size(), sizeof(header));
        memcpy(&header, image.data(), sizeof(header));
        EXPECT_EQ(n, header.biWidth);
        EXPECT_EQ(2 * n, header.biHeight);  // colour rows, then mask rows
        ASSERT_EQ(4, header.biBitCount);
        EXPECT_EQ(static_cast<DWORD>(BI_RGB), header.biCompression);
        // 16 palette entries, 4-bit colour rows and 1-bit mask rows, each row in DWORDs.
        const size_t cbColour = (n * 4 + 31) / 32 * 4 * n, cbMaskRow = (n + 31) / 32 * 4;
        const size_t cbHead = sizeof(header) + 16 * sizeof(RGBQUAD);
        ASSERT_EQ(cbHead + cbColour + cbMaskRow * n, image.size());
        // The mask is drawn: some pixels transparent, most of them not.
        int nTransparent = 0;
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x)
                nTransparent +=
                    (image[cbHead + cbColour + y * cbMaskRow + x / 8] >> (7 - x % 8)) & 1;
        EXPECT_GT(nTransparent, 0);
        EXPECT_LT(nTransparent, n * n / 2);
    }
    EXPECT_EQ(std::set<int>({16, 32}), sizes);
}

// ---- menu 102 and dialog 103 --------------------------------------------

// Menu items as "text=id", a popup as "text:" up to its ";".
void ReadMenuItems(Reader &r, std::vector<std::wstring> &items)
{
    for (;;) {
        const WORD wFlags = r.Word();
        const WORD wId = wFlags & MF_POPUP ? 0 : r.Word();
        const std::wstring text = r.String();
        if (!r.ok)
            return;
        if (wFlags & MF_POPUP) {
            items.push_back(text + L":");
            ReadMenuItems(r, items);
            items.push_back(L";");
        } else {
            items.push_back(text + L"=" + std::to_wstring(wId));
        }
        if (wFlags & MF_END)
            return;
    }
}

TEST_F(ResourceTest, MenuHoldsZoomAndHelpWithTheirCommands)
{
    const std::vector<BYTE> menu = Bytes(RT_MENU, IDR_MENU);
    Reader r(menu);
    EXPECT_EQ(0u, r.Dword());  // the classic form: version 0, no header extension
    std::vector<std::wstring> items;
    ReadMenuItems(r, items);
    EXPECT_TRUE(r.ok && r.p == r.pEnd);
    const std::vector<std::wstring> expected = {L"Zoom:",
                                                L"Zoom In=40001",
                                                L"Zoom Out=40002",
                                                L"=0",
                                                L"View Whole Page=40004",
                                                L"View Whole Width=40005",
                                                L";",
                                                L"Help:",
                                                L"Help=9",
                                                L";"};
    EXPECT_EQ(expected, items);
}

// A dialog item as "id class "text" x,y,cx,cy style/extended style".
std::wstring Item(int id, const std::wstring &cls, const std::wstring &text,
                  const std::wstring &rect, DWORD dwStyle, DWORD dwExStyle = 0)
{
    WCHAR szStyle[32];
    wsprintfW(szStyle, L"%08X/%X", dwStyle, dwExStyle);
    return std::to_wstring(id) + L" " + cls + L" \"" + text + L"\" " + rect + L" " + szStyle;
}

// The next item of a dialog template, its class by name.
std::wstring ReadDialogItem(Reader &r)
{
    r.AlignDword();
    const DWORD dwStyle = r.Dword(), dwExStyle = r.Dword();
    const std::wstring rect = r.Rect();
    const WORD wId = r.Word();
    std::wstring cls = r.NameOrOrdinal();
    if (cls == L"#128")
        cls = L"button";
    if (cls == L"#130")
        cls = L"static";
    for (wchar_t &c : cls)
        c = towlower(c);
    const std::wstring text = r.NameOrOrdinal();
    r.p += r.Word();  // creation data
    return Item(wId, cls, text, rect, dwStyle, dwExStyle);
}

TEST_F(ResourceTest, PanelIsAClassicChildDialogWithItsThreeControls)
{
    const std::vector<BYTE> panel = Bytes(RT_DIALOG, IDD_PANEL);
    Reader r(panel);
    const DWORD dwStyle = r.Dword();
    ASSERT_NE(0xFFFF0001u, dwStyle) << "an extended template";
    EXPECT_EQ(static_cast<DWORD>(WS_CHILD | DS_SETFONT), dwStyle);
    EXPECT_EQ(0u, r.Dword());  // extended style
    const WORD cItems = r.Word();
    EXPECT_EQ(L"0,0,240,20", r.Rect());
    EXPECT_EQ(L"", r.NameOrOrdinal());  // no menu
    EXPECT_EQ(L"", r.NameOrOrdinal());  // the dialog class
    EXPECT_EQ(L"", r.String());         // no title
    EXPECT_EQ(9, r.Word());             // points
    EXPECT_EQ(L"MS Shell Dlg", r.String());

    std::vector<std::wstring> items;
    for (WORD i = 0; i < cItems && r.ok; ++i)
        items.push_back(ReadDialogItem(r));
    EXPECT_TRUE(r.ok);
    const std::vector<std::wstring> expected = {
        Item(IDCANCEL, L"button", L"Close", L"176,2,60,14",
             BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE | WS_TABSTOP),
        Item(0xFFFF, L"static", L"", L"133,1,1,15", SS_ETCHEDVERT | WS_CHILD | WS_VISIBLE),
        Item(1001, L"static", L"Image Position X xx Y xx", L"1,5,127,8",
             SS_RIGHT | WS_CHILD | WS_VISIBLE | WS_GROUP)};
    EXPECT_EQ(expected, items);
}

// ---- accelerators 104 and toolbar layout 241/101 ---------------------------

TEST_F(ResourceTest, AcceleratorsAreEscAndEnterAndLayoutListsTheButtons)
{
    const std::vector<BYTE> keys = Bytes(RT_ACCELERATOR, IDR_KEYS);
    Reader r(keys);
    std::vector<std::vector<WORD>> entries;  // flags, key, command (each entry padded to 8 bytes)
    while (r.ok && r.p < r.pEnd) {
        entries.push_back({r.Word(), r.Word(), r.Word()});
        r.Word();
    }
    const WORD wFlags = FVIRTKEY | FNOINVERT, wLast = 0x80;
    const std::vector<std::vector<WORD>> expectedKeys = {
        {wFlags, VK_ESCAPE, IDCANCEL}, {static_cast<WORD>(wFlags | wLast), VK_RETURN, IDOK}};
    EXPECT_EQ(expectedKeys, entries);

    const std::vector<BYTE> layout = Bytes(MAKEINTRESOURCEW(RT_TOOLBAR_DATA), IDR_LAYOUT);
    std::vector<WORD> words(layout.size() / 2);
    memcpy(words.data(), layout.data(), words.size() * 2);
    // Version, image width and height, item count, then the commands (0: a separator).
    const std::vector<WORD> expectedLayout = {1, 20,    20,    7, 40001, 40002,
                                              0, 40004, 40005, 0, 40003};
    EXPECT_EQ(expectedLayout, words);
    EXPECT_EQ(expectedLayout.size() * 2, layout.size());
}

}  // namespace
