// State shared by QVOSD's own files: the settings and the one display window.
#ifndef QVOSD_INTERNAL_H
#define QVOSD_INTERNAL_H

#include <windows.h>

extern HINSTANCE g_osdInstance;

#define OSD_SECTION "OSD"
#define OSD_WINDOW_CLASS "QV_OSD_WNDCLASS"

enum { IDB_SPEAKER = 101, IDB_SPEAKER_MUTED = 102, IDS_MUTE_ON = 1, IDS_MUTE_OFF = 2 };

struct OsdSettings {
    BOOL enabled;
    COLORREF color;
    DWORD duration;     // ms
    int storedHeight;   // the font height as stored, for a 768-line screen
    LOGFONTA font;      // lfHeight is the height for drawing on this screen
    BOOL userChanged;
    HBRUSH brush;       // the window class's background, owned here
};
extern OsdSettings g_osd;

// The display window, or NULL; it may have been destroyed behind our back.
extern HWND g_osdWindow;

// True when the store holds "UserChanged": the stored height is then used unscaled.
bool OsdUserChangedStored();

// Gives the window class a brush of the current colour when it has none alive.
void OsdEnsureBrush(HWND window);

// Creates the display window when the kept handle names none. Returns it, or NULL.
HWND OsdEnsureWindow();

// Hands `region` to the window and shows it top-most without activating it.
// Text: hide first and honour keep-showing; volume: neither (see the callers).
enum OsdShowKind { OSD_SHOW_TEXT, OSD_SHOW_VOLUME };
void OsdShowRegion(HRGN region, OsdShowKind kind);
void OsdHide();

#endif
