// Program launch and window control as a user sees it: which program starts, which
// window ends up in front, minimised or closed, against the window stand-in of sim/.
#include <doctest/doctest.h>

#include "QVUtil.h"
#include "procs.h"
#include "wintest.h"

#include <tlhelp32.h>
#include <shlobj.h>
#include <string.h>

#include <string>
#include <vector>

using namespace qvtest;

namespace {

// Ends every stand-in a test case started, also when a check failed half-way.
struct SimProcesses {
    std::vector<DWORD> ids;
    DWORD Add(DWORD id)
    {
        if (id)
            ids.push_back(id);
        return id;
    }
    ~SimProcesses()
    {
        for (DWORD id : ids)
            EndProcess(id);
    }
};

HWND FirstWindow(DWORD processId)
{
    std::vector<HWND> windows = VisibleWindows(processId);
    return windows.empty() ? NULL : windows[0];
}

HWND WindowTitled(DWORD processId, int index)
{
    char title[64];
    wsprintfA(title, "testapp %lu %d", processId, index);
    return FindWindowA("QvTestApp", title);
}

bool InFront(DWORD processId)
{
    HWND front = GetForegroundWindow();
    return front && WindowProcess(front) == processId;
}

std::string LowerCase(std::string text)
{
    CharLowerBuffA(&text[0], (DWORD)text.size());
    return text;
}

} // namespace

TEST_CASE("window's program file: full path, exact-size buffer, bad handles")
{
    SimProcesses sims;
    std::string log = NewLogPath("wfn");
    DWORD app = sims.Add(StartSim(SimProgram("testapp.exe"), "", log));
    REQUIRE(app);
    HWND wnd = FirstWindow(app);
    REQUIRE(wnd);

    char name[300];
    REQUIRE(GetWndFileName(wnd, name, 260) == 1);
    CHECK(LowerCase(name) == LowerCase(SimProgram("testapp.exe")));

    int length = lstrlenA(name);
    memset(name, '#', sizeof(name));
    CHECK(GetWndFileName(wnd, name, length) == 1);
    CHECK(lstrlenA(name) == length);
    CHECK(name[length + 1] == '#');

    memset(name, '#', sizeof(name));
    CHECK(GetWndFileName(wnd, name, length - 1) == 0);
    CHECK(name[0] == '#');

    CHECK(GetWndFileName(wnd, NULL, 260) == 0);
    CHECK(GetWndFileName(NULL, name, 260) == 0);
    CHECK(GetWndFileName((HWND)(UINT_PTR)0x7ff0, name, 260) == 0);
    EndProcess(app);
    CHECK(GetWndFileName(wnd, name, 260) == 0);
}

QV_CHILD(win95_window_file)
{
    HWND wnd = (HWND)(UINT_PTR)strtoul(argv[0], NULL, 16);
    char name[300];
    if (!GetWndFileName(wnd, name, 260))
        return 1;
    // Windows 95 reports the full path here; Wine's toolhelp gives the base name in every mode.
    std::string text = LowerCase(name);
    std::string tail = "testapp.exe";
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0 ? 0 : 2;
}

TEST_CASE("window's program file on the Windows 95 family comes from the process snapshot")
{
    SimProcesses sims;
    DWORD app = sims.Add(StartSim(SimProgram("testapp.exe"), "", NewLogPath("wfn95")));
    REQUIRE(app);
    char handle[32];
    wsprintfA(handle, "%lx", (unsigned long)(UINT_PTR)FirstWindow(app));
    CHECK(RunAsMode("win95", SelfPath(), std::string("--child win95_window_file ") + handle, 20000) == 0);
    CHECK(RunAsMode("win98", SelfPath(), std::string("--child win95_window_file ") + handle, 20000) == 0);
}

TEST_CASE("window by program path: long and short form, most descendants, then Z order")
{
    SimProcesses sims;
    std::string dir = MakeTempDir("wbp") + "\\Long Program Folder";
    CreateDirectoryA(dir.c_str(), NULL);
    std::string exe = dir + "\\stand in program.exe";
    REQUIRE(CopyFileA(SimProgram("testapp.exe").c_str(), exe.c_str(), FALSE));
    char shortPath[MAX_PATH];
    REQUIRE(GetShortPathNameA(exe.c_str(), shortPath, sizeof(shortPath)) > 0);
    REQUIRE(lstrcmpiA(shortPath, exe.c_str()) != 0);

    DWORD few = sims.Add(StartSim(exe, "window children=1", NewLogPath("wbp")));
    DWORD many = sims.Add(StartSim(exe, "window children=3 window hidden children=9", NewLogPath("wbp")));
    REQUIRE(few);
    REQUIRE(many);
    REQUIRE(BringToFront(WindowTitled(few, 1)));

    SUBCASE("the window with more descendants wins over one higher in Z order")
    {
        CHECK(FindWindowByPath(exe.c_str()) == WindowTitled(many, 1));
        CHECK(FindWindowByPath(shortPath) == WindowTitled(many, 1));
        CHECK(FindWindowByPath(LowerCase(exe).c_str()) == WindowTitled(many, 1));
    }
    SUBCASE("equal counts: the one nearer the top")
    {
        DWORD twins = sims.Add(StartSim(exe, "window children=3 window children=3", NewLogPath("wbp")));
        REQUIRE(twins);
        EndProcess(many);
        REQUIRE(BringToFront(WindowTitled(twins, 2)));
        REQUIRE(BringToFront(WindowTitled(twins, 1)));
        CAPTURE(WindowText(FindWindowByPath(exe.c_str())));
        CHECK(FindWindowByPath(exe.c_str()) == WindowTitled(twins, 1));
        REQUIRE(BringToFront(WindowTitled(twins, 2)));
        CHECK(FindWindowByPath(exe.c_str()) == WindowTitled(twins, 2));
    }
    SUBCASE("no match")
    {
        CHECK(FindWindowByPath((dir + "\\other.exe").c_str()) == NULL);
        CHECK(FindWindowByPath((dir + std::string(300, 'x')).c_str()) == NULL);
        CHECK(FindWindowByPath("") == NULL);
        CHECK(FindWindowByPath(NULL) == NULL);
    }
    for (DWORD id : sims.ids)
        EndProcess(id);
    sims.ids.clear();
    RemoveTree(DirOf(dir));
}

TEST_CASE("activating a window restores it when minimised and hands the focus to its visible pop-up")
{
    SimProcesses sims;
    DWORD other = sims.Add(StartSim(SimProgram("testapp.exe"), "", NewLogPath("act")));
    DWORD plain = sims.Add(StartSim(SimProgram("testapp.exe"), "", NewLogPath("act")));
    DWORD app = sims.Add(StartSim(SimProgram("testapp.exe"), "window popup", NewLogPath("act")));
    REQUIRE(other);
    REQUIRE(plain);
    REQUIRE(app);

    HWND wnd = FirstWindow(plain);
    ShowWindow(wnd, SW_MINIMIZE);
    REQUIRE(BringToFront(FirstWindow(other)));
    REQUIRE(IsIconic(wnd));
    CHECK(ActivateWindow(wnd) == 1);
    PumpFor(50);
    CHECK_FALSE(IsIconic(wnd));
    CHECK(GetForegroundWindow() == wnd);

    HWND main = WindowTitled(app, 1);
    char title[64];
    wsprintfA(title, "testapp %lu 2 popup", app);
    HWND popup = FindWindowA("QvTestApp", title);
    REQUIRE(main);
    REQUIRE(popup);
    REQUIRE(BringToFront(popup));
    REQUIRE(BringToFront(FirstWindow(other)));
    CHECK(ActivateWindow(main) == 1);
    PumpFor(50);
    CHECK(GetForegroundWindow() == popup);

    CHECK(ActivateWindow(NULL) == 0);
    HWND gone = FirstWindow(other);
    EndProcess(other);
    CHECK(ActivateWindow(gone) == 0);
}

// 1: the window ended in front; 2: the foreground lock time-out is what it was before.
QV_CHILD(activate_in_mode)
{
    HWND wnd = (HWND)(UINT_PTR)strtoul(argv[0], NULL, 16);
    // Wine starts with a time-out of 0, which would hide a time-out left at 0.
    SystemParametersInfoA(0x2001 /* SPI_SETFOREGROUNDLOCKTIMEOUT */, 0, (PVOID)(UINT_PTR)4321, 0);
    DWORD before = 0, after = 0;
    SystemParametersInfoA(0x2000 /* SPI_GETFOREGROUNDLOCKTIMEOUT */, 0, &before, 0);
    if (!ActivateWindow(wnd))
        return 0;
    PumpFor(50);
    SystemParametersInfoA(0x2000, 0, &after, 0);
    return (GetForegroundWindow() == wnd ? 1 : 0) | (after == before ? 2 : 0);
}

TEST_CASE("activating a window works on every Windows family's path")
{
    SimProcesses sims;
    DWORD front = sims.Add(StartSim(SimProgram("testapp.exe"), "", NewLogPath("modes")));
    DWORD app = sims.Add(StartSim(SimProgram("testapp.exe"), "", NewLogPath("modes")));
    REQUIRE(front);
    REQUIRE(app);
    char handle[32];
    wsprintfA(handle, "%lx", (unsigned long)(UINT_PTR)FirstWindow(app));
    for (const char* mode : { "win95", "winme", "nt40", "winxp" }) {
        std::string modeName = mode;
        CAPTURE(modeName);
        REQUIRE(BringToFront(FirstWindow(front)));
        CHECK(RunAsMode(mode, SelfPath(), std::string("--child activate_in_mode ") + handle, 20000) == 3);
    }
}

TEST_CASE("activation by process toggles: minimise when in front, bring back when behind")
{
    SimProcesses sims;
    std::string log = NewLogPath("toggle");
    DWORD other = sims.Add(StartSim(SimProgram("testapp.exe"), "", NewLogPath("toggle")));
    DWORD app = sims.Add(StartSim(SimProgram("testapp.exe"), "window window", log));
    REQUIRE(other);
    REQUIRE(app);
    HWND first = WindowTitled(app, 1), second = WindowTitled(app, 2);
    BringToFront(second);
    BringToFront(first);
    BringToFront(FirstWindow(other));

    CHECK(ActivateWindowByProcessId(app, 0) == 1);
    PumpFor(50);
    CHECK(GetForegroundWindow() == first);  // the program keeps its own window order

    CHECK(ActivateWindowByProcessId(app, 1) == 1);
    PumpFor(50);
    CHECK(IsIconic(first));
    CHECK(IsIconic(second));

    CHECK(ActivateWindowByProcessId(app, 1) == 1);
    PumpFor(50);
    CHECK_FALSE(IsIconic(first));
    CHECK_FALSE(IsIconic(second));
    CHECK(InFront(app));
    CHECK(WaitForText(log, "size 1 minimized", 2000));
    CHECK(WaitForText(log, "size 1 restored", 2000));
}

TEST_CASE("activation by process never minimises a window without minimise box or a disabled one")
{
    SimProcesses sims;
    DWORD app = sims.Add(StartSim(SimProgram("testapp.exe"), "window nomin window disabled window", NewLogPath("nomin")));
    REQUIRE(app);
    HWND noBox = WindowTitled(app, 1), disabled = WindowTitled(app, 2), plain = WindowTitled(app, 3);
    REQUIRE(BringToFront(plain));

    CHECK(ActivateWindowByProcessId(app, 1) == 1);
    PumpFor(50);
    CHECK(IsIconic(plain));
    CHECK_FALSE(IsIconic(noBox));
    CHECK_FALSE(IsIconic(disabled));

    SUBCASE("a front window that may not be minimised is not a program in front")
    {
        REQUIRE(BringToFront(noBox));
        CHECK(ActivateWindowByProcessId(app, 1) == 1);
        PumpFor(50);
        CHECK_FALSE(IsIconic(noBox));
        CHECK_FALSE(IsIconic(plain));  // brought back instead
    }
}

TEST_CASE("activation by process finds nothing without a visible window")
{
    SimProcesses sims;
    DWORD hidden = sims.Add(StartSim(SimProgram("testapp.exe"), "window hidden", NewLogPath("hidden")));
    DWORD other = sims.Add(StartSim(SimProgram("testapp.exe"), "", NewLogPath("hidden")));
    REQUIRE(hidden);
    REQUIRE(BringToFront(FirstWindow(other)));
    CHECK(ActivateWindowByProcessId(hidden, 1) == 0);
    CHECK(ActivateWindowByProcessId(hidden, 0) == 0);
    CHECK(InFront(other));
    CHECK_FALSE(IsWindowVisible(WindowTitled(hidden, 1)));
    CHECK(ActivateWindowByProcessId(0, 0) == 0);
}

TEST_CASE("launch reports the new program and brings it to the front")
{
    std::string log = NewLogPath("launch");
    SetEnvironmentVariableA("QV_SIM_LOG", log.c_str());
    std::string dir = MakeTempDir("launchdir");
    SimProcesses sims;

    DWORD processId = 0;
    CHECK(LaunchProgram(SimProgram("testapp.exe").c_str(), "window title=launched", dir.c_str(), &processId) == 1);
    sims.Add(processId);
    CHECK(processId != 0);
    CHECK(processId == LoggedProcessId(log));
    CHECK(InFront(processId));
    std::string text = ReadTextFile(log);
    CHECK(text.find("arg 2=title=launched") != std::string::npos);
    CHECK(LowerCase(text).find("cwd " + LowerCase(dir)) != std::string::npos);

    SUBCASE("without an out value nothing is waited for")
    {
        std::string quiet = NewLogPath("launch");
        SetEnvironmentVariableA("QV_SIM_LOG", quiet.c_str());
        CHECK(LaunchProgram(SimProgram("testapp.exe").c_str(), "nowindow exit=3000", NULL, NULL) == 1);
        CHECK(WaitForText(quiet, "start pid=", 5000));
        sims.Add(LoggedProcessId(quiet));
    }
    SUBCASE("a program that shows no window within a second is reported as 0")
    {
        std::string slow = NewLogPath("launch");
        SetEnvironmentVariableA("QV_SIM_LOG", slow.c_str());
        processId = 0;
        CHECK(LaunchProgram(SimProgram("testapp.exe").c_str(), "delay=4000", NULL, &processId) == 1);
        CHECK(processId == 0);
        CHECK(WaitForText(slow, "start pid=", 3000));
        sims.Add(LoggedProcessId(slow));
    }
    SUBCASE("a file the shell cannot open")
    {
        processId = 0xdeadbeef;
        CHECK(LaunchProgram((dir + "\\missing.exe").c_str(), NULL, NULL, &processId) == 0);
        CHECK(processId == 0xdeadbeef);
        CHECK(LaunchProgram(NULL, NULL, NULL, &processId) == 0);
        CHECK(LaunchProgram("", NULL, NULL, &processId) == 0);
        CHECK(processId == 0xdeadbeef);
    }
    SetEnvironmentVariableA("QV_SIM_LOG", NULL);
    RemoveTree(dir);
}

TEST_CASE("launch of a document a running program opens leaves the out value as it was")
{
    SimProcesses sims;
    std::string log = NewLogPath("dde");
    DWORD app = sims.Add(StartSim(SimProgram("testapp.exe"), "dde=QvTestApp", log));
    REQUIRE(app);
    // Machine-wide: Wine's shell did not find these classes under HKCU\Software\Classes.
    const char* cls = "QvTestDocument\\shell\\open";
    std::string command = "\"" + SimProgram("testapp.exe") + "\" dde=QvTestApp";
    REQUIRE(WriteString(HKEY_CLASSES_ROOT, ".qvtestdoc", NULL, "QvTestDocument"));
    REQUIRE(WriteString(HKEY_CLASSES_ROOT, (std::string(cls) + "\\command").c_str(), NULL, command.c_str()));
    REQUIRE(WriteString(HKEY_CLASSES_ROOT, (std::string(cls) + "\\ddeexec").c_str(), NULL, "[open(\"%1\")]"));
    REQUIRE(WriteString(HKEY_CLASSES_ROOT, (std::string(cls) + "\\ddeexec\\application").c_str(), NULL, "QvTestApp"));
    REQUIRE(WriteString(HKEY_CLASSES_ROOT, (std::string(cls) + "\\ddeexec\\topic").c_str(), NULL, "System"));
    std::string dir = MakeTempDir("dde");
    std::string doc = dir + "\\letter.qvtestdoc";
    REQUIRE(WriteFileText(doc, "text"));
    std::vector<DWORD> childrenBefore = ChildProcesses(GetCurrentProcessId(), "testapp.exe");

    DWORD processId = 0;
    CHECK(LaunchProgram(doc.c_str(), NULL, NULL, &processId) == 1);
    CHECK(processId == 0);
    CHECK(WaitForText(log, "dde execute [open(\"" + doc + "\")]", 3000));
    CHECK(ChildProcesses(GetCurrentProcessId(), "testapp.exe") == childrenBefore);

    DeleteTree(HKEY_CLASSES_ROOT, ".qvtestdoc");
    DeleteTree(HKEY_CLASSES_ROOT, "QvTestDocument");
    RemoveTree(dir);
}

TEST_CASE("next window and close act on the foreground window")
{
    SimProcesses sims;
    std::string logA = NewLogPath("next"), logB = NewLogPath("next");
    DWORD a = sims.Add(StartSim(SimProgram("testapp.exe"), "", logA));
    DWORD b = sims.Add(StartSim(SimProgram("testapp.exe"), "", logB));
    DWORD tool = sims.Add(StartSim(SimProgram("testapp.exe"), "window tool", NewLogPath("next")));
    REQUIRE(a);
    REQUIRE(b);
    REQUIRE(tool);
    HWND wndA = FirstWindow(a), wndB = FirstWindow(b);
    BringToFront(wndB);
    BringToFront(FirstWindow(tool));
    REQUIRE(BringToFront(wndA));  // Z order: A, the tool window, B

    CHECK(SwitchNextWindow() == 1);
    PumpFor(50);
    CHECK(GetForegroundWindow() == wndB);
    HWND lastVisible = NULL;
    for (HWND wnd = GetWindow(GetDesktopWindow(), GW_CHILD); wnd; wnd = GetWindow(wnd, GW_HWNDNEXT)) {
        if (IsWindowVisible(wnd))
            lastVisible = wnd;
    }
    CHECK(lastVisible == wndA);

    CHECK(CloseCurrentWindow() == 1);
    CHECK(WaitForText(logB, "close 1", 2000));
    CHECK(ReadTextFile(logA).find("close") == std::string::npos);
}

TEST_CASE("next window with no other eligible window changes nothing")
{
    SimProcesses sims;
    DWORD tool = sims.Add(StartSim(SimProgram("testapp.exe"), "window tool window hidden", NewLogPath("alone")));
    DWORD app = sims.Add(StartSim(SimProgram("testapp.exe"), "", NewLogPath("alone")));
    REQUIRE(tool);
    REQUIRE(app);
    HWND wnd = FirstWindow(app);
    REQUIRE(BringToFront(wnd));
    // Whatever else this desktop shows must be invisible or a tool window for the case to hold.
    int others = 0;
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w != wnd && IsWindowVisible(w) && !(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW))
            ++others;
    }
    REQUIRE(others == 0);
    CHECK(SwitchNextWindow() == 1);
    PumpFor(50);
    CHECK(GetForegroundWindow() == wnd);
    CHECK(GetWindow(GetDesktopWindow(), GW_CHILD) == wnd);
}

TEST_CASE("calculator key: start, minimise, restore, and start anew once it is gone")
{
    std::string log = NewLogPath("calc");
    SetEnvironmentVariableA("QV_SIM_LOG", log.c_str());
    char path[4096];
    DWORD n = GetEnvironmentVariableA("PATH", path, sizeof(path));
    std::string oldPath(path, n < sizeof(path) ? n : 0);
    SetEnvironmentVariableA("PATH", (DirOf(SimProgram("calc.exe")) + ";" + oldPath).c_str());
    SimProcesses sims;

    CHECK(LaunchCalculator() == 1);
    DWORD calc = sims.Add(LoggedProcessId(log));
    REQUIRE(calc);
    HWND wnd = FindWindowA("SciCalc", "Calculator");
    REQUIRE(wnd);
    CHECK(WindowProcess(wnd) == calc);
    CHECK(GetForegroundWindow() == wnd);

    CHECK(LaunchCalculator() == 1);
    PumpFor(50);
    CHECK(IsIconic(wnd));

    CHECK(LaunchCalculator() == 1);
    PumpFor(50);
    CHECK_FALSE(IsIconic(wnd));
    CHECK(GetForegroundWindow() == wnd);
    CHECK(ChildProcesses(GetCurrentProcessId(), "calc.exe").size() == 1);

    EndProcess(calc);
    std::string again = NewLogPath("calc");
    SetEnvironmentVariableA("QV_SIM_LOG", again.c_str());
    CHECK(LaunchCalculator() == 1);
    DWORD second = sims.Add(LoggedProcessId(again));
    CHECK(second != 0);
    CHECK(second != calc);

    SetEnvironmentVariableA("PATH", oldPath.c_str());
    SetEnvironmentVariableA("QV_SIM_LOG", NULL);
}

// Result of the help key in this Windows mode, plus 2 when a help program was started.
QV_CHILD(system_help)
{
    int result = LaunchSystemHelp();
    std::vector<DWORD> started;
    for (int i = 0; i < 100 && started.empty() && result; ++i) {
        started = ChildProcesses(GetCurrentProcessId(), argc > 0 ? argv[0] : NULL);
        if (started.empty())
            Sleep(20);
    }
    for (DWORD id : started) {
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, id);
        if (process) {
            WaitForInputIdle(process, 3000);  // lets it log its start before it ends
            CloseHandle(process);
        }
        EndProcess(id);
    }
    return result | (started.empty() ? 0 : 2);
}

TEST_CASE("help key opens the help file of the running Windows, if it exists")
{
    char windows[MAX_PATH], system[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof(windows));
    GetSystemDirectoryA(system, sizeof(system));
    std::string chm = std::string(windows) + "\\Help\\Windows.chm";
    std::string hlp = std::string(system) + "\\Windows.hlp";
    CreateDirectoryA((std::string(windows) + "\\Help").c_str(), NULL);
    const char* appPath = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\HELPCTR.EXE";
    DeleteTree(HKEY_LOCAL_MACHINE, appPath);
    DeleteFileA(chm.c_str());
    DeleteFileA(hlp.c_str());

    SUBCASE("no help file: nothing opens")
    {
        for (const char* mode : { "winme", "nt40", "winxp" }) {
            std::string modeName = mode;
            CAPTURE(modeName);
            CHECK(RunAsMode(mode, SelfPath(), "--child system_help", 20000) == 0);
        }
    }
    SUBCASE("compiled help on 95, 98 and XP (2000 shares the path), not on NT 4")
    {
        REQUIRE(WriteFileText(chm, "ITSF"));
        for (const char* mode : { "win95", "win98", "winxp" }) {
            std::string modeName = mode;
            CAPTURE(modeName);
            CHECK(RunAsMode(mode, SelfPath(), "--child system_help hh.exe", 20000) == 3);
        }
        CHECK(RunAsMode("nt40", SelfPath(), "--child system_help", 20000) == 0);
        DeleteFileA(chm.c_str());
    }
    SUBCASE("Windows help on NT 4")
    {
        REQUIRE(WriteFileText(hlp, "?_"));
        CHECK(RunAsMode("nt40", SelfPath(), "--child system_help winhlp32.exe", 20000) == 3);
        CHECK(RunAsMode("winxp", SelfPath(), "--child system_help", 20000) == 0);
        DeleteFileA(hlp.c_str());
    }
    SUBCASE("the help centre registered on Me")
    {
        std::string log = NewLogPath("helpctr");
        SetEnvironmentVariableA("QV_SIM_LOG", log.c_str());
        REQUIRE(WriteString(HKEY_LOCAL_MACHINE, appPath, NULL, SimProgram("testapp.exe").c_str()));
        CHECK(RunAsMode("winme", SelfPath(), "--child system_help testapp.exe", 20000) == 3);
        CHECK(ReadTextFile(log).find("start pid=") != std::string::npos);
        DeleteTree(HKEY_LOCAL_MACHINE, appPath);
        SetEnvironmentVariableA("QV_SIM_LOG", NULL);
    }
}

TEST_CASE("documents key opens the user's documents folder")
{
    std::vector<HWND> before;
    for (HWND wnd = GetWindow(GetDesktopWindow(), GW_CHILD); wnd; wnd = GetWindow(wnd, GW_HWNDNEXT))
        before.push_back(wnd);
    CHECK(LaunchMyDocuments() == 1);
    HWND opened = NULL;
    for (int i = 0; i < 250 && !opened; ++i) {
        PumpFor(20);
        for (HWND wnd = GetWindow(GetDesktopWindow(), GW_CHILD); wnd && !opened; wnd = GetWindow(wnd, GW_HWNDNEXT)) {
            bool known = false;
            for (HWND old : before)
                known = known || old == wnd;
            if (!known && IsWindowVisible(wnd) && WindowText(wnd).find("Documents") != std::string::npos)
                opened = wnd;
        }
    }
    CHECK(opened != NULL);
    if (opened)
        PostMessageA(opened, WM_CLOSE, 0, 0);
}

TEST_CASE("screen saver request goes to the desktop window and returns its answer")
{
    // Wine's desktop starts no screen saver and answers 0; Windows answers 0 as well.
    CHECK(ActivateScreenSaver() == 0);
}

TEST_CASE("program search by title: shortcuts below the Programs folder, bounded walks")
{
    char out[300];
    memset(out, '#', sizeof(out));
    CHECK(FindProgramPath(NULL, NULL, out) == 0);
    CHECK(out[0] == '\0');
    memset(out, '#', sizeof(out));
    CHECK(FindProgramPath("", NULL, out) == 0);
    CHECK(out[0] == '\0');

    SUBCASE("a shortcut in a subfolder of the Programs folder, extension included")
    {
        char programs[MAX_PATH];
        REQUIRE(SHGetSpecialFolderPathA(NULL, programs, CSIDL_PROGRAMS, TRUE));
        std::string folder = std::string(programs) + "\\Qv Test Group";
        CreateDirectoryA(folder.c_str(), NULL);
        CreateDirectoryA((folder + "\\Tools").c_str(), NULL);
        std::string link = folder + "\\Tools\\Stand In Tool.lnk";
        REQUIRE(WriteFileText(link, "L"));
        CHECK(FindProgramPath("stand in tool", NULL, out) == 1);
        CHECK(LowerCase(out) == LowerCase(link));
        CHECK(FindProgramPath("Stand In Tool", NULL, NULL) == 1);
        CHECK(FindProgramPath("Stand In", NULL, out) == 0);
        RemoveTree(folder);
    }
    SUBCASE("a given start folder, with or without its closing backslash")
    {
        std::string dir = MakeTempDir("find");
        CreateDirectoryA((dir + "\\a").c_str(), NULL);
        REQUIRE(WriteFileText(dir + "\\a\\Reader", "x"));
        CHECK(FindProgramPath("reader", dir.c_str(), out) == 1);
        CHECK(std::string(out) == dir + "\\a\\Reader");
        CHECK(FindProgramPath("reader", (dir + "\\").c_str(), out) == 1);
        CHECK(std::string(out) == dir + "\\a\\Reader");
        CHECK(FindProgram(dir.c_str(), "reader", out) == 1);
        CHECK(FindProgram((dir + "\\missing").c_str(), "reader", out) == 0);
        CHECK(FindProgram(dir.c_str(), NULL, out) == 0);
        std::string tooLong = dir + "\\" + std::string(280, 'z');
        memset(out, '#', sizeof(out));
        CHECK(FindProgramPath("reader", tooLong.c_str(), out) == 0);
        CHECK(out[0] == '\0');
        CHECK(FindProgram(tooLong.c_str(), "reader", out) == 0);
        RemoveTree(dir);
    }
    SUBCASE("a tree deeper than a path can be: found while it fits, nothing written past 260 bytes")
    {
        std::string dir = MakeTempDir("deep");
        std::string path = dir;
        std::string fits;
        while (path.size() + 12 < 300) {
            path += "\\d123456789";
            CreateDirectoryA(path.c_str(), NULL);
            if (path.size() + 7 <= 259)
                fits = path;
        }
        REQUIRE(WriteFileText(fits + "\\target", "x"));
        memset(out, '#', sizeof(out));
        CHECK(FindProgram(dir.c_str(), "TARGET", out) == 1);
        CHECK(std::string(out) == fits + "\\target");
        CHECK(out[260] == '#');
        RemoveTree(dir);
    }
    SUBCASE("a tree whose links lead back up ends")
    {
        // Built by the test build: loop-tree\a\up and loop-tree\a\again both link to loop-tree,
        // so the unfolded tree would double at every level.
        std::string dir = DirOf(SelfPath()) + "\\loop-tree";
        DWORD attributes = GetFileAttributesA((dir + "\\a\\up").c_str());
        REQUIRE(attributes != INVALID_FILE_ATTRIBUTES);
        REQUIRE((attributes & (FILE_ATTRIBUTE_DIRECTORY | 0x400)) == (FILE_ATTRIBUTE_DIRECTORY | 0x400));
        CHECK(FindProgram(dir.c_str(), "absent", out) == 0);
        CHECK(FindProgram(dir.c_str(), "present", out) == 1);
        CHECK(std::string(out) == dir + "\\a\\present");
    }
}
