// Driver stand-in installation for the Wine tests and the demo; see drivers.h.
#include "drivers.h"

#include "wintest.h"

namespace qvtest {

static std::string DriversDir()
{
    char dir[MAX_PATH];
    UINT n = GetSystemDirectoryA(dir, sizeof(dir));
    if (n == 0 || n >= sizeof(dir))
        return std::string();
    return std::string(dir, n) + "\\drivers";
}

// A 32-bit program's writes to system32 land in syswow64, where the 64-bit kernel side
// never looks: the driver is copied with that redirection off.
static bool CopyToNativeSystem(const std::string& from, const std::string& to)
{
    typedef BOOL(WINAPI * DisableFn)(PVOID*);
    typedef BOOL(WINAPI * RevertFn)(PVOID);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    DisableFn disable = (DisableFn)GetProcAddress(kernel, "Wow64DisableWow64FsRedirection");
    RevertFn revert = (RevertFn)GetProcAddress(kernel, "Wow64RevertWow64FsRedirection");
    PVOID old = NULL;
    bool off = disable && revert && disable(&old);
    std::string dir = to.substr(0, to.rfind('\\'));
    CreateDirectoryA(dir.c_str(), NULL);
    bool ok = CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
    if (off)
        revert(old);
    return ok;
}

bool InstallDriverService(const char* name, const std::string& sysPath)
{
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    if (!manager)
        return false;
    bool ok = false;
    SC_HANDLE service = OpenServiceA(manager, name, SERVICE_QUERY_STATUS);
    if (service) {
        ok = true;
    } else {
        std::string dir = DriversDir();
        std::string image = dir + "\\" + name + ".sys";
        if (!dir.empty() && CopyToNativeSystem(sysPath, image)) {
            service = CreateServiceA(manager, name, name, SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER,
                                     SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, image.c_str(), NULL, NULL, NULL,
                                     NULL, NULL);
            ok = service != NULL;
        }
    }
    if (service)
        CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return ok;
}

bool IsServiceRunning(const char* name)
{
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_CONNECT);
    if (!manager)
        return false;
    bool running = false;
    SC_HANDLE service = OpenServiceA(manager, name, SERVICE_QUERY_STATUS);
    if (service) {
        SERVICE_STATUS status;
        running = QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_RUNNING;
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return running;
}

bool StartDriverService(const char* name)
{
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_CONNECT);
    if (!manager)
        return false;
    bool ok = false;
    SC_HANDLE service = OpenServiceA(manager, name, SERVICE_START | SERVICE_QUERY_STATUS);
    if (service) {
        ok = StartServiceA(service, 0, NULL) || GetLastError() == ERROR_SERVICE_ALREADY_RUNNING;
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return ok;
}

bool StopDriverService(const char* name)
{
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_CONNECT);
    if (!manager)
        return false;
    bool stopped = false;
    SC_HANDLE service = OpenServiceA(manager, name, SERVICE_STOP | SERVICE_QUERY_STATUS);
    if (service) {
        SERVICE_STATUS status;
        if (ControlService(service, SERVICE_CONTROL_STOP, &status) || GetLastError() == ERROR_SERVICE_NOT_ACTIVE) {
            for (int i = 0; i < 100 && !stopped; i++) {
                stopped = QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_STOPPED;
                if (!stopped)
                    Sleep(100);
            }
        }
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return stopped;
}

DWORD NetCommand(const char* verb, const char* name)
{
    return RunProgram(std::string("net ") + verb + " " + name, 30000);
}

bool EnsureDriverStandIns()
{
    // Test programs running side by side would race to create and start the same services.
    HANDLE lock = CreateMutexA(NULL, FALSE, "QvDriverStandInInstall");
    if (!lock)
        return false;
    WaitForSingleObject(lock, 60000);
    bool ok = InstallDriverService("qvfilter", SimDir() + "\\qvfilter.sys") &&
              InstallDriverService("hkport", SimDir() + "\\hkport.sys") && StartDriverService("qvfilter");
    if (ok && !IsServiceRunning("hkport"))
        ok = NetCommand("start", "hkport") == 0;
    ReleaseMutex(lock);
    CloseHandle(lock);
    return ok;
}

DWORD RunKeysim(const std::string& args, std::string* output)
{
    char dir[MAX_PATH], file[MAX_PATH];
    if (!GetTempPathA(sizeof(dir), dir) || !GetTempFileNameA(dir, "ks", 0, file))
        return kNoExit;
    SECURITY_ATTRIBUTES sa = { sizeof(sa), NULL, TRUE };
    HANDLE out = CreateFileA(file, GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, NULL);
    if (out == INVALID_HANDLE_VALUE) {
        DeleteFileA(file);
        return kNoExit;
    }
    STARTUPINFOA si;
    PROCESS_INFORMATION pi;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string line = "\"" + SimDir() + "\\keysim.exe\" " + args;
    std::string buffer(line);
    DWORD code = kNoExit;
    if (CreateProcessA(NULL, &buffer[0], NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi)) {
        if (WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0)
            GetExitCodeProcess(pi.hProcess, &code);
        else
            TerminateProcess(pi.hProcess, kNoExit);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(out);
    if (output) {
        output->clear();
        HANDLE in = CreateFileA(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
        if (in != INVALID_HANDLE_VALUE) {
            char chunk[4096];
            DWORD got;
            while (ReadFile(in, chunk, sizeof(chunk), &got, NULL) && got)
                output->append(chunk, got);
            CloseHandle(in);
        }
    }
    DeleteFileA(file);
    return code;
}

} // namespace qvtest
