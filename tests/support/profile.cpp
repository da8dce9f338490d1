// A throw-away settings profile per test.
#include "profile.h"

#include "wintest.h"

namespace qvtest {

// QVUtil's profile entry, found at run time so the helper library needs no import of it.
typedef void(WINAPI* InitProfileFunc)(LPCSTR, LPCSTR);

static void InitProfile(const char* base, const char* user)
{
    HMODULE util = GetModuleHandleA("QVUtil.dll");
    InitProfileFunc init = util ? (InitProfileFunc)GetProcAddress(util, "Reg_InitProfile") : NULL;
    if (init)
        init(base, user);
}

TestProfile::TestProfile(const char* user)
{
    static int counter;
    char name[80];
    wsprintfA(name, "Software\\TavimonTest\\p%lu_%d", GetCurrentProcessId(), ++counter);
    base = name;
    InitProfile(base.c_str(), user);
}

TestProfile::~TestProfile()
{
    DeleteTree(HKEY_CURRENT_USER, base.c_str());
    DeleteTree(HKEY_LOCAL_MACHINE, base.c_str());
}

std::string TestProfile::User(const char* section) const
{
    return base + "\\users\\alice\\" + section;
}

} // namespace qvtest
