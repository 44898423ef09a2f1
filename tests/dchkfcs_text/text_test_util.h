// Shared helpers of the texts tests: temporary folders, VMD images built
// from sources or by hand, file layers that fail on purpose, and a
// snapshot of the UI string table.
#ifndef TEXT_TEST_UTIL_H
#define TEXT_TEST_UTIL_H

#include <filesystem>
#include <stdint.h>
#include <string>
#include <vector>
#include "uistrings.h"
#include "vmd.h"
#include "vmdsource.h"

typedef std::basic_string<UiChar> UiString;

UiString UiPath(const std::filesystem::path &path);
UiString Ui(const char16_t *psz);  // u"" literal as UiChar text

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::filesystem::path &Path() const { return m_path; }
    std::filesystem::path Write(const std::string &strName, const std::vector<uint8_t> &bytes) const;

private:
    std::filesystem::path m_path;
};

// VMD images: from a source text (must parse), and byte patching.
std::vector<uint8_t> PackSource(const std::string &strSource);
void PutU32(std::vector<uint8_t> &image, size_t off, uint32_t value);
void PutBytes(std::vector<uint8_t> &image, size_t off, const std::string &str);

// Offset of the n-th section record that BuildVmdImage writes.
inline uint32_t SectionOffset(size_t n) { return uint32_t(8 + 64 * n); }

// The ways the reader is tested: the whole file in memory, and fallback
// mode reached through a size query or a buffer allocation that fails.
enum class ReadMode { Buffer, FallbackSize, FallbackAlloc };
const char *ReadModeName(ReadMode mode);

// Installs a file layer for the life of the object.
class ScopedFileOps {
public:
    explicit ScopedFileOps(ReadMode mode);
    explicit ScopedFileOps(const VmdFileOps *pOps);
    ~ScopedFileOps();

private:
    const VmdFileOps *m_pOld;
};

// File layers that fail on purpose: reads fail after the open; the record
// itself cannot be allocated.
extern const VmdFileOps g_ReadFailsOps;
extern const VmdFileOps g_NoMemoryOps;

// A copy of the whole UI string table, put back on destruction.
class UiTableSnapshot {
public:
    UiTableSnapshot();
    ~UiTableSnapshot();
    bool operator==(const UiTableSnapshot &other) const;
    void Restore() const;
    // Only texts differ from pOriginal, each terminated within its field,
    // and the zoom list is the same.
    bool OnlyTextsDifferFrom(const UiTableSnapshot &original) const;

private:
    UiZoomEntry m_aZoomList[UI_ZOOM_LIST_COUNT];
    UiTextEntry m_title;
    UiMenuTextEntry m_aZoomMenu[UI_ZOOM_MENU_COUNT];
    UiMenuTextEntry m_aHelpMenu[UI_HELP_MENU_COUNT];
    UiTextEntry m_aImagePosition[UI_IMAGE_POSITION_COUNT];
    UiTextEntry m_close;
};

// The folder LoadUiStrings reads VELMORAD.VMD from: natively a temporary
// folder set through SetModuleFolder, on Windows the test program's own.
class DataFolder {
public:
    DataFolder();
    ~DataFolder();
    void WriteVmd(const std::vector<uint8_t> &bytes) const;
    void RemoveVmd() const;

private:
    TempFolder m_temp;
    std::filesystem::path m_folder;
};

#endif
