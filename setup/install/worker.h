// The installer's worker thread: the installation steps in order while the progress page
// shows them, and the way the page stops it without a half-written file.
#ifndef QV_SETUP_WORKER_H
#define QV_SETUP_WORKER_H

#include "progress.h"

// The thread's entry; `page` is a SetupPage that outlives the thread. Returns 0.
DWORD WINAPI SetupWorkerThread(LPVOID page);
// Resets the progress, creates the pause event and starts the worker. 1 when started.
int SetupStartWorker(const SetupPage* page);
// Asks the worker to stop at its next wait (cancel flag, pause event released) and waits
// up to `timeoutMs` for it; only a worker that does not end by then is terminated. Closes
// the thread and event handles. 1 when the worker ended by itself (or none ran).
int SetupStopWorker(DWORD timeoutMs);
// Closes the handles of a worker that ended (the page's wizard-next).
void SetupCloseWorker(void);
// The installation directory, prefix by prefix, recorded for the uninstaller with "0".
void SetupCreateInstallDir(void);

#endif
