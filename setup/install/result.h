// The last wizard page's work: what it shows once the installation is over, the replacements
// it schedules, and the restart it asks for on Finish. The page calls these with its table.
#ifndef QV_SETUP_RESULT_H
#define QV_SETUP_RESULT_H

#include "progress.h"

// Control ids of the result page.
enum {
    RESULT_RESTART_TEXT = 711,
    RESULT_RESTART_NOW = 502,
    RESULT_RESTART_LATER = 503,
    RESULT_FLOPPY_TEXT = 712,
    RESULT_DONE_TEXT = 713,
    RESULT_FAILED_TEXT = 1004,
    RESULT_NO_PRIVILEGE_TEXT = 1005,
    RESULT_README_TEXT = 1007,
};

// On the page's creation: the failure texts, or the success text, or the restart choice
// (502 selected) with the product name in it. After a successful run it schedules every
// file that was in use for replacement and then needs a restart when any was scheduled.
void SetupShowResult(const SetupPage* page);

// On Finish, `laterSelected` being 503's state: after a successful run that needs a restart,
// without "NR" and without "later", reminds of floppies (unless silent) and asks the system
// to restart. 1 when the restart was asked for (whatever the system answered).
int SetupFinishResult(int laterSelected);

// 1 when the first floppy drive holds a readable disk, judged without the system's
// critical-error box.
int SetupFloppyPresent(void);

#endif
