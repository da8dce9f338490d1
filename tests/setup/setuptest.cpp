// Implementation of the installer's test helpers.
#include "setuptest.h"

#include "procs.h"

#include "setup.h"
#include "wintest.h"

namespace setuptest {

std::string MakeSetupDir(const char* tag, std::initializer_list<const char*> files)
{
    std::string dir = qvtest::MakeTempDir(tag);
    for (const char* file : files)
        qvtest::WriteFileText(dir + "\\" + file, "");
    return dir;
}

bool WriteScript(const std::string& path, const std::string& text)
{
    std::string crlf;
    for (char c : text) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    return qvtest::WriteFileText(path, crlf);
}

bool StartIn(const std::string& dir, const char* commandLine)
{
    SetupInitState(dir.c_str());
    if (!SetupChooseScript())
        return false;
    SetupReadScript();
    SetupApplyCommandLine(commandLine);
    return true;
}

std::string Text(HKEY root, const std::string& path, const char* name)
{
    DWORD type = 0;
    std::string data;
    if (!qvtest::ReadValue(root, path.c_str(), name, &type, &data))
        return "(absent)";
    if (type != REG_SZ)
        return "(type " + std::to_string(type) + ")";
    if (!data.empty() && data.back() == '\0')
        data.pop_back();
    return data;
}

static const char kSessionKey[] = "System\\CurrentControlSet\\Control\\Session Manager";
static const char kPending[] = "PendingFileRenameOperations";

PendingMoves::PendingMoves()
{
    had = qvtest::ReadValue(HKEY_LOCAL_MACHINE, kSessionKey, kPending, NULL, &saved);
}

PendingMoves::~PendingMoves()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    if (had)
        RegSetValueExA(key, kPending, 0, REG_MULTI_SZ, (const BYTE*)saved.data(), (DWORD)saved.size());
    else
        RegDeleteValueA(key, kPending);
    RegCloseKey(key);
}

std::string PendingMoves::Now()
{
    std::string data;
    if (!qvtest::ReadValue(HKEY_LOCAL_MACHINE, kSessionKey, kPending, NULL, &data))
        return "";
    return data;
}

std::string Slurp(const std::string& path)
{
    return Exists(path) ? qvtest::ReadTextFile(path) : "(absent)";
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

} // namespace setuptest
