// The result page against a window holding its controls: what each install result, "NR"
// and a file in use show, that the file in use is scheduled and needs a restart, which
// Finish asks for nothing, and the floppy judgement with a folder mapped as drive A:.
// The restart itself runs in a Wine world of its own (result-world).
#include <doctest/doctest.h>

#include "install.h"
#include "procs.h"
#include "setuptest.h"
#include "renames.h"
#include "result.h"
#include "setup.h"
#include "wintest.h"

#include <stdio.h>

#include <string>

using namespace qvtest;
using setuptest::PendingMoves;

namespace {

const int kIds[] = { RESULT_RESTART_TEXT, RESULT_RESTART_NOW, RESULT_RESTART_LATER, RESULT_FLOPPY_TEXT,
                     RESULT_DONE_TEXT, RESULT_FAILED_TEXT, RESULT_NO_PRIVILEGE_TEXT, RESULT_README_TEXT };

// The page as the dialog resource has it: the restart choice shown, the other texts hidden,
// and "later" selected so that the page's own choice shows.
struct ResultPage {
    HWND window = NULL;
    SetupPage table = {};
    ResultPage()
    {
        window = CreateWindowExA(0, "STATIC", "Setup Result", WS_POPUP, 0, 0, 400, 300, NULL, NULL, NULL, NULL);
        const char* texts[] = { "Setup has successfully installed %s.\n\nBefore you can use %s, you must restart your computer.",
                                "&Restart my computer now.", "&I will restart my computer later.",
                                "Please remove any disks from floppy drives, and click Finish to complete Setup.",
                                "Setup has successfully installed %s.\n\nClick Finish to complete Setup.",
                                "Setup failed to install the driver on your system.",
                                "You don't have enough privilege to install the driver.",
                                "Please refer to the README.TXT or user manual for more information." };
        for (int i = 0; i < 8; ++i) {
            bool radio = kIds[i] == RESULT_RESTART_NOW || kIds[i] == RESULT_RESTART_LATER;
            DWORD style = WS_CHILD | (i < 4 ? WS_VISIBLE : 0) | (radio ? BS_AUTORADIOBUTTON : 0);
            CreateWindowExA(0, radio ? "BUTTON" : "STATIC", texts[i], style, 0, i * 20, 380, 18, window,
                            (HMENU)(INT_PTR)kIds[i], NULL, NULL);
        }
        CheckDlgButton(window, RESULT_RESTART_LATER, BST_CHECKED);
        table.context = this;
        table.show = [](void* c, int id, int visible) {
            ShowWindow(GetDlgItem(((ResultPage*)c)->window, id), visible ? SW_SHOW : SW_HIDE);
        };
        table.setText = [](void* c, int id, const char* text) { SetDlgItemTextA(((ResultPage*)c)->window, id, text); };
        table.check = [](void* c, int id, int checked) {
            CheckDlgButton(((ResultPage*)c)->window, id, checked ? BST_CHECKED : BST_UNCHECKED);
        };
        table.getText = [](void* c, int id, char* text, int size) { GetDlgItemTextA(((ResultPage*)c)->window, id, text, size); };
    }
    ~ResultPage() { DestroyWindow(window); }
    // The ids shown, in table order, as text: "711 502 503 712".
    std::string Shown() const
    {
        std::string shown;
        for (int id : kIds) {
            if (GetWindowLongA(GetDlgItem(window, id), GWL_STYLE) & WS_VISIBLE)
                shown += (shown.empty() ? "" : " ") + std::to_string(id);
        }
        return shown;
    }
    std::string Text(int id) const
    {
        char text[400];
        GetDlgItemTextA(window, id, text, sizeof(text));
        return text;
    }
    bool Checked(int id) const { return IsDlgButtonChecked(window, id) == BST_CHECKED; }
};

// An NT installer, successful, needing no restart of its own; no files in use.
void FreshRun(void)
{
    SetupResetState();
    SetupResetProgress();
    SetupClearRenames();
    g_setup.isNT = 1;
    g_setup.restartNeeded = 0;
    lstrcpynA(g_setup.productName, "Lumeno KB-7", sizeof(g_setup.productName));
}

} // namespace

TEST_CASE("a failed installation shows the failure and its reason, and Finish asks for nothing")
{
    FreshRun();
    g_setup.restartNeeded = 1;
    SUBCASE("cabinet extraction failed")
    {
        ResultPage page;
        g_progress.installResult = SETUP_RESULT_CABINET;
        SetupShowResult(&page.table);
        CHECK(page.Shown() == "1004 1007");
    }
    SUBCASE("no privilege")
    {
        ResultPage page;
        g_progress.installResult = SETUP_RESULT_NO_PRIVILEGE;
        SetupShowResult(&page.table);
        CHECK(page.Shown() == "1004 1005");
    }
    // The texts keep their format: nothing was filled in.
    ResultPage untouched;
    SetupShowResult(&untouched.table);
    CHECK(untouched.Text(RESULT_DONE_TEXT).find("%s") != std::string::npos);
    CHECK(SetupFinishResult(0) == 0);
    // A null page or table members are no fault.
    SetupShowResult(NULL);
}

TEST_CASE("success: the plain text without a restart or with NR, the restart choice otherwise; a file in use "
          "is scheduled and needs the restart")
{
    PendingMoves pending;
    std::string dir = MakeTempDir("result");
    std::string target = dir + "\\KB.DLL", substitute = dir + "\\KB.001";
    REQUIRE(WriteFileText(target, "old"));
    REQUIRE(WriteFileText(substitute, "new"));
    const char kDone[] = "Setup has successfully installed Lumeno KB-7.\n\nClick Finish to complete Setup.";

    SUBCASE("nothing in use, no restart needed")
    {
        FreshRun();
        ResultPage page;
        SetupShowResult(&page.table);
        CHECK(page.Shown() == "713");
        CHECK(page.Text(RESULT_DONE_TEXT) == kDone);
        CHECK(g_setup.restartNeeded == 0);
        CHECK(SetupFinishResult(0) == 0);
    }
    SUBCASE("a file in use")
    {
        FreshRun();
        REQUIRE(SetupAddRename(target.c_str(), substitute.c_str()));
        ResultPage page;
        SetupShowResult(&page.table);
        CHECK(g_setup.restartNeeded == 1);
        CHECK(page.Shown() == "711 502 503 712");
        CHECK(page.Text(RESULT_RESTART_TEXT) ==
              "Setup has successfully installed Lumeno KB-7.\n\nBefore you can use Lumeno KB-7, you must restart your computer.");
        CHECK(page.Checked(RESULT_RESTART_NOW));
        CHECK_FALSE(page.Checked(RESULT_RESTART_LATER));
        CHECK(PendingMoves::Now().find(std::string("\\??\\") + substitute + '\0' + "!\\??\\" + target) != std::string::npos);
        // Only a restart moves it.
        CHECK(ReadTextFile(target) == "old");
        // "Later" keeps the system running.
        CHECK(SetupFinishResult(1) == 0);
    }
    SUBCASE("a file in use with NR")
    {
        FreshRun();
        g_setup.noRestart = 1;
        REQUIRE(SetupAddRename(target.c_str(), substitute.c_str()));
        ResultPage page;
        SetupShowResult(&page.table);
        CHECK(g_setup.restartNeeded == 1);
        CHECK(page.Shown() == "713");
        CHECK(page.Text(RESULT_DONE_TEXT) == kDone);
        CHECK(PendingMoves::Now().find(substitute) != std::string::npos);
        CHECK(SetupFinishResult(0) == 0);
    }
    SUBCASE("restart needed by the installation itself, nothing in use")
    {
        FreshRun();
        g_setup.restartNeeded = 1;
        ResultPage page;
        SetupShowResult(&page.table);
        CHECK(page.Shown() == "711 502 503 712");
        CHECK(page.Checked(RESULT_RESTART_NOW));
        CHECK(PendingMoves::Now() == pending.saved);
    }
    SetupClearRenames();
    RemoveTree(dir);
}

TEST_CASE("a disk in drive A: is a readable drive: with a file or empty, not when absent")
{
    std::string dir = MakeTempDir("floppy");
    UnmapDrive('A');
    CHECK_FALSE(SetupFloppyPresent());
    REQUIRE(MapDrive('A', dir, DRIVE_REMOVABLE));
    CHECK(GetDriveTypeA("A:\\") == DRIVE_REMOVABLE);
    CHECK(SetupFloppyPresent());  // empty: "file not found"
    REQUIRE(WriteFileText(dir + "\\DISK.TXT", "x"));
    CHECK(SetupFloppyPresent());
    // The error mode is the caller's again.
    UINT mode = SetErrorMode(0);
    SetErrorMode(mode);
    SetupFloppyPresent();
    CHECK(SetErrorMode(mode) == mode);
    UnmapDrive('A');
    CHECK_FALSE(SetupFloppyPresent());
    RemoveTree(dir);
}

// The restart world: Finish's restart request made for real, in a Wine world of its own.
// result-world runs result_prepare, a bystander, restart_request (A: absent, then A: with a
// disk) and result_check; every child writes what it saw to C:\qvresult.
namespace {

const char kWorldDir[] = "C:\\qvresult";

std::string WorldFile(const char* name)
{
    return std::string(kWorldDir) + "\\" + name;
}

void Log(const char* file, const std::string& line)
{
    std::string path = WorldFile(file);
    HANDLE handle = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    std::string text = line + "\r\n";
    DWORD written;
    WriteFile(handle, text.data(), (DWORD)text.size(), &written, NULL);
    CloseHandle(handle);
}

// 1 enabled, 0 present but not enabled, -1 unknown.
int ShutdownPrivilegeEnabled(void)
{
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return -1;
    LUID luid;
    int state = -1;
    char buffer[4096];
    DWORD size = 0;
    if (LookupPrivilegeValueA(NULL, "SeShutdownPrivilege", &luid) &&
        GetTokenInformation(token, TokenPrivileges, buffer, sizeof(buffer), &size)) {
        TOKEN_PRIVILEGES* privileges = (TOKEN_PRIVILEGES*)buffer;
        for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
            const LUID_AND_ATTRIBUTES& p = privileges->Privileges[i];
            if (p.Luid.LowPart == luid.LowPart && p.Luid.HighPart == luid.HighPart)
                state = (p.Attributes & SE_PRIVILEGE_ENABLED) ? 1 : 0;
        }
    }
    CloseHandle(token);
    return state;
}

const char* g_witnessLog = "witness.txt";
DWORD g_requestTick;  // when the restart was asked for; 0 before

LRESULT CALLBACK WitnessProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_QUERYENDSESSION) {
        Log(g_witnessLog, "WM_QUERYENDSESSION");
        return TRUE;
    }
    if (message == WM_ENDSESSION)
        Log(g_witnessLog, std::string("WM_ENDSESSION ") + (wParam ? "ending" : "cancelled") +
                              (g_requestTick ? ", " + std::to_string((GetTickCount() - g_requestTick) / 1000) + " s after the request" : ""));
    return DefWindowProcA(wnd, message, wParam, lParam);
}

HWND Witness(const char* title)
{
    WNDCLASSA cls = {};
    cls.lpfnWndProc = WitnessProc;
    cls.hInstance = GetModuleHandleA(NULL);
    cls.lpszClassName = "QvResultWitness";
    RegisterClassA(&cls);
    return CreateWindowExA(0, cls.lpszClassName, title, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL, NULL, NULL);
}

// Presses OK on the floppy reminder when it comes, logging its caption and text.
DWORD WINAPI BoxWatcher(void* file)
{
    for (int i = 0; i < 200; ++i) {
        HWND box = FindWindowA("#32770", "Warning");
        if (box) {
            char text[300] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
            Log((const char*)file, std::string("box: ") + text);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return 1;
        }
        Sleep(50);
    }
    return 0;
}

} // namespace

QV_CHILD(result_prepare)
{
    CreateDirectoryA(kWorldDir, NULL);
    if (!WriteFileText(WorldFile("KB.DLL"), "old") || !WriteFileText(WorldFile("KB.001"), "new"))
        return 1;
    FreshRun();
    SetupAddRename(WorldFile("KB.DLL").c_str(), WorldFile("KB.001").c_str());
    SetupShowResult(NULL);
    return g_setup.restartNeeded ? 0 : 2;
}

// A program of the user's, open while the installer restarts.
QV_CHILD(result_bystander)
{
    g_witnessLog = "bystander.txt";
    Witness("bystander");
    Log(g_witnessLog, "started");
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 20000)
        PumpFor(100);
    Log(g_witnessLog, "survived");
    return 0;
}

// argv[0]: "absent" (no drive A:), "disk" (A: a removable drive holding a file), "win95"
// (the disk still there, silent, as the 95 family) or "raw" (ExitWindowsEx alone).
QV_CHILD(restart_request)
{
    std::string pass = argc > 0 ? argv[0] : "absent";
    std::string logName = "request-" + pass + ".txt";
    static std::string logFile;
    logFile = logName;
    g_witnessLog = logFile.c_str();
    if (pass == "disk") {
        CreateDirectoryA(WorldFile("floppy").c_str(), NULL);
        WriteFileText(WorldFile("floppy") + "\\DISK.TXT", "x");
        Log(logFile.c_str(), std::string("mapped ") + (MapDrive('A', WorldFile("floppy"), DRIVE_REMOVABLE) ? "yes" : "no"));
    } else if (pass == "absent") {
        UnmapDrive('A');
    }
    Witness("installer");
    if (pass == "raw") {
        // The system's call alone, without the privilege: does Wine ask for it?
        Log(logFile.c_str(), "privilege before " + std::to_string(ShutdownPrivilegeEnabled()));
        SetLastError(0);
        BOOL answer = ExitWindowsEx(EWX_REBOOT, 0);
        g_requestTick = GetTickCount();
        DWORD error = GetLastError();
        Log(logFile.c_str(), "ExitWindowsEx " + std::to_string(answer) + ", error " + std::to_string(error) +
                                 ", privilege after " + std::to_string(ShutdownPrivilegeEnabled()));
        DWORD start = GetTickCount();
        while (GetTickCount() - start < 15000)
            PumpFor(100);
        Log(logFile.c_str(), "survived");
        return 0;
    }
    FreshRun();
    // The 95 family has no privileges to enable.
    g_setup.isNT = pass != "win95";
    g_setup.silent = pass == "win95";
    g_setup.restartNeeded = 1;
    Log(logFile.c_str(), "privilege before " + std::to_string(ShutdownPrivilegeEnabled()));
    Log(logFile.c_str(), "KB.DLL before \"" + ReadTextFile(WorldFile("KB.DLL")) + "\", floppy " +
                             std::to_string(SetupFloppyPresent()));
    HANDLE watcher = CreateThread(NULL, 0, BoxWatcher, (void*)logFile.c_str(), 0, NULL);
    int requested = SetupFinishResult(0);
    g_requestTick = GetTickCount();
    Log(logFile.c_str(), "requested " + std::to_string(requested) + ", privilege after " +
                             std::to_string(ShutdownPrivilegeEnabled()));
    // Wine asks every window before it ends the session: keep answering while waiting.
    DWORD waited = GetTickCount();
    while (WaitForSingleObject(watcher, 0) == WAIT_TIMEOUT && GetTickCount() - waited < 15000)
        PumpFor(50);
    DWORD pressed = 0;
    GetExitCodeThread(watcher, &pressed);
    CloseHandle(watcher);
    Log(logFile.c_str(), "box pressed " + std::to_string(pressed));
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 15000)
        PumpFor(100);
    Log(logFile.c_str(), "survived");
    return 0;
}

QV_CHILD(result_check)
{
    std::string absent = ReadTextFile(WorldFile("request-absent.txt")), disk = ReadTextFile(WorldFile("request-disk.txt")),
                bystander = ReadTextFile(WorldFile("bystander.txt")), win95 = ReadTextFile(WorldFile("request-win95.txt")), raw = ReadTextFile(WorldFile("request-raw.txt")), kb = ReadTextFile(WorldFile("KB.DLL"));
    printf("result world:\n--- A: absent\n%s--- A: with a disk\n%s--- 95 family, silent, A: with a disk\n%s--- ExitWindowsEx alone\n%s--- bystander\n%s--- KB.DLL \"%s\", KB.001 %s\n",
           absent.c_str(), disk.c_str(), win95.c_str(), raw.c_str(), bystander.c_str(), kb.c_str(),
           GetFileAttributesA(WorldFile("KB.001").c_str()) != INVALID_FILE_ATTRIBUTES ? "left" : "gone");
    int failed = 0;
    // No disk, no reminder; the privilege enabled before the call; Wine ends the session
    // (the installer among its programs) and its restart carries out the delayed move.
    if (absent.find("KB.DLL before \"old\", floppy 0") == std::string::npos ||
        absent.find("requested 1, privilege after 1") == std::string::npos || absent.find("box:") != std::string::npos ||
        absent.find("WM_ENDSESSION ending") == std::string::npos || absent.find("survived") != std::string::npos)
        failed |= 1;
    if (disk.find("KB.DLL before \"new\", floppy 1") == std::string::npos || kb != "new")
        failed |= 4;
    // Silent: no reminder although A: holds a disk; no privilege touched; the request made.
    if (win95.find("floppy 1") == std::string::npos || win95.find("requested 1, privilege after 0") == std::string::npos || win95.find("box:") != std::string::npos)
        failed |= 16;
    // Wine 10 asks for no privilege: the call alone succeeds and ends the session.
    if (raw.find("ExitWindowsEx 1, error 0, privilege after 0") == std::string::npos ||
        raw.find("WM_ENDSESSION ending") == std::string::npos)
        failed |= 32;
    if (bystander.find("WM_ENDSESSION ending") == std::string::npos || bystander.find("survived") != std::string::npos)
        failed |= 8;
    if (disk.find("box: Please remove any disks from floppy drives, then click OK to restart your computer.") ==
            std::string::npos || disk.find("requested 1, privilege after 1") == std::string::npos)
        failed |= 2;
    return failed;
}
