// Replacement of files in use at the next restart: the rename list, the wininit.ini edit
// of Windows 95 (its exact bytes), the delayed moves of the other systems, and, in a Wine
// world of its own (restart-world), what a Wine restart then does with both.
#include <doctest/doctest.h>

#include "install.h"
#include "renames.h"
#include "setup.h"
#include "procs.h"
#include "setuptest.h"
#include "wintest.h"

#include <stdio.h>

#include <string>
#include <vector>

using namespace qvtest;
using setuptest::PendingMoves;

namespace {


std::string WininitPath()
{
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, sizeof(dir));
    return std::string(dir) + "\\wininit.ini";
}

// A delayed move as the registry keeps it: source, then the target marked replaceable.
std::string MoveEntry(const std::string& substitute, const std::string& target)
{
    return std::string("\\??\\") + substitute + '\0' + "!\\??\\" + target + '\0';
}

} // namespace

// argv: pairs of target and substitute. The number scheduled.
QV_CHILD(schedule)
{
    SetupInitState(NULL);
    SetupClearRenames();
    for (int i = 0; i + 1 < argc; i += 2)
        SetupAddRename(argv[i], argv[i + 1]);
    return SetupScheduleRenames();
}

TEST_CASE("the rename list keeps 128 entries of whole paths and nothing past them")
{
    SetupClearRenames();
    std::string longest(259, 'p'), tooLong(260, 'p');
    CHECK(SetupAddRename(tooLong.c_str(), "C:\\S") == 0);
    CHECK(SetupAddRename("C:\\T", tooLong.c_str()) == 0);
    for (int i = 0; i < SETUP_MAX_RENAMES; ++i)
        CHECK(SetupAddRename(longest.c_str(), ("C:\\S" + std::to_string(i)).c_str()) == 1);
    CHECK(SetupAddRename("C:\\one", "C:\\more") == 0);
    REQUIRE(SetupRenameCount() == SETUP_MAX_RENAMES);
    CHECK(std::string(SetupRenameAt(127)->target) == longest);
    CHECK(std::string(SetupRenameAt(127)->substitute) == "C:\\S127");
    CHECK(SetupRenameAt(128) == NULL);
    SetupClearRenames();
    CHECK(SetupRenameCount() == 0);
}

TEST_CASE("on Windows 95 the replacements go into wininit.ini, the last scheduled first")
{
    PendingMoves moves;
    std::string before = PendingMoves::Now();
    std::string ini = WininitPath();
    std::string self = SelfPath();
    const char* args = "--child schedule C:\\QV\\QVUTIL.DLL C:\\QV\\QVUTIL.001 C:\\QV\\QVOSD.DLL C:\\QV\\QVOSD.002";
    const std::string lines = "C:\\QV\\QVOSD.DLL=C:\\QV\\QVOSD.002\r\nC:\\QV\\QVUTIL.DLL=C:\\QV\\QVUTIL.001\r\n";

    SUBCASE("no wininit.ini: made, with the section at its end")
    {
        DeleteFileA(ini.c_str());
        CHECK(RunAsMode("win95", self, args, 30000) == 2);
        CHECK(ReadTextFile(ini) == "[Rename]\r\n" + lines);
    }
    SUBCASE("a wininit.ini with the section: the lines first in it, the rest kept")
    {
        std::string head = "[Combine]\r\nA=B\r\n[rename]\r\n";
        std::string tail = "NUL=C:\\OLD.TMP\r\n[Other]\r\nk=v\r\n";
        REQUIRE(WriteFileText(ini, head + tail));
        CHECK(RunAsMode("win95", self, args, 30000) == 2);
        CHECK(ReadTextFile(ini) == head + lines + tail);
    }
    SUBCASE("a wininit.ini that another program holds open leaves both unscheduled")
    {
        REQUIRE(WriteFileText(ini, "[Rename]\r\n"));
        HANDLE held = CreateFileA(ini.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        REQUIRE(held != INVALID_HANDLE_VALUE);
        CHECK(RunAsMode("win95", self, args, 30000) == 0);
        CloseHandle(held);
        CHECK(ReadTextFile(ini) == "[Rename]\r\n");
    }
    // No delayed move on 95.
    CHECK(PendingMoves::Now() == before);
    DeleteFileA(ini.c_str());
}

TEST_CASE("on the other systems each replacement is a delayed move that may replace the target")
{
    PendingMoves moves;
    std::string ini = WininitPath();
    DeleteFileA(ini.c_str());
    std::string dir = MakeTempDir("delayed");
    std::string target = dir + "\\QVUTIL.DLL", substitute = dir + "\\QVUTIL.001";
    REQUIRE(WriteFileText(target, "old"));
    REQUIRE(WriteFileText(substitute, "new"));
    for (const char* mode : { "win98", "nt40", "win2k", "winxp" }) {
        CAPTURE(mode);
        std::string before = PendingMoves::Now();
        CHECK(RunAsMode(mode, SelfPath(), "--child schedule " + target + " " + substitute, 30000) == 1);
        std::string after = PendingMoves::Now();
        CHECK(after.find(MoveEntry(substitute, target)) != std::string::npos);
        CHECK(after.size() > before.size());
        // Nothing moves before the restart, and wininit.ini is not used.
        CHECK(ReadTextFile(target) == "old");
        CHECK(setuptest::Exists(substitute));
        CHECK_FALSE(setuptest::Exists(ini));
    }
    RemoveTree(dir);
}

// The restart world: files to be replaced at the next Wine restart. Run by restart-world
// before `wineboot -r`; reboot-check after it.
namespace {

const char kRebootDir[] = "C:\\qvrestart";

std::string RebootFile(const char* name)
{
    return std::string(kRebootDir) + "\\" + name;
}

int Fail(const char* what)
{
    printf("restart world: %s\n", what);
    return 1;
}

} // namespace

QV_CHILD(reboot_prepare)
{
    CreateDirectoryA(kRebootDir, NULL);
    const char* files[][2] = { { "XP.DLL", "old xp" },    { "XP.001", "new xp" },     { "95.DLL", "old 95" },
                               { "95.001", "new 95" },    { "RAW.DLL", "old raw" },   { "RAW.001", "new raw" } };
    for (const auto& file : files) {
        if (!WriteFileText(RebootFile(file[0]), file[1]))
            return Fail("files not written");
    }
    if (RunAsMode("winxp", SelfPath(), "--child schedule " + RebootFile("XP.DLL") + " " + RebootFile("XP.001"),
                  30000) != 1)
        return Fail("winxp: not scheduled");
    if (RunAsMode("win95", SelfPath(), "--child schedule " + RebootFile("95.DLL") + " " + RebootFile("95.001"),
                  30000) != 1)
        return Fail("win95: not scheduled");
    // The delay flag alone, for comparison.
    if (!MoveFileExA(RebootFile("RAW.001").c_str(), RebootFile("RAW.DLL").c_str(), MOVEFILE_DELAY_UNTIL_REBOOT))
        return Fail("plain delayed move refused");
    return 0;
}

QV_CHILD(reboot_check)
{
    int failed = 0;
    std::string xp = ReadTextFile(RebootFile("XP.DLL")), w95 = ReadTextFile(RebootFile("95.DLL")),
                raw = ReadTextFile(RebootFile("RAW.DLL"));
    printf("restart world: XP.DLL \"%s\" XP.001 %s; 95.DLL \"%s\" 95.001 %s; RAW.DLL \"%s\" RAW.001 %s; "
           "wininit.ini %s, wininit.bak %s\n",
           xp.c_str(), setuptest::Exists(RebootFile("XP.001")) ? "left" : "gone", w95.c_str(),
           setuptest::Exists(RebootFile("95.001")) ? "left" : "gone", raw.c_str(), setuptest::Exists(RebootFile("RAW.001")) ? "left" : "gone",
           setuptest::Exists(WininitPath()) ? "left" : "gone", setuptest::Exists(WininitPath().substr(0, WininitPath().size() - 3) + "bak") ? "made" : "none");
    if (xp != "new xp" || setuptest::Exists(RebootFile("XP.001")))
        failed |= 1;
    if (w95 != "new 95" || setuptest::Exists(RebootFile("95.001")) || setuptest::Exists(WininitPath()))
        failed |= 2;
    // Wine, like Windows, does not replace an existing file for a move without the
    // replace flag: the target stays and so does the substitute.
    if (raw != "old raw" || !setuptest::Exists(RebootFile("RAW.001")))
        failed |= 4;
    return failed;
}
