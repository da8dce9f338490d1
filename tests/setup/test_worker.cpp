// The worker thread end to end against the test dialog: its order of steps, the driver and
// registry phase's controls, the Next press, and a cancel that stops it between two files
// and leaves nothing behind once the undo ran.
#include <doctest/doctest.h>

#include "cabinet.h"
#include "copy.h"
#include "filetable.h"
#include "progresspage.h"
#include "renames.h"
#include "setup.h"
#include "setuptest.h"
#include "wintest.h"
#include "worker.h"

#include <string>

using namespace qvtest;
using namespace setuptest;

namespace {

const std::string kRecord = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QvWorkerTest";
const char kValues[] = "Software\\QvWorkerTest";

void Prepare(const std::string& dir, const std::string& script)
{
    DeleteTree(HKEY_LOCAL_MACHINE, kRecord.c_str());
    DeleteTree(HKEY_CURRENT_USER, kValues);
    REQUIRE(WriteScript(dir + "\\SETUP2K.INI", script));
    REQUIRE(StartIn(dir));
    SetupClearRenames();
}

const char kHeader[] = "[Setup]\nUninstallKey=QvWorkerTest\nProductName=Worker Test\nUpdateDriver=FALSE\n";

// The worker runs while this thread pumps, as the wizard's thread does.
bool RunWorker(TestPage* page, DWORD timeoutMs)
{
    REQUIRE(SetupStartWorker(&page->table));
    DWORD start = GetTickCount();
    while (!page->nextPressed && GetTickCount() - start < timeoutMs)
        PumpFor(20);
    PumpFor(50);
    bool pressed = page->nextPressed != 0;
    SetupStopWorker(2000);
    return pressed;
}

// Last written in 2001, before the cabinet's files.
void MakeOld(const std::string& path)
{
    SYSTEMTIME old = { 2001, 1, 0, 1, 0, 0, 0, 0 };
    FILETIME t;
    SystemTimeToFileTime(&old, &t);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    REQUIRE(file != INVALID_HANDLE_VALUE);
    SetFileTime(file, NULL, NULL, &t);
    CloseHandle(file);
}

void PauseAfterFirst(TestPage* page, LONG count)
{
    if (count == 1) {
        ResetEvent(g_progress.pauseEvent);
        SetEvent(page->signal);
    }
}

} // namespace

TEST_CASE("the worker creates the folder, copies, runs the registry phase and presses Next")
{
    std::string src = MakeSetupDir("worker-src");
    std::string base = MakeTempDir("worker-dst");
    std::string install = base + "\\Vendor\\Keyboard\\Tools";
    WriteFileText(src + "\\tool.exe", "tool");
    WriteFileText(src + "\\help.txt", "help");
    Prepare(src, std::string(kHeader) + "AskPath=TRUE\n[Copy Files]\ntool.exe=%99%\nhelp.txt=%99%\n"
                                        "[Add Registry]\nr1=HKCU,Software\\QvWorkerTest,Path,0,%99%\n");
    TextCopy(g_setup.installDir, sizeof(g_setup.installDir), (install + "\\").c_str());
    TestPage page;
    REQUIRE(OpenTestPage(&page));
    CHECK(RunWorker(&page, 10000));
    CHECK(page.nextPressed == 1);

    CHECK(Exists(install));
    CHECK(Exists(install + "\\tool.exe"));
    CHECK(Exists(install + "\\help.txt"));
    CHECK(Text(HKEY_LOCAL_MACHINE, kRecord + "\\DeleteDirectory", install.c_str()) == "0");
    CHECK(Text(HKEY_LOCAL_MACHINE, kRecord + "\\DeleteFiles", "tool.exe") == install);
    CHECK(Text(HKEY_CURRENT_USER, kValues, "Path") == install + "\\");
    // The driver phase's face: its text, Cancel off, both animations played and put away.
    CHECK(Visible(page, PROGRESS_DRIVER_TEXT));
    CHECK(!Visible(page, PROGRESS_COPY_TEXT));
    CHECK(!Visible(page, PROGRESS_PERCENT));
    CHECK(!Visible(page, PROGRESS_SOURCE));
    CHECK(!Visible(page, PROGRESS_FROM_LABEL));
    CHECK(!Visible(page, PROGRESS_COPY_ANIMATION));
    CHECK(!Visible(page, PROGRESS_DRIVER_ANIMATION));
    CHECK(page.cancelDisabled == 1);
    CHECK(page.opened[0] != 0);
    CHECK(page.opened[1] != 0);
    CHECK(g_progress.percent == 100);
    CHECK(g_progress.driverBusy == 0);
    CloseTestPage(&page);
    DeleteTree(HKEY_LOCAL_MACHINE, kRecord.c_str());
    DeleteTree(HKEY_CURRENT_USER, kValues);
    RemoveTree(src);
    RemoveTree(base);
}

TEST_CASE("Exit Setup mid-copy: the worker stops between files by itself and the undo leaves nothing")
{
    std::string src = MakeSetupDir("worker-csrc");
    std::string dst = MakeTempDir("worker-cdst");
    REQUIRE(CopyFileA((DirOf(SelfPath()) + "\\cabinets\\zip.cab").c_str(), (src + "\\DATA.CAB").c_str(), FALSE));
    CreateDirectoryA((src + "\\extra").c_str(), NULL);
    WriteFileText(src + "\\extra\\local.txt", "beside the cabinet");
    WriteFileText(dst + "\\two.txt", "in use");
    MakeOld(dst + "\\two.txt");
    Prepare(src, std::string(kHeader) + "CabFile=TRUE\nCabFileName=DATA.CAB\n[Copy Files]\n"
                                        "two.txt=" + dst + "\none.txt=" + dst + "\nextra\\local.txt=" + dst + "\n"
                                        "[Add Registry]\nr1=HKCU,Software\\QvWorkerTest,Path,0,x\n");
    HANDLE held = CreateFileA((dst + "\\two.txt").c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    REQUIRE(held != INVALID_HANDLE_VALUE);
    TestPage page;
    REQUIRE(OpenTestPage(&page));
    page.onRepaint = PauseAfterFirst;
    REQUIRE(SetupStartWorker(&page.table));
    REQUIRE(PumpUntilSignalled(page.signal, 10000));
    PumpFor(100);
    // Held before one.txt: its substitute for two.txt written, one.txt still in the temp dir.
    CHECK(Exists(dst + "\\two.0"));
    CHECK(!Exists(dst + "\\one.txt"));
    std::string temp = g_tempDir;
    CHECK(Exists(temp + "\\one.txt"));
    CHECK(g_progress.extracted == 1);

    CHECK(SetupStopWorker(5000) == 1);
    SetupUndoCopy();
    CloseHandle(held);
    CHECK(!Exists(dst + "\\two.0"));
    CHECK(!Exists(dst + "\\one.txt"));
    CHECK(!Exists(dst + "\\local.txt"));
    CHECK(Exists(dst + "\\two.txt"));
    CHECK(!Exists(temp));
    CHECK(g_progress.extracted == 0);
    CHECK(SetupRenameCount() == 0);
    // Nothing after the copy ran, and the wizard was not moved on.
    CHECK(page.nextPressed == 0);
    CHECK(page.cancelDisabled == 0);
    CHECK(Text(HKEY_CURRENT_USER, kValues, "Path") == "(absent)");
    CloseTestPage(&page);
    DeleteTree(HKEY_LOCAL_MACHINE, kRecord.c_str());
    RemoveTree(src);
    RemoveTree(dst);
}

TEST_CASE("a missing cabinet: result 3, no registry phase, and still Next to the result page")
{
    std::string src = MakeSetupDir("worker-msrc");
    std::string dst = MakeTempDir("worker-mdst");
    Prepare(src, std::string(kHeader) + "CabFile=TRUE\nCabFileName=ABSENT.CAB\n[Copy Files]\none.txt=" + dst +
                     "\n[Add Registry]\nr1=HKCU,Software\\QvWorkerTest,Path,0,x\n");
    TestPage page;
    REQUIRE(OpenTestPage(&page));
    CHECK(RunWorker(&page, 10000));
    CHECK(g_progress.installResult == SETUP_RESULT_CABINET);
    CHECK(!Exists(dst + "\\one.txt"));
    CHECK(Text(HKEY_CURRENT_USER, kValues, "Path") == "(absent)");
    CHECK(!Visible(page, PROGRESS_DRIVER_TEXT));
    CHECK(page.cancelDisabled == 0);
    CHECK(page.opened[1] == 0);
    CloseTestPage(&page);
    DeleteTree(HKEY_LOCAL_MACHINE, kRecord.c_str());
    RemoveTree(src);
    RemoveTree(dst);
}

TEST_CASE("a Copy Files section beyond the table: result 4, nothing copied, no registry phase, Next; "
          "an installation folder that cannot be made: the copies fail, the run ends")
{
    std::string src = MakeSetupDir("worker-tsrc");
    std::string dst = MakeTempDir("worker-tdst");
    std::string lines;
    for (int i = 0; i < 130; ++i) {
        std::string name = "f" + std::to_string(i) + ".txt";
        WriteFileText(src + "\\" + name, name);
        lines += name + "=" + dst + "\n";
    }
    Prepare(src, std::string(kHeader) + "[Copy Files]\n" + lines + "[Add Registry]\nr1=HKCU,Software\\QvWorkerTest,Path,0,x\n");
    TestPage page;
    REQUIRE(OpenTestPage(&page));
    CHECK(RunWorker(&page, 10000));
    CHECK(g_progress.installResult == SETUP_RESULT_FILE_TABLE);
    CHECK(!Exists(dst + "\\f0.txt"));
    CHECK(!Exists(dst + "\\f129.txt"));
    CHECK(g_fileCount == 0);
    CHECK(Text(HKEY_CURRENT_USER, kValues, "Path") == "(absent)");
    CHECK(!Visible(page, PROGRESS_DRIVER_TEXT));
    CHECK(page.opened[0] == 0);
    CHECK(page.repaints == 0);
    CloseTestPage(&page);

    // The folder would go under a file: not made, each copy fails alone, Next still comes.
    WriteFileText(dst + "\\plain", "a file, not a folder");
    Prepare(src, std::string(kHeader) + "AskPath=TRUE\n[Copy Files]\nf0.txt=%99%\nf1.txt=%99%\n");
    TextCopy(g_setup.installDir, sizeof(g_setup.installDir), (dst + "\\plain\\Tools").c_str());
    TestPage second;
    REQUIRE(OpenTestPage(&second));
    CHECK(RunWorker(&second, 10000));
    CHECK(g_progress.installResult == 0);
    CHECK(g_fileCount == 2);
    CHECK(g_files[0].copied == 0);
    CHECK(g_files[1].copied == 0);
    CHECK(SetupRenameCount() == 0);
    CHECK(second.repaints == 2);
    CHECK(g_progress.percent == 100);
    CloseTestPage(&second);
    DeleteTree(HKEY_LOCAL_MACHINE, kRecord.c_str());
    RemoveTree(src);
    RemoveTree(dst);
}

namespace {

HANDLE g_never;

// A page call that never returns, as a hung driver library would hold the worker.
void HangOnFirst(TestPage* page, LONG count)
{
    if (count == 1) {
        SetEvent(page->signal);
        WaitForSingleObject(g_never, INFINITE);
    }
}

} // namespace

TEST_CASE("a worker held outside its waits is ended after the bound, and a new one can start")
{
    std::string src = MakeSetupDir("worker-hsrc");
    std::string dst = MakeTempDir("worker-hdst");
    WriteFileText(src + "\\a.txt", "a");
    WriteFileText(src + "\\b.txt", "b");
    Prepare(src, std::string(kHeader) + "[Copy Files]\na.txt=" + dst + "\nb.txt=" + dst + "\n");
    g_never = CreateEventA(NULL, TRUE, FALSE, NULL);
    TestPage page;
    REQUIRE(OpenTestPage(&page));
    page.onRepaint = HangOnFirst;
    REQUIRE(SetupStartWorker(&page.table));
    REQUIRE(PumpUntilSignalled(page.signal, 10000));
    DWORD start = GetTickCount();
    CHECK(SetupStopWorker(300) == 0);
    DWORD spent = GetTickCount() - start;
    CHECK(spent >= 290);
    CHECK(spent < 3000);
    CHECK(g_progress.pauseEvent == NULL);
    SetupUndoCopy();
    CHECK(!Exists(dst + "\\a.txt"));
    CHECK(!Exists(dst + "\\b.txt"));
    CHECK(page.nextPressed == 0);

    page.onRepaint = NULL;
    CHECK(RunWorker(&page, 10000));
    CHECK(Exists(dst + "\\b.txt"));
    CloseTestPage(&page);
    CloseHandle(g_never);
    DeleteTree(HKEY_LOCAL_MACHINE, kRecord.c_str());
    RemoveTree(src);
    RemoveTree(dst);
}

namespace {

// The fresh files the copy writes beside its targets, by the prefix it gives them.
int PartialCopies(const std::string& dir)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\qv*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do
        ++count;
    while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

// The file's size, so that a failed check does not print 192 MB.
DWORD SizeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0xFFFFFFFFu;
}

bool IsOldFile(const std::string& path) { return SizeOf(path) == 12 && Slurp(path) == "the old file"; }

bool WriteFilled(const std::string& path, DWORD size, char fill)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::string block(1 << 20, fill);
    bool ok = true;
    for (DWORD written = 0; ok && written < size; written += (DWORD)block.size()) {
        DWORD wrote = 0;
        ok = WriteFile(file, block.data(), (DWORD)block.size(), &wrote, NULL) && wrote == block.size();
    }
    CloseHandle(file);
    return ok;
}

// Holds the worker after the second and last file, as the page's exit confirmation does.
void PauseAfterSecond(TestPage* page, LONG count)
{
    if (count == 2) {
        ResetEvent(g_progress.pauseEvent);
        SetEvent(page->signal);
    }
}

} // namespace

// The stop is heard between two blocks of the file. Ending the thread instead, the last
// resort for a worker stuck outside the copy, is not tried mid-file: under Wine a thread
// ended inside a file call can leave its file open or a lock held.
TEST_CASE("a stop in the middle of a file leaves the old destination whole, in both families")
{
    for (const char* family : { "NT", "95" }) {
        CAPTURE(std::string(family));
        std::string src = MakeSetupDir("worker-msrc");
        std::string dst = MakeTempDir("worker-mdst");
        const DWORD kSize = 192u << 20;
        REQUIRE(WriteFilled(src + "\\big.dat", kSize, 'N'));
        Prepare(src, std::string(kHeader) + "[Copy Files]\nbig.dat=" + dst + "\n");
        g_setup.is9x = family[0] == '9';
        TestPage page;
        REQUIRE(OpenTestPage(&page));
        // A test thread held up for the copy's whole second sees it done: try again then.
        bool stopped = false;
        for (int attempt = 0; attempt < 3 && !stopped; ++attempt) {
            WriteFileText(dst + "\\big.dat", "the old file");
            MakeOld(dst + "\\big.dat");
            page.nextPressed = 0;
            REQUIRE(SetupStartWorker(&page.table));
            DWORD start = GetTickCount();
            // The page's calls are answered here while the worker gets to its copy.
            while (PartialCopies(dst) == 0 && GetTickCount() - start < 20000)
                PumpFor(1);
            REQUIRE(PartialCopies(dst) == 1);
            CHECK(SetupStopWorker(10000) == 1);
            stopped = SizeOf(dst + "\\big.dat") != kSize;
        }
        REQUIRE(stopped);
        CHECK(IsOldFile(dst + "\\big.dat"));
        CHECK(PartialCopies(dst) == 0);
        SetupUndoCopy();
        CHECK(PartialCopies(dst) == 0);
        CHECK(IsOldFile(dst + "\\big.dat"));
        CHECK(page.nextPressed == 0);

        // Run whole, the new file takes the old one's place, with the source's time.
        CHECK(RunWorker(&page, 60000));
        CHECK(g_files[0].copied == 1);
        WIN32_FILE_ATTRIBUTE_DATA copied, original;
        REQUIRE(GetFileAttributesExA((dst + "\\big.dat").c_str(), GetFileExInfoStandard, &copied));
        REQUIRE(GetFileAttributesExA((src + "\\big.dat").c_str(), GetFileExInfoStandard, &original));
        CHECK(copied.nFileSizeLow == kSize);
        CHECK(CompareFileTime(&copied.ftLastWriteTime, &original.ftLastWriteTime) == 0);
        CHECK(PartialCopies(dst) == 0);
        CloseTestPage(&page);
        DeleteTree(HKEY_LOCAL_MACHINE, kRecord.c_str());
        RemoveTree(src);
        RemoveTree(dst);
    }
}

TEST_CASE("held after the last file, the worker waits before the driver and registry phase; Exit Setup then "
          "leaves no registry entry and the undo takes every file back")
{
    std::string src = MakeSetupDir("worker-lsrc");
    std::string dst = MakeTempDir("worker-ldst");
    WriteFileText(src + "\\a.txt", "a");
    WriteFileText(src + "\\b.txt", "b");
    Prepare(src, std::string(kHeader) + "[Copy Files]\na.txt=" + dst + "\nb.txt=" + dst +
                     "\n[Add Registry]\nr1=HKCU,Software\\QvWorkerTest,Path,0,x\n");
    TestPage page;
    REQUIRE(OpenTestPage(&page));
    page.onRepaint = PauseAfterSecond;
    REQUIRE(SetupStartWorker(&page.table));
    REQUIRE(PumpUntilSignalled(page.signal, 10000));
    PumpFor(300);
    CHECK(Exists(dst + "\\b.txt"));
    CHECK(g_progress.percent == 100);
    CHECK(g_progress.driverBusy == 0);
    CHECK(page.cancelDisabled == 0);
    CHECK(Text(HKEY_CURRENT_USER, kValues, "Path") == "(absent)");
    CHECK(SetupStopWorker(5000) == 1);
    SetupUndoCopy();
    CHECK(!Exists(dst + "\\a.txt"));
    CHECK(!Exists(dst + "\\b.txt"));
    CHECK(Text(HKEY_CURRENT_USER, kValues, "Path") == "(absent)");
    CHECK(page.nextPressed == 0);
    CloseTestPage(&page);
    DeleteTree(HKEY_LOCAL_MACHINE, kRecord.c_str());
    RemoveTree(src);
    RemoveTree(dst);
}
