// Licence texts by locale. A regional locale without a text of its own gets the one of
// its language, named by the last two hexadecimal digits of the locale.
#include "licencetable.h"

#include <string.h>

namespace {

const struct {
    const char* locale;
    const char* file;
} kLicences[] = {
    { "00000404", "LICENTCH.TXT" }, { "00000804", "LICENSCH.TXT" }, { "00000406", "LICENDAN.TXT" },
    { "00000413", "LICENDUT.TXT" }, { "00000409", "LICENENG.TXT" }, { "0000040B", "LICENFIN.TXT" },
    { "0000040C", "LICENFRE.TXT" }, { "00000407", "LICENGER.TXT" }, { "00000410", "LICENITA.TXT" },
    { "00000411", "LICENJP.TXT" },  { "00000414", "LICENNOR.TXT" }, { "00000416", "LICENBRA.TXT" },
    { "0000080A", "LICENSPA.TXT" }, { "0000041D", "LICENSWE.TXT" },
};

char Upper(char c)
{
    return (char)(c >= 'a' && c <= 'z' ? c - 32 : c);
}

bool SameText(const char* a, const char* b, size_t len)
{
    for (size_t i = 0; i < len; ++i) {
        if (Upper(a[i]) != Upper(b[i]))
            return false;
    }
    return true;
}

} // namespace

const char* LicenceFileForLocale(const char* locale, int* exact)
{
    if (exact)
        *exact = 0;
    size_t len = strlen(locale);
    for (const auto& row : kLicences) {
        if (len == strlen(row.locale) && SameText(locale, row.locale, len)) {
            if (exact)
                *exact = 1;
            return row.file;
        }
    }
    if (len < 2)
        return NULL;
    for (const auto& row : kLicences) {
        if (SameText(locale + len - 2, row.locale + strlen(row.locale) - 2, 2))
            return row.file;
    }
    return NULL;
}
