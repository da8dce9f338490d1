// Programs the installer stops and starts: "Kill Programs" against the window stand-in on
// NT (ended from inside) and on 95 (asked to close), "Run Programs" with its quoted
// parameters, and the driver service start.
#include <doctest/doctest.h>

#include "install.h"
#include "setup.h"
#include "setuptest.h"
#include "procs.h"
#include "wintest.h"

#include <string>

using namespace qvtest;
using namespace setuptest;

namespace {

// A started stand-in, ended at the end of the test whatever happened.
struct Sim {
    DWORD id;
    HANDLE process;
    std::string log;
    Sim(const char* tag, const std::string& args) : log(NewLogPath(tag))
    {
        id = StartSim(SimProgram("testapp.exe"), args, log);
        process = id ? OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, id) : NULL;
    }
    ~Sim()
    {
        if (process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT)
            EndProcess(id);
        if (process)
            CloseHandle(process);
    }
    bool Ended(DWORD ms) const { return WaitForSingleObject(process, ms) == WAIT_OBJECT_0; }
    DWORD ExitCode() const
    {
        DWORD code = kNoExit;
        GetExitCodeProcess(process, &code);
        return code;
    }
    bool Logged(const char* text) const { return ReadTextFile(log).find(text) != std::string::npos; }
};

} // namespace

QV_CHILD(kill)
{
    if (!StartIn(argv[0]))
        return 99;
    SetupKillPrograms();
    return 0;
}

TEST_CASE("Kill Programs: a window found by class and title has its program ended (NT) or closed (95)")
{
    for (const char* mode : { "winxp", "win95" }) {
        CAPTURE(mode);
        std::string tag = std::to_string(GetCurrentProcessId()) + "-" + mode;
        std::string titleA = "QvKill-" + tag, titleB = "QvKeep-" + tag;
        Sim a("killa", "window title=" + titleA), b("killb", "window title=" + titleB);
        REQUIRE(a.process != NULL);
        REQUIRE(b.process != NULL);
        std::string dir = MakeSetupDir("kill");
        std::string script = "[Setup]\n[Kill Programs]\n"
                             "absent=NoSuchClass," + titleA + "\n"
                             "near=QvTestApp," + titleB + "-other\n"
                             "a=QvTestApp," + titleA + "\n";
        WriteScript(dir + "\\SETUP95.INI", script);
        WriteScript(dir + "\\SETUP2K.INI", script);
        CHECK(RunAsMode(mode, SelfPath(), "--child kill " + dir, 60000) == 0);
        if (std::string(mode) == "winxp") {
            // Ended by the time the step returns, through ExitProcess(0) in its own process:
            // its window never saw a close, its message loop never ended.
            CHECK(a.Ended(0));
            CHECK(a.ExitCode() == 0);
            CHECK_FALSE(a.Logged("close 1"));
            CHECK_FALSE(a.Logged("\r\nexit"));
        } else {
            CHECK(a.Logged("close 1"));
            CHECK(a.Ended(10000));
            CHECK(a.Logged("\r\nexit"));
        }
        // Lines that match no window, or only part of one, leave the other program alone.
        CHECK_FALSE(b.Ended(0));
        CHECK_FALSE(b.Logged("close"));
        RemoveTree(dir);
    }
}

TEST_CASE("ending a window's program from inside reports what stopped it")
{
    Sim a("endwin", "window title=QvEnd-" + std::to_string(GetCurrentProcessId()));
    REQUIRE(a.process != NULL);
    HWND wnd = FindWindowA("QvTestApp", ("QvEnd-" + std::to_string(GetCurrentProcessId())).c_str());
    REQUIRE(wnd != NULL);
    SetLastError(0xdeadbeef);
    CHECK(SetupEndWindowProcess(wnd) == 1);
    CHECK(a.Ended(0));
    CHECK(a.ExitCode() == 0);
    // The window went with its process: no process to open.
    SetLastError(0xdeadbeef);
    CHECK(SetupEndWindowProcess(wnd) == 0);
    CHECK(GetLastError() != 0xdeadbeef);
}

QV_CHILD(run)
{
    if (!StartIn(argv[0], argc > 1 ? argv[1] : ""))
        return 99;
    SetupRunPrograms();
    return 0;
}

TEST_CASE("Run Programs: each program from its folder, its parameters in double quotes, none waited for")
{
    // Copies of the stand-in under names of their own, so no other test's search finds them.
    std::string dir = MakeSetupDir("run");
    REQUIRE(CopyFileA(SimProgram("testapp.exe").c_str(), (dir + "\\first.exe").c_str(), FALSE));
    REQUIRE(CopyFileA(SimProgram("testapp.exe").c_str(), (dir + "\\second.exe").c_str(), FALSE));
    std::string first = NewLogPath("runa"), second = NewLogPath("runb");
    WriteScript(dir + "\\SETUP2K.INI", "[Setup]\n[Run Programs]\n"
                                        "first.exe=" + dir + "\n"
                                        "missing.exe=" + dir + ",x\n"
                                        "second.exe=" + dir + ",log=" + second + "\n");
    // The program without parameters logs where the environment says.
    SetEnvironmentVariableA("QV_SIM_LOG", first.c_str());
    CHECK(RunAsMode("winxp", SelfPath(), "--child run " + dir, 30000) == 0);
    SetEnvironmentVariableA("QV_SIM_LOG", NULL);
    REQUIRE(WaitForText(first, "ready", 20000));
    REQUIRE(WaitForText(second, "ready", 20000));
    std::string a = ReadTextFile(first), b = ReadTextFile(second);
    CAPTURE(a);
    CAPTURE(b);
    // Empty parameters arrive as one empty argument.
    CHECK(a.find("exe=" + dir + "\\first.exe\r\n") != std::string::npos);
    CHECK(a.find("arg 1=\r\n") != std::string::npos);
    CHECK(a.find("arg 2=") == std::string::npos);
    CHECK(a.find("cwd " + dir + "\r\n") != std::string::npos);
    CHECK(b.find("arg 1=log=" + second + "\r\n") != std::string::npos);
    CHECK(b.find("cwd " + dir + "\r\n") != std::string::npos);
    // Both still run after the step has returned.
    DWORD ids[] = { LoggedProcessId(first), LoggedProcessId(second) };
    for (DWORD id : ids) {
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
        CHECK(process != NULL);
        if (process) {
            CHECK(WaitForSingleObject(process, 0) == WAIT_TIMEOUT);
            EndProcess(id);
            WaitForSingleObject(process, 10000);
            CloseHandle(process);
        }
    }
    RemoveTree(dir);
}

QV_CHILD(service)
{
    SetupInitState(NULL);
    return SetupStartDriverService();
}

TEST_CASE("the driver service is started on NT 5 and later only")
{
    struct {
        const char* mode;
        DWORD started;
    } cases[] = { { "win95", 0 }, { "win98", 0 }, { "nt40", 0 }, { "win2k", 1 }, { "winxp", 1 } };
    for (const auto& c : cases) {
        CAPTURE(c.mode);
        CHECK(RunAsMode(c.mode, SelfPath(), "--child service", 30000) == c.started);
    }
}
