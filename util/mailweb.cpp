// Mail and web launch: the "Email" and "WWW" buttons start the mail program the system has
// registered (or bring back the one they started before) and open the user's home page.
// Everything is read from the keys the mail clients and the browser maintain themselves.
#include "QVUtil.h"
#include "textparse.h"

namespace {

const char kMailClientsKey[] = "Software\\Clients\\Mail";
const char kOpenCommandKey[] = "Shell\\Open\\Command";
const char kMailtoCommandKey[] = "Protocols\\mailto\\shell\\open\\command";
const char kHomePageKey[] = "Software\\Microsoft\\Internet Explorer\\Main";

// The mail program started last, whichever client it was: one mail button, one program.
DWORD g_mailProcess;

// The client's program and arguments; false when the client has no usable command.
bool ReadClientCommand(HKEY clients, LPCSTR clientName, char* program, char* arguments)
{
    program[0] = arguments[0] = '\0';
    HKEY client;
    if (RegOpenKeyExA(clients, clientName, 0, KEY_READ, &client) != ERROR_SUCCESS)
        return false;
    char command[QV_TEXT_SIZE];
    if (Reg_GetValueString(client, kOpenCommandKey, NULL, command, sizeof(command))) {
        ParseShellCommand(command, program, arguments);
    } else if (lstrcmpiA(clientName, "Netscape Messenger") == 0 &&
               Reg_GetValueString(client, kMailtoCommandKey, NULL, command, sizeof(command))) {
        // Messenger registers only its mailto handler; "-mail" opens the mail window instead.
        ParseShellCommand(command, program, arguments);
        TextCopy(arguments, QV_TEXT_SIZE, "-mail");
    }
    RegCloseKey(client);
    return program[0] != '\0';
}

} // namespace

QVUTIL_API int WINAPI EnumMailClient(int index, LPSTR name, int nameSize)
{
    if (name && nameSize > 0)
        name[0] = '\0';
    if (index < 0)
        return 0;
    HKEY clients;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMailClientsKey, 0, KEY_READ, &clients) != ERROR_SUCCESS)
        return 0;
    DWORD size = nameSize > 0 ? (DWORD)nameSize : 0;
    LONG status = RegEnumKeyExA(clients, (DWORD)index, name, &size, NULL, NULL, NULL, NULL);
    RegCloseKey(clients);
    if (status != ERROR_SUCCESS && name && nameSize > 0)
        name[0] = '\0';  // a name too long for the buffer is not handed out cut
    return status == ERROR_SUCCESS ? 1 : 0;
}

QVUTIL_API int WINAPI GetDefaultMailClient(LPSTR buffer, int bufferSize)
{
    if (!buffer || bufferSize <= 0)
        return 0;
    buffer[0] = '\0';
    return Reg_GetValueString(HKEY_LOCAL_MACHINE, kMailClientsKey, NULL, buffer, bufferSize);
}

QVUTIL_API int WINAPI GetDefaultMailClientDllPath(LPSTR buffer, int bufferSize)
{
    if (!buffer || bufferSize <= 0)
        return 0;
    buffer[0] = '\0';
    char name[QV_TEXT_SIZE];
    if (!GetDefaultMailClient(name, sizeof(name)) || !name[0])
        return 0;
    char key[QV_TEXT_SIZE];
    if (!TextCopy(key, sizeof(key), kMailClientsKey) || !TextAppend(key, sizeof(key), "\\") ||
        !TextAppend(key, sizeof(key), name))
        return 0;
    return Reg_GetValueString(HKEY_LOCAL_MACHINE, key, "DLLPath", buffer, bufferSize);
}

QVUTIL_API int WINAPI LaunchMailClient(LPCSTR clientName)
{
    if (!clientName)
        return 0;
    HKEY clients;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMailClientsKey, 0, KEY_READ, &clients) != ERROR_SUCCESS)
        return 0;
    char program[QV_TEXT_SIZE];
    char arguments[QV_TEXT_SIZE];
    int result = 0;
    if (clientName[0] && ReadClientCommand(clients, clientName, program, arguments)) {
        if (g_mailProcess && ActivateWindowByProcessId(g_mailProcess, 1)) {
            result = 1;
        } else {
            g_mailProcess = 0;
            if (FileExisted(program))
                result = LaunchProgram(program, arguments, NULL, &g_mailProcess);
        }
    }
    RegCloseKey(clients);
    return result;
}

QVUTIL_API int WINAPI LaunchDefaultMailProgram(void)
{
    char name[QV_TEXT_SIZE];
    GetDefaultMailClient(name, sizeof(name));
    return LaunchMailClient(name);
}

QVUTIL_API int WINAPI GetWebHomePage(LPSTR buffer, int bufferSize)
{
    if (!buffer || bufferSize <= 0)
        return 0;
    buffer[0] = '\0';
    if (Reg_GetValueString(HKEY_CURRENT_USER, kHomePageKey, "Start Page", buffer, bufferSize))
        return 1;
    return Reg_GetValueString(HKEY_LOCAL_MACHINE, kHomePageKey, "Start Page", buffer, bufferSize);
}

QVUTIL_API int WINAPI OpenWWWHomePage(void)
{
    char page[QV_TEXT_SIZE];
    page[0] = '\0';
    GetWebHomePage(page, sizeof(page));
    return LaunchProgram(page, NULL, NULL, NULL);
}
