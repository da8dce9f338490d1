// Section "Setup" as the installer reads it: defaults, the boolean rule, paths made
// absolute, the interface decision, "Restart", and the options that override them.
// In-process under the prefix's own (NT) version, plus a Windows 95 child.
#include <doctest/doctest.h>

#include "setup.h"
#include "setuptest.h"
#include "wintest.h"

#include <string>

using namespace qvtest;
using namespace setuptest;

namespace {

// Runs start-up over a script, written as the NT 5 script of a fresh folder.
std::string Start(const std::string& setupSection, const char* commandLine = "")
{
    std::string dir = MakeSetupDir("script");
    WriteScript(dir + "\\SETUP2K.INI", "[Setup]\n" + setupSection);
    REQUIRE(StartIn(dir, commandLine));
    return dir;
}

std::string SystemDir()
{
    char dir[MAX_PATH];
    GetSystemDirectoryA(dir, sizeof(dir));
    return dir;
}

} // namespace

TEST_CASE("absent keys take their defaults")
{
    std::string dir = Start("");
    CHECK(g_setup.isNT);
    CHECK(std::string(g_setup.productName) == "");
    CHECK(std::string(g_setup.setupTitle) == " Setup");
    CHECK(std::string(g_setup.version) == "1.0");
    CHECK(std::string(g_setup.uninstallKey) == "");
    CHECK(g_setup.cabFile == 0);
    CHECK(std::string(g_setup.cabPath) == "");
    CHECK(g_setup.askLicence == 0);
    CHECK(g_setup.askPath == 0);
    CHECK(g_setup.askProgramFolder == 0);
    CHECK(g_setup.askType == 1);
    CHECK(g_setup.ps2Allowed == 1);
    CHECK(g_setup.usbAllowed == 1);
    CHECK(g_setup.deleteInfIndex == 1);
    CHECK(g_setup.updateDriver == 1);
    CHECK(g_setup.infNoFileCopy == 0);
    CHECK(std::string(g_setup.deviceClass) == "Keyboard");
    CHECK(std::string(g_setup.infFile) == dir + "\\Keyboard.inf");
    CHECK(std::string(g_setup.usbInf) == "");
    CHECK(std::string(g_setup.provider) == "Qelvano");
    CHECK(std::string(g_setup.mfgName) == "Qelvano");
    // The type page will ask: no decision yet.
    CHECK(g_setup.interfaceType == SETUP_TYPE_USB);
    CHECK(g_setup.restartNeeded == 1);
    CHECK(std::string(g_setup.installDir) == SystemDir());
    CHECK(std::string(g_setup.programFolder) == "");
    CHECK(std::string(g_setup.setupDir) == dir);
    CHECK(std::string(g_setup.scriptPath) == dir + "\\SETUP2K.INI");
}

TEST_CASE("texts, the title suffix and paths made absolute")
{
    std::string dir = Start("ProductName=Lumeno Keys\nVersion=2.5\nUninstallKey=LumenoKeys\n"
                            "UninstallDisplayName=Lumeno Keyboard Software\nBkgLogo=logo.pcx\n"
                            "CabFile=true\nCabFileName=data\\keys.cab\nProvider=Acme\n"
                            "InfFile=drv\\kb.inf\nUSBInf=drv\\usb.inf\nClass=HIDClass\n");
    CHECK(std::string(g_setup.productName) == "Lumeno Keys");
    CHECK(std::string(g_setup.setupTitle) == "Lumeno Keys Setup");
    CHECK(std::string(g_setup.version) == "2.5");
    CHECK(std::string(g_setup.uninstallKey) == "LumenoKeys");
    CHECK(std::string(g_setup.uninstallDisplayName) == "Lumeno Keyboard Software");
    CHECK(std::string(g_setup.bkgLogo) == "logo.pcx");
    CHECK(g_setup.cabFile == 1);
    CHECK(std::string(g_setup.cabPath) == dir + "\\data\\keys.cab");
    CHECK(std::string(g_setup.mfgName) == "Acme");
    CHECK(std::string(g_setup.deviceClass) == "HIDClass");
    CHECK(std::string(g_setup.usbInf) == dir + "\\drv\\usb.inf");
    // AskType is TRUE, so USB is not chosen yet and the INF stays the plain one.
    CHECK(std::string(g_setup.infFile) == dir + "\\drv\\kb.inf");

    Start("ProductName=P\nSetupTitle=Custom Title\nCabFile=FALSE\nCabFileName=x.cab\n");
    CHECK(std::string(g_setup.setupTitle) == "Custom Title Setup");
    CHECK(std::string(g_setup.cabPath) == "");

    // A title of 259 characters has no room for the suffix and is not overrun by it.
    Start("SetupTitle=" + std::string(259, 't') + "\n");
    CHECK(std::string(g_setup.setupTitle) == std::string(259, 't'));
}

TEST_CASE("a TRUE default falls only to FALSE, a FALSE default rises only to TRUE")
{
    Start("AskType=no\nAskPath=yes\nAskProgramFolder=1\nUpdateDriver=0\nInfNoFileCopy=on\n");
    CHECK(g_setup.askType == 1);
    CHECK(g_setup.askPath == 0);
    CHECK(g_setup.askProgramFolder == 0);
    CHECK(g_setup.updateDriver == 1);
    CHECK(g_setup.infNoFileCopy == 0);

    Start("AskType=false\nAskPath=True\nAskProgramFolder=TRUE\nUpdateDriver=FALSE\nInfNoFileCopy=true\n"
          "CallConfigMg=False\nDeleteINFIndex=yes\n");
    CHECK(g_setup.askType == 0);
    CHECK(g_setup.askPath == 1);
    CHECK(g_setup.askProgramFolder == 1);
    CHECK(g_setup.updateDriver == 0);
    CHECK(g_setup.infNoFileCopy == 1);
    // Only the word TRUE keeps the index files' deletion.
    CHECK(g_setup.deleteInfIndex == 0);
}

TEST_CASE("interface decision on NT: PS/2 needs a restart and no configuration manager")
{
    SUBCASE("PS2Type FALSE gives PS/2 without a type page")
    {
        Start("PS2Type=FALSE\nCallConfigMg=TRUE\n");
        CHECK(g_setup.askType == 0);
        CHECK(g_setup.interfaceType == SETUP_TYPE_PS2);
        CHECK(g_setup.restartNeeded == 1);
        CHECK(g_setup.callConfigMg == 0);
    }
    SUBCASE("USBType FALSE gives USB with the USB INF and no restart")
    {
        std::string dir = Start("USBType=FALSE\nUSBInf=usb.inf\nCallConfigMg=FALSE\n");
        CHECK(g_setup.askType == 0);
        CHECK(g_setup.interfaceType == SETUP_TYPE_USB);
        CHECK(g_setup.restartNeeded == 0);
        CHECK(g_setup.callConfigMg == 1);
        CHECK(std::string(g_setup.infFile) == dir + "\\usb.inf");
    }
    SUBCASE("both FALSE give PS/2")
    {
        Start("PS2Type=FALSE\nUSBType=FALSE\n");
        CHECK(g_setup.interfaceType == SETUP_TYPE_PS2);
    }
    SUBCASE("without the page, DefaultType decides by its first letter")
    {
        Start("AskType=FALSE\nDefaultType=ps2\n");
        CHECK(g_setup.interfaceType == SETUP_TYPE_PS2);
        Start("AskType=FALSE\nDefaultType=USB\nPS2DriverName=i8042prt\n");
        CHECK(g_setup.interfaceType == SETUP_TYPE_USB);
        CHECK(g_setup.restartNeeded == 0);
    }
    SUBCASE("without DefaultType, a PS/2 driver name means PS/2")
    {
        Start("AskType=FALSE\nPS2DriverName=i8042prt\n");
        CHECK(g_setup.interfaceType == SETUP_TYPE_PS2);
        Start("AskType=FALSE\n");
        CHECK(g_setup.interfaceType == SETUP_TYPE_USB);
    }
    SUBCASE("with the page asked for, DefaultType changes nothing yet")
    {
        std::string dir = Start("AskType=TRUE\nDefaultType=PS2\nUSBInf=usb.inf\n");
        CHECK(g_setup.askType == 1);
        CHECK(g_setup.interfaceType == SETUP_TYPE_USB);
        CHECK(g_setup.restartNeeded == 1);
        CHECK(std::string(g_setup.infFile) == dir + "\\Keyboard.inf");
    }
}

TEST_CASE("Restart overrides the type decision, and a later PS/2 choice sets it again")
{
    Start("PS2Type=FALSE\nRestart=FALSE\n");
    CHECK(g_setup.interfaceType == SETUP_TYPE_PS2);
    CHECK(g_setup.restartNeeded == 0);
    SetupApplyCommandLine("/TYPE:PS2");
    CHECK(g_setup.restartNeeded == 1);

    Start("USBType=FALSE\nRestart=true\n");
    CHECK(g_setup.restartNeeded == 1);
    Start("USBType=FALSE\nRestart=later\n");
    CHECK(g_setup.restartNeeded == 0);
}

TEST_CASE("options override the script")
{
    SUBCASE("S drops the asking pages and leaves the type undecided")
    {
        Start("AskType=TRUE\nAskPath=TRUE\nAskProgramFolder=TRUE\nAskLicense=FALSE\n", "/S");
        CHECK(g_setup.silent == 1);
        CHECK(g_setup.askType == 0);
        CHECK(g_setup.askPath == 0);
        CHECK(g_setup.askProgramFolder == 0);
        CHECK(g_setup.interfaceType == SETUP_TYPE_USB);
        CHECK(g_setup.restartNeeded == 1);
    }
    SUBCASE("TYPE:USB after a PS/2 script")
    {
        std::string dir = Start("PS2Type=FALSE\nUSBInf=usb.inf\n", " / type : usb ");
        CHECK(g_setup.interfaceType == SETUP_TYPE_USB);
        CHECK(g_setup.restartNeeded == 0);
        CHECK(g_setup.callConfigMg == 1);
        CHECK(std::string(g_setup.infFile) == dir + "\\usb.inf");
    }
    SUBCASE("TYPE:PS2 drops the type page")
    {
        Start("AskType=TRUE\n", "/TYPE:PS2");
        CHECK(g_setup.askType == 0);
        CHECK(g_setup.interfaceType == SETUP_TYPE_PS2);
        CHECK(g_setup.callConfigMg == 0);
    }
    SUBCASE("hidden, no restart and preload")
    {
        Start("", "setup /h/nr /p");
        CHECK(g_setup.hidden == 1);
        CHECK(g_setup.noRestart == 1);
        CHECK(g_setup.preload == 1);
        CHECK(g_setup.silent == 0);
        Start("", "/PRELOAD");
        CHECK(g_setup.preload == 1);
        CHECK(g_setup.hidden == 0);
    }
}

QV_CHILD(ps2on9x)
{
    std::string dir = argv[0];
    if (!StartIn(dir))
        return 100;
    return g_setup.interfaceType | g_setup.restartNeeded << 4 | g_setup.callConfigMg << 5 | g_setup.is9x << 6;
}

TEST_CASE("interface decision on Windows 95: PS/2 needs no restart but the configuration manager")
{
    std::string dir = MakeSetupDir("script9x");
    WriteScript(dir + "\\SETUP95.INI", "[Setup]\nPS2Type=FALSE\nCallConfigMg=FALSE\n");
    CHECK(RunAsMode("win95", SelfPath(), "--child ps2on9x " + dir, 30000) == (DWORD)(2 | 0 << 4 | 1 << 5 | 1 << 6));
    RemoveTree(dir);
}
