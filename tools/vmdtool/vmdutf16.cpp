// UTF-8 to UTF-16 with full validation: translators' files must not turn
// into texts that differ from what they typed.
#include "vmdsource.h"

static int SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

static const char32_t s_aMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};

bool Utf8ToUtf16(const std::string &strUtf8, std::u16string *pUtf16)
{
    pUtf16->clear();
    for (size_t i = 0; i < strUtf8.size();) {
        unsigned char lead = static_cast<unsigned char>(strUtf8[i]);
        int n = SequenceLength(lead);
        if (n == 0 || i + n > strUtf8.size())
            return false;
        char32_t cp = n == 1 ? lead : lead & (0x7F >> n);
        for (int k = 1; k < n; ++k) {
            unsigned char cont = static_cast<unsigned char>(strUtf8[i + k]);
            if ((cont & 0xC0) != 0x80)
                return false;
            cp = cp << 6 | (cont & 0x3F);
        }
        if (cp < s_aMinimum[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        if (cp >= 0x10000) {
            pUtf16->push_back(char16_t(0xD800 + ((cp - 0x10000) >> 10)));
            pUtf16->push_back(char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            pUtf16->push_back(char16_t(cp));
        }
        i += n;
    }
    return true;
}
