// Shared helpers of the texts tests: temporary folders, VMD images packed
// from sources and patched by hand, file layers that fail on purpose, and
// copies of the UI string table.
#ifndef TESTS_DCHKFCS_TEXT_TEXT_TEST_UTIL_H
#define TESTS_DCHKFCS_TEXT_TEXT_TEST_UTIL_H

#include <filesystem>
#include <stdint.h>
#include <string>
#include <vector>
#include "uistrings.h"
#include "vmd.h"

typedef std::basic_string<UiChar> UiString;
typedef std::vector<uint8_t> Bytes;

UiString UiPath(const std::filesystem::path &path);
UiString Ui(const char16_t *psz);  // u"" literal as UiChar text
void WriteFile(const std::filesystem::path &path, const Bytes &bytes);

struct TempFolder {
    std::filesystem::path path;
    TempFolder();
    ~TempFolder();
    std::filesystem::path Write(const std::string &strName, const Bytes &bytes) const;
};

// A packed source (must parse); patches that grow the image as needed.
// Section n of a packed source lies at SectionOffset(n), and the entry
// records follow the last section record.
Bytes PackSource(const std::string &strSource);
void PutBytes(Bytes &image, size_t off, const std::string &str);
void PutU32(Bytes &image, size_t off, uint32_t value);
uint32_t AppendText(Bytes &image, const std::u16string &str);  // UTF-16LE with terminator
inline uint32_t SectionOffset(size_t n)
{
    return uint32_t(8 + 64 * n);
}

// File layers: the reader's three modes (the whole file in memory, and
// fallback mode through a failing size query or a failing buffer
// allocation), and the platform's with reads or memory failing.
enum class FileOps { Buffer, FallbackSize, FallbackAlloc, ReadsFail, NoMemory };
const FileOps kReadModes[] = {FileOps::Buffer, FileOps::FallbackSize, FileOps::FallbackAlloc};

// Installs a file layer for the life of the object.
class ScopedFileOps {
public:
    explicit ScopedFileOps(FileOps kind);
    ~ScopedFileOps() { VmdSetFileOps(m_pOld); }

private:
    VmdFileOps m_ops;
    const VmdFileOps *m_pOld;
};

// A byte copy of the whole UI string table.
typedef Bytes UiTable;
UiTable SaveUiTable();
void RestoreUiTable(const UiTable &table);

// The folder LoadUiStrings reads VELMORAD.VMD from: natively a temporary
// folder set through SetModuleFolder, on Windows the test program's own.
class DataFolder {
public:
    DataFolder();
    ~DataFolder() { RemoveVmd(); }
    void WriteVmd(const Bytes &bytes) const { WriteFile(m_folder / "VELMORAD.VMD", bytes); }
    void RemoveVmd() const;

private:
    TempFolder m_temp;
    std::filesystem::path m_folder;
};

#endif
