// The "Update Driver" lines of the setup script and the texts the driver installation
// composes from them. No platform header here: built natively for the sanitizer tests.
#ifndef QV_SETUP_DRIVERLINE_H
#define QV_SETUP_DRIVERLINE_H

#include <stddef.h>

#include "textparse.h"

enum { DRIVER_LINE_FIELDS = 10 };

enum {
    DRIVER_CLASS = 0,    // "Keyboard", or "Unknown" for a device to re-enumerate
    DRIVER_INF = 1,      // INF file name
    DRIVER_ARG3 = 2,     // fields 3 to 5 are handed on to the device-installation library
    DRIVER_ARG4 = 3,
    DRIVER_ARG5 = 4,
    DRIVER_INF9X = 6,    // INF for 95, 98 and NT 4, relative to the setup directory
    DRIVER_FLAG = 7,
    DRIVER_HWID = 8,     // hardware identifier
    DRIVER_SUBDIR = 9,   // sub-folder of the setup directory, with its trailing backslash
};

struct DriverLine {
    char field[DRIVER_LINE_FIELDS][QV_TEXT_SIZE];
};

// Splits a value at commas into the ten fields; missing ones are empty, each is cut to
// 259 characters. Returns how many fields the line has.
int DriverLineSplit(const char* text, DriverLine* line);

// One field of the installer's own splitter: like TextFirstField with a comma, except that
// a quote alone does not start a field. *present is 0 when the text holds no more fields.
const char* DriverLineField(const char* text, char* field, size_t size, int* present);

// Field 8: "1" or "TRUE" (any case) give 1, anything else 0.
int DriverLineFlag(const char* text);
// ASCII comparison without regard to case.
int DriverSameWord(const char* a, const char* b);

// The product's folder name: every "/" becomes ".". False when cut.
int DriverFolderName(char* out, size_t size, const char* productName);
// The command the Run value starts: staging directory, Preload.exe and its switches.
// False (and an empty text) when it does not fit.
int DriverPreloadCommand(char* out, size_t size, const char* stagingDir, const char* hardwareId,
                         const char* deviceClass);

#endif
