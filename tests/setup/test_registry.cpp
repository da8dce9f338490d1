// "Add Registry" and "Add Registry Files" as the registry shows them afterwards, with the
// uninstall record of every item written.
#include <doctest/doctest.h>

#include "setup.h"
#include "setuptest.h"
#include "wintest.h"

#include <string.h>

#include <string>

using namespace qvtest;
using namespace setuptest;

namespace {

const char kProduct[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QvRegTest";

std::string Raw(HKEY root, const char* path, const char* name, DWORD* type)
{
    std::string data;
    *type = 0;
    if (!ReadValue(root, path, name, type, &data))
        return "(absent)";
    return data;
}

DWORD Dword(HKEY root, const char* path, const char* name)
{
    DWORD type;
    std::string data = Raw(root, path, name, &type);
    CHECK(type == REG_DWORD);
    DWORD value = 0xdeadbeef;
    if (data.size() == sizeof(value))
        memcpy(&value, data.data(), sizeof(value));
    return value;
}

void Clean(void)
{
    DeleteTree(HKEY_CURRENT_USER, "Software\\QvRegTest");
    DeleteTree(HKEY_LOCAL_MACHINE, "Software\\QvRegTest");
    DeleteTree(HKEY_CLASSES_ROOT, "QvRegTest");
    DeleteTree(HKEY_USERS, ".DEFAULT\\Software\\QvRegTest");
    DeleteTree(HKEY_LOCAL_MACHINE, kProduct);
    DeleteTree(HKEY_LOCAL_MACHINE, "Software\\Qelvano\\Uninstall\\SharedReg\\QvRegTest");
}

} // namespace

TEST_CASE("Add Registry: every value form, root and macro")
{
    Clean();
    std::string dir = MakeSetupDir("addreg");
    WriteScript(dir + "\\SETUP2K.INI",
                "[Setup]\nUninstallKey=QvRegTest\nProductName=Reg Test\n"
                "[Strings]\nSub=Software\\QvRegTest\n"
                "[Add Registry]\n"
                "r1=HKCU,Software\\QvRegTest\\X,Mode,1,05\n"
                "r2=HKCU,Software\\QvRegTest\\X,Neg,1,ff\n"
                "r3=HKCU,Software\\QvRegTest\\X,Data,1,01,02\n"
                "r4=HKLM,Software\\QvRegTest,Name,0,Some text\n"
                "r5=HKLM,Software\\QvRegTest\\KeyOnly\n"
                "r6=HKU,.DEFAULT\\Software\\QvRegTest,Root,0,users\n"
                "r7=HKCX,.DEFAULT\\Software\\QvRegTest,Misspelt,,x\n"
                "r8=HKCU,Software\\QvRegTest\\X,Hex,1,0x10\n"
                "r9=hkcr,QvRegTest,,0,class\n"
                "r10=HKCU,%Sub%\\X,Path,,%11%\\\"a,b\"\n"
                "r11=HKCU,Software\\QvRegTest\\X,Empty\n"
                "r12=HKCU,Software\\QvRegTest\\X,NoBytes,1\n"
                "r13=HKCU,Software\\QvRegTest\\X,Long,1,00,11,22,33,44,55,66,77,88,99,aa,bb,cc,dd,ee\n");
    REQUIRE(StartIn(dir));
    SetupAddRegistry();

    const char* x = "Software\\QvRegTest\\X";
    CHECK(Dword(HKEY_CURRENT_USER, x, "Mode") == 5);
    CHECK(Dword(HKEY_CURRENT_USER, x, "Neg") == 4294967295u);
    CHECK(Dword(HKEY_CURRENT_USER, x, "Hex") == 0);
    CHECK(Dword(HKEY_CURRENT_USER, x, "NoBytes") == 0);
    DWORD type;
    CHECK(Raw(HKEY_CURRENT_USER, x, "Data", &type) == std::string("\x01\x02", 2));
    CHECK(type == REG_BINARY);
    CHECK(Raw(HKEY_CURRENT_USER, x, "Long", &type).size() == 15);
    CHECK(Text(HKEY_LOCAL_MACHINE, "Software\\QvRegTest", "Name") == "Some text");
    CHECK(Raw(HKEY_LOCAL_MACHINE, "Software\\QvRegTest", "Name", &type) == std::string("Some text", 10));
    CHECK(KeyExists(HKEY_LOCAL_MACHINE, "Software\\QvRegTest\\KeyOnly"));
    CHECK(Text(HKEY_USERS, ".DEFAULT\\Software\\QvRegTest", "Root") == "users");
    CHECK(Text(HKEY_USERS, ".DEFAULT\\Software\\QvRegTest", "Misspelt") == "x");
    CHECK(Text(HKEY_CLASSES_ROOT, "QvRegTest", NULL) == "class");
    CHECK(Text(HKEY_CURRENT_USER, x, "Path") == std::string(g_setup.systemDir) + "\\a,b");
    CHECK(Text(HKEY_CURRENT_USER, x, "Empty") == "");

    // Every item is recorded, under its root's name, in the product's list and the shared one.
    std::string regs = std::string(kProduct) + "\\DeleteRegs\\";
    std::string shared = "Software\\Qelvano\\Uninstall\\SharedReg\\QvRegTest\\";
    CHECK(Text(HKEY_LOCAL_MACHINE, regs + "HKEY_CURRENT_USER", "Software\\QvRegTest\\X\\\\Mode") == "Mode");
    CHECK(Text(HKEY_LOCAL_MACHINE, shared + "HKEY_CURRENT_USER", "Software\\QvRegTest\\X\\\\Mode") == "Mode");
    CHECK(Text(HKEY_LOCAL_MACHINE, regs + "HKEY_LOCAL_MACHINE", "Software\\QvRegTest\\KeyOnly") == "");
    CHECK(Text(HKEY_LOCAL_MACHINE, regs + "HKEY_USERS", ".DEFAULT\\Software\\QvRegTest\\\\Misspelt") == "Misspelt");
    CHECK(Text(HKEY_LOCAL_MACHINE, regs + "HKEY_CLASSES_ROOT", "QvRegTest") == "");
    CHECK(Text(HKEY_LOCAL_MACHINE, kProduct, "DisplayName") == "Reg Test");
    CHECK(Text(HKEY_LOCAL_MACHINE, kProduct, "UninstallString") == "QVUninst.exe QvRegTest");
    Clean();
    RemoveTree(dir);
}

TEST_CASE("Add Registry without an uninstall key records nothing; a line without a subkey is skipped")
{
    Clean();
    std::string dir = MakeSetupDir("addreg2");
    WriteScript(dir + "\\SETUP2K.INI",
                "[Setup]\n[Add Registry]\n"
                "a=HKCU,Software\\QvRegTest,Plain,0,v\n"
                "b=HKCU,,QvRegTestRootValue,0,v\n"
                "c=HKCU\n");
    REQUIRE(StartIn(dir));
    SetupAddRegistry();
    CHECK(Text(HKEY_CURRENT_USER, "Software\\QvRegTest", "Plain") == "v");
    CHECK(Text(HKEY_CURRENT_USER, "", "QvRegTestRootValue") == "(absent)");
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProduct));
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Qelvano\\Uninstall\\SharedReg\\QvRegTest"));

    // With a record kept, the skipped lines still leave no trace in it.
    WriteScript(dir + "\\SETUP2K.INI",
                "[Setup]\nUninstallKey=QvRegTest\n[Add Registry]\nb=HKCU,,QvRegTestRootValue,0,v\nc=HKCU\n");
    REQUIRE(StartIn(dir));
    SetupAddRegistry();
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, (std::string(kProduct) + "\\DeleteRegs").c_str()));
    Clean();
    RemoveTree(dir);
}

TEST_CASE("Add Registry Files imports each existing file with the registry editor, without waiting")
{
    Clean();
    std::string dir = MakeSetupDir("regfiles");
    CreateDirectoryA((dir + "\\reg files").c_str(), NULL);
    WriteScript(dir + "\\reg files\\keys.reg",
                "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\QvRegTest\\Imported]\n\"Value\"=\"from file\"\n\n");
    WriteScript(dir + "\\SETUP2K.INI",
                "[Setup]\nUninstallKey=QvRegTest\n[Add Registry Files]\n"
                "a=missing.reg\nb=reg files\\keys.reg\nc=\n");
    REQUIRE(StartIn(dir));
    SetupAddRegistryFiles();
    DWORD start = GetTickCount();
    const char* key = "Software\\QvRegTest\\Imported";
    while (Text(HKEY_CURRENT_USER, key, "Value") == "(absent)" && GetTickCount() - start < 30000)
        Sleep(50);
    CHECK(Text(HKEY_CURRENT_USER, key, "Value") == "from file");
    // Nothing of an imported file is recorded for uninstalling.
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProduct));
    Clean();
    RemoveTree(dir);
}
