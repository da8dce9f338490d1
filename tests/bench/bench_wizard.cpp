// The wizard's progress page while the worker copies the copy bench's set (200 files of
// 1 MB, two wizard runs of 100, the table holding 128; twice): how long a message sent to
// the page waits (WM_NULL every 10 ms from another thread, the longest round trip; goal under
// 100 ms), and how long the page takes to paint on its own thread (the bar by WM_PRINTCLIENT,
// the bar's and the page's windows and the page with its children by synchronous redraws;
// goal under 2 ms). Exit 1 when a copy is incomplete.
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "progress.h"
#include "setup.h"
#include "benchset.h"
#include "setuptest.h"
#include "wintest.h"
#include "wizard.h"
#include "wizardrun.h"

using namespace qvtest;
using namespace setuptest;

namespace {

const int kFiles = 200;
const DWORD kFileBytes = 1024 * 1024;

LARGE_INTEGER g_frequency;
HWND g_page;
volatile LONG g_stop;

struct Samples {
    std::vector<double> ms;
    void Add(double value) { ms.push_back(value); }
    double Max() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
    double Median() const
    {
        if (ms.empty())
            return 0;
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
};

Samples g_pings, g_barPaints, g_barRedraws, g_pageAlone, g_pagePaints;
LONG g_timeouts, g_unpainted;

double Ms(LARGE_INTEGER start, LARGE_INTEGER end)
{
    return (double)(end.QuadPart - start.QuadPart) * 1000.0 / (double)g_frequency.QuadPart;
}

std::string Name(int i) { return bench::SetFileName(i); }
bool MakeFiles(const std::string& dir) { return bench::MakeSet(dir, kFiles, kFileBytes); }

bool CheckAndEmpty(const std::string& dir, int first, int count)
{
    return bench::CheckAndEmpty(dir, first, count, kFileBytes);
}

DWORD WINAPI Pinger(LPVOID)
{
    while (!g_stop) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        DWORD_PTR answer;
        if (!SendMessageTimeoutA(g_page, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer))
            InterlockedIncrement(&g_timeouts);
        QueryPerformanceCounter(&end);
        g_pings.Add(Ms(start, end));
        Sleep(10);
    }
    return 0;
}

// Painting measured on the page's own thread, as the page paints for itself: a message
// posted to the frame is caught there by a hook, which paints the bar into a memory DC
// and then redraws the whole page with its children at once.
const UINT kMeasure = WM_APP + 0x377;
HHOOK g_hook;

void MeasureHere(HWND page)
{
    HWND bar = GetDlgItem(page, PROGRESS_PERCENT);
    RECT rect;
    GetClientRect(bar, &rect);
    HDC screen = GetDC(NULL);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, rect.right > 0 ? rect.right : 1, rect.bottom > 0 ? rect.bottom : 1);
    ReleaseDC(NULL, screen);
    LARGE_INTEGER start, end;
    if (dc && bitmap) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        QueryPerformanceCounter(&start);
        SendMessageA(bar, WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
        QueryPerformanceCounter(&end);
        g_barPaints.Add(Ms(start, end));
        SelectObject(dc, old);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (dc)
        DeleteDC(dc);
    // What a repaint request of the worker costs: the bar's window redrawn.
    QueryPerformanceCounter(&start);
    RedrawWindow(bar, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    QueryPerformanceCounter(&end);
    g_barRedraws.Add(Ms(start, end));
    QueryPerformanceCounter(&start);
    RedrawWindow(page, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN | RDW_UPDATENOW);
    QueryPerformanceCounter(&end);
    g_pageAlone.Add(Ms(start, end));
    QueryPerformanceCounter(&start);
    RedrawWindow(page, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    QueryPerformanceCounter(&end);
    g_pagePaints.Add(Ms(start, end));
    RECT left;
    if (GetUpdateRect(page, &left, FALSE))
        ++g_unpainted;
}

LRESULT CALLBACK MeasureHook(int code, WPARAM wParam, LPARAM lParam)
{
    MSG* msg = (MSG*)lParam;
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == kMeasure) {
        MeasureHere((HWND)msg->lParam);
        msg->message = WM_NULL;
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

// One wizard run over the files from `first` on, half of them.
bool RunHalf(const std::string& src, const std::string& dst, int first)
{
    std::string script = "[Setup]\nProductName=Wizard Bench\nUpdateDriver=FALSE\nAskType=FALSE\n[Copy Files]\n";
    for (int i = first; i < first + kFiles / 2; ++i)
        script += Name(i) + "=" + dst + "\n";
    if (!WriteScript(src + "\\SETUP2K.INI", script) || !StartIn(src))
        return false;
    WizardRun run;
    if (!StartWizard(&run))
        return false;
    g_hook = SetWindowsHookExA(WH_GETMESSAGE, MeasureHook, NULL, run.threadId);
    HWND frame = WaitForFrame(run, 10000);
    bool done = false;
    if (frame && WaitForPage(frame, "Welcome", 10000)) {
        Click(frame, WIZARD_NEXT);
        if (WaitForPage(frame, "Start Installation", 10000)) {
            g_page = (HWND)SendMessageA(frame, PSM_INDEXTOHWND, 2, 0);
            Click(frame, WIZARD_NEXT);
            DWORD began = GetTickCount();
            while (!g_page && GetTickCount() - began < 10000) {
                Sleep(1);
                g_page = (HWND)SendMessageA(frame, PSM_INDEXTOHWND, 2, 0);
            }
            g_stop = 0;
            HANDLE pinger = g_page ? CreateThread(NULL, 0, Pinger, NULL, 0, NULL) : NULL;
            while (g_page && PageTitle(CurrentPage(frame)) != "Setup Result" && GetTickCount() - began < 120000) {
                if (g_progress.percent > 0 && g_progress.percent < 100)
                    PostMessageA(frame, kMeasure, 0, (LPARAM)g_page);
                Sleep(20);
            }
            InterlockedExchange(&g_stop, 1);
            if (pinger) {
                WaitForSingleObject(pinger, 10000);
                CloseHandle(pinger);
            }
            done = PageTitle(CurrentPage(frame)) == "Setup Result" && g_progress.installResult == 0;
            Click(frame, WIZARD_FINISH);
        }
    }
    bool ended = WaitForEnd(&run, 20000);
    if (g_hook)
        UnhookWindowsHookEx(g_hook);
    g_hook = NULL;
    if (!ended)
        return false;
    return CheckAndEmpty(dst, first, kFiles / 2) && done;
}

} // namespace

int main()
{
    QueryPerformanceFrequency(&g_frequency);
    std::string src = MakeSetupDir("bench-wizard-src");
    std::string dst = MakeTempDir("bench-wizard-dst");
    bool whole = MakeFiles(src);
    // Two rounds over the set, for more samples.
    for (int round = 0; round < 2 && whole; ++round) {
        whole = RunHalf(src, dst, 0);
        whole = RunHalf(src, dst, kFiles / 2) && whole;
    }
    printf("%-40s %8.2f ms max, %.2f ms median, %u pings, %ld timed out (goal < 100 ms)\n",
           "progress page, WM_NULL round trip", g_pings.Max(), g_pings.Median(), (unsigned)g_pings.ms.size(), g_timeouts);
    printf("%-40s %8.3f ms max, %.3f ms median, %u paints (goal < 2 ms)\n", "progress bar, WM_PRINTCLIENT, own thread",
           g_barPaints.Max(), g_barPaints.Median(), (unsigned)g_barPaints.ms.size());
    printf("%-40s %8.3f ms max, %.3f ms median (goal < 2 ms)\n", "progress bar's window redrawn, own thread",
           g_barRedraws.Max(), g_barRedraws.Median());
    printf("%-40s %8.3f ms max, %.3f ms median (goal < 2 ms)\n", "progress page's window alone, own thread",
           g_pageAlone.Max(), g_pageAlone.Median());
    printf("%-40s %8.3f ms max, %.3f ms median, %u paints, %ld left unpainted\n",
           "progress page and children, own thread", g_pagePaints.Max(), g_pagePaints.Median(),
           (unsigned)g_pagePaints.ms.size(), g_unpainted);
    RemoveTree(src);
    RemoveTree(dst);
    if (!whole) {
        printf("bench_wizard: a copy was incomplete\n");
        return 1;
    }
    return 0;
}
