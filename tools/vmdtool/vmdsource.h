// The translators' source of a VMD file: UTF-8 text with [Section] lines,
// "key = text" lines and # comments.
#ifndef TOOLS_VMDTOOL_VMDSOURCE_H
#define TOOLS_VMDTOOL_VMDSOURCE_H

#include <string>
#include <vector>

struct VmdSourceEntry {
    std::string strKey;
    std::u16string strText;
    int nLine;
};

struct VmdSourceSection {
    std::string strName;
    int nLine;
    std::vector<VmdSourceEntry> entries;
};

struct VmdSource {
    std::vector<VmdSourceSection> sections;
};

enum {
    VMD_SOURCE_NAME_MAX = 31,  // section names: the 32-byte name field
    VMD_SOURCE_KEY_MAX = 259,  // keys: what the preview's key buffer holds
    VMD_SOURCE_TEXT_MAX = 63   // texts: what a 64-unit text field holds
};

// False on malformed UTF-8 (also overlong forms and surrogates).
bool Utf8ToUtf16(const std::string &strUtf8, std::u16string *pUtf16);

// On an error returns false and sets *pError to "line N: what is wrong".
bool ParseVmdSource(const std::string &strText, VmdSource *pSource, std::string *pError);

#endif
