// Which licence text goes with a locale. No platform header here.
#ifndef QV_SETUP_LICENCETABLE_H
#define QV_SETUP_LICENCETABLE_H

// The licence file for a locale string such as "00000C0C": the row of that locale
// (case-insensitive), else the first row whose locale ends in the same two characters.
// Null when neither; *exact tells which rule matched.
const char* LicenceFileForLocale(const char* locale, int* exact);

#endif
