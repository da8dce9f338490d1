/* Exported interface of QVUtil.dll, the keyboard's utility library. C-compatible.
 *
 * Text is ANSI. An out buffer that has no size argument must hold 260 bytes:
 * the library never writes more than that into it. A field, program or argument
 * text longer than 259 characters is cut to 259 characters and the terminator.
 * Registry key paths composed by the settings store that would exceed 259
 * characters are refused: the call fails (result 0) and touches nothing. */
#ifndef QVUTIL_H
#define QVUTIL_H

#include <windows.h>

#ifdef __cplusplus
#define QVUTIL_EXTERN extern "C"
#else
#define QVUTIL_EXTERN extern
#endif

#ifdef QVUTIL_EXPORTS
#define QVUTIL_API QVUTIL_EXTERN __declspec(dllexport)
#else
#define QVUTIL_API QVUTIL_EXTERN __declspec(dllimport)
#endif

/* Settings store. */
QVUTIL_API void WINAPI Reg_InitProfile(LPCSTR basePath, LPCSTR userName);
QVUTIL_API int WINAPI Reg_GetProfileString(LPCSTR section, LPCSTR valueName, LPSTR buffer, int bufferSize, LPCSTR defaultText);
QVUTIL_API int WINAPI Reg_GetProfileNumber(LPCSTR section, LPCSTR valueName, int* value, int defaultValue);
QVUTIL_API int WINAPI Reg_GetProfileBool(LPCSTR section, LPCSTR valueName, int* value, int defaultValue);
QVUTIL_API int WINAPI Reg_GetProfileBinary(LPCSTR section, LPCSTR valueName, BYTE* buffer, DWORD* size, const BYTE* defaultData, int defaultSize);
QVUTIL_API int WINAPI Reg_SetProfileString(LPCSTR section, LPCSTR valueName, LPCSTR text);
QVUTIL_API int WINAPI Reg_SetProfileNumber(LPCSTR section, LPCSTR valueName, int value);
QVUTIL_API int WINAPI Reg_SetProfileBool(LPCSTR section, LPCSTR valueName, int value);
QVUTIL_API int WINAPI Reg_SetProfileBinary(LPCSTR section, LPCSTR valueName, const BYTE* data, int size);
QVUTIL_API int WINAPI Reg_GetValueString(HKEY root, LPCSTR subKey, LPCSTR valueName, LPSTR buffer, int bufferSize);
QVUTIL_API int WINAPI Reg_GetValueNumber(HKEY root, LPCSTR subKey, LPCSTR valueName, int* value);
QVUTIL_API int WINAPI Reg_GetValueBool(HKEY root, LPCSTR subKey, LPCSTR valueName, int* value);
QVUTIL_API int WINAPI Reg_GetValueBinary(HKEY root, LPCSTR subKey, LPCSTR valueName, BYTE* buffer, DWORD* size);
QVUTIL_API int WINAPI Reg_SetValueString(HKEY root, LPCSTR subKey, LPCSTR valueName, LPCSTR text);
QVUTIL_API int WINAPI Reg_SetValueNumber(HKEY root, LPCSTR subKey, LPCSTR valueName, int value);
QVUTIL_API int WINAPI Reg_SetValueBool(HKEY root, LPCSTR subKey, LPCSTR valueName, int value);
QVUTIL_API int WINAPI Reg_SetValueBinary(HKEY root, LPCSTR subKey, LPCSTR valueName, const BYTE* data, int size);

/* System and text helpers. */
QVUTIL_API int WINAPI IsWin95(void);
QVUTIL_API int WINAPI IsWin98(void);   /* also true on Me */
QVUTIL_API int WINAPI IsWinME(void);
QVUTIL_API int WINAPI IsNT(void);
QVUTIL_API int WINAPI IsWin2000(void); /* also true on XP */
QVUTIL_API int WINAPI StringToInteger(LPCSTR text);
/* `field` (260 bytes) may be NULL; fields longer than 259 characters are cut. */
QVUTIL_API LPCSTR WINAPI Str_GetFirstField(LPCSTR text, LPSTR field, char separator, int* startOffset);
QVUTIL_API int WINAPI Str_GetField(LPCSTR text, int fieldNumber, LPSTR field, char separator);
/* `program` and `arguments` (260 bytes each) may be NULL; longer texts are cut. */
QVUTIL_API void WINAPI ParseShellCommand(LPCSTR commandLine, LPSTR program, LPSTR arguments);
QVUTIL_API void WINAPI SetThreadResourceLocale(void);
QVUTIL_API void WINAPI ShowErrorMessage(LPCSTR caption);
QVUTIL_API HWND WINAPI GetForegroundTopWindow(void);

/* Predefined button functions. Buffer sizes are in characters, terminator included.
 * Event codes: 1 pressed, 0 released, 2 the third kind. */
QVUTIL_API int WINAPI EnumPredefinedFunction(int index, LPSTR buffer, int bufferSize);
QVUTIL_API int WINAPI GetFuncNameFromFuncDescName(LPCSTR description, LPSTR buffer, int bufferSize);
QVUTIL_API int WINAPI GetFuncDescNameFromFuncName(LPCSTR funcName, LPSTR buffer, int bufferSize);
QVUTIL_API int WINAPI CallPredefinedButtonFunction(LPCSTR funcName, int eventCode);
QVUTIL_API int WINAPI GetHIDFuncName(int usage, LPSTR buffer, int bufferSize);   /* NULL buffer: presence test */
QVUTIL_API int WINAPI GetHIDFuncDesc(int usage, LPSTR buffer, int bufferSize);
QVUTIL_API int WINAPI GetHIDUsageCode(LPCSTR funcName);
QVUTIL_API int WINAPI CallHIDButtonFunction(int usage, int eventCode, int* result);   /* result may be NULL */
QVUTIL_API LRESULT WINAPI SendAppCommand(HWND hwnd, int command);

/* Audio CD. `drive` is a CD-ROM drive root ("D:\") or NULL for the default device.
 * Results are MCI error codes (0 = success) unless noted. */
QVUTIL_API int WINAPI AudioCD_OpenCDAudio(LPCSTR drive);
QVUTIL_API UINT WINAPI AudioCD_CloseCDAudio(void);
QVUTIL_API UINT WINAPI AudioCD_Play(LPCSTR drive);
QVUTIL_API UINT WINAPI AudioCD_Pause(LPCSTR drive);
QVUTIL_API UINT WINAPI AudioCD_PlayPause(LPCSTR drive);
QVUTIL_API UINT WINAPI AudioCD_Stop(LPCSTR drive);
QVUTIL_API UINT WINAPI AudioCD_NextTrack(LPCSTR drive);
QVUTIL_API UINT WINAPI AudioCD_PrevTrack(LPCSTR drive);
QVUTIL_API int WINAPI AudioCD_IsPlaying(LPCSTR drive);    /* 1, 0, or -1 when the device does not open */
QVUTIL_API UINT WINAPI AudioCD_FindAudioByMCI(LPCSTR drive);
QVUTIL_API int WINAPI CD_IsPlaying(void);
QVUTIL_API int WINAPI CD_CheckPlayPauseStatus(void);   /* 1, 0, or -1 without a playable disc */

/* Disc media keys and player launch. The CD_ keys always return 1. */
QVUTIL_API int WINAPI CD_Play(void);
QVUTIL_API int WINAPI CD_Pause(void);
QVUTIL_API int WINAPI CD_PlayPause(void);
QVUTIL_API int WINAPI CD_NextTrack(void);
QVUTIL_API int WINAPI CD_PrevTrack(void);
QVUTIL_API int WINAPI CD_Stop(void);
QVUTIL_API int WINAPI LaunchVideoPlayer(void);
QVUTIL_API int WINAPI LaunchCDPlayer(void);
QVUTIL_API int WINAPI OpenAutoRunCD(LPCSTR driveRoot);

/* Uninstall records for other programs, added only under product uninstall keys that
 * already exist. __cdecl: the caller removes the arguments. Result: 0, or the registry
 * error met for keyName2 (keyName1's outcome is not reported); a null or empty key name
 * is skipped. A null path or directory gives ERROR_INVALID_PARAMETER and writes nothing;
 * a path whose directory part exceeds 1023 characters is not recorded
 * (ERROR_FILENAME_EXCED_RANGE). */
QVUTIL_API LONG __cdecl CreateUninstallDeleteFileRegistry(LPCSTR path, LPCSTR keyName1, LPCSTR keyName2);
QVUTIL_API LONG __cdecl CreateUninstallDeleteDirRegistry(LPCSTR directory, LPCSTR flagText, LPCSTR keyName1, LPCSTR keyName2);

/* File, version and shortcut helpers. Out paths without a size hold 260 bytes.
 * GetFileDescription's buffer holds maxLength + 1 bytes (the text and its terminator). */
QVUTIL_API int WINAPI FileExisted(LPCSTR path);
QVUTIL_API int WINAPI GetFileVersionFromNumber(LPCSTR path, DWORD* versionHigh, DWORD* versionLow);
QVUTIL_API int WINAPI GetFileVersionFromString(LPCSTR path, DWORD* versionHigh, DWORD* versionLow);
QVUTIL_API int WINAPI GetFileDescription(LPCSTR path, LPSTR buffer, int maxLength);
QVUTIL_API void WINAPI GetStartMenuPath(LPSTR path);
QVUTIL_API void WINAPI GetProgramMenuPath(LPSTR path);
QVUTIL_API HRESULT WINAPI GetLinkInfo(HWND owner, LPCSTR linkPath, LPSTR targetPath, LPSTR description);
QVUTIL_API HRESULT WINAPI CreateShortcut(LPCSTR targetPath, LPCSTR arguments, int iconIndex, LPCSTR linkPath);

/* CD-ROM drive access. */
QVUTIL_API int WINAPI InitAspi(void);
QVUTIL_API int WINAPI DestroyAspi(void);
QVUTIL_API int WINAPI OnIsCdromPlaying(int discClass);
/* Program launch and window control. `processId` may be NULL; it is set only when a new
 * child process is found (0 when its window did not appear within about a second), so
 * callers set it to 0 first. `buffer` of GetWndFileName holds maxLength + 1 bytes. The
 * `path` buffers hold 260 bytes; that of FindProgramPath may be NULL. */
QVUTIL_API int WINAPI LaunchProgram(LPCSTR file, LPCSTR parameters, LPCSTR directory, DWORD* processId);
QVUTIL_API int WINAPI GetWndFileName(HWND hwnd, LPSTR buffer, int maxLength);
QVUTIL_API HWND WINAPI FindWindowByPath(LPCSTR programPath);
QVUTIL_API int WINAPI FindProgram(LPCSTR directory, LPCSTR title, LPSTR path);
QVUTIL_API int WINAPI FindProgramPath(LPCSTR title, LPCSTR startDirectory, LPSTR path);
QVUTIL_API int WINAPI ActivateWindow(HWND hwnd);
QVUTIL_API int WINAPI ActivateWindowByProcessId(DWORD processId, int toggle);
QVUTIL_API int WINAPI CloseCurrentWindow(void);
QVUTIL_API int WINAPI SwitchNextWindow(void);
QVUTIL_API int WINAPI ActivateScreenSaver(void);
QVUTIL_API int WINAPI LaunchCalculator(void);
QVUTIL_API int WINAPI LaunchSystemHelp(void);
QVUTIL_API int WINAPI LaunchMyDocuments(void);

/* Mail and web launch. Buffer sizes are in bytes, terminator included. */
QVUTIL_API int WINAPI EnumMailClient(int index, LPSTR name, int nameSize);
QVUTIL_API int WINAPI GetDefaultMailClient(LPSTR buffer, int bufferSize);
QVUTIL_API int WINAPI GetDefaultMailClientDllPath(LPSTR buffer, int bufferSize);
QVUTIL_API int WINAPI LaunchMailClient(LPCSTR clientName);
QVUTIL_API int WINAPI LaunchDefaultMailProgram(void);
QVUTIL_API int WINAPI GetWebHomePage(LPSTR buffer, int bufferSize);
QVUTIL_API int WINAPI OpenWWWHomePage(void);

/* Mixer: master volume and mute of mixer device 0's speaker line. Volumes run 0..65535;
 * a step of 0 means 2730. Results are MMRESULTs (0 = success), or 0 before Mixer_Init or
 * without a mixer device. The volume ramp is a thread timer: the thread that starts it
 * must dispatch messages and must stop it. */
QVUTIL_API int WINAPI Mixer_Init(HWND owner);
QVUTIL_API UINT WINAPI Mixer_VolumeUp(UINT step);
QVUTIL_API UINT WINAPI Mixer_VolumeDown(UINT step);
QVUTIL_API UINT WINAPI Mixer_GetVolume(int* volume);
QVUTIL_API UINT WINAPI Mixer_ToggleMute(void);
QVUTIL_API int WINAPI Mixer_GetMuteState(void);
QVUTIL_API int WINAPI Mixer_SetMuteState(int muted);
QVUTIL_API int WINAPI Mixer_StartVolumeIncrease(void);
QVUTIL_API int WINAPI Mixer_StartVolumeDecrease(void);
QVUTIL_API int WINAPI Mixer_StopVolumeIncrease(void);
QVUTIL_API int WINAPI Mixer_StopVolumeDecrease(void);

#endif
