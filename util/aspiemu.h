// The library's own ASPI emulation over SCSI pass-through, for machines without an ASPI
// library. Its few platform calls go through one table so tests can play a drive's answers.
#ifndef QVUTIL_ASPIEMU_H
#define QVUTIL_ASPIEMU_H

#include <windows.h>

struct AspiPlatform {
    UINT(WINAPI* getDriveType)(LPCSTR root);
    HANDLE(WINAPI* createFile)(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flags, HANDLE templateFile);
    BOOL(WINAPI* deviceIoControl)(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out,
                                  DWORD outSize, LPDWORD returned, LPOVERLAPPED overlapped);
    BOOL(WINAPI* closeHandle)(HANDLE handle);
};

// The real API unless a test has filled it.
extern AspiPlatform g_aspiPlatform;

// Number of drives that answered the inquiry; 0 when none did or when already initialized.
int AspiEmuInit(void);
int AspiEmuIsInitialized(void);
// Closes every open drive handle and forgets the drive table.
void AspiEmuRelease(void);
DWORD __cdecl AspiEmuGetSupportInfo(void);
DWORD __cdecl AspiEmuSendCommand(void* srb);

#endif
