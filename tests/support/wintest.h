// Helpers every Wine test uses: registry set-up and inspection, running a program as a
// given Windows version, waiting for windows, and mapping folders as CD-ROM drives.
#ifndef QV_WINTEST_H
#define QV_WINTEST_H

#include <windows.h>

#include <functional>
#include <string>

namespace qvtest {

// Registry. Paths are below `root`; writers create the key as needed.
bool WriteString(HKEY root, const char* path, const char* name, const char* text, DWORD type = REG_SZ);
bool WriteDword(HKEY root, const char* path, const char* name, DWORD value);
bool WriteBinary(HKEY root, const char* path, const char* name, const void* data, DWORD size);
// False when the key or value is absent; `data` gets the raw bytes.
bool ReadValue(HKEY root, const char* path, const char* name, DWORD* type, std::string* data);
bool KeyExists(HKEY root, const char* path);
void DeleteTree(HKEY root, const char* path);

// Processes. Exit code, or ~0u when the program could not start or did not end in time
// (it is then killed).
const DWORD kNoExit = ~0u;
std::string SelfPath();
std::string DirOf(const std::string& path);
// Folder of the stand-ins for outside components, beside the test programs.
std::string SimDir();
DWORD RunProgram(const std::string& commandLine, DWORD timeoutMs);
// Windows version modes: win95 win98 winme nt40 win2k winxp.
bool SetProgramMode(const std::string& exeName, const char* mode);
// Runs a copy of `exePath` named after the mode, so Wine reports that version to it.
DWORD RunAsMode(const char* mode, const std::string& exePath, const std::string& args, DWORD timeoutMs);

// Windows and messages.
void PumpFor(DWORD ms);
HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs);
// Waits for a top-level window owned by another thread, whose class and caption match.
HWND WaitForThreadWindow(DWORD threadId, const char* className, DWORD timeoutMs);
std::string WindowText(HWND wnd);
// A top-level window of this process with that class; other tests' windows share the desktop.
HWND FindOwnWindow(const char* className);

// Files.
std::string MakeTempDir(const char* tag);
bool WriteFileText(const std::string& path, const std::string& text);
void RemoveTree(const std::string& path);
// Every entry under `dir` but "." and "..", a directory before what it holds. `visit` gets the
// entry's full path and, for a directory, says whether to go into it. False when a directory
// of the walk could not be listed.
typedef std::function<bool(const std::string& path, const WIN32_FIND_DATAA& found)> TreeVisit;
bool WalkTree(const std::string& dir, const TreeVisit& visit);

// A folder as a drive letter of the given type (DRIVE_CDROM by default), at once and
// without a new Wine session. Its volume label comes from a ".windows-label" file.
bool MapDrive(char letter, const std::string& folder, UINT type = DRIVE_CDROM);
bool UnmapDrive(char letter);

} // namespace qvtest

// Child entry points: a test program started with "--child NAME args..." runs NAME
// instead of the test cases. Used to run code in another process or Windows mode.
typedef int (*QvChildFunc)(int argc, char** argv);
struct QvChildReg {
    QvChildReg(const char* name, QvChildFunc func);
};
#define QV_CHILD(name)                                         \
    static int name##_child(int argc, char** argv);            \
    static QvChildReg name##_reg(#name, name##_child);         \
    static int name##_child(int argc, char** argv)

#endif
