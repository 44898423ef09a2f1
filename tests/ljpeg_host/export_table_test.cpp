// The libraries export their one entry point under its plain name and
// nothing else: the DLLs as a Windows host's GetProcAddress finds it (no
// stdcall decoration on i686), the shared library with every other symbol
// hidden. The encoder DLLs keep the status word in their own TLS block:
// emulated TLS would allocate on a thread's first call.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Capture(const std::string &command)
{
    std::string text;
    FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    char buffer[4096];
    for (size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        text.append(buffer, n);
    if (pipe)
        pclose(pipe);
    return text;
}

// First capture group of every line that matches, from the line after
// `start` (or from the top) to the first line that does not.
std::vector<std::string> Matches(const std::string &text, const std::string &start,
                                 const std::regex &entry)
{
    std::vector<std::string> found;
    std::istringstream lines(text);
    bool in_table = start.empty();
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (!in_table)
            in_table = line.find(start) != std::string::npos;
        else if (std::regex_match(line, m, entry))
            found.push_back(m[1]);
        else if (!start.empty())
            break;
    }
    return found;
}

std::string CheckExport(const std::string &objdump, const std::string &dll, const char *module,
                        const char *entry)
{
    std::string headers = Capture(objdump + " -p '" + dll + "'");
    EXPECT_EQ(Matches(headers, "[Ordinal/Name Pointer] Table",
                      std::regex(R"(^\s*\[\s*\d+\]\s+(\S+)\s*$)")),
              std::vector<std::string>{entry})
        << dll;
    EXPECT_NE(headers.find(module), std::string::npos)
        << "export directory does not name " << module;
    return headers;
}

void CheckDll(const std::string &objdump, const std::string &dll)
{
    if (!std::ifstream(dll).good())
        GTEST_SKIP() << dll << " not built";
    std::string headers = CheckExport(objdump, dll, "VELMORAJ.dll", "Jpeg_EncodeStart");
    EXPECT_EQ(headers.find("TlsAlloc"), std::string::npos) << dll;
    EXPECT_EQ(Capture(objdump + " -t '" + dll + "'").find("emutls"), std::string::npos) << dll;
}

void CheckPreviewDll(const std::string &objdump, const std::string &dll)
{
    if (!std::ifstream(dll).good())
        GTEST_SKIP() << dll << " not built";
    CheckExport(objdump, dll, "VELMORAZ.dll", "DispCheckFcsWindow");
}

}  // namespace

TEST(ExportTable, Win64DllExportsThePlainName)
{
    CheckDll("x86_64-w64-mingw32-objdump", VELMORA_WIN64_DLL);
}

TEST(ExportTable, Win32DllExportsThePlainName)
{
    CheckDll("i686-w64-mingw32-objdump", VELMORA_WIN32_DLL);
}

TEST(ExportTable, PreviewDllsExportThePlainName)
{
    CheckPreviewDll("x86_64-w64-mingw32-objdump", VELMORAZ_WIN64_DLL);
    CheckPreviewDll("i686-w64-mingw32-objdump", VELMORAZ_WIN32_DLL);
}

TEST(ExportTable, SharedLibraryExportsOnlyTheEntryPoint)
{
    std::string symbols = Capture("nm -D --defined-only '" VELMORAJ_SO_PATH "'");
    EXPECT_EQ(Matches(symbols, "", std::regex(R"(^[0-9a-fA-F]+\s+[A-Za-z]\s+(\S+)$)")),
              std::vector<std::string>{"Jpeg_EncodeStart"})
        << symbols;
}
