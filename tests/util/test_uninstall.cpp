// QVUtil's uninstall exports as another program calls them: entries added only under
// product keys that exist, and the second product's outcome as the result.
#include <doctest/doctest.h>

#include "QVUtil.h"
#include "wintest.h"

#include <string>

using namespace qvtest;

namespace {

const std::string kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::string kSharedFile = "Software\\Qelvano\\Uninstall\\SharedFile\\";

std::string Text(const std::string& path, const char* name)
{
    DWORD type = 0;
    std::string data;
    if (!ReadValue(HKEY_LOCAL_MACHINE, path.c_str(), name, &type, &data))
        return "(absent)";
    if (!data.empty() && data.back() == '\0')
        data.pop_back();
    return type == REG_SZ ? data : "(not text)";
}

void Clean(void)
{
    for (const char* key : { "QvExpA", "QvExpB", "QvExpMissing" })
        DeleteTree(HKEY_LOCAL_MACHINE, (kUninstall + key).c_str());
    DeleteTree(HKEY_LOCAL_MACHINE, (kSharedFile + "qvexp.dll").c_str());
}

void MakeProduct(const char* key)
{
    WriteString(HKEY_LOCAL_MACHINE, (kUninstall + key).c_str(), "DisplayName", "Existing product");
}

} // namespace

TEST_CASE("file entries go under both existing products and the shared list")
{
    Clean();
    MakeProduct("QvExpA");
    MakeProduct("QvExpB");
    CHECK(CreateUninstallDeleteFileRegistry("C:\\Windows\\System32\\qvexp.dll", "QvExpA", "QvExpB") == 0);
    CHECK(Text(kUninstall + "QvExpA\\DeleteFiles", "qvexp.dll") == "C:\\Windows\\System32");
    CHECK(Text(kUninstall + "QvExpB\\DeleteFiles", "qvexp.dll") == "C:\\Windows\\System32");
    CHECK(Text(kSharedFile + "qvexp.dll", "QvExpA") == "C:\\Windows\\System32");
    CHECK(Text(kSharedFile + "qvexp.dll", "QvExpB") == "C:\\Windows\\System32");
    // The product's own values are the installer's business.
    CHECK(Text(kUninstall + "QvExpA", "DisplayName") == "Existing product");
    CHECK(Text(kUninstall + "QvExpA", "UninstallString") == "(absent)");
    Clean();
}

TEST_CASE("a product key that does not exist is never created; only the second one's error is returned")
{
    Clean();
    MakeProduct("QvExpB");
    CHECK(CreateUninstallDeleteFileRegistry("C:\\qvexp.dll", "QvExpMissing", "QvExpB") == 0);
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, (kUninstall + "QvExpMissing").c_str()));
    CHECK(Text(kUninstall + "QvExpB\\DeleteFiles", "qvexp.dll") == "C:");
    CHECK(Text(kSharedFile + "qvexp.dll", "QvExpMissing") == "(absent)");

    CHECK(CreateUninstallDeleteFileRegistry("C:\\qvexp.dll", "QvExpB", "QvExpMissing") == ERROR_FILE_NOT_FOUND);
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, (kUninstall + "QvExpMissing").c_str()));
    CHECK(CreateUninstallDeleteFileRegistry("C:\\qvexp.dll", "QvExpMissing", "") == 0);
    CHECK(CreateUninstallDeleteFileRegistry("C:\\qvexp.dll", NULL, NULL) == 0);
    CHECK(CreateUninstallDeleteFileRegistry(NULL, "QvExpB", "QvExpB") == ERROR_INVALID_PARAMETER);
    Clean();
}

TEST_CASE("directory entries carry any flag text")
{
    Clean();
    MakeProduct("QvExpA");
    CHECK(CreateUninstallDeleteDirRegistry("C:\\Program Files\\Lumeno", "keep-if-not-empty", "QvExpA", "") == 0);
    CHECK(Text(kUninstall + "QvExpA\\DeleteDirectory", "C:\\Program Files\\Lumeno") == "keep-if-not-empty");
    CHECK(CreateUninstallDeleteDirRegistry("C:\\Other", NULL, "", "QvExpA") == 0);
    CHECK(Text(kUninstall + "QvExpA\\DeleteDirectory", "C:\\Other") == "");
    CHECK(CreateUninstallDeleteDirRegistry("C:\\X", "1", "QvExpA", "QvExpMissing") == ERROR_FILE_NOT_FOUND);
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, (kUninstall + "QvExpMissing").c_str()));
    CHECK(CreateUninstallDeleteDirRegistry(NULL, "1", "QvExpA", "QvExpA") == ERROR_INVALID_PARAMETER);
    Clean();
}

TEST_CASE("a path without a backslash is recorded with an empty directory; an absurd one not at all")
{
    Clean();
    MakeProduct("QvExpA");
    CHECK(CreateUninstallDeleteFileRegistry("qvexp.dll", "", "QvExpA") == 0);
    CHECK(Text(kUninstall + "QvExpA\\DeleteFiles", "qvexp.dll") == "");
    std::string huge = "C:\\" + std::string(2000, 'd') + "\\qvexp.dll";
    CHECK(CreateUninstallDeleteFileRegistry(huge.c_str(), "", "QvExpA") == ERROR_FILENAME_EXCED_RANGE);
    Clean();
}
