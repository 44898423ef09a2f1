// The libraries export Jpeg_EncodeStart under its plain name and nothing
// else: the DLLs as a Windows host's GetProcAddress finds it (no stdcall
// decoration on i686), the shared library with every other symbol hidden.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

std::string Capture(const std::string &command)
{
    std::string text;
    FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, n);
    pclose(pipe);
    return text;
}

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

// Names listed in the export table that objdump -p prints for a PE file.
std::vector<std::string> PeExports(const std::string &objdump, const std::string &dll)
{
    std::vector<std::string> lines = Lines(Capture(objdump + " -p '" + dll + "'"));
    std::vector<std::string> names;
    std::regex entry(R"(^\s*\[\s*\d+\]\s+(\S+)\s*$)");
    bool in_table = false;
    for (const std::string &line : lines) {
        std::smatch m;
        if (line.find("[Ordinal/Name Pointer] Table") != std::string::npos)
            in_table = true;
        else if (in_table && std::regex_match(line, m, entry))
            names.push_back(m[1]);
        else if (in_table)
            break;
    }
    return names;
}

void ExpectOnlyPlainExport(const std::string &objdump, const std::string &dll)
{
    if (!std::ifstream(dll).good())
        GTEST_SKIP() << dll << " not built";
    EXPECT_EQ(PeExports(objdump, dll), std::vector<std::string>{"Jpeg_EncodeStart"}) << dll;
    EXPECT_NE(Capture(objdump + " -p '" + dll + "'").find("VELMORAJ.dll"), std::string::npos)
        << "export directory does not name VELMORAJ.dll";
}

}  // namespace

TEST(ExportTable, Win64DllExportsThePlainName)
{
    ExpectOnlyPlainExport("x86_64-w64-mingw32-objdump", VELMORA_WIN64_DLL);
}

TEST(ExportTable, Win32DllExportsThePlainName)
{
    ExpectOnlyPlainExport("i686-w64-mingw32-objdump", VELMORA_WIN32_DLL);
}

TEST(ExportTable, SharedLibraryExportsOnlyTheEntryPoint)
{
    std::string symbols = Capture("nm -D --defined-only '" VELMORAJ_SO_PATH "'");
    std::vector<std::string> names;
    std::regex entry(R"(^[0-9a-fA-F]+\s+[A-Za-z]\s+(\S+)$)");
    for (const std::string &line : Lines(symbols)) {
        std::smatch m;
        if (std::regex_match(line, m, entry))
            names.push_back(m[1]);
    }
    EXPECT_EQ(names, std::vector<std::string>{"Jpeg_EncodeStart"}) << symbols;
}
