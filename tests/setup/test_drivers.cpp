// The installer's driver step under the Windows modes that choose its branches: the
// maker's library (a stand-in, stdcall, cdecl or without GetConnectedDeviceNumber, beside
// a copy of this program), Wine's own SetupCopyOEMInfA and newdev, the INF directory, the
// staging tree, the Run value and the uninstall record.
// Wine 10 (measured): UpdateDriverForPlugAndPlayDevicesA answers TRUE for any hardware id,
// even with a missing INF; SetupCopyOEMInfA stores the INF under its own name (Windows
// makes it oemN.inf) beside a .pnf, and fails for a missing INF.
#include <doctest/doctest.h>

#include "copyrun.h"
#include "install/drivers.h"
#include "setup.h"
#include "setuptest.h"
#include "wintest.h"

#include <string>
#include <vector>

using namespace qvtest;
using namespace setuptest;

namespace {

const std::string kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kHwid[] = "USB\\VID_1234&PID_5678";

const char kInf[] =
    "[Version]\n"
    "Signature=\"$Windows NT$\"\n"
    "Class=Keyboard\n"
    "ClassGUID={4D36E96B-E325-11CE-BFC1-08002BE10318}\n"
    "Provider=%Maker%\n"
    "DriverVer=12/08/2026,1.0.0.0\n"
    "\n"
    "[Manufacturer]\n"
    "%Maker%=Models\n"
    "\n"
    "[Models]\n"
    "%Keyboard%=Keyboard_Install,USB\\VID_1234&PID_5678\n"
    "\n"
    "[Keyboard_Install]\n"
    "AddReg=Keyboard_AddReg\n"
    "\n"
    "[Keyboard_AddReg]\n"
    "HKLM,Software\\QvTestKeyboard,Installed,,\"1\"\n"
    "\n"
    "[Strings]\n"
    "Maker=\"Lumeno\"\n"
    "Keyboard=\"Lumeno test keyboard\"\n";

// Wine's SetupCopyOEMInfA also files each INF in a driver store and refuses one it has
// filed before: every INF of a run is text of its own.
std::string Inf(const char* tag)
{
    return std::string(kInf) + "; " + tag + " " + std::to_string(GetCurrentProcessId()) + "\n";
}

std::string WindowsDir()
{
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, sizeof(dir));
    return dir;
}

std::string InfDir()
{
    return WindowsDir() + "\\inf";
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// A medium and a program folder: the setup directory with its scripts (one text under
// every system's name) and the folder the copy of this program runs from, holding one
// build of the maker's library and its script.
struct World {
    std::string setupDir;
    std::string programDir;
    std::string uninstallKey;

    World(const char* tag, const char* variant, const std::string& library, const std::string& setupDirOverride = "")
    {
        setupDir = setupDirOverride.empty() ? MakeSetupDir(tag) : setupDirOverride;
        programDir = MakeTempDir((std::string(tag) + "-prog").c_str());
        uninstallKey = std::string("QvDrv-") + tag;
        CopyFileA((SimDir() + "\\qvsetup\\" + variant + "\\qvsetup.dll").c_str(), (programDir + "\\qvsetup.dll").c_str(), FALSE);
        WriteScript(programDir + "\\qvsetup.ini", library);
        DeleteTree(HKEY_LOCAL_MACHINE, (kUninstall + uninstallKey).c_str());
    }
    ~World()
    {
        DeleteTree(HKEY_LOCAL_MACHINE, (kUninstall + uninstallKey).c_str());
        RemoveTree(programDir);
        RemoveTree(setupDir);
    }
    void Script(const std::string& setupKeys, const std::string& lines)
    {
        std::string text = "[Setup]\nProductName=Lumeno Test\nUninstallKey=" + uninstallKey + "\n" + setupKeys +
                           "\n[Update Driver]\n" + lines;
        for (const char* name : { "SETUP95.INI", "SETUP98.INI", "SETUPME.INI", "SETUPNT.INI", "SETUP2K.INI" })
            WriteScript(setupDir + "\\" + name, text);
    }
    void File(const std::string& relative, const std::string& text)
    {
        std::string path = setupDir + "\\" + relative;
        size_t slash = path.rfind('\\');
        CreateDirectoryA(path.substr(0, slash).c_str(), NULL);
        WriteFileText(path, text);
    }
    // The driver step in a copy of this program under `mode`; its exit code.
    DWORD Run(const char* mode, const char* name, const std::string& options = "")
    {
        CopyRun run = { programDir, std::string(name) + "-" + std::to_string(GetCurrentProcessId()) + ".exe", mode, NULL, NULL };
        return RunCopy(run, "--child drivers \"" + setupDir + "\" " + (options.empty() ? "-" : options), 120000);
    }
    // The library's calls, one a line.
    std::string Log() const
    {
        std::string text;
        std::string path = programDir + "\\qvsetup.log";
        if (!Exists(path))
            return text;
        for (const std::string& line : Lines(Slurp(path)))
            text += line + "\n";
        return text;
    }
    std::string Recorded(const char* list, const std::string& name) const
    {
        return Text(HKEY_LOCAL_MACHINE, kUninstall + uninstallKey + "\\" + list, name.c_str());
    }
};

void PutReadOnly(const std::string& path, const std::string& text)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteFileText(path, text);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
}

void DeleteValue(HKEY root, const char* path, const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name);
        RegCloseKey(key);
    }
}

void RemoveFile(const std::string& path)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

std::string Calls(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

} // namespace

// Start-up as setup.exe does it, then the driver step. Options: "me" (Wine's Me mode has no
// "VersionNumber", which only the start-up test writes), "preload" (the command line's
// option, with the call-configuration-manager flag cleared as the worker clears it).
QV_CHILD(drivers)
{
    if (argc < 2)
        return 90;
    std::string options = argv[1];
    if (!StartIn(argv[0], options.find("preload") != std::string::npos ? "/PRELOAD" : ""))
        return 91;
    if (options.find("me") != std::string::npos)
        g_setup.isMe = 1;
    if (g_setup.preload)
        g_setup.callConfigMg = 0;
    SetupInstallDrivers(g_setup.scriptPath);
    return 0;
}

TEST_CASE("Windows 2000: a keyboard no device answers for is registered as OEM INF and offered again from there; other classes go there first")
{
    for (std::string variant : { "stdcall", "cdecl" }) {
        CAPTURE(variant);
        World w("w2k", variant.c_str(),
                "[InstallPnPDeviceDriver]\n1=1\ndefault=0\n[GetConnectedDeviceNumber]\n1=0\ndefault=1\n");
        w.Script("", "k1=Keyboard, qvkb2k.inf,a3,a4,a5,six,,TRUE," + std::string(kHwid) + ",drv\\\n"
                     "k2=Mouse,qvms2k.inf,m3,,m5,,,0,HID\\M1,\n");
        w.File("drv\\qvkb2k.inf", Inf(("kb-" + variant).c_str()));
        w.File("qvms2k.inf", Inf(("ms-" + variant).c_str()));
        std::string oldCopy = InfDir() + "\\qvkb2k.inf";
        PutReadOnly(oldCopy, "stale");
        PutReadOnly(InfDir() + "\\DRVIDX.BIN", "index");
        PutReadOnly(InfDir() + "\\DRVDATA.BIN", "data");

        REQUIRE(w.Run("win2k", "drv2k") == 0);

        // The first offer with the setup directory's INF, cancelled by no device connected;
        // the second with the system's copy. The mouse line skips the first offer.
        std::string kb = "|a5|a3|a4|1|1";
        CHECK(w.Log() == Calls({
                             "InstallPnPDeviceDriver|Keyboard|" + w.setupDir + "\\drv\\qvkb2k.inf" + kb + " -> 1",
                             "GetConnectedDeviceNumber|Keyboard|a5|a3 -> 0",
                             "InstallPnPDeviceDriver|Keyboard|" + oldCopy + kb + " -> 0",
                             "GetConnectedDeviceNumber|Keyboard|a5|a3 -> 1",
                             "InstallPnPDeviceDriver|Mouse|" + InfDir() + "\\qvms2k.inf|m5|m3||0|1 -> 0",
                             "GetConnectedDeviceNumber|Mouse|m5|m3 -> 1",
                         }));
        CHECK(Slurp(oldCopy) == Slurp(w.setupDir + "\\drv\\qvkb2k.inf"));
        CHECK(w.Recorded("DeleteFiles", "qvkb2k.inf") == InfDir());
        CHECK(w.Recorded("DeleteFiles", "qvms2k.inf") == InfDir());
        // The setup API's precompiled copy beside each registered INF goes with it.
        CHECK(w.Recorded("DeleteFiles", "qvkb2k.pnf") == InfDir());
        CHECK(w.Recorded("DeleteFiles", "qvms2k.pnf") == InfDir());
        // DeleteINFIndex absent: the index goes, read-only or not.
        CHECK_FALSE(Exists(InfDir() + "\\DRVIDX.BIN"));
        CHECK_FALSE(Exists(InfDir() + "\\DRVDATA.BIN"));
        // From a fixed disk nothing is staged under Program Files.
        CHECK_FALSE(Exists("C:\\Program Files\\Lumeno Test"));
        for (const char* inf : { "qvkb2k", "qvms2k" }) {
            RemoveFile(InfDir() + "\\" + inf + ".inf");
            RemoveFile(InfDir() + "\\" + inf + ".pnf");
        }
    }
}

TEST_CASE("Windows 98: an Unknown device gets its INF copied under the line's name, then is removed and awaited; a line with nothing to copy leaves no trace")
{
    World w("w98", "stdcall",
            "[RemoveAndReenumerateDevice]\ndefault=1\n[FindExistingDevice]\n1=0\n2=0\ndefault=1\n"
            "[InstallPnPDeviceDriver]\ndefault=0\n[GetConnectedDeviceNumber]\ndefault=1\n");
    w.Script("DeleteINFIndex=FALSE", "u=unknown,qvunk98.inf,,,,,inf98\\unk.inf,,USB\\VID_1234&PID_9999,\n"
                                     "empty=\n"
                                     "k=Keyboard,qvnone98.inf,x3,x4,x5,,,,HID\\K,\n");
    w.File("inf98\\unk.inf", Inf("unk98"));
    SetFileAttributesA((w.setupDir + "\\inf98\\unk.inf").c_str(), FILE_ATTRIBUTE_READONLY);
    PutReadOnly(InfDir() + "\\DRVIDX.BIN", "index");
    RemoveFile(InfDir() + "\\qvnone98.inf");

    REQUIRE(w.Run("win98", "drv98") == 0);

    std::string copy = InfDir() + "\\qvunk98.inf";
    CHECK(Slurp(copy) == Inf("unk98"));
    DWORD attributes = GetFileAttributesA(copy.c_str());
    CHECK((attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY)));
    CHECK(w.Recorded("DeleteFiles", "qvunk98.inf") == InfDir());
    // Polled until the device is back, and no further.
    CHECK(w.Log() == Calls({
                         "RemoveAndReenumerateDevice||USB\\VID_1234&PID_9999 -> 1",
                         "FindExistingDevice||USB\\VID_1234&PID_9999 -> 0",
                         "FindExistingDevice||USB\\VID_1234&PID_9999 -> 0",
                         "FindExistingDevice||USB\\VID_1234&PID_9999 -> 1",
                         "InstallPnPDeviceDriver|Keyboard|" + w.setupDir + "\\qvnone98.inf|x5|x3|x4|0|1 -> 0",
                         "GetConnectedDeviceNumber|Keyboard|x5|x3 -> 1",
                     }));
    CHECK_FALSE(Exists(InfDir() + "\\qvnone98.inf"));
    CHECK(w.Recorded("DeleteFiles", "qvnone98.inf") == "(absent)");
    // DeleteINFIndex FALSE: the index stays.
    CHECK(Exists(InfDir() + "\\DRVIDX.BIN"));
    RemoveFile(InfDir() + "\\DRVIDX.BIN");
    RemoveFile(copy);
}

TEST_CASE("a library without GetConnectedDeviceNumber keeps the install result; a negative one ends the line without fallback")
{
    World w("noconn", "noconnected", "[InstallPnPDeviceDriver]\n1=-1\n2=0\n");
    w.Script("", "a=Keyboard,qvneg.inf,,,,,,,HID\\A,\n"
                 "b=Keyboard,qvzero.inf,,,,,,,HID\\B,\n");
    w.File("qvneg.inf", Inf("neg"));
    w.File("qvzero.inf", Inf("zero"));
    REQUIRE(w.Run("winxp", "drvnc") == 0);
    CHECK(w.Log() == Calls({
                         "InstallPnPDeviceDriver|Keyboard|" + w.setupDir + "\\qvneg.inf||||0|1 -> -1",
                         "InstallPnPDeviceDriver|Keyboard|" + w.setupDir + "\\qvzero.inf||||0|1 -> 0",
                         "InstallPnPDeviceDriver|Keyboard|" + InfDir() + "\\qvzero.inf||||0|1 -> 0",
                     }));
    CHECK_FALSE(Exists(InfDir() + "\\qvneg.inf"));
    CHECK(Exists(InfDir() + "\\qvzero.inf"));
    RemoveFile(InfDir() + "\\qvzero.inf");
    RemoveFile(InfDir() + "\\qvzero.pnf");
}

TEST_CASE("Windows Me: the system's driver update takes the device, and its cached INF is recorded")
{
    World w("wme", "stdcall", "");
    w.Script("", "k=Keyboard,qvkbme.inf,cache\\,,,,,,USB\\VID_1234&PID_5678,\n");
    w.File("qvkbme.inf", Inf("me"));
    std::string cacheDir = InfDir() + "\\INTERNET\\cache";
    CreateDirectoryA((InfDir() + "\\INTERNET").c_str(), NULL);
    CreateDirectoryA(cacheDir.c_str(), NULL);
    WriteFileText(cacheDir + "\\qvkbme.inf", "cached");
    REQUIRE(w.Run("winme", "drvme", "me") == 0);
    // Wine's newdev says yes, so the maker's library and the fallback are never asked.
    CHECK(w.Log() == "");
    CHECK_FALSE(Exists(InfDir() + "\\qvkbme.inf"));
    CHECK(w.Recorded("DeleteFiles", "qvkbme.inf") == cacheDir);
    RemoveFile(cacheDir + "\\qvkbme.inf");
}

TEST_CASE("preload on Windows XP from a CD-ROM: the medium is staged under Program Files and Preload.exe is put in the Run key")
{
    std::string disc = MakeTempDir("preload-cd");
    std::string setupDir = disc + "\\disk1";
    CreateDirectoryA(setupDir.c_str(), NULL);
    World w("wxp", "stdcall", "[InstallPnPDeviceDriver]\ndefault=0\n", "V:\\disk1");
    w.setupDir = setupDir;  // written through the folder, read by the child through the drive
    w.Script("", "k=Keyboard,qvkbxp.inf,,,,,,,USB\\VID_1234&PID_5678,drv\\\n");
    w.File("drv\\qvkbxp.inf", Inf("xp"));
    w.File("drv\\deep\\note.txt", "deep");
    PutReadOnly(setupDir + "\\readonly.txt", "ro");
    w.setupDir = "V:\\disk1";
    std::string oldCopy = InfDir() + "\\qvkbxp.inf";
    WriteFileText(oldCopy, "stale");
    std::string staging = "C:\\Program Files\\Lumeno.Test XP";
    RemoveTree(staging);
    // The product name has a slash, which a folder name cannot hold.
    std::string script = Slurp(setupDir + "\\SETUP2K.INI");
    script.replace(script.find("Lumeno Test"), 11, "Lumeno/Test XP");
    WriteFileText(setupDir + "\\SETUP2K.INI", script);
    DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, "Keyboard Preload Check");
    REQUIRE(WriteString(HKEY_LOCAL_MACHINE, kRunKey, "QvDriversTest", "x"));  // the key must exist: it is not created
    REQUIRE(MapDrive('v', disc));

    REQUIRE(w.Run("winxp", "drvxp", "preload") == 0);
    CHECK(UnmapDrive('v'));

    CHECK(w.Log() == Calls({
                         "InstallPnPDeviceDriver|Keyboard|V:\\disk1\\drv\\qvkbxp.inf||||0|0 -> 0",
                         "GetConnectedDeviceNumber|Keyboard|| -> 0",
                     }));
    CHECK(Slurp(staging + "\\drv\\qvkbxp.inf") == Inf("xp"));
    CHECK(Slurp(staging + "\\drv\\deep\\note.txt") == "deep");
    CHECK(Slurp(staging + "\\readonly.txt") == "ro");
    DWORD attributes = GetFileAttributesA((staging + "\\readonly.txt").c_str());
    CHECK((attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY)));
    CHECK_FALSE(Exists(oldCopy));
    CHECK(Text(HKEY_LOCAL_MACHINE, kRunKey, "Keyboard Preload Check") ==
          staging + "\\Preload.exe /DEVID:USB\\VID_1234&PID_5678 /CLASS:Keyboard /RunValue:\"Keyboard Preload Check\"");
    CHECK(w.Recorded("DeleteDirectory", staging) == "1");
    RemoveTree(staging);
    w.setupDir = setupDir;
    DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, "Keyboard Preload Check");
    DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, "QvDriversTest");
    RemoveTree(disc);
}

TEST_CASE("Windows XP from a CD-ROM: an Unknown device's INF is registered from the staged copy, then re-enumerated")
{
    std::string disc = MakeTempDir("oem-cd");
    std::string setupDir = disc + "\\disk1";
    CreateDirectoryA(setupDir.c_str(), NULL);
    World w("oemxp", "stdcall", "[RemoveAndReenumerateDevice]\ndefault=0\n[FindExistingDevice]\ndefault=1\n", setupDir);
    w.Script("", "u=Unknown,qvunkxp.inf,,,,,,,USB\\VID_1234&PID_7777,sub\\\n");
    w.File("sub\\qvunkxp.inf", Inf("unkxp"));
    std::string staging = "C:\\Program Files\\Lumeno Test";
    RemoveTree(staging);
    REQUIRE(MapDrive('v', disc));
    w.setupDir = "V:\\disk1";
    DWORD code = w.Run("winxp", "drvoem");
    w.setupDir = setupDir;
    CHECK(UnmapDrive('v'));
    REQUIRE(code == 0);

    // The device was not removed, so nobody waits for it.
    CHECK(w.Log() == Calls({ "RemoveAndReenumerateDevice||USB\\VID_1234&PID_7777 -> 0" }));
    CHECK(Slurp(staging + "\\sub\\qvunkxp.inf") == Inf("unkxp"));
    CHECK(Slurp(InfDir() + "\\qvunkxp.inf") == Inf("unkxp"));
    CHECK(w.Recorded("DeleteFiles", "qvunkxp.inf") == InfDir());
    CHECK(w.Recorded("DeleteDirectory", staging) == "1");
    CHECK(Text(HKEY_LOCAL_MACHINE, kRunKey, "Keyboard Preload Check") == "(absent)");
    RemoveFile(InfDir() + "\\qvunkxp.inf");
    RemoveFile(InfDir() + "\\qvunkxp.pnf");
    RemoveTree(staging);
    RemoveTree(disc);
}
