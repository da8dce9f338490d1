// The wizard frame and the behaviour its pages share.
#include "wizard.h"

volatile LONG g_titleBandHeight = 0;

void SetupRunWizard(HWND)
{
    // The pages are bound in the wizard's own change; until then there is nothing to run.
}
