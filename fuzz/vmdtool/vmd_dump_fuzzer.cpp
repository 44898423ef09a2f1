// Arbitrary bytes as a VMD file for "vmdtool dump", read once with the
// whole file in memory and once in fallback mode. The dump must end
// (libFuzzer's timeout), succeed, print the same in both modes, and print
// only comment, section and entry lines of valid UTF-8, with one warning
// line per warning.
#include <stdio.h>
#include <stdlib.h>
#include "dumpcapture.h"
#include "vmdsource.h"

static void Check(bool fOk, const char *pszWhat)
{
    if (!fOk) {
        fprintf(stderr, "contract broken: %s\n", pszWhat);
        abort();
    }
}

static bool IsDumpLine(const std::string &strLine)
{
    std::u16string strWide;
    if (!Utf8ToUtf16(strLine, &strWide))
        return false;
    if (strLine.compare(0, 16, "# section limit ") == 0)
        return true;
    if (!strLine.empty() && strLine[0] == '[')
        return strLine.back() == ']';
    return strLine.find(" =") != std::string::npos;
}

static bool AllLines(const std::string &strText, bool (*pfnLine)(const std::string &))
{
    size_t pos = 0, end;
    while ((end = strText.find('\n', pos)) != std::string::npos) {
        if (!pfnLine(strText.substr(pos, end - pos)))
            return false;
        pos = end + 1;
    }
    return pos == strText.size();
}

static bool IsWarningLine(const std::string &strLine)
{
    return strLine.compare(0, 9, "warning: ") == 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t cbData)
{
    Bytes bytes(pData, pData + cbData);
    DumpResult buffered = DumpBytes(bytes);
    DumpResult fallback;
    {
        ScopedFileOps ops(FileOps::FallbackSize);
        fallback = DumpBytes(bytes);
    }
    Check(buffered.nStatus == 0, "dump of an existing file failed");
    Check(buffered == fallback, "buffer and fallback mode dump differently");
    Check(AllLines(buffered.strOut, IsDumpLine),
          "a dump line that is no comment, section or entry");
    Check(AllLines(buffered.strWarn, IsWarningLine), "a warning line without its prefix");
    return 0;
}
