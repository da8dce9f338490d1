// setup.exe driven from another process as a user drives it: its wizard frame and pages
// found on screen whatever language they speak, buttons pressed, the screen saved. Shared by
// the installer's screenshots and the install-then-use demo.
#ifndef QV_SETUPDRIVE_H
#define QV_SETUPDRIVE_H

#include <windows.h>

#include <string>

namespace qvtest {

// The pages told apart by their controls, so a translated page is still recognised.
enum SetupPage {
    PAGE_NONE, PAGE_WELCOME, PAGE_LICENCE, PAGE_INTERFACE, PAGE_DESTINATION, PAGE_FOLDER,
    PAGE_SUMMARY, PAGE_PROGRESS, PAGE_RESULT, PAGE_OTHER
};
const char* SetupPageName(SetupPage page);
SetupPage SetupPageKind(HWND page);

// The property sheet frame of process `pid`, visible, or NULL after `timeoutMs`.
HWND WaitForSheet(DWORD pid, DWORD timeoutMs);
// The exit confirmation of process `pid`.
HWND WaitForExitConfirmation(DWORD pid, DWORD timeoutMs);
// Waits until the sheet shows a page of `kind`; its window, or NULL. Also NULL at once when
// the process `process` ended.
HWND WaitForSetupPage(HWND sheet, SetupPage kind, HANDLE process, DWORD timeoutMs);
// A click posted to a button of `window`, as a user's click arrives.
void PressButton(HWND window, int id);
// The whole screen as a 24-bit BMP file.
bool SaveScreenBmp(const std::string& path);

} // namespace qvtest

#endif
