// A modal dialog on its own thread, under an owner that reports the first idle moment.
#include "modalhost.h"

static LRESULT CALLBACK OwnerProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ENTERIDLE)
        SetEvent((HANDLE)GetPropA(wnd, "idle"));
    return DefWindowProcA(wnd, message, wParam, lParam);
}

static DWORD WINAPI RunModal(void* param)
{
    ModalHost* host = (ModalHost*)param;
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "ModalHostOwner";
    RegisterClassA(&wc);  // fails harmlessly once registered
    HWND owner = CreateWindowA("ModalHostOwner", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, wc.hInstance, NULL);
    if (!owner)
        return ~0u;
    SetPropA(owner, "idle", host->idle);
    DWORD result = (DWORD)host->run(owner, host->param);
    RemovePropA(owner, "idle");
    DestroyWindow(owner);
    return result;
}

bool StartModal(ModalHost* host, ModalRun run, void* param)
{
    host->run = run;
    host->param = param;
    host->idle = CreateEventA(NULL, TRUE, FALSE, NULL);
    host->thread = CreateThread(NULL, 0, RunModal, host, 0, NULL);
    return host->thread && WaitForSingleObject(host->idle, 5000) == WAIT_OBJECT_0;
}

DWORD FinishModal(ModalHost* host)
{
    DWORD result = ~0u;
    if (host->thread && WaitForSingleObject(host->thread, 5000) == WAIT_OBJECT_0)
        GetExitCodeThread(host->thread, &result);
    if (host->thread)
        CloseHandle(host->thread);
    CloseHandle(host->idle);
    host->thread = NULL;
    host->idle = NULL;
    return result;
}
