// Helpers of the installer's tests: setup folders with scripts, and registry reads.
#ifndef QV_SETUPTEST_H
#define QV_SETUPTEST_H

#include <windows.h>

#include <string>

namespace setuptest {

// A fresh folder holding the named files (each empty), for scripts and licence texts.
std::string MakeSetupDir(const char* tag, std::initializer_list<const char*> files = {});
// Writes `text` as the file, lines ending in CR LF.
bool WriteScript(const std::string& path, const std::string& text);
// Start-up as setup.exe runs it, in this process, with `dir` as setup directory.
// Returns whether a script was found.
bool StartIn(const std::string& dir, const char* commandLine = "");
// The file's bytes, or "(absent)".
std::string Slurp(const std::string& path);
bool Exists(const std::string& path);
// A REG_SZ value without its terminator, or "(absent)".
std::string Text(HKEY root, const std::string& path, const char* name);

// The delayed moves (PendingFileRenameOperations) of this world, put back as they were
// when the scope ends; Now() reads them.
struct PendingMoves {
    std::string saved;
    bool had;
    PendingMoves();
    ~PendingMoves();
    static std::string Now();
};

} // namespace setuptest

#endif
