/* Exported interface of QVOSD.dll, the on-screen display: a volume bar, a mute
 * indication or a line of text in a top-most window cut to the shape of what is drawn.
 * C-compatible.
 *
 * OSD_Init must be called first, on the thread whose message loop serves the display
 * (its hide timer); every other call belongs on that thread too. The settings live in
 * section "OSD" of the QVUtil profile, which the host sets up with Reg_InitProfile. */
#ifndef QVOSD_H
#define QVOSD_H

#include <windows.h>

#ifdef __cplusplus
#define QVOSD_EXTERN extern "C"
#else
#define QVOSD_EXTERN extern
#endif

#ifdef QVOSD_EXPORTS
#define QVOSD_API QVOSD_EXTERN __declspec(dllexport)
#else
#define QVOSD_API QVOSD_EXTERN __declspec(dllimport)
#endif

/* Display settings. */
QVOSD_API int WINAPI OSD_LoadSettings(void);  /* 1 if "Enabled" was found */
QVOSD_API int WINAPI OSD_SaveSettings(void);  /* 1 if "UserChanged" was written */
QVOSD_API int WINAPI OSD_SetColor(COLORREF color);
QVOSD_API int WINAPI OSD_SelectFont(HWND owner); /* 0 when cancelled */

/* Display window and rendering. The show functions return 0 when the display is off. */
QVOSD_API int WINAPI OSD_Init(void);
QVOSD_API int WINAPI OSD_Destroy(void);
/* `text` may be NULL (nothing drawn). `rect` may be NULL (the desktop); its right and
 * bottom are a margin in 1024 x 768 units and are rewritten to screen pixels. */
QVOSD_API int WINAPI OSD_ShowString(LPCSTR text, LPRECT rect, UINT format);
QVOSD_API int WINAPI OSD_ShowMuteIcon(int muted);
QVOSD_API int WINAPI OSD_ShowVolume(UINT level, UINT bars); /* level 0..0xFFFF; bars 0 = 32 */
QVOSD_API int WINAPI OSD_KeepShowing(int keep);

#endif
