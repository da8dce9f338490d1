// Helpers for tests that start the stand-in programs of sim/ and watch their processes,
// windows and logs.
#ifndef QV_PROCS_H
#define QV_PROCS_H

#include <windows.h>

#include <string>
#include <vector>

namespace qvtest {

// A stand-in program built beside the test programs ("testapp.exe", "calc.exe").
std::string SimProgram(const char* name);
// A fresh, empty log file path in the temp folder.
std::string NewLogPath(const char* tag);
std::string ReadTextFile(const std::string& path);
// Waits, pumping messages, until the file holds `text`; false on time-out.
bool WaitForText(const std::string& path, const std::string& text, DWORD timeoutMs);
// Starts `exe args` with its log at `log` and waits for its "ready" line; 0 on failure.
DWORD StartSim(const std::string& exe, const std::string& args, const std::string& log);
// The process id the stand-in logged in its "start pid=" line, or 0.
DWORD LoggedProcessId(const std::string& log);
// Visible top-level windows of the process, in Z order.
std::vector<HWND> VisibleWindows(DWORD processId);
// Child processes of `parent`, optionally only those with the given executable name.
std::vector<DWORD> ChildProcesses(DWORD parent, const char* exeName = NULL);
void EndProcess(DWORD processId);
DWORD WindowProcess(HWND wnd);
// Raises a window to the top of the Z order and makes it the foreground window.
bool BringToFront(HWND wnd);

} // namespace qvtest

#endif
