// The wizard driven from outside as a user drives it: pages found on the frame, buttons
// clicked, the exit confirmation answered; the installer state comes from a script as
// setup.exe reads it, and the worker copies for real.
#include <doctest/doctest.h>

#include "procs.h"
#include "progress.h"
#include "renames.h"
#include "setup.h"
#include "capture.h"
#include "setuptest.h"
#include "wintest.h"
#include "wizard.h"
#include "wizardrun.h"

#include <commctrl.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

using namespace qvtest;
using namespace setuptest;

namespace {

const char kRecord[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QvWizardTest";
const char kValues[] = "Software\\QvWizardTest";
const char kHeader[] = "[Setup]\nUninstallKey=QvWizardTest\nProductName=Lumeno KB-7\nVersion=2.5\nUpdateDriver=FALSE\n";
const DWORD kWait = 10000;
const DWORD kPartBytes = 1024 * 1024;

DWORD SizeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
}

void Prepare(const std::string& dir, const std::string& script, const char* options = "")
{
    DeleteTree(HKEY_LOCAL_MACHINE, kRecord);
    DeleteTree(HKEY_CURRENT_USER, kValues);
    WriteString(HKEY_CURRENT_USER, "Control Panel\\International", "Locale", "00000409");
    REQUIRE(WriteScript(dir + "\\SETUP2K.INI", script));
    REQUIRE(StartIn(dir, options));
    SetupResetProgress();
    SetupClearRenames();
    g_titleBandHeight = 0;
}

void CleanUp(const std::vector<std::string>& dirs)
{
    DeleteTree(HKEY_LOCAL_MACHINE, kRecord);
    DeleteTree(HKEY_CURRENT_USER, kValues);
    for (const std::string& dir : dirs)
        RemoveTree(dir);
}

std::string Joined(const std::vector<std::string>& pages)
{
    std::string all;
    for (const std::string& page : pages)
        all += (all.empty() ? "" : " | ") + page;
    return all;
}

std::string Name(int i) { return "part" + std::to_string(100 + i) + ".bin"; }

// `count` files of `bytes` each, listed in "Copy Files" for `dst`.
std::string MakeParts(const std::string& src, const std::string& dst, int count, DWORD bytes)
{
    std::string block(bytes, 'x');
    std::string lines = "[Copy Files]\n";
    for (int i = 0; i < count; ++i) {
        block[0] = (char)('a' + i % 26);
        REQUIRE(WriteFileText(src + "\\" + Name(i), block));
        lines += Name(i) + "=" + dst + "\n";
    }
    return lines;
}

int CountParts(const std::string& dst, int count)
{
    int n = 0;
    for (int i = 0; i < count; ++i)
        n += Exists(dst + "\\" + Name(i));
    return n;
}

// Walks from the summary into the copy and clicks Cancel as soon as the worker is under way.
// Next twice, as an impatient double click: the second, queued before the page changed,
// must not end the copy.
HWND CancelDuringCopy(const WizardRun& run, HWND frame)
{
    Click(frame, WIZARD_NEXT);
    Click(frame, WIZARD_NEXT);
    Click(frame, WIZARD_CANCEL);
    return WaitForConfirmation(run, kWait);
}

// The control's client area as its own painting draws it, one COLORREF-like 0xRRGGBB a pixel.
struct Picture {
    int width = 0, height = 0;
    std::vector<DWORD> pixels;
    DWORD At(int x, int y) const { return pixels[(size_t)y * width + x]; }
    // Pixels of `colour` in the columns [from, to).
    int Count(DWORD colour, int from, int to) const
    {
        int n = 0;
        for (int y = 0; y < height; ++y)
            for (int x = from < 0 ? 0 : from; x < to && x < width; ++x)
                n += At(x, y) == colour;
        return n;
    }
};

Picture Print(HWND control)
{
    Picture picture;
    // Grey first: whatever the painting leaves out shows.
    if (!PrintClientPixels(control, 0x80, &picture.width, &picture.height, &picture.pixels))
        return Picture();
    return picture;
}

const DWORD kWhite = 0xFFFFFF, kBlue = 0x0000FF, kBlack = 0x000000;

} // namespace

TEST_CASE("no Ask flag: Welcome, Start Installation, Installation Procedures, Setup Result; Back returns to "
          "Welcome; the summary and the result say what was installed")
{
    std::string src = MakeSetupDir("wizard-src");
    std::string dst = MakeTempDir("wizard-dst");
    WriteFileText(src + "\\tool.exe", "tool");
    Prepare(src, std::string(kHeader) + "AskType=FALSE\n[Copy Files]\ntool.exe=" + dst +
                     "\n[Add Registry]\nr1=HKCU,Software\\QvWizardTest,Done,0,yes\n");
    g_titleBandHeight = 20;
    WizardRun run;
    REQUIRE(StartWizard(&run));
    HWND frame = WaitForFrame(run, kWait);
    REQUIRE(frame != NULL);
    REQUIRE(WaitForPage(frame, "Welcome", kWait));
    HWND welcome = CurrentPage(frame);
    CHECK(ItemText(welcome, 710) ==
          "Welcome to the Lumeno KB-7 Setup program.  This program will install Lumeno KB-7 on your computer.");
    CHECK(!Shown(welcome, 1006));
    CHECK(Enabled(frame, WIZARD_NEXT));
    CHECK(!Enabled(frame, WIZARD_BACK));
    // Four pages left in the sheet, the frame in front, centred in the work area.
    CHECK(SendMessageA(PropSheet_GetTabControl(frame), TCM_GETITEMCOUNT, 0, 0) == 4);
    CHECK(GetForegroundWindow() == frame);
    RECT work, rect;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(frame, &rect);
    CHECK(abs((rect.left - work.left) - (work.right - rect.right)) <= 1);
    CHECK(abs((rect.top - work.top) - (work.bottom - rect.bottom)) <= 1);
    // Moved away, it comes back to its place when the system settings change.
    SetWindowPos(frame, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(frame, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    RECT back;
    GetWindowRect(frame, &back);
    CHECK(back.left == rect.left);
    CHECK(back.top == rect.top);

    Click(frame, WIZARD_NEXT);
    REQUIRE(WaitForPage(frame, "Start Installation", kWait));
    HWND summary = CurrentPage(frame);
    CHECK(ItemText(summary, 301) == "Product:\r\n          Lumeno KB-7\r\n\r\nVersion:\r\n          2.5\r\n\r\n"
                                    "Interface:\r\n          USB (Universal Serial Bus) Interface");
    CHECK(Enabled(frame, WIZARD_BACK));
    // A click into the read-only summary leaves the focus on Next, so Enter goes on.
    HWND edit = GetDlgItem(summary, 301);
    PostMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Sleep(300);
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof(gui);
    REQUIRE(GetGUIThreadInfo(run.threadId, &gui));
    CHECK(gui.hwndFocus == GetDlgItem(frame, WIZARD_NEXT));
    Click(frame, WIZARD_BACK);
    REQUIRE(WaitForPage(frame, "Welcome", kWait));
    Click(frame, WIZARD_NEXT);
    REQUIRE(WaitForPage(frame, "Start Installation", kWait));
    Click(frame, WIZARD_NEXT);
    REQUIRE(WaitForPage(frame, "Setup Result", kWait));
    HWND result = CurrentPage(frame);
    CHECK(Exists(dst + "\\tool.exe"));
    CHECK(Text(HKEY_CURRENT_USER, kValues, "Done") == "yes");
    // USB needs no restart: the plain success text, Finish the only way on.
    CHECK(Shown(result, 713));
    CHECK(!Shown(result, 711));
    CHECK(!Shown(result, 502));
    CHECK(ItemText(result, 713) == "Setup has successfully installed Lumeno KB-7.\n\nClick Finish to complete Setup.");
    CHECK(!Enabled(frame, WIZARD_CANCEL));
    CHECK(Enabled(frame, WIZARD_FINISH));
    CHECK(!Enabled(frame, WIZARD_BACK));
    // The finished bar: all blue, the "100" and its sign white, nothing black.
    HWND progress = (HWND)SendMessageA(frame, PSM_INDEXTOHWND, 2, 0);
    REQUIRE(progress != NULL);
    CHECK(PageTitle(progress) == "Installation Procedures");
    Picture bar = Print(GetDlgItem(progress, 1400));
    REQUIRE(bar.width > 0);
    CHECK(bar.Count(kBlack, 0, bar.width) == 0);
    CHECK(bar.Count(kWhite, 0, bar.width / 2) > 0);
    CHECK(bar.Count(kBlue, 0, bar.width) + bar.Count(kWhite, 0, bar.width) > bar.width * bar.height * 9 / 10);
    Click(frame, WIZARD_FINISH);
    CHECK(WaitForEnd(&run, kWait));
    CHECK(Joined(CreatedPages()) == "Welcome | Start Installation | Installation Procedures | Setup Result");
    CleanUp({ src, dst });
}

TEST_CASE("every page asked for, in order: the licence read whole, PS/2 chosen on the type page with its "
          "effects, the folder texts, the summary with all five pairs; Exit Setup before the copy copies nothing")
{
    std::string src = MakeSetupDir("wizard-all");
    std::string dst = MakeTempDir("wizard-all-dst");
    WriteFileText(src + "\\tool.exe", "tool");
    // Bytes past the length start-up measured are not the licence's.
    const std::string licence = "LICENCE\r\nYou may use this keyboard software on one computer.\r\n";
    WriteFileText(src + "\\LICENENG.TXT", licence);
    Prepare(src, std::string(kHeader) + "AskLicense=TRUE\nAskPath=TRUE\nAskProgramFolder=TRUE\nAskType=TRUE\n"
                                        "USBInf=usb.inf\n[Copy Files]\ntool.exe=" + dst + "\n");
    REQUIRE(g_setup.licenceLength == licence.size());
    WriteFileText(src + "\\LICENENG.TXT", licence + "appended after start-up");
    g_setup.restartNeeded = 0;
    std::string infBefore = g_setup.infFile;

    WizardRun run;
    REQUIRE(StartWizard(&run));
    HWND frame = WaitForFrame(run, kWait);
    REQUIRE(frame != NULL);
    REQUIRE(WaitForPage(frame, "Welcome", kWait));
    CHECK(SendMessageA(PropSheet_GetTabControl(frame), TCM_GETITEMCOUNT, 0, 0) == 8);
    Click(frame, WIZARD_NEXT);
    REQUIRE(WaitForPage(frame, "Software License Agreement", kWait));
    CHECK(ItemText(CurrentPage(frame), 1010) == licence);
    CHECK(Enabled(frame, WIZARD_NEXT));
    Click(frame, WIZARD_NEXT);
    REQUIRE(WaitForPage(frame, "Hardware Interface Selection", kWait));
    HWND type = CurrentPage(frame);
    CHECK(IsDlgButtonChecked(type, 303) == BST_CHECKED);
    CHECK(IsDlgButtonChecked(type, 301) == BST_UNCHECKED);
    Click(type, 301);
    Click(frame, WIZARD_NEXT);
    REQUIRE(WaitForPage(frame, "Choose Destination Location", kWait));
    // PS/2 on NT: restart needed, no configuration manager call, the INF untouched.
    CHECK(g_setup.interfaceType == SETUP_TYPE_PS2);
    CHECK(g_setup.restartNeeded == 1);
    CHECK(g_setup.callConfigMg == 0);
    CHECK(g_setup.infFile == infBefore);
    HWND destination = CurrentPage(frame);
    CHECK(ItemText(destination, 203) == "You can choose not to install Lumeno KB-7 by clicking Cancel to exit Setup.");
    CHECK(ItemText(destination, 202).find("Setup will install Lumeno KB-7 in the following folder.") == 0);
    CHECK(ItemText(destination, 201) == g_setup.installDir);
    Click(frame, WIZARD_NEXT);
    REQUIRE(WaitForPage(frame, "Select Program Folder", kWait));
    Click(frame, WIZARD_NEXT);
    REQUIRE(WaitForPage(frame, "Start Installation", kWait));
    CHECK(ItemText(CurrentPage(frame), 301) ==
          "Product:\r\n          Lumeno KB-7\r\n\r\nVersion:\r\n          2.5\r\n\r\nInterface:\r\n          PS/2 Interface"
          "\r\n\r\nInstallation Directory:\r\n          " + std::string(g_setup.installDir) +
          "\r\n\r\nProgram Folder:\r\n          ");
    // Back to the type page and USB after all: the summary follows.
    Click(frame, WIZARD_BACK);
    REQUIRE(WaitForPage(frame, "Select Program Folder", kWait));
    Click(frame, WIZARD_BACK);
    REQUIRE(WaitForPage(frame, "Choose Destination Location", kWait));
    Click(frame, WIZARD_BACK);
    REQUIRE(WaitForPage(frame, "Hardware Interface Selection", kWait));
    Click(CurrentPage(frame), 303);
    for (const char* title : { "Choose Destination Location", "Select Program Folder", "Start Installation" }) {
        Click(frame, WIZARD_NEXT);
        REQUIRE(WaitForPage(frame, title, kWait));
    }
    CHECK(ItemText(CurrentPage(frame), 301).find("Interface:\r\n          USB (Universal Serial Bus) Interface\r\n") !=
          std::string::npos);
    CHECK(g_setup.restartNeeded == 0);
    CHECK(g_setup.infFile == std::string(src + "\\usb.inf"));

    Click(frame, WIZARD_CANCEL);
    HWND confirm = WaitForConfirmation(run, kWait);
    REQUIRE(confirm != NULL);
    CHECK(ItemText(confirm, 1032) ==
          "Setup is incomplete. If you exit Setup now, Lumeno KB-7 will not be installed on your computer.");
    CHECK(ItemText(confirm, 1033) == "To continue installing Lumeno KB-7, click Resume.  To quit Setup, click Exit Setup.");
    Click(confirm, IDCANCEL);
    CHECK(WaitForEnd(&run, kWait));
    CHECK(!Exists(dst + "\\tool.exe"));
    CHECK(Joined(CreatedPages()) == "Welcome | Software License Agreement | Hardware Interface Selection | "
                                    "Choose Destination Location | Select Program Folder | Start Installation");
    CleanUp({ src, dst });
}

TEST_CASE("a licence file that is not there shows an empty text, and Next still goes on")
{
    std::string src = MakeSetupDir("wizard-nolicence");
    Prepare(src, std::string(kHeader) + "AskLicense=TRUE\nAskType=FALSE\n");
    REQUIRE(g_setup.licencePath == src);
    WizardRun run;
    REQUIRE(StartWizard(&run));
    HWND frame = WaitForFrame(run, kWait);
    REQUIRE(frame != NULL);
    REQUIRE(WaitForPage(frame, "Welcome", kWait));
    Click(frame, WIZARD_NEXT);
    REQUIRE(WaitForPage(frame, "Software License Agreement", kWait));
    CHECK(ItemText(CurrentPage(frame), 1010) == "");
    CHECK(Enabled(frame, WIZARD_NEXT));
    CHECK(Enabled(frame, WIZARD_BACK));
    Click(frame, WIZARD_NEXT);
    REQUIRE(WaitForPage(frame, "Start Installation", kWait));
    Click(frame, WIZARD_CANCEL);
    HWND confirm = WaitForConfirmation(run, kWait);
    REQUIRE(confirm != NULL);
    // Resume keeps the wizard where it was.
    Click(confirm, IDOK);
    Sleep(300);
    CHECK(PageTitle(CurrentPage(frame)) == "Start Installation");
    CHECK(WaitForSingleObject(run.thread, 0) == WAIT_TIMEOUT);
    Click(frame, WIZARD_CANCEL);
    confirm = WaitForConfirmation(run, kWait);
    REQUIRE(confirm != NULL);
    Click(confirm, IDCANCEL);
    CHECK(WaitForEnd(&run, kWait));
    CleanUp({ src });
}

TEST_CASE("/S walks every page by itself, the licence page too, and finishes; with a failed copy it waits on "
          "the result page")
{
    std::string src = MakeSetupDir("wizard-silent");
    std::string dst = MakeTempDir("wizard-silent-dst");
    WriteFileText(src + "\\tool.exe", "tool");
    WriteFileText(src + "\\LICENENG.TXT", "licence");
    Prepare(src, std::string(kHeader) + "AskLicense=TRUE\nAskPath=TRUE\nAskProgramFolder=TRUE\n[Copy Files]\ntool.exe=" +
                     dst + "\n", "/S /NR");
    WizardRun run;
    REQUIRE(StartWizard(&run));
    CHECK(WaitForEnd(&run, 20000));
    CHECK(Exists(dst + "\\tool.exe"));
    CHECK(g_progress.installResult == 0);
    // "S" drops the type, destination and program-folder pages.
    CHECK(Joined(CreatedPages()) ==
          "Welcome | Software License Agreement | Start Installation | Installation Procedures | Setup Result");

    Prepare(src, std::string(kHeader) + "CabFile=TRUE\nCabFileName=ABSENT.CAB\n[Copy Files]\nmissing.txt=" + dst + "\n",
            "/S /NR");
    WizardRun failed;
    REQUIRE(StartWizard(&failed));
    HWND frame = WaitForFrame(failed, kWait);
    REQUIRE(frame != NULL);
    REQUIRE(WaitForPage(frame, "Setup Result", kWait));
    Sleep(500);
    CHECK(WaitForSingleObject(failed.thread, 0) == WAIT_TIMEOUT);
    HWND result = CurrentPage(frame);
    CHECK(Shown(result, 1004));
    CHECK(Shown(result, 1007));
    CHECK(!Shown(result, 1005));
    CHECK(!Shown(result, 713));
    CHECK(!Shown(result, 711));
    CHECK(!Enabled(frame, WIZARD_CANCEL));
    Click(frame, WIZARD_FINISH);
    CHECK(WaitForEnd(&failed, kWait));
    CleanUp({ src, dst });
}

TEST_CASE("/H keeps the wizard hidden and waiting for input, which still reaches it")
{
    std::string src = MakeSetupDir("wizard-hidden");
    std::string dst = MakeTempDir("wizard-hidden-dst");
    WriteFileText(src + "\\tool.exe", "tool");
    Prepare(src, std::string(kHeader) + "AskType=FALSE\n[Copy Files]\ntool.exe=" + dst + "\n", "/H");
    WizardRun run;
    REQUIRE(StartWizard(&run));
    HWND frame = WaitForFrame(run, kWait);
    REQUIRE(frame != NULL);
    REQUIRE(WaitForPage(frame, "Welcome", kWait));
    Sleep(1000);
    CHECK(!IsWindowVisible(frame));
    CHECK(PageTitle(CurrentPage(frame)) == "Welcome");
    CHECK(WaitForSingleObject(run.thread, 0) == WAIT_TIMEOUT);
    Click(frame, WIZARD_NEXT);
    REQUIRE(WaitForPage(frame, "Start Installation", kWait));
    CHECK(!IsWindowVisible(frame));
    Click(frame, WIZARD_CANCEL);
    HWND confirm = WaitForConfirmation(run, kWait);
    REQUIRE(confirm != NULL);
    Click(confirm, IDCANCEL);
    CHECK(WaitForEnd(&run, kWait));
    CHECK(!Exists(dst + "\\tool.exe"));
    CleanUp({ src, dst });
}

TEST_CASE("Cancel during the copy holds it at the next file; Resume goes on from that file and installs all")
{
    const int kCount = 100;
    std::string src = MakeSetupDir("wizard-resume");
    std::string dst = MakeTempDir("wizard-resume-dst");
    std::string parts = MakeParts(src, dst, kCount, kPartBytes);
    Prepare(src, std::string(kHeader) + "AskType=FALSE\n" + parts + "[Add Registry]\nr1=HKCU,Software\\QvWizardTest,Done,0,yes\n");
    WizardRun run;
    REQUIRE(StartWizard(&run));
    HWND frame = WaitForFrame(run, kWait);
    REQUIRE(frame != NULL);
    Click(frame, WIZARD_NEXT);
    REQUIRE(WaitForPage(frame, "Start Installation", kWait));
    HWND confirm = CancelDuringCopy(run, frame);
    REQUIRE(confirm != NULL);
    HWND progress = CurrentPage(frame);
    CHECK(PageTitle(progress) == "Installation Procedures");
    // Only Cancel while copying; the copy's labels and bar are up.
    CHECK(!Enabled(frame, WIZARD_NEXT));
    CHECK(!Enabled(frame, WIZARD_BACK));
    Sleep(300);
    CHECK(Shown(progress, 1400));
    CHECK(Shown(progress, 1500));
    CHECK(!Shown(progress, 1003));
    int held = CountParts(dst, kCount);
    std::string next = ItemText(progress, 1002);
    Sleep(500);
    CHECK(CountParts(dst, kCount) == held);
    CHECK(held < kCount);
    // The file shown is the one the worker waits to copy; all before it are there.
    CHECK(next == Name(held));
    CHECK(!Exists(dst + "\\" + next));
    CHECK(Text(HKEY_CURRENT_USER, kValues, "Done") == "(absent)");
    CHECK(g_progress.percent == held * 100 / kCount);
    // The bar: blue up to its end, white after it, the number black where the bar has not come.
    Picture bar = Print(GetDlgItem(progress, 1400));
    REQUIRE(bar.width > 100);
    int end = bar.width * (int)g_progress.percent / 100;
    CHECK(bar.Count(0x808080, 0, bar.width) == 0);
    if (end > 0)
        CHECK(bar.At(end - 1, 0) == kBlue);
    CHECK(bar.At(end + 1, 0) == kWhite);
    CHECK(bar.Count(kBlack, end, bar.width) > 0);
    CHECK(bar.Count(kBlue, end, bar.width) == 0);

    Click(confirm, IDOK);
    REQUIRE(WaitForPage(frame, "Setup Result", 30000));
    CHECK(CountParts(dst, kCount) == kCount);
    bool whole = true;
    for (int i = 0; i < kCount; ++i)
        whole = whole && SizeOf(dst + "\\" + Name(i)) == kPartBytes;
    CHECK(whole);
    CHECK(Text(HKEY_CURRENT_USER, kValues, "Done") == "yes");
    CHECK(g_progress.percent == 100);
    Click(frame, WIZARD_FINISH);
    CHECK(WaitForEnd(&run, kWait));
    CleanUp({ src, dst });
}

TEST_CASE("Exit Setup during the copy: no destination half-written or left behind, a file not reached keeps "
          "its old text, nothing after the copy ran")
{
    const int kCount = 100;
    std::string src = MakeSetupDir("wizard-exit");
    std::string dst = MakeTempDir("wizard-exit-dst");
    std::string parts = MakeParts(src, dst, kCount, kPartBytes);
    // The last entry replaces an older file of the same name.
    WriteFileText(dst + "\\" + Name(kCount - 1), "older");
    SYSTEMTIME old = { 2001, 1, 0, 1, 0, 0, 0, 0 };
    FILETIME t;
    SystemTimeToFileTime(&old, &t);
    HANDLE file = CreateFileA((dst + "\\" + Name(kCount - 1)).c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    REQUIRE(file != INVALID_HANDLE_VALUE);
    SetFileTime(file, NULL, NULL, &t);
    CloseHandle(file);
    Prepare(src, std::string(kHeader) + "AskType=FALSE\n" + parts + "[Add Registry]\nr1=HKCU,Software\\QvWizardTest,Done,0,yes\n");
    WizardRun run;
    REQUIRE(StartWizard(&run));
    HWND frame = WaitForFrame(run, kWait);
    REQUIRE(frame != NULL);
    Click(frame, WIZARD_NEXT);
    REQUIRE(WaitForPage(frame, "Start Installation", kWait));
    HWND confirm = CancelDuringCopy(run, frame);
    REQUIRE(confirm != NULL);
    Sleep(200);
    int held = CountParts(dst, kCount);
    CHECK(held < kCount);
    Click(confirm, IDCANCEL);
    CHECK(WaitForEnd(&run, kWait));
    CHECK(CountParts(dst, kCount - 1) == 0);
    CHECK(ReadTextFile(dst + "\\" + Name(kCount - 1)) == "older");
    CHECK(Text(HKEY_CURRENT_USER, kValues, "Done") == "(absent)");
    CHECK(Joined(CreatedPages()) == "Welcome | Start Installation | Installation Procedures");
    CleanUp({ src, dst });
}

TEST_CASE("the result page after a run that needs a restart: the restart text and choice; 'later' and Finish "
          "close without a restart")
{
    std::string src = MakeSetupDir("wizard-restart");
    std::string dst = MakeTempDir("wizard-restart-dst");
    WriteFileText(src + "\\tool.exe", "tool");
    Prepare(src, std::string(kHeader) + "AskType=FALSE\nRestart=TRUE\n[Copy Files]\ntool.exe=" + dst + "\n");
    REQUIRE(g_setup.restartNeeded == 1);
    WizardRun run;
    REQUIRE(StartWizard(&run));
    HWND frame = WaitForFrame(run, kWait);
    REQUIRE(frame != NULL);
    Click(frame, WIZARD_NEXT);
    REQUIRE(WaitForPage(frame, "Start Installation", kWait));
    Click(frame, WIZARD_NEXT);
    REQUIRE(WaitForPage(frame, "Setup Result", kWait));
    HWND result = CurrentPage(frame);
    CHECK(ItemText(result, 711) == "Setup has successfully installed Lumeno KB-7.\n\nBefore you can use Lumeno KB-7, "
                                   "you must restart your computer.");
    CHECK(Shown(result, 711));
    CHECK(Shown(result, 712));
    CHECK(!Shown(result, 713));
    CHECK(!Shown(result, 1004));
    CHECK(IsDlgButtonChecked(result, 502) == BST_CHECKED);
    CHECK(IsDlgButtonChecked(result, 503) == BST_UNCHECKED);
    Click(result, 503);
    Sleep(100);
    REQUIRE(IsDlgButtonChecked(result, 503) == BST_CHECKED);
    Click(frame, WIZARD_FINISH);
    CHECK(WaitForEnd(&run, kWait));
    // Still here: no restart was asked for.
    CHECK(Exists(dst + "\\tool.exe"));
    CleanUp({ src, dst });
}

QV_CHILD(wizardfront)
{
    if (argc < 2 || !StartIn(argv[0]))
        return 100;
    g_titleBandHeight = atoi(argv[1]);
    WizardRun run;
    if (!StartWizard(&run))
        return 101;
    HWND frame = WaitForFrame(run, kWait);
    if (!frame || !WaitForPage(frame, "Welcome", kWait))
        return 102;
    int bits = 0;
    if (GetForegroundWindow() == frame)
        bits |= 1;
    RECT work, rect;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(frame, &rect);
    if (rect.top >= g_titleBandHeight && rect.bottom <= work.bottom &&
        abs((rect.left - work.left) - (work.right - rect.right)) <= 1)
        bits |= 2;
    if (IsWindowVisible(frame))
        bits |= 4;
    Click(frame, WIZARD_CANCEL);
    HWND confirm = WaitForConfirmation(run, kWait);
    if (confirm)
        Click(confirm, IDCANCEL);
    if (confirm && WaitForEnd(&run, kWait))
        bits |= 8;
    return bits;
}

TEST_CASE("in every Windows mode the frame comes to the front by that system's rule, below the title band")
{
    std::string dir = MakeSetupDir("wizard-modes");
    for (const char* script : { "SETUP95.INI", "SETUP98.INI", "SETUPME.INI", "SETUPNT.INI", "SETUP2K.INI", "SETUPXP.INI" })
        REQUIRE(WriteScript(dir + "\\" + script, std::string(kHeader) + "AskType=FALSE\n"));
    for (const char* mode : { "win95", "win98", "winme", "nt40", "win2k", "winxp" }) {
        CAPTURE(mode);
        CHECK(RunAsMode(mode, SelfPath(), "--child wizardfront " + dir + " 300", 60000) == 15);
    }
    RemoveTree(dir);
}

QV_CHILD(sidepicture)
{
    if (argc < 1 || !StartIn(argv[0]))
        return 100;
    WizardRun run;
    if (!StartWizard(&run))
        return 101;
    HWND frame = WaitForFrame(run, kWait);
    if (!frame || !WaitForPage(frame, "Welcome", kWait))
        return 102;
    HWND page = CurrentPage(frame);
    RECT place, client;
    GetWindowRect(GetDlgItem(page, 1006), &place);
    MapWindowPoints(NULL, page, (POINT*)&place, 2);
    GetClientRect(page, &client);
    int height = client.bottom - 2 * place.top;
    int width = height * (place.right - place.left) / (place.bottom - place.top);
    Picture shot = Print(page);
    int bits = 0;
    // The column is the picture's red, as tall as the page less the top margin twice.
    int inside = 0, outside = 0;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            bool in = x >= place.left + 1 && x < place.left + width - 1 && y >= place.top + 1 && y < place.top + height - 1;
            bool around = x < place.left - 1 || x > place.left + width + 1 || y < place.top - 1 || y > place.top + height + 1;
            if (in && shot.At(x, y) != 0xFF0000)
                ++inside;
            if (around && shot.At(x, y) == 0xFF0000)
                ++outside;
        }
    }
    if (shot.width > 0 && inside == 0)
        bits |= 1;
    if (shot.width > 0 && outside == 0)
        bits |= 2;
    // A page laid out larger than its template, as under a frame font of another language:
    // the column keeps to the placeholder's width and shape instead of running over the texts.
    SetWindowPos(page, NULL, 0, 0, client.right * 3 / 2, client.bottom * 3 / 2, SWP_NOMOVE | SWP_NOZORDER);
    Picture grown = Print(page);
    int placeWidth = place.right - place.left, placeHeight = place.bottom - place.top;
    int missing = 0, beside = 0;
    for (int y = 0; y < grown.height; ++y) {
        for (int x = 0; x < grown.width; ++x) {
            bool in = x > place.left && x < place.right - 1 && y > place.top && y < place.bottom - 1;
            if (in && grown.At(x, y) != 0xFF0000)
                ++missing;
            if ((x > place.left + placeWidth + 1 || y > place.top + placeHeight + 1) && grown.At(x, y) == 0xFF0000)
                ++beside;
        }
    }
    if (grown.width > client.right && missing == 0 && beside == 0)
        bits |= 8;
    Click(frame, WIZARD_CANCEL);
    HWND confirm = WaitForConfirmation(run, kWait);
    if (confirm)
        Click(confirm, IDCANCEL);
    if (confirm && WaitForEnd(&run, kWait))
        bits |= 4;
    return bits;
}

TEST_CASE("bitmap 101 is stretched into the placeholder's column on every paint, and kept to its width on a page "
          "larger than its template; without it the page is plain")
{
    std::string dir = MakeSetupDir("wizard-side");
    REQUIRE(WriteScript(dir + "\\SETUP2K.INI", std::string(kHeader) + "AskType=FALSE\n"));
    // A copy of this program carrying a red 64 x 128 picture as bitmap 101.
    std::string copy = dir + "\\sidepic.exe";
    REQUIRE(CopyFileA(SelfPath().c_str(), copy.c_str(), FALSE));
    const int w = 64, h = 128, row = (w * 3 + 3) & ~3;
    std::vector<BYTE> bitmap(sizeof(BITMAPINFOHEADER) + (size_t)row * h, 0);
    BITMAPINFOHEADER* header = (BITMAPINFOHEADER*)bitmap.data();
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = w;
    header->biHeight = h;
    header->biPlanes = 1;
    header->biBitCount = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bitmap[sizeof(BITMAPINFOHEADER) + (size_t)y * row + x * 3 + 2] = 0xFF;
    HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
    REQUIRE(update != NULL);
    REQUIRE(UpdateResourceA(update, (LPCSTR)RT_BITMAP, MAKEINTRESOURCEA(101), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                            bitmap.data(), (DWORD)bitmap.size()));
    REQUIRE(EndUpdateResourceA(update, FALSE));
    CHECK(RunProgram("\"" + copy + "\" --child sidepicture " + dir, 60000) == 15);
    // This program has no bitmap 101: no red anywhere, and the wizard still runs.
    CHECK(RunProgram("\"" + SelfPath() + "\" --child sidepicture " + dir, 60000) == 6);
    RemoveTree(dir);
}
