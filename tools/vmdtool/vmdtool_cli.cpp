// vmdtool: packs translators' sources into VMD files and dumps VMD files.
#include <fstream>
#include <iterator>
#include <string.h>
#include "vmddump.h"
#include "vmdsource.h"
#include "vmdtool_cli.h"
#include "vmdwriter.h"

static int Usage(FILE *pErr)
{
    fputs("usage: vmdtool pack SOURCE.txt -o FILE.VMD\n"
          "       vmdtool dump FILE.VMD\n",
          pErr);
    return 2;
}

static bool ReadWholeFile(const char *pszPath, std::string *pText)
{
    std::ifstream in(pszPath, std::ios::binary);
    if (!in)
        return false;
    pText->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

static int Pack(const char *pszSource, const char *pszOutput, FILE *pErr)
{
    std::string strText, strError;
    VmdSource source;
    if (!ReadWholeFile(pszSource, &strText)) {
        fprintf(pErr, "vmdtool: cannot read %s\n", pszSource);
        return 1;
    }
    if (!ParseVmdSource(strText, &source, &strError)) {
        fprintf(pErr, "vmdtool: %s: %s\n", pszSource, strError.c_str());
        return 1;
    }
    std::vector<uint8_t> image = BuildVmdImage(source);
    std::ofstream out(pszOutput, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(image.data()), std::streamsize(image.size()));
    out.close();
    if (!out) {
        fprintf(pErr, "vmdtool: cannot write %s\n", pszOutput);
        return 1;
    }
    return 0;
}

static int DumpFile(const char *pszPath, FILE *pOut, FILE *pErr)
{
    std::u16string strPath;
    if (!Utf8ToUtf16(pszPath, &strPath) || strPath.size() >= VMD_PATH_LEN) {
        fprintf(pErr, "vmdtool: %s: the path must be UTF-8 of fewer than 260 UTF-16 units\n",
                pszPath);
        return 1;
    }
    // UiChar is char16_t natively and the same-sized wchar_t on Windows.
    VmdFile *pFile = VmdOpen(reinterpret_cast<const UiChar *>(strPath.c_str()));
    if (!pFile) {
        fprintf(pErr, "vmdtool: cannot open %s\n", pszPath);
        return 1;
    }
    DumpVmdFile(pFile, pOut, pErr);
    VmdClose(pFile);
    return 0;
}

int RunVmdTool(int argc, char **argv, FILE *pOut, FILE *pErr)
{
    if (argc == 5 && strcmp(argv[1], "pack") == 0 && strcmp(argv[3], "-o") == 0)
        return Pack(argv[2], argv[4], pErr);
    if (argc == 3 && strcmp(argv[1], "dump") == 0)
        return DumpFile(argv[2], pOut, pErr);
    return Usage(pErr);
}
