// Walks folders and registry keys into inventories, and reads an uninstall record.
#include "inventory.h"

#include "wintest.h"

namespace qvtest {

namespace {

std::string Lower(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        c = (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
    return out;
}

void Put(Inventory* into, const std::string& entry) { (*into)[Lower(entry)] = entry; }

const char kUninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// Value names and data of one key, in order.
std::vector<std::pair<std::string, std::string> > Values(HKEY root, const std::string& path)
{
    std::vector<std::pair<std::string, std::string> > out;
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return out;
    for (DWORD i = 0;; ++i) {
        char name[1024];
        BYTE data[2048];
        DWORD nameSize = sizeof(name), dataSize = sizeof(data) - 1, type = 0;
        LONG status = RegEnumValueA(key, i, name, &nameSize, NULL, &type, data, &dataSize);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA)
            break;
        if (status == ERROR_MORE_DATA || type != REG_SZ)
            dataSize = 0;
        data[dataSize < sizeof(data) ? dataSize : sizeof(data) - 1] = 0;
        out.push_back(std::make_pair(std::string(name, nameSize), std::string((const char*)data)));
    }
    RegCloseKey(key);
    return out;
}

std::vector<std::string> Subkeys(HKEY root, const std::string& path)
{
    std::vector<std::string> out;
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return out;
    for (DWORD i = 0;; ++i) {
        char name[512];
        DWORD size = sizeof(name);
        if (RegEnumKeyExA(key, i, name, &size, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        out.push_back(std::string(name, size));
    }
    RegCloseKey(key);
    return out;
}

std::string RootName(const std::string& recorded)
{
    if (recorded == "HKEY_LOCAL_MACHINE")
        return "HKLM";
    if (recorded == "HKEY_CURRENT_USER")
        return "HKCU";
    if (recorded == "HKEY_CLASSES_ROOT")
        return "HKCR";
    return "HKU";
}

} // namespace

void AddFiles(Inventory* into, const std::string& folder)
{
    WalkTree(folder, [&](const std::string& path, const WIN32_FIND_DATAA& found) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            Put(into, path);
            return false;
        }
        Put(into, path + "\\");
        // Links of the prefix's own (the drive letters, the user's folders) lead out of it.
        return !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    });
}

void AddRegistry(Inventory* into, HKEY root, const char* rootName, const std::string& path)
{
    std::string base = std::string(rootName) + "\\" + path;
    Put(into, base + "\\");
    for (const auto& value : Values(root, path))
        Put(into, base + "\\:" + value.first);
    for (const std::string& sub : Subkeys(root, path)) {
        // A 32-bit program's view of it leads back to the key it is in, without end.
        if (lstrcmpiA(sub.c_str(), "Wow6432Node") != 0)
            AddRegistry(into, root, rootName, path + "\\" + sub);
    }
}

std::vector<std::string> Missing(const Inventory& a, const Inventory& b)
{
    std::vector<std::string> out;
    for (const auto& entry : a) {
        if (b.find(entry.first) == b.end())
            out.push_back(entry.second);
    }
    return out;
}

bool Has(const Inventory& inventory, const std::string& entry) { return inventory.count(Lower(entry)) != 0; }

std::vector<std::string> RecordedItems(const char* key)
{
    std::vector<std::string> items;
    std::string record = std::string(kUninstall) + key;
    for (const auto& file : Values(HKEY_LOCAL_MACHINE, record + "\\DeleteFiles")) {
        items.push_back((file.second.empty() ? "" : file.second + "\\") + file.first);
        items.push_back("HKLM\\Software\\Qelvano\\Uninstall\\SharedFile\\" + file.first + "\\:" + key);
    }
    for (const auto& dir : Values(HKEY_LOCAL_MACHINE, record + "\\DeleteDirectory"))
        items.push_back(dir.first + "\\");
    for (const std::string& root : Subkeys(HKEY_LOCAL_MACHINE, record + "\\DeleteRegs")) {
        for (const auto& reg : Values(HKEY_LOCAL_MACHINE, record + "\\DeleteRegs\\" + root)) {
            std::string name = reg.first;
            size_t split = reg.second.empty() ? std::string::npos : name.rfind("\\\\" + reg.second);
            std::string subkey = split == std::string::npos ? name : name.substr(0, split);
            items.push_back(RootName(root) + "\\" + subkey + (split == std::string::npos ? "\\" : "\\:" + reg.second));
            items.push_back("HKLM\\Software\\Qelvano\\Uninstall\\SharedReg\\" + std::string(key) + "\\" + root + "\\:" +
                            name);
        }
    }
    items.push_back("HKLM\\" + record + "\\");
    return items;
}

std::string RecordValue(const char* key, const char* name)
{
    for (const auto& value : Values(HKEY_LOCAL_MACHINE, std::string(kUninstall) + key)) {
        if (lstrcmpiA(value.first.c_str(), name) == 0)
            return value.second;
    }
    return "";
}

} // namespace qvtest
