// The shared progress state and the guarded calls into the page table, so that each step
// may run with a page or without one (the tests call steps alone).
#include "progress.h"

SetupProgress g_progress;

void SetupResetProgress(void)
{
    HANDLE pause = g_progress.pauseEvent;
    ZeroMemory(&g_progress, sizeof(g_progress));
    g_progress.pauseEvent = pause;
}

int SetupCreatePauseEvent(void)
{
    if (!g_progress.pauseEvent)
        g_progress.pauseEvent = CreateEventA(NULL, TRUE, TRUE, NULL);
    return g_progress.pauseEvent != NULL;
}

int SetupWaitToGoOn(void)
{
    if (g_progress.pauseEvent)
        WaitForSingleObject(g_progress.pauseEvent, INFINITE);
    return !g_progress.cancel;
}

void SetupAddDone(DWORD bytes)
{
    g_progress.done += bytes;
    // In 64 bits: a medium of more than 42 MB would overflow done * 100.
    LONG percent = 100;
    if (g_progress.total) {
        ULONGLONG p = (ULONGLONG)g_progress.done * 100 / g_progress.total;
        percent = p > 100 ? 100 : (LONG)p;
    }
    InterlockedExchange(&g_progress.percent, percent);
}

void PageShow(const SetupPage* page, int id, int visible)
{
    if (page && page->show)
        page->show(page->context, id, visible);
}

void PageSetText(const SetupPage* page, int id, const char* text)
{
    if (page && page->setText)
        page->setText(page->context, id, text);
}

void PagePlay(const SetupPage* page, int id, int resource)
{
    if (page && page->playAnimation)
        page->playAnimation(page->context, id, resource);
}

void PageStop(const SetupPage* page, int id)
{
    if (page && page->stopAnimation)
        page->stopAnimation(page->context, id);
}

void PageRepaint(const SetupPage* page)
{
    if (page && page->repaint)
        page->repaint(page->context);
}

void PageCheck(const SetupPage* page, int id, int checked)
{
    if (page && page->check)
        page->check(page->context, id, checked);
}

void PageGetText(const SetupPage* page, int id, char* text, int size)
{
    if (!text || size <= 0)
        return;
    text[0] = '\0';
    if (page && page->getText)
        page->getText(page->context, id, text, size);
    text[size - 1] = '\0';
}
