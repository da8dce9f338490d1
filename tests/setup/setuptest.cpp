// Implementation of the installer's test helpers.
#include "setuptest.h"

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

} // namespace setuptest
