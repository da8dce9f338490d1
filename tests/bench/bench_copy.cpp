// The installer's copy against the floor: 200 files of 1 MB installed by the worker from a
// script (plain mode, a page that counts repaints; two runs of 100, the table holding 128)
// next to a plain CopyFileA loop over the same files, in the same world, alternating twice.
// Exit 1 when a copy is incomplete.
#include <windows.h>
#include <stdio.h>

#include <string>

#include "benchset.h"
#include "filetable.h"
#include "progress.h"
#include "setup.h"
#include "setuptest.h"
#include "wintest.h"
#include "worker.h"

using namespace qvtest;
using namespace setuptest;

namespace {

const int kFiles = 200;
const DWORD kFileBytes = 1024 * 1024;
const double kMegabytes = kFiles * (double)kFileBytes / (1024.0 * 1024.0);

volatile LONG g_repaints;
double g_startSeconds;  // all worker runs, start to the first file
volatile LONG g_next;

void CountRepaint(void*) { InterlockedIncrement(&g_repaints); }
// When the first file's name is shown: the worker's steps before the copy loop are done.
LARGE_INTEGER g_firstName;
volatile LONG g_names;
void SetText(void*, int, const char*)
{
    if (InterlockedIncrement(&g_names) == 1)
        QueryPerformanceCounter(&g_firstName);
}
HANDLE g_nextEvent;
void PressNext(void*)
{
    InterlockedExchange(&g_next, 1);
    SetEvent(g_nextEvent);
}
std::string Name(int i) { return bench::SetFileName(i); }
bool MakeFiles(const std::string& dir) { return bench::MakeSet(dir, kFiles, kFileBytes); }

// Every file there whole; the destination emptied for the next round.
bool CheckAndEmpty(const std::string& dir) { return bench::CheckAndEmpty(dir, 0, kFiles, kFileBytes); }

double Seconds(LARGE_INTEGER start, LARGE_INTEGER end, LARGE_INTEGER frequency)
{
    return (double)(end.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
}

double RunLoop(const std::string& src, const std::string& dst, LARGE_INTEGER frequency, bool* whole)
{
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kFiles; ++i)
        CopyFileA((src + "\\" + Name(i)).c_str(), (dst + "\\" + Name(i)).c_str(), FALSE);
    QueryPerformanceCounter(&end);
    *whole = CheckAndEmpty(dst) && *whole;
    return Seconds(start, end, frequency);
}

// One worker run over the files from `first` on, half of them; the time it took.
double RunHalf(const std::string& src, const std::string& dst, int first, LARGE_INTEGER frequency, bool* whole)
{
    std::string script = "[Setup]\nProductName=Copy Bench\nUpdateDriver=FALSE\n[Copy Files]\n";
    for (int i = first; i < first + kFiles / 2; ++i)
        script += Name(i) + "=" + dst + "\n";
    if (!WriteScript(src + "\\SETUP2K.INI", script) || !StartIn(src)) {
        *whole = false;
        return 0;
    }
    SetupPage page = {};
    page.repaint = CountRepaint;
    page.pressNext = PressNext;
    page.setText = SetText;
    g_names = 0;
    g_next = 0;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (!SetupStartWorker(&page)) {
        *whole = false;
        return 0;
    }
    // Waiting, not polling: the worker has the processor to itself. A run that never ends
    // is stopped after two minutes and counted incomplete.
    DWORD began = GetTickCount();
    while (!g_next && GetTickCount() - began < 120000)
        WaitForSingleObject(g_nextEvent, 1000);
    QueryPerformanceCounter(&end);
    if (!g_next)
        *whole = false;
    SetupStopWorker(2000);
    g_startSeconds += Seconds(start, g_firstName, frequency);
    if (g_progress.installResult != 0 || g_fileCount != kFiles / 2)
        *whole = false;
    return Seconds(start, end, frequency);
}

double RunWorker(const std::string& src, const std::string& dst, LARGE_INTEGER frequency, bool* whole, LONG* repaints)
{
    g_repaints = 0;
    double seconds = RunHalf(src, dst, 0, frequency, whole) + RunHalf(src, dst, kFiles / 2, frequency, whole);
    *repaints = g_repaints;
    *whole = CheckAndEmpty(dst) && *whole;
    return seconds;
}

} // namespace

int main()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    g_nextEvent = CreateEventA(NULL, FALSE, FALSE, NULL);
    std::string src = MakeSetupDir("bench-copy-src");
    std::string dst = MakeTempDir("bench-copy-dst");
    std::string floor = MakeTempDir("bench-copy-loop");
    bool whole = MakeFiles(src);
    if (!whole) {
        printf("bench_copy: the source files could not be made\n");
        RemoveTree(src);
        RemoveTree(dst);
        RemoveTree(floor);
        return 1;
    }
    double workerSeconds = 0, loopSeconds = 0;
    LONG repaints = 0;
    for (int round = 0; round < 2; ++round) {
        // Worker first, then loop first: neither always gets the warmer cache.
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn == 0) == (round == 0))
                workerSeconds += RunWorker(src, dst, frequency, &whole, &repaints);
            else
                loopSeconds += RunLoop(src, floor, frequency, &whole);
        }
    }
    double workerRate = workerSeconds > 0 ? 2 * kMegabytes / workerSeconds : 0;
    double loopRate = loopSeconds > 0 ? 2 * kMegabytes / loopSeconds : 0;
    printf("%-34s %8.1f MB/s   (%d files, %.0f MB, 2 rounds)\n", "installer's worker, plain mode", workerRate, kFiles,
           kMegabytes);
    printf("%-34s %8.1f MB/s\n", "CopyFileA loop", loopRate);
    printf("%-34s %8.2f x the loop (goal 0.80)\n", "worker / loop", loopRate > 0 ? workerRate / loopRate : 0);
    printf("%-34s %8.2f per file\n", "repaint requests", (double)repaints / kFiles);
    printf("%-34s %8.1f ms per run of %d files\n", "worker's start to the first file", g_startSeconds * 1000 / 4,
           kFiles / 2);
    RemoveTree(src);
    RemoveTree(dst);
    RemoveTree(floor);
    CloseHandle(g_nextEvent);
    if (!whole) {
        printf("bench_copy: a copy was incomplete\n");
        return 1;
    }
    return 0;
}
