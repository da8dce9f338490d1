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

// The USB keyboard alone, unplugged (count 0), and a daemon without an icon; the stand-ins
// are reset afterwards whatever happened.
struct TrayRun {
    DaemonRun d;
    TrayRun()
    {
        d.process = NULL;
        REQUIRE(EnsureDriverStandIns());
        REQUIRE(SimReset());
        REQUIRE(SimRemove(SIM_DEV_NT));
        REQUIRE(StartDaemon(&d, "winxp"));
        CHECK_FALSE(TrayIconShown(d.window));
    }
    ~TrayRun()
    {
        if (d.process)
            StopDaemon(&d);
        SimReset();
    }
};

// The test's own icon under the daemon's window and id: the shell then refuses the daemon's
// add, and the daemon's delete once the test has taken it away.
bool TakeIconSlot(HWND daemon, DWORD message)
{
    return TrayIconRequest(daemon, message, "held by the test");
}

} // namespace

TEST_CASE("the tray icon appears with a keyboard and goes with its removal")
{
    TrayRun run;
    DaemonRun& d = run.d;
    REQUIRE(SimSetCount(SIM_DEV_USB, 1));
    SendDeviceChange(d.window, DBT_DEVICEARRIVAL);
    CHECK(TrayIconShown(d.window));
    SendDeviceChange(d.window, DBT_DEVICEARRIVAL);
    CHECK(TrayIconShown(d.window));

    std::string out;
    CHECK(RunKeysim("remove usb notify", &out) == 0);
    CHECK_FALSE(TrayIconShown(d.window));
    CHECK(StopDaemon(&d) == 0);
}

TEST_CASE("a refused add is tried again at the next update; a refused delete keeps the icon counted as shown")
{
    TrayRun run;
    DaemonRun& d = run.d;
    SUBCASE("add")
    {
        REQUIRE(TakeIconSlot(d.window, NIM_ADD));
        REQUIRE(SimSetCount(SIM_DEV_USB, 1));
        SendDeviceChange(d.window, DBT_DEVICEARRIVAL); // refused: the slot is taken
        REQUIRE(TakeIconSlot(d.window, NIM_DELETE));
        CHECK_FALSE(TrayIconShown(d.window));
        SendDeviceChange(d.window, DBT_DEVICEARRIVAL); // still not shown, so added now
        CHECK(TrayIconShown(d.window));
    }
    SUBCASE("delete")
    {
        REQUIRE(SimSetCount(SIM_DEV_USB, 1));
        SendDeviceChange(d.window, DBT_DEVICEARRIVAL);
        REQUIRE(TrayIconShown(d.window));
        REQUIRE(TakeIconSlot(d.window, NIM_DELETE));
        REQUIRE(SimSetCount(SIM_DEV_USB, 0));
        SendDeviceChange(d.window, DBT_DEVICEREMOVECOMPLETE); // refused: nothing to delete
        REQUIRE(SimSetCount(SIM_DEV_USB, 1));
        SendDeviceChange(d.window, DBT_DEVICEARRIVAL); // counted as shown, so not added again
        CHECK_FALSE(TrayIconShown(d.window));
    }
    CHECK(StopDaemon(&d) == 0);
}
