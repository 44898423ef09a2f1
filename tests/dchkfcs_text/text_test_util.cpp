#include "text_test_util.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <string.h>
#include "module.h"
#include "vmdwriter.h"

namespace fs = std::filesystem;

UiString UiPath(const fs::path &path)
{
#ifdef _WIN32
    return path.wstring();
#else
    return path.u16string();
#endif
}

UiString Ui(const char16_t *psz)
{
    UiString str;
    for (; *psz; ++psz)
        str.push_back(UiChar(*psz));
    return str;
}

TempFolder::TempFolder()
{
    std::random_device rd;
    m_path = fs::temp_directory_path() / ("vmdtest-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(m_path);
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

fs::path TempFolder::Write(const std::string &strName, const std::vector<uint8_t> &bytes) const
{
    fs::path path = m_path / strName;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

std::vector<uint8_t> PackSource(const std::string &strSource)
{
    VmdSource source;
    std::string strError;
    if (!ParseVmdSource(strSource, &source, &strError))
        throw std::runtime_error(strError);
    return BuildVmdImage(source);
}

void PutU32(std::vector<uint8_t> &image, size_t off, uint32_t value)
{
    if (image.size() < off + 4)
        image.resize(off + 4);
    for (int i = 0; i < 4; ++i)
        image[off + i] = uint8_t(value >> (8 * i));
}

void PutBytes(std::vector<uint8_t> &image, size_t off, const std::string &str)
{
    if (image.size() < off + str.size())
        image.resize(off + str.size());
    memcpy(&image[off], str.data(), str.size());
}

const char *ReadModeName(ReadMode mode)
{
    switch (mode) {
    case ReadMode::Buffer: return "Buffer";
    case ReadMode::FallbackSize: return "FallbackSize";
    case ReadMode::FallbackAlloc: return "FallbackAlloc";
    }
    return "?";
}

static bool SizeFails(VmdHandle, uint32_t *) { return false; }

// Every open of an existing file allocates twice: the record, which
// succeeds, then the buffer, which fails.
static int s_nAllocs;
static void *SecondAllocFails(size_t cb)
{
    return ++s_nAllocs % 2 == 1 ? g_VmdPlatformFileOps.AllocZero(cb) : nullptr;
}

static VmdFileOps WithSlot(ReadMode mode)
{
    VmdFileOps ops = g_VmdPlatformFileOps;
    if (mode == ReadMode::FallbackSize)
        ops.GetSize = SizeFails;
    if (mode == ReadMode::FallbackAlloc)
        ops.AllocZero = SecondAllocFails;
    return ops;
}

static const VmdFileOps s_aModeOps[] = {
    WithSlot(ReadMode::Buffer), WithSlot(ReadMode::FallbackSize), WithSlot(ReadMode::FallbackAlloc)};

static bool ReadFails(VmdHandle, void *, uint32_t, uint32_t *) { return false; }
static void *NoMemory(size_t) { return nullptr; }

static VmdFileOps ReadFailsOps()
{
    VmdFileOps ops = g_VmdPlatformFileOps;
    ops.Read = ReadFails;
    return ops;
}

static VmdFileOps NoMemoryOps()
{
    VmdFileOps ops = g_VmdPlatformFileOps;
    ops.AllocZero = NoMemory;
    return ops;
}

const VmdFileOps g_ReadFailsOps = ReadFailsOps();
const VmdFileOps g_NoMemoryOps = NoMemoryOps();

ScopedFileOps::ScopedFileOps(ReadMode mode) : m_pOld(VmdSetFileOps(&s_aModeOps[int(mode)]))
{
    s_nAllocs = 0;
}

ScopedFileOps::ScopedFileOps(const VmdFileOps *pOps) : m_pOld(VmdSetFileOps(pOps)) {}

ScopedFileOps::~ScopedFileOps()
{
    VmdSetFileOps(m_pOld);
}

UiTableSnapshot::UiTableSnapshot()
{
    memcpy(m_aZoomList, g_aUiZoomList, sizeof m_aZoomList);
    m_title = g_UiWindowTitle;
    memcpy(m_aZoomMenu, g_aUiZoomMenu, sizeof m_aZoomMenu);
    memcpy(m_aHelpMenu, g_aUiHelpMenu, sizeof m_aHelpMenu);
    memcpy(m_aImagePosition, g_aUiImagePosition, sizeof m_aImagePosition);
    m_close = g_UiClose;
}

UiTableSnapshot::~UiTableSnapshot()
{
    Restore();
}

void UiTableSnapshot::Restore() const
{
    memcpy(g_aUiZoomList, m_aZoomList, sizeof m_aZoomList);
    g_UiWindowTitle = m_title;
    memcpy(g_aUiZoomMenu, m_aZoomMenu, sizeof m_aZoomMenu);
    memcpy(g_aUiHelpMenu, m_aHelpMenu, sizeof m_aHelpMenu);
    memcpy(g_aUiImagePosition, m_aImagePosition, sizeof m_aImagePosition);
    g_UiClose = m_close;
}

bool UiTableSnapshot::operator==(const UiTableSnapshot &o) const
{
    return memcmp(m_aZoomList, o.m_aZoomList, sizeof m_aZoomList) == 0 &&
           memcmp(&m_title, &o.m_title, sizeof m_title) == 0 &&
           memcmp(m_aZoomMenu, o.m_aZoomMenu, sizeof m_aZoomMenu) == 0 &&
           memcmp(m_aHelpMenu, o.m_aHelpMenu, sizeof m_aHelpMenu) == 0 &&
           memcmp(m_aImagePosition, o.m_aImagePosition, sizeof m_aImagePosition) == 0 &&
           memcmp(&m_close, &o.m_close, sizeof m_close) == 0;
}

template <typename Entry>
static bool SameKeysTerminatedTexts(const Entry *pA, const Entry *pB, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        if (memcmp(pA[i].szKey, pB[i].szKey, sizeof pA[i].szKey) != 0)
            return false;
        const UiChar *pszText = pA[i].szText;
        if (std::find(pszText, pszText + UI_TEXT_LEN, UiChar(0)) == pszText + UI_TEXT_LEN)
            return false;
    }
    return true;
}

static bool SameIds(const UiMenuTextEntry *pA, const UiMenuTextEntry *pB, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        if (pA[i].nCommandId != pB[i].nCommandId)
            return false;
    }
    return true;
}

bool UiTableSnapshot::OnlyTextsDifferFrom(const UiTableSnapshot &o) const
{
    return memcmp(m_aZoomList, o.m_aZoomList, sizeof m_aZoomList) == 0 &&
           SameKeysTerminatedTexts(&m_title, &o.m_title, 1) &&
           SameKeysTerminatedTexts(m_aZoomMenu, o.m_aZoomMenu, UI_ZOOM_MENU_COUNT) &&
           SameIds(m_aZoomMenu, o.m_aZoomMenu, UI_ZOOM_MENU_COUNT) &&
           SameKeysTerminatedTexts(m_aHelpMenu, o.m_aHelpMenu, UI_HELP_MENU_COUNT) &&
           SameIds(m_aHelpMenu, o.m_aHelpMenu, UI_HELP_MENU_COUNT) &&
           SameKeysTerminatedTexts(m_aImagePosition, o.m_aImagePosition, UI_IMAGE_POSITION_COUNT) &&
           SameKeysTerminatedTexts(&m_close, &o.m_close, 1);
}

DataFolder::DataFolder()
{
#ifdef _WIN32
    UiChar szFolder[VMD_PATH_LEN];
    if (!GetModuleFolder(szFolder, VMD_PATH_LEN))
        throw std::runtime_error("no module folder");
    m_folder = fs::path(szFolder);
#else
    m_folder = m_temp.Path();
    SetModuleFolder((UiPath(m_folder) + u"/").c_str());
#endif
    RemoveVmd();
}

DataFolder::~DataFolder()
{
    RemoveVmd();
}

void DataFolder::WriteVmd(const std::vector<uint8_t> &bytes) const
{
    std::ofstream out(m_folder / "VELMORAD.VMD", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
}

void DataFolder::RemoveVmd() const
{
    std::error_code ec;
    fs::remove(m_folder / "VELMORAD.VMD", ec);
}
