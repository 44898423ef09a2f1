// Arbitrary text as a translators' source. A refusal names a line of the
// text; a source that parses packs into a file whose dump, warning-free,
// parses back to the same sections, keys and texts in the same order.
#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include "dumpcapture.h"
#include "vmdsource.h"
#include "vmdwriter.h"

static void Check(bool fOk, const char *pszWhat)
{
    if (!fOk) {
        fprintf(stderr, "contract broken: %s\n", pszWhat);
        abort();
    }
}

static bool SameTexts(const VmdSource &a, const VmdSource &b)
{
    auto sameEntry = [](const VmdSourceEntry &x, const VmdSourceEntry &y) {
        return x.strKey == y.strKey && x.strText == y.strText;
    };
    auto sameSection = [&](const VmdSourceSection &x, const VmdSourceSection &y) {
        return x.strName == y.strName && std::equal(x.entries.begin(), x.entries.end(),
                                                    y.entries.begin(), y.entries.end(), sameEntry);
    };
    return std::equal(a.sections.begin(), a.sections.end(), b.sections.begin(), b.sections.end(),
                      sameSection);
}

static void CheckRefusal(const std::string &strText, const std::string &strError)
{
    int nLine = 0;
    Check(sscanf(strError.c_str(), "line %d: ", &nLine) == 1, "a refusal without its line");
    long nLines = std::count(strText.begin(), strText.end(), '\n') + 1;
    Check(nLine >= 1 && nLine <= nLines, "a refusal names a line the text does not have");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t cbData)
{
    std::string strText(reinterpret_cast<const char *>(pData), cbData), strError;
    VmdSource source;
    if (!ParseVmdSource(strText, &source, &strError)) {
        CheckRefusal(strText, strError);
        return 0;
    }
    DumpResult dump = DumpBytes(BuildVmdImage(source));
    Check(dump.nStatus == 0 && dump.strWarn.empty(), "a packed source dumps with warnings");
    VmdSource again;
    Check(ParseVmdSource(dump.strOut, &again, &strError),
          "the dump of a packed source does not parse");
    Check(SameTexts(source, again), "the dump gives other sections, keys or texts");
    return 0;
}
