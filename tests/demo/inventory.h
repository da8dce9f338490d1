// What is on the machine, as the demo compares it before an installation, after it and
// after the uninstaller: every file and folder under a folder, every key and value under a
// registry key, and the uninstall record's own list of what it put there.
#ifndef QV_INVENTORY_H
#define QV_INVENTORY_H

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace qvtest {

// Entries by their lower-case form (Windows names ignore case), each with its spelling.
// A folder ends in a backslash; a registry value is "KEY\\:NAME" ("KEY\\:" the default).
typedef std::map<std::string, std::string> Inventory;

void AddFiles(Inventory* into, const std::string& folder);
// `rootName` ("HKLM", "HKCU") starts every entry.
void AddRegistry(Inventory* into, HKEY root, const char* rootName, const std::string& path);
// Entries of `a` that `b` lacks, in their spelling.
std::vector<std::string> Missing(const Inventory& a, const Inventory& b);
bool Has(const Inventory& inventory, const std::string& entry);

// What the record under KEY lists, as inventory entries: its files, its folders, its
// registry items, and the record's own keys (the uninstall key, the shared-file and
// shared-registry values naming KEY).
std::vector<std::string> RecordedItems(const char* key);
// The record's value `name` ("UninstallString", ...), or "".
std::string RecordValue(const char* key, const char* name);

} // namespace qvtest

#endif
