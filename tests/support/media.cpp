// Implementation of the media stand-in helpers.
#include "media.h"

#include "wintest.h"

#include <stdio.h>

namespace qvtest {

static const char kMciKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\MCI";
static const char kDriverName[] = "qvcdaudio.dll";
static const char kDiscStateKey[] = "Software\\TavimonSim\\cdaudio";

static bool ReadWholeFile(const std::string& path, std::string* text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    text->clear();
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, NULL) && got > 0)
        text->append(buffer, got);
    CloseHandle(file);
    return true;
}

std::vector<std::string> ReadLogLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::string text;
    if (!ReadWholeFile(path, &text))
        return lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line[line.size() - 1] == '\r')
            line.resize(line.size() - 1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string NewLogFile(const char* tag)
{
    char dir[MAX_PATH];
    GetTempPathA(sizeof(dir), dir);
    static LONG counter;
    char path[MAX_PATH];
    _snprintf(path, sizeof(path) - 1, "%sqv-%s-%lu-%ld.log", dir, tag, GetCurrentProcessId(),
              InterlockedIncrement(&counter));
    path[sizeof(path) - 1] = '\0';
    WriteFileText(path, "");
    return path;
}

bool WaitForLogLine(const std::string& path, const std::string& text, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<std::string> lines = ReadLogLines(path);
        for (size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].find(text) != std::string::npos)
                return true;
        }
        if (GetTickCount() - start >= timeoutMs)
            return false;
        PumpFor(20);
    }
}

static bool SameFile(const std::string& a, const std::string& b)
{
    std::string x, y;
    return ReadWholeFile(a, &x) && ReadWholeFile(b, &y) && x == y;
}

bool InstallCdAudio()
{
    char system[MAX_PATH];
    UINT n = GetSystemDirectoryA(system, sizeof(system));
    if (n == 0 || n >= sizeof(system))
        return false;
    std::string source = SimDir() + "\\" + kDriverName;
    std::string target = std::string(system) + "\\" + kDriverName;
    // Another test program may have the copy loaded: an identical one is fine as it is.
    if (!SameFile(source, target) && !CopyFileA(source.c_str(), target.c_str(), FALSE))
        return false;
    return WriteString(HKEY_LOCAL_MACHINE, kMciKey, "cdaudio", kDriverName);
}

void UninstallCdAudio()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMciKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "cdaudio");
        RegCloseKey(key);
    }
}

std::string UseCdAudioLog(const char* tag)
{
    std::string path = NewLogFile(tag);
    SetEnvironmentVariableA("QVSIM_CDAUDIO_LOG", path.c_str());
    return path;
}

void ForgetDiscState(char letter)
{
    char path[64];
    wsprintfA(path, "%s\\%c", kDiscStateKey, letter & ~0x20);
    DeleteTree(HKEY_CURRENT_USER, path);
}

bool InsertDisc(char letter, const std::string& folder, const std::string& description)
{
    std::string file = folder + "\\.cdtracks";
    if (description.empty())
        DeleteFileA(file.c_str());
    else if (!WriteFileText(file, description))
        return false;
    ForgetDiscState(letter);
    return MapDrive(letter, folder, DRIVE_CDROM);
}

std::string AudioDisc(const std::vector<std::string>& lengths)
{
    char line[64];
    wsprintfA(line, "tracks %u\n", (unsigned)lengths.size());
    std::string text = line;
    for (size_t i = 0; i < lengths.size(); ++i) {
        _snprintf(line, sizeof(line) - 1, "%u audio %s\n", (unsigned)(i + 1), lengths[i].c_str());
        line[sizeof(line) - 1] = '\0';
        text += line;
    }
    return text;
}

std::string StagePlayer(const std::string& dir, const char* exeName, const char* role, DWORD delayMs,
                        const std::string& log, int children)
{
    std::string exe = dir + "\\" + exeName;
    if (!CopyFileA((SimDir() + "\\qvplayer.exe").c_str(), exe.c_str(), FALSE))
        return std::string();
    std::string ini = exe.substr(0, exe.size() - 4) + ".ini";
    char text[MAX_PATH + 128];
    _snprintf(text, sizeof(text) - 1, "[player]\r\nrole=%s\r\ndelay=%lu\r\nlog=%s\r\nchildren=%d\r\n", role,
              delayMs, log.c_str(), children);
    text[sizeof(text) - 1] = '\0';
    return WriteFileText(ini, text) ? exe : std::string();
}

bool StartPlayer(const std::string& exe, const std::string& args, Player* player)
{
    STARTUPINFOA si;
    PROCESS_INFORMATION pi;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    std::string line = "\"" + exe + "\" " + args;
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    if (!CreateProcessA(NULL, buffer.data(), NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    player->process = pi.hProcess;
    player->pid = pi.dwProcessId;
    return true;
}

static BOOL CALLBACK CloseProcessWindow(HWND wnd, LPARAM pid)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    if (owner == (DWORD)pid)
        PostMessageA(wnd, WM_CLOSE, 0, 0);
    return TRUE;
}

void StopPlayer(Player* player, bool gently)
{
    if (!player->process)
        return;
    if (gently)
        EnumWindows(CloseProcessWindow, (LPARAM)player->pid);
    if (!gently || WaitForSingleObject(player->process, 5000) != WAIT_OBJECT_0)
        TerminateProcess(player->process, 1);
    WaitForSingleObject(player->process, 5000);
    CloseHandle(player->process);
    player->process = NULL;
    player->pid = 0;
}

struct RoleKey {
    const char* role;
    HKEY root;
    const char* key;
    const char* value;
    bool folder;   // the value names the program's folder, not the program
};

static const RoleKey kRoleKeys[] = {
    { "wmp", HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Multimedia\\WMPlayer", "Player.Path", false },
    { "mplayer2", HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Multimedia\\MPlayer2", "Player.Path", false },
    { "dvdplayer", HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\DVDPlayer.exe", "", false },
    { "sje", HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\cdplayer.exe", "", false },
    { "mmframe", HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\cdplayer.exe", "", false },
    { "windvd", HKEY_LOCAL_MACHINE, "Software\\InterVideo\\WinDVD", "PATH", true },
    { "powerdvd", HKEY_LOCAL_MACHINE, "Software\\CyberLink\\PowerDVD", "InstallDir", true },
};

bool RegisterPlayer(const char* role, const std::string& exe)
{
    if (lstrcmpA(role, "mediamatics") == 0) {
        std::string command = "\"" + exe + "\" \"%1\"";
        return WriteString(HKEY_LOCAL_MACHINE, "Software\\Mediamatics\\DVD Express", "Version", "2.0") &&
               WriteString(HKEY_LOCAL_MACHINE, "Software\\Mediamatics\\DVD Express\\Mediamatics DVD Player\\Publish",
                           "ClassName", "QvSimMediamaticsPlayer") &&
               WriteString(HKEY_LOCAL_MACHINE, "Software\\Mediamatics\\DVD Express\\Mediamatics DVD Player\\Publish",
                           "WindowName", "Mediamatics DVD Player") &&
               WriteString(HKEY_CLASSES_ROOT, "IFO_auto_file\\shell\\open\\command", "", command.c_str());
    }
    for (size_t i = 0; i < sizeof(kRoleKeys) / sizeof(kRoleKeys[0]); ++i) {
        const RoleKey& k = kRoleKeys[i];
        if (lstrcmpA(k.role, role) == 0)
            return WriteString(k.root, k.key, k.value, (k.folder ? DirOf(exe) : exe).c_str());
    }
    return false;
}

void UnregisterPlayer(const char* role)
{
    if (lstrcmpA(role, "mediamatics") == 0) {
        DeleteTree(HKEY_LOCAL_MACHINE, "Software\\Mediamatics");
        DeleteTree(HKEY_CLASSES_ROOT, "IFO_auto_file");
        return;
    }
    for (size_t i = 0; i < sizeof(kRoleKeys) / sizeof(kRoleKeys[0]); ++i) {
        const RoleKey& k = kRoleKeys[i];
        if (lstrcmpA(k.role, role) != 0)
            continue;
        HKEY key;
        if (RegOpenKeyExA(k.root, k.key, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, k.value);
            RegCloseKey(key);
        }
    }
}

bool StageQvmedia(const std::string& dir, const std::string& results, const std::string& log)
{
    if (!CopyFileA((SimDir() + "\\QVMEDIA.dll").c_str(), (dir + "\\QVMEDIA.DLL").c_str(), FALSE))
        return false;
    std::string ini = "[qvmedia]\r\nlog=" + log + "\r\n[results]\r\n";
    size_t start = 0;
    while (start < results.size()) {
        size_t end = results.find(';', start);
        if (end == std::string::npos)
            end = results.size();
        ini += results.substr(start, end - start) + "\r\n";
        start = end + 1;
    }
    return WriteFileText(dir + "\\QVMEDIA.ini", ini);
}

DWORD RunWithPath(const std::string& dir, const char* mode, const std::string& exe, const std::string& args,
                  DWORD timeoutMs)
{
    DWORD size = GetEnvironmentVariableA("PATH", NULL, 0);
    std::vector<char> old(size + 1, '\0');
    bool hadPath = size > 0 && GetEnvironmentVariableA("PATH", old.data(), size + 1) < size + 1;
    std::string path = dir + (hadPath ? ";" + std::string(old.data()) : std::string());
    SetEnvironmentVariableA("PATH", path.c_str());
    DWORD code = mode ? RunAsMode(mode, exe, args, timeoutMs) : RunProgram("\"" + exe + "\" " + args, timeoutMs);
    SetEnvironmentVariableA("PATH", hadPath ? old.data() : NULL);
    return code;
}

} // namespace qvtest
