// The demo run, as a user goes: the keyboard-driver stand-ins up, the installation medium
// mapped as a CD-ROM drive and setup.exe walked through its wizard in Windows XP mode, the
// daemon the installation started found, a keyboard plugged in and media keys typed with
// each key's road printed, then the uninstaller, and what it removed compared with what
// the installation recorded. Exit 1 if any step fails.
//   qvdemo.exe MEDIUMFOLDER OUTDIR      (screenshots into OUTDIR as BMPs)
#include <windows.h>
#include <dbt.h>
#include <prsht.h>
#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "daemontest.h"
#include "drivers.h"
#include "inventory.h"
#include "setupdrive.h"
#include "wintest.h"

using namespace qvtest;

namespace {

struct Key {
    const char* name;
    ULONG code; // the upper bits ride along and are not forwarded
};

const Key kKeys[] = {
    { "Play/Pause", 0x122 },     { "Stop", 0x124 },      { "Next track", 0x119 },
    { "Previous track", 0x110 }, { "Volume up", 0x130 }, { "Volume down", 0x12E },
    { "Mute", 0x120 },           { "Mail", 0x16C },      { "Web home", 0x132 },
};
const size_t kKeyCount = sizeof(kKeys) / sizeof(kKeys[0]);

double g_ticksPerMs = 1.0;

double Ms(LONGLONG ticks)
{
    return (double)ticks / g_ticksPerMs;
}

void Say(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    fflush(stdout);
}

bool Keysim(const std::string& args, std::string* out)
{
    std::string text;
    DWORD code = RunKeysim(args, &text);
    if (out)
        *out = text;
    if (code != 0)
        Say("  keysim %s failed (exit %lu): %s\n", args.c_str(), code, text.c_str());
    return code == 0;
}

const char kProduct[] = "Tavimon";
const DWORD kPageWait = 30000;

std::string g_out;

void Shot(const char* name)
{
    std::string path = g_out + "\\" + name + ".bmp";
    Say("  screenshot %s.png: %s\n", name, SaveScreenBmp(path) ? "saved" : "FAILED");
}

// The first drive letter from D: on that nothing uses.
char FreeLetter()
{
    DWORD used = GetLogicalDrives();
    for (char letter = 'D'; letter <= 'Y'; ++letter) {
        if (!(used & (1u << (letter - 'A'))))
            return letter;
    }
    return 0;
}

// Files of the prefix's drive and the two software trees, where an installation lands.
Inventory TakeInventory()
{
    Inventory inventory;
    AddFiles(&inventory, "C:");
    AddRegistry(&inventory, HKEY_LOCAL_MACHINE, "HKLM", "Software");
    AddRegistry(&inventory, HKEY_CURRENT_USER, "HKCU", "Software");
    return inventory;
}

// Welcome, licence and interface pages passed with Next as they come, the summary, the
// copy and the result photographed, Finish pressed. True when setup.exe ended with 0.
bool RunWizard(const std::string& setupExe, const std::string& medium)
{
    std::string line = "\"" + setupExe + "\"";
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    // Started in the medium's root, as a double click in its folder does.
    if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, medium.c_str(), &startup, &process)) {
        Say("  %s did not start (error %lu)\n", setupExe.c_str(), GetLastError());
        return false;
    }
    bool ok = true;
    DWORD start = GetTickCount();
    HWND background = NULL;
    while (!(background = FindWindowA("QelvanoSetup", NULL)) && GetTickCount() - start < kPageWait)
        Sleep(20);
    if (background)
        Shot("setup-background");
    HWND sheet = WaitForSheet(process.dwProcessId, kPageWait);
    Say("  background window %s, wizard %s\n", background ? "shown" : "MISSING", sheet ? "shown" : "MISSING");
    ok = background && sheet;
    const SetupPage walk[] = { PAGE_WELCOME, PAGE_LICENCE, PAGE_INTERFACE, PAGE_DESTINATION, PAGE_FOLDER, PAGE_SUMMARY };
    for (SetupPage kind : walk) {
        if (!ok)
            break;
        HWND page = (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
        if (SetupPageKind(page) != kind && kind != PAGE_WELCOME && kind != PAGE_SUMMARY)
            continue;  // a page the script does not ask for
        page = WaitForSetupPage(sheet, kind, process.hProcess, kPageWait);
        if (!page) {
            Say("  %s page did not come\n", SetupPageName(kind));
            ok = false;
            break;
        }
        char title[128];
        GetWindowTextA(page, title, sizeof(title));
        Say("  page \"%s\"\n", title);
        if (kind == PAGE_WELCOME || kind == PAGE_SUMMARY) {
            Sleep(500);
            Shot(kind == PAGE_WELCOME ? "setup-welcome" : "setup-summary");
        }
        if (kind == PAGE_INTERFACE)
            Say("    interface: %s\n", IsDlgButtonChecked(page, 303) == BST_CHECKED ? "USB" : "PS/2");
        // The next page is looked for only once this one has gone.
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
        DWORD pressed = GetTickCount();
        while ((HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0) == page && GetTickCount() - pressed < kPageWait)
            Sleep(10);
    }
    if (ok) {
        HWND page = WaitForSetupPage(sheet, PAGE_PROGRESS, process.hProcess, kPageWait);
        if (page) {
            // Copy and driver phase from the medium take some 50 ms under Wine: photographed
            // at once, and what the page showed then is said.
            Shot("setup-progress");
            const char* phase = !IsWindowVisible(page)                        ? "the page had gone"
                                : IsWindowVisible(GetDlgItem(page, 1003))     ? "the driver phase"
                                : IsWindowVisible(GetDlgItem(page, 1001))     ? "the copy"
                                                                               : "before the copy";
            Say("    taken during %s\n", phase);
        }
        HWND result = WaitForSetupPage(sheet, PAGE_RESULT, process.hProcess, 120000);
        Say("  progress page %s, result page %s\n", page ? "shown" : "MISSING", result ? "shown" : "MISSING");
        ok = page && result;
        if (result) {
            Sleep(500);
            Shot("setup-result");
            // The text the user reads: success, or why not.
            for (int id : { 711, 713, 1004, 1005 }) {
                HWND text = GetDlgItem(result, id);
                char words[512];
                if (text && IsWindowVisible(text) && GetWindowTextA(text, words, sizeof(words)) > 0)
                    Say("    \"%s\"\n", words);
            }
            PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_FINISH, 0);
        }
    }
    DWORD code = kNoExit;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, kNoExit);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    Say("  setup.exe exit code %lu after %.1f s\n", code, (GetTickCount() - start) / 1000.0);
    return ok && code == 0;
}

bool DriversUp()
{
    bool installed = InstallDriverService("qvfilter", SimDir() + "\\qvfilter.sys") &&
                     InstallDriverService("hkport", SimDir() + "\\hkport.sys");
    Say("  qvfilter and hkport installed as kernel-driver services: %s\n", installed ? "yes" : "NO");
    bool filter = installed && StartDriverService("qvfilter");
    Say("  qvfilter started (the keyboard's filter devices): %s\n", filter ? "yes" : "NO");
    DWORD net = installed ? NetCommand("start", "hkport") : kNoExit;
    Say("  \"net start hkport\" exit code: %lu\n", net);
    if (!filter || net != 0 || !SimReset() || !SimPortReset())
        return false;
    // Only the USB keyboard, unplugged until the daemon runs.
    SimRemove(SIM_DEV_NT);
    SimRemove(SIM_DEV_USB);
    return true;
}

// Plugs the keyboard in, types the keys and prints each one's road. Keys that reached hkport.
size_t TypeKeys(HWND daemon, bool* trayShown)
{
    bool plugged = SimSetCount(SIM_DEV_USB, 1) && Keysim("add usb notify", NULL);
    Say("  plugged in (device count 1, DBT_DEVICEARRIVAL): %s\n", plugged ? "yes" : "NO");
    *trayShown = TrayIconShown(daemon);
    Say("  tray icon: %s\n", *trayShown ? "shown, \"Tavimon (Lumeno Keyboard)\"" : "none");
    if (!WaitForPendingReads(SIM_DEV_USB, 1, 10000))
        Say("  the daemon's reader is not waiting on the keyboard\n");

    Say("Keys (keysim inject usb CODE 0x1000)\n");
    std::vector<LONGLONG> injected;
    for (size_t i = 0; i < kKeyCount; i++) {
        char args[64];
        wsprintfA(args, "inject usb 0x%lx 0x1000", kKeys[i].code);
        std::string out;
        LONGLONG stamp = 0;
        if (Keysim(args, &out)) {
            const char* at = strstr(out.c_str(), "stamp=");
            if (at)
                stamp = _strtoi64(at + 6, NULL, 10);
        }
        injected.push_back(stamp);
    }
    WaitForPortBytes(kKeyCount, 5000);

    std::vector<SIM_RECEIVED> received;
    std::vector<SIM_DELIVERY> deliveries;
    ULONG total = 0;
    SimReadReceived(0, &received, &total);
    SimReadDeliveries(0, &deliveries, &total);
    size_t arrived = 0;
    for (size_t i = 0; i < kKeyCount; i++) {
        UCHAR expected = (UCHAR)(kKeys[i].code & 0xFF);
        const SIM_DELIVERY* handed = NULL;
        for (const SIM_DELIVERY& d : deliveries) {
            if (d.device == SIM_DEV_USB && d.injected == injected[i])
                handed = &d;
        }
        const SIM_RECEIVED* got = i < received.size() ? &received[i] : NULL;
        bool ok = injected[i] && got && got->length == 1 && got->bytes[0] == expected;
        if (ok)
            arrived++;
        Say("  %-15s code 0x%03lX -> ", kKeys[i].name, kKeys[i].code);
        if (handed)
            Say("daemon's read completed +%.3f ms -> ", Ms(handed->delivered - injected[i]));
        else
            Say("not read by the daemon -> ");
        if (ok)
            Say("hkport byte 0x%02X +%.3f ms\n", got->bytes[0], Ms(got->stamp - injected[i]));
        else
            Say("LOST (expected byte 0x%02X at hkport)\n", expected);
    }
    if (received.size() > kKeyCount) {
        Say("  hkport received %u bytes more than were typed\n", (unsigned)(received.size() - kKeyCount));
        return 0;
    }
    return arrived;
}

// The recorded items, each present or absent in the three inventories.
void PrintListing(const std::vector<std::string>& items, const Inventory& before, const Inventory& installed,
                  const Inventory& after)
{
    Say("  %-8s %-9s %-10s %s\n", "before", "installed", "uninstalled", "item");
    for (const std::string& item : items) {
        Say("  %-8s %-9s %-10s %s\n", Has(before, item) ? "present" : "-", Has(installed, item) ? "present" : "MISSING",
            Has(after, item) ? "LEFT" : "gone", item.c_str());
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: qvdemo MEDIUM OUTDIR\n");
        return 2;
    }
    std::string mediumFolder = argv[1];
    g_out = argv[2];
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    g_ticksPerMs = (double)frequency.QuadPart / 1000.0;
    DWORD begin = GetTickCount();
    bool failed = false;

    Say("Drivers\n");
    if (!DriversUp()) {
        Say("demo: the driver stand-ins did not come up\n");
        return 1;
    }

    Say("Installation medium\n");
    char letter = FreeLetter();
    if (!letter || !MapDrive(letter, mediumFolder)) {
        Say("demo: %s could not be mapped as a CD-ROM drive\n", mediumFolder.c_str());
        return 1;
    }
    std::string medium = std::string(1, letter) + ":\\";
    Say("  %s mapped as CD-ROM drive %s (drive type %u)\n", mediumFolder.c_str(), medium.c_str(),
        GetDriveTypeA(medium.c_str()));
    Inventory before = TakeInventory();
    Say("  %u files, folders, registry keys and values before the installation\n", (unsigned)before.size());

    Say("Installation (%ssetup.exe, Windows XP mode, wizard on screen)\n", medium.c_str());
    SetProgramMode("setup.exe", "winxp");
    SetProgramMode("QV5120DM.exe", "winxp");
    if (!RunWizard(medium + "setup.exe", medium)) {
        Say("demo: the installation did not go through\n");
        return 1;
    }
    Inventory installed = TakeInventory();
    std::vector<std::string> recorded = RecordedItems(kProduct);
    std::string uninstallString = RecordValue(kProduct, "UninstallString");
    Say("  uninstall record \"%s\": %u items, UninstallString \"%s\"\n", kProduct, (unsigned)recorded.size(),
        uninstallString.c_str());

    Say("Daemon (started by the installation's \"Run Programs\")\n");
    DaemonRun daemon;
    if (!AttachDaemon(&daemon, 30000)) {
        Say("demo: no QV5120DM.exe running after the installation\n");
        return 1;
    }
    std::string exeItem;
    for (const std::string& item : recorded) {
        size_t slash = item.rfind('\\');
        if (slash != std::string::npos && lstrcmpiA(item.c_str() + slash + 1, "QV5120DM.exe") == 0)
            exeItem = item;
    }
    Say("  running: %s (process %lu), main window %p\n", daemon.exe.c_str(), daemon.processId, (void*)daemon.window);
    Say("  installed as: %s\n", exeItem.empty() ? "(not in the uninstall record)" : exeItem.c_str());
    // The running program is the installed file, not the build's.
    bool fromInstall = !exeItem.empty() && daemon.exe.find(":\\windows\\") != std::string::npos;
    if (!fromInstall) {
        Say("demo: the daemon does not run from where the installation put it\n");
        failed = true;
    }

    Say("Keyboard\n");
    bool trayShown = false;
    size_t arrived = TypeKeys(daemon.window, &trayShown);
    Shot("desktop");

    Say("Session end\n");
    DWORD stopStart = GetTickCount();
    DWORD code = StopDaemon(&daemon);
    Say("  WM_ENDSESSION (log-off cancelled, wParam FALSE): daemon exit code %lu after %lu ms\n", code,
        GetTickCount() - stopStart);

    Say("Uninstallation\n");
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof(windows));
    std::string uninstaller = std::string(windows) + "\\QVUninst.exe";
    DWORD uninstallCode = RunProgram("\"" + uninstaller + "\" /S " + kProduct, 60000);
    Say("  %s /S %s: exit code %lu%s\n", uninstaller.c_str(), kProduct, uninstallCode,
        uninstallCode == 1 ? " (the rest is removed at the next restart)" : "");
    if (uninstallCode == 1) {
        // What a user does when asked: restart, which carries out the delayed deletes.
        DWORD restart = RunProgram("wineboot.exe -r", 60000);
        Say("  restart (wineboot -r): exit code %lu\n", restart);
        if (restart == 0)
            uninstallCode = 0;
    }
    Inventory after = TakeInventory();
    PrintListing(recorded, before, installed, after);
    size_t left = 0;
    for (const std::string& item : recorded)
        left += Has(after, item);
    std::vector<std::string> lost = Missing(before, after);
    std::vector<std::string> added;
    for (const std::string& item : Missing(after, before)) {
        if (item.compare(0, 19, "HKCU\\Software\\Wine\\") != 0 && item.compare(0, 19, "HKLM\\Software\\Wine\\") != 0)
            added.push_back(item);
    }
    Say("  recorded items left: %u; items there before and gone now: %u\n", (unsigned)left, (unsigned)lost.size());
    for (const std::string& item : lost)
        Say("    GONE %s\n", item.c_str());
    if (!added.empty())
        Say("  not there before and not recorded, so left in place (%u):\n", (unsigned)added.size());
    for (const std::string& item : added)
        Say("    %s\n", item.c_str());
    if (!added.empty())
        Say("  (the demo's own Wine settings not listed)\n");

    bool lostKeys = arrived != kKeyCount;
    failed = failed || lostKeys || code != 0 || !trayShown || uninstallCode != 0 || left != 0 || !lost.empty() ||
             recorded.size() < 2;
    Say("Result: %u of %u keys reached hkport; uninstalled %s; %.1f s%s\n", (unsigned)arrived, (unsigned)kKeyCount,
        left == 0 && lost.empty() && uninstallCode == 0 ? "cleanly" : "WITH FAULTS", (GetTickCount() - begin) / 1000.0,
        failed ? " -- FAILED" : "");
    UnmapDrive(letter);
    return failed ? 1 : 0;
}
