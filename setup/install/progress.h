// What the worker shares with the progress page: the page's controls reached through a
// small table (the real page binds it, tests bind a plain dialog), the counters the page
// paints, and the pause, cancel and busy state both threads touch.
#ifndef QV_SETUP_PROGRESS_H
#define QV_SETUP_PROGRESS_H

#include <windows.h>

// Control ids of the progress page.
enum {
    PROGRESS_COPY_TEXT = 1450,
    PROGRESS_DRIVER_TEXT = 1003,
    PROGRESS_FROM_LABEL = 1500,
    PROGRESS_TO_LABEL = 2,
    PROGRESS_PERCENT = 1400,
    PROGRESS_SOURCE = 1002,
    PROGRESS_DESTINATION = 1001,
    PROGRESS_COPY_ANIMATION = 1009,
    PROGRESS_DRIVER_ANIMATION = 1010,
};

// The worker's way to its page. Every member is called from the worker's thread.
struct SetupPage {
    void* context;
    void (*show)(void* context, int id, int visible);
    void (*setText)(void* context, int id, const char* text);
    // Opens animation resource `resource` in control `id` and plays it, repeating.
    void (*playAnimation)(void* context, int id, int resource);
    void (*stopAnimation)(void* context, int id);
    void (*repaint)(void* context);
    void (*disableCancel)(void* context);
    void (*pressNext)(void* context);
    // The result page's members, called from the page's own thread.
    void (*check)(void* context, int id, int checked);
    // Copies the control's text into `text` (`size` bytes, terminated).
    void (*getText)(void* context, int id, char* text, int size);
};

// SETUP_RESULT_FILE_TABLE: "Copy Files" could not be taken whole; nothing was copied.
enum { SETUP_RESULT_OK = 0, SETUP_RESULT_NO_PRIVILEGE = 1, SETUP_RESULT_CABINET = 3, SETUP_RESULT_FILE_TABLE = 4 };

struct SetupProgress {
    DWORD total;      // bytes of every file to copy
    DWORD done;       // bytes of the files handled so far
    volatile LONG percent;    // 0 to 100, read by the painter
    volatile LONG extracted;  // files now in the temporary directory
    HANDLE pauseEvent;        // manual reset; the worker waits on it before each file
    volatile LONG cancel;
    volatile LONG cabinetBusy, driverBusy;
    volatile LONG installResult;
};

extern SetupProgress g_progress;

// Back to a fresh run: counters 0, flags clear, result 0; the pause event is kept.
void SetupResetProgress(void);
// Creates the pause event (signalled) when there is none. 1 when there is one.
int SetupCreatePauseEvent(void);
// Waits while the page holds the worker; 1 when the run is to go on, 0 when cancelled.
int SetupWaitToGoOn(void);
// Adds `bytes` to the bytes done and recomputes the percentage.
void SetupAddDone(DWORD bytes);

// Calls that do nothing for a null page or member.
void PageShow(const SetupPage* page, int id, int visible);
void PageSetText(const SetupPage* page, int id, const char* text);
void PagePlay(const SetupPage* page, int id, int resource);
void PageStop(const SetupPage* page, int id);
void PageRepaint(const SetupPage* page);
void PageCheck(const SetupPage* page, int id, int checked);
// An empty text for a null page or member.
void PageGetText(const SetupPage* page, int id, char* text, int size);

#endif
