// The licence text chosen for the user's locale: exact locale, then its language, the
// licence folder, and the fall-back when the locale cannot be read. The 95 family's
// locale key is one nothing else reads, so the cases run as Windows 98 children.
#include <doctest/doctest.h>

#include "setup.h"
#include "setuptest.h"
#include "wintest.h"

#include <string>

using namespace qvtest;
using namespace setuptest;

namespace {

const char kResourceLocale[] = "Control Panel\\Desktop\\ResourceLocale";

std::string ReadFileText(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return "(none)";
    char text[1024];
    DWORD read = 0;
    ReadFile(file, text, sizeof(text), &read, NULL);
    CloseHandle(file);
    return std::string(text, read);
}

// Runs the choice as Windows 98 with that locale (null: none) and returns "path|length".
std::string Choose(const std::string& dir, const char* folder, const char* locale)
{
    DeleteTree(HKEY_CURRENT_USER, kResourceLocale);
    if (locale)
        WriteString(HKEY_CURRENT_USER, kResourceLocale, NULL, locale);
    std::string out = dir + "\\result.txt";
    DeleteFileA(out.c_str());
    DWORD code = RunAsMode("win98", SelfPath(), "--child licence " + dir + " " + out + " " + folder, 30000);
    DeleteTree(HKEY_CURRENT_USER, kResourceLocale);
    return code == 0 ? ReadFileText(out) : "(child failed)";
}

} // namespace

QV_CHILD(licence)
{
    // argv: setup dir, result file, licence folder ("-" for none)
    SetupInitState(argv[0]);
    if (!g_setup.is9x)
        return 1;
    SetupChooseLicence(std::string(argv[2]) == "-" ? "" : argv[2]);
    return WriteFileText(argv[1], std::string(g_setup.licencePath) + "|" + std::to_string(g_setup.licenceLength)) ? 0 : 2;
}

TEST_CASE("licence: exact locale, else its language, else the folder alone")
{
    std::string dir = MakeSetupDir("licence");
    WriteFileText(dir + "\\LICENFRE.TXT", "Licence en francais");
    WriteFileText(dir + "\\LICENENG.TXT", "English licence text");
    WriteFileText(dir + "\\LICENTCH.TXT", "x");

    CHECK(Choose(dir, "-", "0000040C") == dir + "\\LICENFRE.TXT|19");
    CHECK(Choose(dir, "-", "00000C0C") == dir + "\\LICENFRE.TXT|19");
    CHECK(Choose(dir, "-", "00000809") == dir + "\\LICENENG.TXT|20");
    CHECK(Choose(dir, "-", "00000c04") == dir + "\\LICENTCH.TXT|1");
    // An exact row whose file is missing does not fall back to the language.
    CHECK(Choose(dir, "-", "00000407") == dir + "|0");
    CHECK(Choose(dir, "-", "0000041F") == dir + "|0");
    RemoveTree(dir);
}

TEST_CASE("licence: the licence folder, and English when the locale cannot be read")
{
    std::string dir = MakeSetupDir("licdir");
    CreateDirectoryA((dir + "\\lic").c_str(), NULL);
    WriteFileText(dir + "\\lic\\LICENENG.TXT", "English");
    WriteFileText(dir + "\\LICENFRE.TXT", "not in the folder");

    CHECK(Choose(dir, "lic", NULL) == dir + "\\lic\\LICENENG.TXT|7");
    CHECK(Choose(dir, "lic", "") == dir + "\\lic\\LICENENG.TXT|7");
    CHECK(Choose(dir, "lic", "0000040C") == dir + "\\lic|0");
    // A folder of a licence's name is no licence.
    CreateDirectoryA((dir + "\\lic\\LICENGER.TXT").c_str(), NULL);
    CHECK(Choose(dir, "lic", "00000407") == dir + "\\lic|0");
    RemoveTree(dir);
}

QV_CHILD(scriptlicence)
{
    if (!StartIn(argv[0]))
        return 1;
    return WriteFileText(argv[1], std::string(g_setup.licencePath) + "|" + std::to_string(g_setup.askLicence)) ? 0 : 2;
}

TEST_CASE("licence: chosen while the script is read, only when AskLicense is TRUE")
{
    std::string dir = MakeSetupDir("licscript");
    CreateDirectoryA((dir + "\\texts").c_str(), NULL);
    WriteFileText(dir + "\\texts\\LICENDUT.TXT", "Licentie");
    WriteScript(dir + "\\SETUP98.INI", "[Setup]\nAskLicense=TRUE\nLicenseFolder=texts\n");
    WriteString(HKEY_CURRENT_USER, kResourceLocale, NULL, "00000813");  // Dutch, Belgium
    std::string out = dir + "\\result.txt";
    CHECK(RunAsMode("win98", SelfPath(), "--child scriptlicence " + dir + " " + out, 30000) == 0);
    CHECK(ReadFileText(out) == dir + "\\texts\\LICENDUT.TXT|1");

    WriteScript(dir + "\\SETUP98.INI", "[Setup]\nAskLicense=yes\nLicenseFolder=texts\n");
    CHECK(RunAsMode("win98", SelfPath(), "--child scriptlicence " + dir + " " + out, 30000) == 0);
    CHECK(ReadFileText(out) == "|0");
    DeleteTree(HKEY_CURRENT_USER, kResourceLocale);
    RemoveTree(dir);
}

TEST_CASE("on NT the locale is the user's Locale value")
{
    DWORD type = 0;
    std::string expected;
    REQUIRE(ReadValue(HKEY_CURRENT_USER, "Control Panel\\International", "Locale", &type, &expected));
    if (!expected.empty() && expected.back() == '\0')
        expected.pop_back();
    SetupInitState(NULL);
    REQUIRE(g_setup.isNT);
    char locale[QV_TEXT_SIZE];
    SetupReadLocale(locale, sizeof(locale));
    CHECK(std::string(locale) == expected);
    char small[4];
    SetupReadLocale(small, sizeof(small));
    CHECK(std::string(small) == expected.substr(0, 3));
}
