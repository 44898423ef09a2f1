#include "dumpcapture.h"

#include <stdio.h>
#include <stdlib.h>
#include "vmdtool_cli.h"

namespace {

// A FILE that collects what is written to it in memory.
class MemoryFile {
public:
    MemoryFile() : m_pFile(open_memstream(&m_pszText, &m_cbText)) {}
    ~MemoryFile()
    {
        if (m_pFile)
            fclose(m_pFile);
        free(m_pszText);
    }
    FILE *get() const { return m_pFile; }
    std::string Text()
    {
        fflush(m_pFile);
        return std::string(m_pszText, m_cbText);
    }

private:
    char *m_pszText = nullptr;
    size_t m_cbText = 0;
    FILE *m_pFile;
};

}  // namespace

DumpResult DumpBytes(const Bytes &bytes)
{
    static TempFolder s_folder;
    std::string strPath = s_folder.Write("FUZZ.VMD", bytes).string();
    char szTool[] = "vmdtool", szDump[] = "dump";
    char *argv[] = {szTool, szDump, &strPath[0], nullptr};
    MemoryFile out, warn;
    int nStatus = RunVmdTool(3, argv, out.get(), warn.get());
    return DumpResult{nStatus, out.Text(), warn.Text()};
}
