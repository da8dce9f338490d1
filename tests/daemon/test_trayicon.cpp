// The tray icon follows device presence: none without a keyboard, added when an arrival makes
// the count non-zero, deleted on DBT_DEVICEREMOVECOMPLETE. Probed from outside with
// NIM_MODIFY, which the shell answers with success only for an icon it holds.
#include <doctest/doctest.h>

#include "daemontest.h"
#include "drivers.h"
#include "wintest.h"

#include <dbt.h>
#include <shellapi.h>

using namespace qvtest;

namespace {

bool IconShown(HWND daemon)
{
    NOTIFYICONDATAA nid;
    ZeroMemory(&nid, sizeof(nid));
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = daemon;
    nid.uID = 108;
    nid.uFlags = NIF_TIP;
    lstrcpynA(nid.szTip, "Tavimon (Lumeno Keyboard)", sizeof(nid.szTip));
    return Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

void Change(HWND window, WPARAM change)
{
    DWORD_PTR result;
    SendMessageTimeoutA(window, WM_DEVICECHANGE, change, 0, SMTO_ABORTIFHUNG, 5000, &result);
}

} // namespace

TEST_CASE("the tray icon appears with a keyboard and goes with its removal")
{
    REQUIRE(EnsureDriverStandIns());
    REQUIRE(SimReset());
    REQUIRE(SimRemove(SIM_DEV_NT));
    struct Restore {
        ~Restore() { SimReset(); }
    } restore;
    DaemonRun d;
    REQUIRE(StartDaemon(&d, "winxp"));
    CHECK_FALSE(IconShown(d.window));

    REQUIRE(SimSetCount(SIM_DEV_USB, 1));
    Change(d.window, DBT_DEVICEARRIVAL);
    CHECK(IconShown(d.window));
    Change(d.window, DBT_DEVICEARRIVAL);
    CHECK(IconShown(d.window));

    std::string out;
    CHECK(RunKeysim("remove usb notify", &out) == 0);
    CHECK_FALSE(IconShown(d.window));
    CHECK(StopDaemon(&d) == 0);
}
