// The setup script: which file fits the running system, and its section "Setup" with
// the defaults and boolean rules that an absent or misspelt key falls back on.
#include "setup.h"

namespace {

const char kSection[] = "Setup";

bool FileExists(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The script of that name in the setup directory, when it exists.
bool TryScript(const char* name)
{
    char path[QV_TEXT_SIZE];
    if (!SetupJoinPath(path, sizeof(path), g_setup.setupDir, name) || !FileExists(path))
        return false;
    TextCopy(g_setup.scriptPath, sizeof(g_setup.scriptPath), path);
    return true;
}

void ReadText(const char* key, const char* fallback, char* text)
{
    GetPrivateProfileStringA(kSection, key, fallback, text, QV_TEXT_SIZE, g_setup.scriptPath);
}

// A TRUE default is switched off only by FALSE, a FALSE default on only by TRUE.
int ReadBool(const char* key, int fallback)
{
    char text[QV_TEXT_SIZE];
    ReadText(key, "", text);
    if (fallback)
        return lstrcmpiA(text, "FALSE") != 0;
    return lstrcmpiA(text, "TRUE") == 0;
}

// A file name relative to the setup directory, made absolute.
void ReadPath(const char* key, const char* fallback, char* path)
{
    char name[QV_TEXT_SIZE];
    ReadText(key, fallback, name);
    SetupJoinPath(path, QV_TEXT_SIZE, g_setup.setupDir, name);
}

void ReadDriverKeys(void)
{
    ReadText("Class", "Keyboard", g_setup.deviceClass);
    ReadPath("InfFile", "Keyboard.inf", g_setup.infFile);
    char usbInf[QV_TEXT_SIZE];
    ReadText("USBInf", "", usbInf);
    if (usbInf[0])
        SetupJoinPath(g_setup.usbInf, sizeof(g_setup.usbInf), g_setup.setupDir, usbInf);
    ReadText("USBInstallSection", "", g_setup.usbInstallSection);
    ReadText("USBDriverName", "", g_setup.usbDriverName);
    ReadText("PS2PnPID", "", g_setup.ps2PnpId);
    ReadText("USBPnPID", "", g_setup.usbPnpId);
    ReadText("Provider", "Qelvano", g_setup.provider);
    ReadText("MfgName", g_setup.provider, g_setup.mfgName);
    ReadText("DrvSetupProgram", "", g_setup.drvSetupProgram);
    ReadText("DrvSetupAction", "", g_setup.drvSetupAction);
    g_setup.updateDriver = ReadBool("UpdateDriver", 1);
    g_setup.infNoFileCopy = ReadBool("InfNoFileCopy", 0);
}

void DecideType(void)
{
    if (!g_setup.ps2Allowed || !g_setup.usbAllowed)
        g_setup.askType = 0;
    if (g_setup.askType)
        return;
    char first = g_setup.defaultType[0];
    bool ps2 = !g_setup.ps2Allowed;
    if (!ps2 && g_setup.usbAllowed) {
        if (first)
            ps2 = first == 'P' || first == 'p';
        else
            ps2 = g_setup.ps2DriverName[0] != '\0';
    }
    SetupChooseType(ps2 ? SETUP_TYPE_PS2 : SETUP_TYPE_USB);
}

} // namespace

int SetupChooseScript(void)
{
    g_setup.scriptPath[0] = '\0';
    if (g_setup.is9x) {
        if (g_setup.isMe && TryScript("SETUPME.INI"))
            return 1;
        if (g_setup.isWin95)
            return TryScript("SETUP95.INI");
        return TryScript("SETUP98.INI") || TryScript("SETUP95.INI");
    }
    if (g_setup.isNT) {
        if (g_setup.isNT5plus && TryScript("SETUP2K.INI"))
            return 1;
        // An XP machine without a script of its own is unsupported, not given the NT 4 one.
        if (g_setup.isXP)
            return TryScript("SETUPXP.INI");
        return TryScript("SETUPNT.INI");
    }
    return 0;
}

void SetupReadScript(void)
{
    ReadText("ProductName", "", g_setup.productName);
    ReadText("UninstallDisplayName", "", g_setup.uninstallDisplayName);
    ReadText("SetupTitle", g_setup.productName, g_setup.setupTitle);
    TextAppend(g_setup.setupTitle, sizeof(g_setup.setupTitle), " ");
    TextAppend(g_setup.setupTitle, sizeof(g_setup.setupTitle), g_setup.setupWord);
    ReadText("Version", "1.0", g_setup.version);
    ReadText("UninstallKey", "", g_setup.uninstallKey);
    ReadText("BkgLogo", "", g_setup.bkgLogo);
    g_setup.cabFile = ReadBool("CabFile", 0);
    if (g_setup.cabFile)
        ReadPath("CabFileName", "", g_setup.cabPath);
    g_setup.askLicence = ReadBool("AskLicense", 0);
    if (g_setup.askLicence) {
        char folder[QV_TEXT_SIZE];
        ReadText("LicenseFolder", "", folder);
        SetupChooseLicence(folder);
    }
    g_setup.askPath = ReadBool("AskPath", 0);
    g_setup.askProgramFolder = ReadBool("AskProgramFolder", 0);
    g_setup.askType = ReadBool("AskType", 1);
    g_setup.ps2Allowed = ReadBool("PS2Type", 1);
    g_setup.usbAllowed = ReadBool("USBType", 1);
    ReadText("DefaultType", "", g_setup.defaultType);
    ReadText("PS2DriverName", "", g_setup.ps2DriverName);
    g_setup.callConfigMg = ReadBool("CallConfigMg", 1);
    char text[QV_TEXT_SIZE];
    ReadText("DeleteINFIndex", "TRUE", text);
    g_setup.deleteInfIndex = lstrcmpiA(text, "TRUE") == 0;
    ReadDriverKeys();

    DecideType();

    ReadText("Restart", "", text);
    if (lstrcmpiA(text, "FALSE") == 0)
        g_setup.restartNeeded = 0;
    else if (lstrcmpiA(text, "TRUE") == 0)
        g_setup.restartNeeded = 1;
}
