// Parser of the translators' source format. Every rule that the preview
// would otherwise break silently is an error with its line number.
#include <cctype>
#include "vmdsource.h"

namespace {

struct Parser {
    VmdSource *pSource;
    std::string *pError;
    int nLine;

    bool Fail(const std::string &strWhat)
    {
        *pError = "line " + std::to_string(nLine) + ": " + strWhat;
        return false;
    }
};

}  // namespace

static std::string Trim(const std::string &s)
{
    const char *pszSpace = " \t\r";
    size_t first = s.find_first_not_of(pszSpace);
    if (first == std::string::npos)
        return std::string();
    return s.substr(first, s.find_last_not_of(pszSpace) - first + 1);
}

static bool IsNameChar(char ch)
{
    return ch > 0x20 && ch < 0x7F;
}

static bool IsAsciiName(const std::string &s)
{
    for (char ch : s) {
        if (!IsNameChar(ch))
            return false;
    }
    return true;
}

static bool SameName(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (tolower(static_cast<unsigned char>(a[i])) != tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

static bool ParseSectionLine(Parser &p, const std::string &strLine)
{
    if (strLine.back() != ']')
        return p.Fail("section line must end with ']'");
    std::string strName = Trim(strLine.substr(1, strLine.size() - 2));
    if (strName.empty())
        return p.Fail("empty section name");
    if (!IsAsciiName(strName))
        return p.Fail("section name '" + strName + "' must be ASCII without spaces");
    if (strName.size() > VMD_SOURCE_NAME_MAX)
        return p.Fail("section name '" + strName + "' is longer than 31 characters");
    for (const VmdSourceSection &section : p.pSource->sections) {
        if (SameName(section.strName, strName))
            return p.Fail("section '" + strName + "' already began on line " +
                          std::to_string(section.nLine));
    }
    p.pSource->sections.push_back(VmdSourceSection{strName, p.nLine, {}});
    return true;
}

static bool ParseEntryLine(Parser &p, const std::string &strLine)
{
    size_t eq = strLine.find('=');
    if (eq == std::string::npos)
        return p.Fail("expected '[Section]' or 'key = text'");
    if (p.pSource->sections.empty())
        return p.Fail("entry before the first [Section] line");
    std::string strKey = Trim(strLine.substr(0, eq));
    if (strKey.empty())
        return p.Fail("empty key");
    if (!IsAsciiName(strKey))
        return p.Fail("key '" + strKey + "' must be ASCII without spaces");
    if (strKey.size() > VMD_SOURCE_KEY_MAX)
        return p.Fail("key is longer than 259 characters");
    std::u16string strText;
    if (!Utf8ToUtf16(Trim(strLine.substr(eq + 1)), &strText))
        return p.Fail("text of '" + strKey + "' is not valid UTF-8");
    if (strText.find(char16_t(0)) != std::u16string::npos)
        return p.Fail("text of '" + strKey + "' contains a NUL character");
    if (strText.size() > VMD_SOURCE_TEXT_MAX)
        return p.Fail("text of '" + strKey + "' is " + std::to_string(strText.size()) +
                      " UTF-16 units; at most 63 fit");
    VmdSourceSection &section = p.pSource->sections.back();
    for (const VmdSourceEntry &entry : section.entries) {
        if (SameName(entry.strKey, strKey))
            return p.Fail("key '" + strKey + "' already given on line " +
                          std::to_string(entry.nLine));
    }
    section.entries.push_back(VmdSourceEntry{strKey, strText, p.nLine});
    return true;
}

bool ParseVmdSource(const std::string &strText, VmdSource *pSource, std::string *pError)
{
    Parser p{pSource, pError, 0};
    pSource->sections.clear();
    size_t pos = strText.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;  // a BOM is allowed
    while (pos < strText.size()) {
        size_t end = strText.find('\n', pos);
        if (end == std::string::npos)
            end = strText.size();
        ++p.nLine;
        std::string strLine = Trim(strText.substr(pos, end - pos));
        pos = end + 1;
        if (strLine.empty() || strLine[0] == '#')
            continue;
        bool fOk = strLine[0] == '[' ? ParseSectionLine(p, strLine) : ParseEntryLine(p, strLine);
        if (!fOk)
            return false;
    }
    return true;
}
