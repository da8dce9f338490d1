// The installer's uninstall record writers: the product key, the file, directory and
// registry lists, and the shared lists that other products' records join.
#include <doctest/doctest.h>

#include "setup.h"
#include "setuptest.h"
#include "wintest.h"

#include <string>

using namespace qvtest;
using namespace setuptest;

namespace {

const std::string kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::string kSharedFile = "Software\\Qelvano\\Uninstall\\SharedFile\\";
const std::string kSharedReg = "Software\\Qelvano\\Uninstall\\SharedReg\\";

void Product(const char* key, const char* name, const char* displayName)
{
    SetupInitState(NULL);
    TextCopy(g_setup.uninstallKey, sizeof(g_setup.uninstallKey), key);
    TextCopy(g_setup.productName, sizeof(g_setup.productName), name);
    TextCopy(g_setup.uninstallDisplayName, sizeof(g_setup.uninstallDisplayName), displayName);
}

void Clean(void)
{
    for (const char* key : { "QvUnA", "QvUnB" }) {
        DeleteTree(HKEY_LOCAL_MACHINE, (kUninstall + key).c_str());
        DeleteTree(HKEY_LOCAL_MACHINE, (kSharedReg + key).c_str());
    }
    for (const char* file : { "qvun.dll", "qvplain.txt" })
        DeleteTree(HKEY_LOCAL_MACHINE, (kSharedFile + file).c_str());
}

} // namespace

TEST_CASE("a recorded file is listed by name with its directory, here and in the shared list")
{
    Clean();
    Product("QvUnA", "Product A", "");
    CHECK(SetupRecordFile("C:\\Windows\\System32\\qvun.dll") == 1);
    CHECK(Text(HKEY_LOCAL_MACHINE, kUninstall + "QvUnA\\DeleteFiles", "qvun.dll") == "C:\\Windows\\System32");
    CHECK(Text(HKEY_LOCAL_MACHINE, kSharedFile + "qvun.dll", "QvUnA") == "C:\\Windows\\System32");
    CHECK(Text(HKEY_LOCAL_MACHINE, kUninstall + "QvUnA", "UninstallString") == "QVUninst.exe QvUnA");
    CHECK(Text(HKEY_LOCAL_MACHINE, kUninstall + "QvUnA", "DisplayName") == "Product A");

    // A second product with a file of the same name joins the shared list.
    Product("QvUnB", "Product B", "Product B Drivers");
    CHECK(SetupRecordFile("D:\\Other\\qvun.dll") == 1);
    CHECK(Text(HKEY_LOCAL_MACHINE, kSharedFile + "qvun.dll", "QvUnA") == "C:\\Windows\\System32");
    CHECK(Text(HKEY_LOCAL_MACHINE, kSharedFile + "qvun.dll", "QvUnB") == "D:\\Other");
    CHECK(Text(HKEY_LOCAL_MACHINE, kUninstall + "QvUnB", "DisplayName") == "Product B Drivers");

    // The same name in another directory keeps only the last directory.
    CHECK(SetupRecordFile("D:\\Moved\\qvun.dll") == 1);
    CHECK(Text(HKEY_LOCAL_MACHINE, kUninstall + "QvUnB\\DeleteFiles", "qvun.dll") == "D:\\Moved");

    CHECK(SetupRecordFile("qvplain.txt") == 1);
    CHECK(Text(HKEY_LOCAL_MACHINE, kUninstall + "QvUnB\\DeleteFiles", "qvplain.txt") == "");
    Clean();
}

TEST_CASE("directories are recorded with their flag")
{
    Clean();
    Product("QvUnA", "Product A", "");
    CHECK(SetupRecordDirectory("C:\\Program Files\\Lumeno", "1") == 1);
    CHECK(SetupRecordDirectory("C:\\Keys", "0") == 1);
    CHECK(Text(HKEY_LOCAL_MACHINE, kUninstall + "QvUnA\\DeleteDirectory", "C:\\Program Files\\Lumeno") == "1");
    CHECK(Text(HKEY_LOCAL_MACHINE, kUninstall + "QvUnA\\DeleteDirectory", "C:\\Keys") == "0");
    Clean();
}

TEST_CASE("registry items: value as path, two backslashes and name; keys by their path")
{
    Clean();
    Product("QvUnA", "Product A", "");
    CHECK(SetupRecordRegItem(HKEY_CURRENT_USER, "Software\\A", "B") == 1);
    CHECK(SetupRecordRegItem(HKEY_LOCAL_MACHINE, "Software\\Whole", "") == 1);
    CHECK(SetupRecordRegItem(HKEY_CLASSES_ROOT, ".qv", NULL) == 1);
    CHECK(SetupRecordRegItem(HKEY_CURRENT_CONFIG, "Odd", "V") == 1);
    std::string regs = kUninstall + "QvUnA\\DeleteRegs\\";
    CHECK(Text(HKEY_LOCAL_MACHINE, regs + "HKEY_CURRENT_USER", "Software\\A\\\\B") == "B");
    CHECK(Text(HKEY_LOCAL_MACHINE, kSharedReg + "QvUnA\\HKEY_CURRENT_USER", "Software\\A\\\\B") == "B");
    CHECK(Text(HKEY_LOCAL_MACHINE, regs + "HKEY_LOCAL_MACHINE", "Software\\Whole") == "");
    CHECK(Text(HKEY_LOCAL_MACHINE, regs + "HKEY_CLASSES_ROOT", ".qv") == "");
    CHECK(Text(HKEY_LOCAL_MACHINE, regs + "HKEY_USERS", "Odd\\\\V") == "V");
    Clean();
}

TEST_CASE("without an uninstall key nothing is recorded")
{
    Clean();
    Product("", "Product A", "");
    CHECK(SetupRecordFile("C:\\Windows\\qvun.dll") == 0);
    CHECK(SetupRecordDirectory("C:\\Keys", "0") == 0);
    CHECK(SetupRecordRegItem(HKEY_CURRENT_USER, "Software\\A", "B") == 0);
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, (kSharedFile + "qvun.dll").c_str()));
}

TEST_CASE("a value name past 259 characters is recorded whole, not cut")
{
    Clean();
    Product("QvUnA", "Product A", "");
    std::string subKey = "Software\\" + std::string(250, 's');
    std::string name(200, 'n');
    CHECK(SetupRecordRegItem(HKEY_CURRENT_USER, subKey.c_str(), name.c_str()) == 1);
    CHECK(Text(HKEY_LOCAL_MACHINE, kUninstall + "QvUnA\\DeleteRegs\\HKEY_CURRENT_USER", (subKey + "\\\\" + name).c_str()) == name);
    Clean();
}
