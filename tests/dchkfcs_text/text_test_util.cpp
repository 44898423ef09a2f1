#include "text_test_util.h"

#include <fstream>
#include <random>
#include <string.h>
#include "module.h"
#include "vmdsource.h"
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
    std::u16string str(psz);
    return UiString(str.begin(), str.end());
}

void WriteFile(const fs::path &path, const Bytes &bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
}

TempFolder::TempFolder()
{
    std::random_device rd;
    path = fs::temp_directory_path() / ("vmdtest-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(path);
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    fs::remove_all(path, ec);
}

fs::path TempFolder::Write(const std::string &strName, const Bytes &bytes) const
{
    WriteFile(path / strName, bytes);
    return path / strName;
}

Bytes PackSource(const std::string &strSource)
{
    VmdSource source;
    std::string strError;
    if (!ParseVmdSource(strSource, &source, &strError))
        throw std::runtime_error(strError);
    return BuildVmdImage(source);
}

void PutBytes(Bytes &image, size_t off, const std::string &str)
{
    if (image.size() < off + str.size())
        image.resize(off + str.size());
    memcpy(&image[off], str.data(), str.size());
}

void PutU32(Bytes &image, size_t off, uint32_t value)
{
    const char bytes[4] = {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
    PutBytes(image, off, std::string(bytes, 4));
}

uint32_t AppendText(Bytes &image, const std::u16string &str)
{
    uint32_t off = uint32_t(image.size());
    for (char16_t ch : str + u'\0')
        image.insert(image.end(), {uint8_t(ch), uint8_t(ch >> 8)});
    return off;
}

static bool SizeFails(VmdHandle, uint32_t *)
{
    return false;
}
static bool ReadFails(VmdHandle, void *, uint32_t, uint32_t *)
{
    return false;
}
static void *NoMemory(size_t)
{
    return nullptr;
}

// Every open of an existing file allocates twice: the record, which
// succeeds, then the buffer, which fails.
static int s_nAllocs;
static void *SecondAllocFails(size_t cb)
{
    return ++s_nAllocs % 2 == 1 ? g_VmdPlatformFileOps.AllocZero(cb) : nullptr;
}

ScopedFileOps::ScopedFileOps(FileOps kind) : m_ops(g_VmdPlatformFileOps)
{
    s_nAllocs = 0;
    if (kind == FileOps::FallbackSize)
        m_ops.GetSize = SizeFails;
    else if (kind == FileOps::FallbackAlloc)
        m_ops.AllocZero = SecondAllocFails;
    else if (kind == FileOps::ReadsFail)
        m_ops.Read = ReadFails;
    else if (kind == FileOps::NoMemory)
        m_ops.AllocZero = NoMemory;
    m_pOld = VmdSetFileOps(&m_ops);
}

static const std::pair<void *, size_t> s_aTableParts[] = {
    {g_aUiZoomList, sizeof g_aUiZoomList},           {&g_UiWindowTitle, sizeof g_UiWindowTitle},
    {g_aUiZoomMenu, sizeof g_aUiZoomMenu},           {g_aUiHelpMenu, sizeof g_aUiHelpMenu},
    {g_aUiImagePosition, sizeof g_aUiImagePosition}, {&g_UiClose, sizeof g_UiClose},
};

UiTable SaveUiTable()
{
    UiTable table;
    for (const auto &part : s_aTableParts)
        table.insert(table.end(), static_cast<uint8_t *>(part.first),
                     static_cast<uint8_t *>(part.first) + part.second);
    return table;
}

void RestoreUiTable(const UiTable &table)
{
    const uint8_t *pb = table.data();
    for (const auto &part : s_aTableParts) {
        memcpy(part.first, pb, part.second);
        pb += part.second;
    }
}

DataFolder::DataFolder()
{
#ifdef _WIN32
    UiChar szFolder[VMD_PATH_LEN];
    if (!GetModuleFolder(szFolder, VMD_PATH_LEN))
        throw std::runtime_error("no module folder");
    m_folder = fs::path(szFolder);
#else
    m_folder = m_temp.path;
    SetModuleFolder((UiPath(m_folder) + u"/").c_str());
#endif
    RemoveVmd();
}

void DataFolder::RemoveVmd() const
{
    std::error_code ec;
    fs::remove(m_folder / "VELMORAD.VMD", ec);
}
