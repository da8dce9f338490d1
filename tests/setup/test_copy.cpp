// The copy step on real files: plain and from gcab cabinets, over older versions only,
// substitutes beside locked destinations, the uninstall record, pause and resume, and the
// progress dialog's controls as the step left them.
#include <doctest/doctest.h>

#include "cabinet.h"
#include "copy.h"
#include "filetable.h"
#include "progresspage.h"
#include "renames.h"
#include "setup.h"
#include "setuptest.h"
#include "wintest.h"

#include <string>

using namespace qvtest;
using namespace setuptest;

namespace {

const std::string kRecord = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QvCopyTest";
const DWORD kNotNormal = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// Last-write time, `hours` after a fixed moment.
void Age(const std::string& path, int hours)
{
    SYSTEMTIME base = { 2024, 5, 0, 15, 12, 0, 0, 0 };
    FILETIME t;
    SystemTimeToFileTime(&base, &t);
    ULARGE_INTEGER u = { { t.dwLowDateTime, t.dwHighDateTime } };
    u.QuadPart += (LONGLONG)hours * 3600 * 10000000;
    t.dwLowDateTime = u.LowPart;
    t.dwHighDateTime = u.HighPart;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    REQUIRE(file != INVALID_HANDLE_VALUE);
    SetFileTime(file, NULL, NULL, &t);
    CloseHandle(file);
}

// The last-write time as the user's clock shows it, "YYYY-MM-DD hh:mm:ss".
std::string LocalTime(const std::string& path, bool creation = false)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return "(absent)";
    FILETIME created, written, local;
    GetFileTime(file, &created, NULL, &written);
    CloseHandle(file);
    FileTimeToLocalFileTime(creation ? &created : &written, &local);
    SYSTEMTIME s;
    FileTimeToSystemTime(&local, &s);
    char text[32];
    wsprintfA(text, "%04d-%02d-%02d %02d:%02d:%02d", s.wYear, s.wMonth, s.wDay, s.wHour, s.wMinute, s.wSecond);
    return text;
}

// Start-up with `script` in `dir`, then the worker's reading of "Copy Files".
void Prepare(const std::string& dir, const std::string& script)
{
    DeleteTree(HKEY_LOCAL_MACHINE, kRecord.c_str());
    REQUIRE(WriteScript(dir + "\\SETUP2K.INI", script));
    REQUIRE(StartIn(dir));
    SetupResetProgress();
    SetupClearRenames();
    SetupReadCopyFiles();
}

std::string TempDirsLeft(void)
{
    WIN32_FIND_DATAA found;
    std::string names;
    HANDLE find = FindFirstFileA((std::string(g_setup.windowsDir) + "\\_QelvanoTempDir*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names += std::string(found.cFileName) + " ";
    while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

std::string TestDll(const char* name) { return DirOf(SelfPath()) + "\\versions\\" + name + ".dll"; }

} // namespace

TEST_CASE("plain copy: names, sub-folder, a zero-length last file, a missing source, records and dialog")
{
    std::string src = MakeSetupDir("copy-src");
    std::string dst = MakeTempDir("copy-dst");
    CreateDirectoryA((src + "\\data").c_str(), NULL);
    WriteFileText(src + "\\alpha.txt", "alpha contents");
    WriteFileText(src + "\\data\\beta.txt", "beta in a folder");
    WriteFileText(src + "\\empty.dat", "");
    Prepare(src, "[Setup]\nUninstallKey=QvCopyTest\nProductName=Copy Test\n"
                 "[Copy Files]\n"
                 "alpha.txt=" + dst + ",renamed.txt\n"
                 "data\\beta.txt=" + dst + "\n"
                 "gone.txt=" + dst + "\n"
                 "empty.dat=" + dst + "\n");
    REQUIRE(g_fileCount == 4);
    CHECK(g_files[0].size == 14);
    CHECK(std::string(g_files[1].subFolder) == "data");
    CHECK(std::string(g_files[1].sourceName) == "beta.txt");
    CHECK(g_files[1].size == 16);

    TestPage page;
    REQUIRE(OpenTestPage(&page));
    CHECK(SetupCopyStep(&page.table) == 1);

    CHECK(Slurp(dst + "\\renamed.txt") == "alpha contents");
    CHECK(!Exists(dst + "\\alpha.txt"));
    CHECK(Slurp(dst + "\\beta.txt") == "beta in a folder");
    CHECK(Exists(dst + "\\empty.dat"));
    CHECK(Slurp(dst + "\\empty.dat").empty());
    CHECK(!Exists(dst + "\\gone.txt"));
    CHECK(!Exists(dst + "\\gone.0"));
    CHECK(SetupRenameCount() == 0);
    CHECK(g_files[0].copied == 1);
    CHECK(g_files[2].copied == 0);
    CHECK(g_files[3].copied == 1);
    // Every destination is recorded, also the one that could not be copied.
    for (const char* name : { "renamed.txt", "beta.txt", "gone.txt", "empty.dat" })
        CHECK_MESSAGE(Text(HKEY_LOCAL_MACHINE, kRecord + "\\DeleteFiles", name) == dst, name);

    CHECK(g_progress.percent == 100);
    CHECK(g_progress.total == 30);
    CHECK(page.repaints == 4);
    CHECK(page.opened[0] != 0);
    CHECK(ControlText(page, PROGRESS_SOURCE) == "empty.dat");
    CHECK(ControlText(page, PROGRESS_DESTINATION) == dst + "\\empty.dat");
    CHECK(Visible(page, PROGRESS_FROM_LABEL));
    CHECK(Visible(page, PROGRESS_TO_LABEL));
    CHECK(Visible(page, PROGRESS_PERCENT));
    CHECK(!Visible(page, PROGRESS_COPY_ANIMATION));
    CHECK(!Visible(page, PROGRESS_DRIVER_TEXT));
    CloseTestPage(&page);

    // The table holds 128 entries: 128 are taken, 129 refuse the whole section.
    std::string many = "[Setup]\n[Copy Files]\n";
    for (int i = 0; i < 128; ++i)
        many += "file" + std::to_string(i) + ".txt=" + dst + "\n";
    Prepare(src, many);
    CHECK(g_fileCount == SETUP_MAX_FILES);
    CHECK(std::string(g_files[127].sourceName) == "file127.txt");
    CHECK(g_progress.installResult == 0);
    Prepare(src, many + "file128.txt=" + dst + "\n");
    CHECK(g_fileCount == 0);
    CHECK(g_progress.installResult == SETUP_RESULT_FILE_TABLE);

    // An empty section: done at once, at 100 percent.
    Prepare(src, "[Setup]\nProductName=Copy Test\n");
    CHECK(g_fileCount == 0);
    CHECK(SetupCopyStep(NULL) == 1);
    CHECK(g_progress.percent == 100);
    DeleteTree(HKEY_LOCAL_MACHINE, kRecord.c_str());
    RemoveTree(src);
    RemoveTree(dst);
}

TEST_CASE("an installed newer version stays; an equal one is replaced only by a later file; read-only is no bar")
{
    std::string src = MakeSetupDir("copy-vsrc");
    std::string dst = MakeTempDir("copy-vdst");
    // Source 3.1.0.7 over 5.0.2614.3501: kept although the source is later.
    CopyFileA(TestDll("ver_german").c_str(), (src + "\\older.dll").c_str(), FALSE);
    CopyFileA(TestDll("ver_dotted").c_str(), (dst + "\\older.dll").c_str(), FALSE);
    Age(src + "\\older.dll", 10);
    Age(dst + "\\older.dll", 0);
    // Source 5.0.2614.3501 over 3.1.0.7 written later, read-only: replaced.
    CopyFileA(TestDll("ver_dotted").c_str(), (src + "\\newer.dll").c_str(), FALSE);
    CopyFileA(TestDll("ver_german").c_str(), (dst + "\\newer.dll").c_str(), FALSE);
    Age(src + "\\newer.dll", 0);
    Age(dst + "\\newer.dll", 10);
    SetFileAttributesA((dst + "\\newer.dll").c_str(), FILE_ATTRIBUTE_READONLY);
    // Equal versions: the later source replaces, the earlier one does not.
    for (const char* name : { "later.dll", "earlier.dll" }) {
        CopyFileA(TestDll("ver_short").c_str(), (src + "\\" + name).c_str(), FALSE);
        CopyFileA(TestDll("ver_short").c_str(), (dst + "\\" + name).c_str(), FALSE);
    }
    Age(src + "\\later.dll", 5);
    Age(dst + "\\later.dll", 0);
    Age(src + "\\earlier.dll", 0);
    Age(dst + "\\earlier.dll", 5);
    Prepare(src, "[Setup]\n[Copy Files]\nolder.dll=" + dst + "\nnewer.dll=" + dst + "\nlater.dll=" + dst +
                     "\nearlier.dll=" + dst + "\n");
    CHECK(SetupCopyStep(NULL) == 1);

    CHECK(Slurp(dst + "\\older.dll") == Slurp(TestDll("ver_dotted")));
    CHECK(g_files[0].copied == 0);
    CHECK(Slurp(dst + "\\newer.dll") == Slurp(TestDll("ver_dotted")));
    // Wine 10 reads a file set to normal back as archive.
    CHECK((GetFileAttributesA((dst + "\\newer.dll").c_str()) & kNotNormal) == 0);
    CHECK(g_files[1].copied == 1);
    CHECK(g_files[2].copied == 1);
    CHECK(LocalTime(dst + "\\later.dll") == LocalTime(src + "\\later.dll"));
    CHECK(g_files[3].copied == 0);
    CHECK(LocalTime(dst + "\\earlier.dll") != LocalTime(src + "\\earlier.dll"));
    RemoveTree(src);
    RemoveTree(dst);
}

TEST_CASE("a locked destination gets the first numbered substitute that takes the copy and a rename entry")
{
    std::string src = MakeSetupDir("copy-lsrc");
    std::string dst = MakeTempDir("copy-ldst");
    for (const char* name : { "driver.dll", "keyhook.dll", "hkmon" }) {
        WriteFileText(src + "\\" + name, std::string("new ") + name);
        WriteFileText(dst + "\\" + name, "old");
        Age(src + "\\" + name, 5);
        Age(dst + "\\" + name, 0);
    }
    WriteFileText(dst + "\\keyhook.0", "held substitute");
    HANDLE held[4];
    int n = 0;
    for (const char* name : { "driver.dll", "keyhook.dll", "keyhook.0", "hkmon" }) {
        held[n] = CreateFileA((dst + "\\" + name).c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        REQUIRE(held[n++] != INVALID_HANDLE_VALUE);
    }
    Prepare(src, "[Setup]\n[Copy Files]\ndriver.dll=" + dst + "\nkeyhook.dll=" + dst + "\nhkmon=" + dst + "\n");
    CHECK(SetupCopyStep(NULL) == 1);
    for (HANDLE h : held)
        CloseHandle(h);

    CHECK(Slurp(dst + "\\driver.dll") == "old");
    CHECK(Slurp(dst + "\\driver.0") == "new driver.dll");
    CHECK(Slurp(dst + "\\keyhook.0") == "held substitute");
    CHECK(Slurp(dst + "\\keyhook.1") == "new keyhook.dll");
    // A name without a dot gets one: the digit never lands in the directory's name.
    CHECK(Slurp(dst + "\\hkmon.0") == "new hkmon");
    REQUIRE(SetupRenameCount() == 3);
    CHECK(std::string(SetupRenameAt(0)->target) == dst + "\\driver.dll");
    CHECK(std::string(SetupRenameAt(0)->substitute) == dst + "\\driver.0");
    CHECK(std::string(SetupRenameAt(1)->substitute) == dst + "\\keyhook.1");
    CHECK(std::string(SetupRenameAt(2)->substitute) == dst + "\\hkmon.0");
    CHECK(g_files[0].copied == 0);

    // The undo takes the substitutes away and leaves what was there.
    SetupUndoCopy();
    CHECK(!Exists(dst + "\\driver.0"));
    CHECK(!Exists(dst + "\\keyhook.1"));
    CHECK(Slurp(dst + "\\keyhook.0") == "held substitute");
    CHECK(Slurp(dst + "\\driver.dll") == "old");
    CHECK(SetupRenameCount() == 0);
    RemoveTree(src);
    RemoveTree(dst);
}

TEST_CASE("cabinet mode, MS-ZIP and uncompressed: times from the cabinet, one name used twice, sub-folders from disk")
{
    for (const char* cab : { "zip.cab", "plain.cab" }) {
        CAPTURE(cab);
        std::string src = MakeSetupDir("copy-csrc");
        std::string dst = MakeTempDir("copy-cdst");
        std::string dst2 = MakeTempDir("copy-cdst2");
        REQUIRE(CopyFileA((DirOf(SelfPath()) + "\\cabinets\\" + cab).c_str(), (src + "\\DATA.CAB").c_str(), FALSE));
        CreateDirectoryA((src + "\\extra").c_str(), NULL);
        WriteFileText(src + "\\extra\\local.txt", "beside the cabinet");
        // Also in the setup directory: cabinet mode must not take it from there.
        WriteFileText(src + "\\one.txt", "not the cabinet's");
        Prepare(src, "[Setup]\nCabFile=TRUE\nCabFileName=DATA.CAB\n[Copy Files]\n"
                     "one.txt=" + dst + "\n"
                     "two.txt=" + dst + "\n"
                     "TWO.TXT=" + dst2 + "\n"
                     "extra\\local.txt=" + dst + "\n");
        REQUIRE(g_fileCount == 4);
        CHECK(g_progress.total == 18);  // the sub-folder's file, counted at once

        TestPage page;
        REQUIRE(OpenTestPage(&page));
        CHECK(SetupCopyStep(&page.table) == 1);

        CHECK(Slurp(dst + "\\one.txt") == "First file of the cabinet.\r\n");
        std::string two = Slurp(dst + "\\two.txt");
        CHECK(two.size() == 11000);
        CHECK(two.substr(0, 10) == "Line 000 o");
        CHECK(Slurp(dst + "\\local.txt") == "beside the cabinet");
        CHECK(LocalTime(dst + "\\one.txt") == "2021-03-04 05:06:08");
        CHECK(LocalTime(dst + "\\two.txt") == "2019-11-30 23:59:58");
        // The second entry of a name keeps size 0 and finds no file.
        CHECK(g_files[2].size == 0);
        CHECK(!Exists(dst2 + "\\TWO.TXT"));
        CHECK(g_files[2].copied == 0);
        CHECK(SetupRenameCount() == 0);
        CHECK(g_progress.total == 18 + 28 + 11000);
        CHECK(g_progress.percent == 100);
        CHECK(g_progress.extracted == 0);
        CHECK(g_progress.cabinetBusy == 0);
        CHECK(g_progress.installResult == 0);
        CHECK(g_tempDir[0] == '\0');
        CHECK(TempDirsLeft() == "");
        CHECK(page.opened[0] != 0);
        CloseTestPage(&page);
        RemoveTree(src);
        RemoveTree(dst);
        RemoveTree(dst2);
    }
}

TEST_CASE("a file extracted from the cabinet carries its times as created and written, attributes normal")
{
    std::string src = MakeSetupDir("copy-esrc");
    REQUIRE(CopyFileA((DirOf(SelfPath()) + "\\cabinets\\zip.cab").c_str(), (src + "\\DATA.CAB").c_str(), FALSE));
    Prepare(src, "[Setup]\nCabFile=TRUE\nCabFileName=DATA.CAB\n[Copy Files]\none.txt=C:\\nowhere\n");
    REQUIRE(SetupMakeTempDir());
    std::string temp = g_tempDir;
    CHECK(temp.find("\\_QelvanoTempDir") != std::string::npos);
    // A second run finds the next free number.
    std::string first = temp;
    REQUIRE(SetupMakeTempDir());
    CHECK(std::string(g_tempDir) != first);
    RemoveDirectoryA(g_tempDir);
    TextCopy(g_tempDir, sizeof(g_tempDir), first.c_str());

    REQUIRE(SetupExtractCabinet(g_setup.cabPath));
    CHECK(g_progress.extracted == 1);
    CHECK(LocalTime(temp + "\\one.txt") == "2021-03-04 05:06:08");
    CHECK(LocalTime(temp + "\\one.txt", true) == "2021-03-04 05:06:08");
    CHECK((GetFileAttributesA((temp + "\\one.txt").c_str()) & kNotNormal) == 0);
    // Files of the cabinet that no entry names stay in it.
    CHECK(!Exists(temp + "\\other.txt"));
    CHECK(!Exists(temp + "\\two.txt"));
    SetupUndoCopy();
    CHECK(!Exists(temp));
    CHECK(g_progress.extracted == 0);
    RemoveTree(src);
}

TEST_CASE("a missing cabinet: result 3, nothing copied, no temporary directory left")
{
    std::string src = MakeSetupDir("copy-msrc");
    std::string dst = MakeTempDir("copy-mdst");
    CreateDirectoryA((src + "\\extra").c_str(), NULL);
    WriteFileText(src + "\\extra\\local.txt", "beside the cabinet");
    Prepare(src, "[Setup]\nCabFile=TRUE\nCabFileName=ABSENT.CAB\n[Copy Files]\none.txt=" + dst +
                     "\nextra\\local.txt=" + dst + "\n");
    TestPage page;
    REQUIRE(OpenTestPage(&page));
    CHECK(SetupCopyStep(&page.table) == 0);
    CHECK(g_progress.installResult == SETUP_RESULT_CABINET);
    CHECK(g_progress.cabinetBusy == 0);
    CHECK(!Exists(dst + "\\one.txt"));
    CHECK(!Exists(dst + "\\local.txt"));
    CHECK(TempDirsLeft() == "");
    CHECK(page.opened[0] == 0);
    CHECK(page.repaints == 0);
    CloseTestPage(&page);
    RemoveTree(src);
    RemoveTree(dst);
}

namespace {

DWORD WINAPI CopyThread(LPVOID page) { return (DWORD)SetupCopyStep((const SetupPage*)page); }

void PauseAfterSecond(TestPage* page, LONG count)
{
    if (count == 2) {
        ResetEvent(g_progress.pauseEvent);
        SetEvent(page->signal);
    }
}

} // namespace

TEST_CASE("a paused copy holds before the next file and resumes at it")
{
    std::string src = MakeSetupDir("copy-psrc");
    std::string dst = MakeTempDir("copy-pdst");
    std::string script = "[Setup]\n[Copy Files]\n";
    for (const char* name : { "f1.txt", "f2.txt", "f3.txt", "f4.txt" }) {
        WriteFileText(src + "\\" + name, std::string("text of ") + name);
        script += std::string(name) + "=" + dst + "\n";
    }
    Prepare(src, script);
    REQUIRE(SetupCreatePauseEvent());
    SetEvent(g_progress.pauseEvent);
    TestPage page;
    REQUIRE(OpenTestPage(&page));
    page.onRepaint = PauseAfterSecond;
    HANDLE thread = CreateThread(NULL, 0, CopyThread, &page.table, 0, NULL);
    REQUIRE(thread);
    REQUIRE(PumpUntilSignalled(page.signal, 5000));
    PumpFor(200);
    CHECK(WaitForSingleObject(thread, 0) == WAIT_TIMEOUT);
    CHECK(Exists(dst + "\\f2.txt"));
    CHECK(!Exists(dst + "\\f3.txt"));
    CHECK(g_progress.percent == 50);
    CHECK(ControlText(page, PROGRESS_SOURCE) == "f3.txt");

    SetEvent(g_progress.pauseEvent);
    REQUIRE(PumpUntilEnded(thread, 5000));
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    CHECK(code == 1);
    for (const char* name : { "f1.txt", "f2.txt", "f3.txt", "f4.txt" })
        CHECK(Slurp(dst + "\\" + name) == std::string("text of ") + name);
    CHECK(page.repaints == 4);
    CHECK(g_progress.percent == 100);
    CloseTestPage(&page);
    CloseHandle(g_progress.pauseEvent);
    g_progress.pauseEvent = NULL;
    RemoveTree(src);
    RemoveTree(dst);
}

TEST_CASE("a damaged cabinet, cut in half or with bytes changed: result 3, nothing copied, nothing left")
{
    for (const char* cab : { "cut.cab", "flipped.cab" }) {
        CAPTURE(cab);
        std::string src = MakeSetupDir("copy-dsrc");
        std::string dst = MakeTempDir("copy-ddst");
        REQUIRE(CopyFileA((DirOf(SelfPath()) + "\\cabinets\\" + cab).c_str(), (src + "\\DATA.CAB").c_str(), FALSE));
        Prepare(src, "[Setup]\nCabFile=TRUE\nCabFileName=DATA.CAB\n[Copy Files]\none.txt=" + dst + "\ntwo.txt=" + dst +
                         "\nother.txt=" + dst + "\n");
        TestPage page;
        REQUIRE(OpenTestPage(&page));
        CHECK(SetupCopyStep(&page.table) == 0);
        CHECK(g_progress.installResult == SETUP_RESULT_CABINET);
        CHECK(g_progress.cabinetBusy == 0);
        CHECK(g_progress.extracted == 0);
        for (const char* name : { "one.txt", "two.txt", "other.txt" })
            CHECK_MESSAGE(!Exists(dst + "\\" + name), name);
        CHECK(TempDirsLeft() == "");
        CHECK(g_tempDir[0] == '\0');
        CHECK(page.repaints == 0);
        CloseTestPage(&page);
        RemoveTree(src);
        RemoveTree(dst);
    }
}

TEST_CASE("bad lines: quotes and unknown macros as the field reader takes them, missing and odd destinations, "
          "parts too long refused whole")
{
    std::string src = MakeSetupDir("copy-bsrc");
    std::string dst = MakeTempDir("copy-bdst");
    for (const char* name : { "q1.txt", "q2.txt", "q3.txt", "m.txt", "lost.txt", "folder.txt", "after.txt" })
        WriteFileText(src + "\\" + name, std::string("text of ") + name);
    CreateDirectoryA((dst + "\\folder.txt").c_str(), NULL);
    Prepare(src, "[Setup]\n[Strings]\nName=named.txt\n[Copy Files]\n"
                 "q1.txt=\"" + dst + "\"\n"
                 "q2.txt=" + dst + ",\"new\"name.txt\n"
                 "q3.txt=\"" + dst + "\n"  // an open quote takes the rest of the line
                 "m.txt=" + dst + ",%nosuch%%Name%\n"
                 "lost.txt=" + dst + "\\missing\\deeper\n"
                 "folder.txt=" + dst + "\n"
                 "after.txt=" + dst + "\n");
    REQUIRE(g_fileCount == 7);
    PendingMoves moves;
    std::string pending = PendingMoves::Now();
    CHECK(SetupCopyStep(NULL) == 1);
    // A copy that failed leaves nothing for the restart to do.
    CHECK(PendingMoves::Now() == pending);
    CHECK(Slurp(dst + "\\q1.txt") == "text of q1.txt");
    CHECK(Slurp(dst + "\\newname.txt") == "text of q2.txt");
    CHECK(Slurp(dst + "\\q3.txt") == "text of q3.txt");
    CHECK(Slurp(dst + "\\named.txt") == "text of m.txt");
    // A directory that does not exist is not made by the copy, and no substitute appears.
    CHECK(!Exists(dst + "\\missing"));
    CHECK(g_files[4].copied == 0);
    // A directory where the file should go stays a directory, with no substitute beside it.
    CHECK((GetFileAttributesA((dst + "\\folder.txt").c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0);
    CHECK(!Exists(dst + "\\folder.0"));
    CHECK(g_files[5].copied == 0);
    CHECK(SetupRenameCount() == 0);
    CHECK(Slurp(dst + "\\after.txt") == "text of after.txt");
    CHECK(g_progress.percent == 100);

    // Each of these lines refuses the section, the good line before it included: a name
    // or directory cut to 259 characters, or a directory that is no full path, would put
    // a file where the script did not mean it.
    std::string longName(300, 'n');
    const std::string bad[] = {
        longName + ".txt=" + dst,
        "sub\\" + longName + "=" + dst,
        std::string(300, 's') + "\\x.txt=" + dst,
        "x.txt=" + dst + "\\" + longName,
        "x.txt=" + dst + "," + longName,
        "x.txt=" + dst + "," + std::string(255, 'p') + "%Name%",
        "x.txt=%nosuch%\\Tools",
        "x.txt=",
        "x.txt=Tools",
        "x.txt=" + dst + "," + std::string(1100, 'v'),
        "sub\\=" + dst,
    };
    for (const std::string& line : bad) {
        CAPTURE(line.substr(0, 40));
        RemoveTree(dst);
        CreateDirectoryA(dst.c_str(), NULL);
        Prepare(src, "[Setup]\n[Strings]\nName=named.txt\n[Copy Files]\nq1.txt=" + dst + "\n" + line + "\n");
        CHECK(SetupReadCopyFiles() == -1);
        CHECK(g_fileCount == 0);
        CHECK(g_progress.installResult == SETUP_RESULT_FILE_TABLE);
        CHECK(g_progress.total == 0);
    }
    RemoveTree(src);
    RemoveTree(dst);
}
