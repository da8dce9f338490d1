// The result page against a window holding its controls: what each install result, "NR"
// and a file in use show, that the file in use is scheduled and needs a restart, which
// Finish asks for nothing, and the floppy judgement with a folder mapped as drive A:.
// The restart itself runs in a Wine world of its own (result-world).
#include <doctest/doctest.h>

#include "install.h"
#include "procs.h"
#include "renames.h"
#include "result.h"
#include "setup.h"
#include "wintest.h"

#include <stdio.h>

#include <string>

using namespace qvtest;

namespace {

const char kSessionKey[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char kPending[] = "PendingFileRenameOperations";
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

// The delayed moves of this world, put back as they were.
struct PendingMoves {
    std::string saved;
    bool had;
    PendingMoves() { had = ReadValue(HKEY_LOCAL_MACHINE, kSessionKey, kPending, NULL, &saved); }
    ~PendingMoves()
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return;
        if (had)
            RegSetValueExA(key, kPending, 0, REG_MULTI_SZ, (const BYTE*)saved.data(), (DWORD)saved.size());
        else
            RegDeleteValueA(key, kPending);
        RegCloseKey(key);
    }
    static std::string Now()
    {
        std::string data;
        ReadValue(HKEY_LOCAL_MACHINE, kSessionKey, kPending, NULL, &data);
        return data;
    }
};

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
