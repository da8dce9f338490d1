// The daemon's start-up and shut-down order, seen from outside: logging builds of the
// utility and display libraries sit beside a copy of the daemon, and their call log is
// merged with the driver stand-ins' call log by the clock both stamp with.
#include <doctest/doctest.h>

#include "daemontest.h"
#include "drivers.h"
#include "wintest.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

using namespace qvtest;

namespace {

struct Daemon : DaemonRun {
    Daemon() { process = NULL; }
    ~Daemon()
    {
        if (process)
            StopDaemon(this);
    }
};

typedef std::vector<std::pair<LONGLONG, std::string> > Timeline;

// A folder holding the logging libraries and, under other names, the real ones they pass
// calls on to.
std::string LoggingFolder(const char* tag)
{
    std::string dir = MakeTempDir(tag);
    std::string logs = SimDir() + "\\calllog\\";
    std::string real = DirOf(DaemonPath()) + "\\";
    bool ok = CopyFileA((logs + "QVUtil.dll").c_str(), (dir + "\\QVUtil.dll").c_str(), FALSE) &&
              CopyFileA((logs + "QVOSD.dll").c_str(), (dir + "\\QVOSD.dll").c_str(), FALSE) &&
              CopyFileA((real + "QVUtil.dll").c_str(), (dir + "\\qvutil-real.dll").c_str(), FALSE) &&
              CopyFileA((real + "QVOSD.dll").c_str(), (dir + "\\qvosd-real.dll").c_str(), FALSE);
    return ok ? dir : std::string();
}

void ReadLibraryCalls(const std::string& path, Timeline* out, std::string* details)
{
    std::ifstream in(path.c_str());
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line[line.size() - 1] == '\r')
            line.erase(line.size() - 1);
        std::istringstream fields(line);
        LONGLONG stamp = 0;
        std::string name, detail;
        fields >> stamp >> name;
        std::getline(fields, detail);
        out->push_back(std::make_pair(stamp, name));
        *details += name + detail + "\n";
    }
}

// The control codes the sequences send, which the caller waits for. Wine hands opens and
// closes to a driver without waiting for it, so their stamps tell no order across
// libraries (test_driverlink checks them per driver); reads and BEGIN belong to the
// reader threads.
void ReadDriverCalls(LONGLONG from, Timeline* out)
{
    static const char* const kDevices[] = { "usb", "nt", "vxd", "control", "port" };
    for (const SIM_CALL& c : AllCalls()) {
        if (c.stamp < from || c.device == SIM_DEV_CONTROL || c.device > SIM_DEV_PORT || c.major != SIM_MJ_CONTROL)
            continue;
        if (c.code == 0x22000C || c.code == 0x220008)
            continue;
        char item[64];
        if (c.device == SIM_DEV_VXD)
            wsprintfA(item, "vxd:%lu", c.code);
        else
            wsprintfA(item, "%s:%lx(%lu)", kDevices[c.device], c.code, c.arg);
        out->push_back(std::make_pair(c.stamp, std::string(item)));
    }
}

std::string Sequence(Timeline t)
{
    std::stable_sort(t.begin(), t.end(),
                     [](const Timeline::value_type& a, const Timeline::value_type& b) { return a.first < b.first; });
    std::string s;
    for (const Timeline::value_type& e : t)
        s += e.second + " ";
    return s;
}

struct OrderRun {
    std::string startup, shutdown, details;
};

// With `secondCopy`, a second copy of the daemon is started with those switches while the
// logged one runs, and must end with 0.
OrderRun RunLogged(const char* mode, const char* secondCopy = NULL)
{
    OrderRun r;
    REQUIRE(EnsureDriverStandIns());
    REQUIRE(SimReset());
    std::string dir = LoggingFolder(mode);
    REQUIRE_FALSE(dir.empty());
    std::string log = dir + "\\calls.log";
    SetEnvironmentVariableA("QV_CALL_LOG", log.c_str());
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    {
        Daemon d;
        bool started = StartDaemonIn(&d, mode, dir);
        QueryPerformanceCounter(&t1);
        SetEnvironmentVariableA("QV_CALL_LOG", NULL);
        REQUIRE(started);
        if (secondCopy) {
            std::string line = "\"" + DaemonPath() + "\" " + secondCopy;
            CHECK(RunProgram(line, 15000) == 0);
            QueryPerformanceCounter(&t1);
        }
        CHECK(StopDaemon(&d) == 0);
    }
    Timeline all, before, after;
    ReadLibraryCalls(log, &all, &r.details);
    ReadDriverCalls(t0.QuadPart, &all);
    for (const Timeline::value_type& e : all)
        (e.first < t1.QuadPart ? before : after).push_back(e);
    r.startup = Sequence(before);
    r.shutdown = Sequence(after);
    RemoveTree(dir);
    return r;
}

std::string UserName()
{
    char user[256];
    DWORD size = sizeof(user);
    return GetUserNameA(user, &size) ? user : "";
}

} // namespace

TEST_CASE("start-up and shut-down reach the libraries and drivers in their order on XP")
{
    OrderRun r = RunLogged("winxp");
    CHECK_MESSAGE(r.startup == "SetThreadResourceLocale Reg_InitProfile InitAspi usb:220014(1) nt:220014(1) Mixer_Init "
                               "OSD_Init usb:220018(0) ",
                  r.startup);
    CHECK_MESSAGE(r.shutdown == "DestroyAspi OSD_Destroy usb:220014(0) nt:220014(0) AudioCD_CloseCDAudio ",
                  r.shutdown);
    CHECK_MESSAGE(r.details.find("Reg_InitProfile Software\\Qelvano\\5125|" + UserName() + "\n") != std::string::npos,
                  r.details);
}

TEST_CASE("on Windows 98 the legacy driver is set up and CD audio opened before the mixer")
{
    OrderRun r = RunLogged("win98");
    CHECK_MESSAGE(r.startup == "Reg_InitProfile InitAspi vxd:1 vxd:2 vxd:10 usb:220014(1) nt:220014(1) "
                               "AudioCD_OpenCDAudio Mixer_Init OSD_Init usb:220018(0) ",
                  r.startup);
    CHECK_MESSAGE(r.shutdown == "DestroyAspi OSD_Destroy usb:220014(0) nt:220014(0) AudioCD_CloseCDAudio ",
                  r.shutdown);
    CHECK_MESSAGE(r.details.find("AudioCD_OpenCDAudio (null)\n") != std::string::npos, r.details);
}

TEST_CASE("a second copy makes the running one reload the display settings, once per start")
{
    OrderRun r = RunLogged("winxp", "/ShowIcon");
    CHECK_MESSAGE(r.startup.find("OSD_Init usb:220018(0) ") != std::string::npos, r.startup);
    // DM_SHOWICON and DM_RELOAD each bring the icon up to date (a count query), then the reload.
    CHECK_MESSAGE(r.startup.find("OSD_Init usb:220018(0) usb:220018(0) usb:220018(0) OSD_LoadSettings ") !=
                      std::string::npos,
                  r.startup);
    CHECK(r.details.find("OSD_LoadSettings") == r.details.rfind("OSD_LoadSettings"));
    CHECK_MESSAGE(r.shutdown == "DestroyAspi OSD_Destroy usb:220014(0) nt:220014(0) AudioCD_CloseCDAudio ",
                  r.shutdown);
}
