// The demo run: the keyboard-driver stand-ins installed as services, the daemon started in
// Windows XP mode, a keyboard plugged in, media keys typed through keysim, and the road of
// each key from injection to the byte hkport received. Exit 1 if a key got lost.
//   qvdemo.exe SCREENSHOT.bmp
#include <windows.h>
#include <dbt.h>
#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "daemontest.h"
#include "drivers.h"
#include "wintest.h"

using namespace qvtest;

namespace {

struct Key {
    const char* name;
    ULONG code; // the upper bits ride along and are not forwarded
};

const Key kKeys[] = {
    { "Play/Pause", 0x122 },     { "Stop", 0x124 },      { "Next track", 0x119 },
    { "Previous track", 0x110 }, { "Volume up", 0x130 }, { "Volume down", 0x12E },
    { "Mute", 0x120 },           { "Mail", 0x16C },      { "Web home", 0x132 },
};
const size_t kKeyCount = sizeof(kKeys) / sizeof(kKeys[0]);

double g_ticksPerMs = 1.0;

double Ms(LONGLONG ticks)
{
    return (double)ticks / g_ticksPerMs;
}

void Say(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    fflush(stdout);
}

bool Keysim(const std::string& args, std::string* out)
{
    std::string text;
    DWORD code = RunKeysim(args, &text);
    if (out)
        *out = text;
    if (code != 0)
        Say("  keysim %s failed (exit %lu): %s\n", args.c_str(), code, text.c_str());
    return code == 0;
}

bool SaveScreen(const char* path)
{
    HDC screen = GetDC(NULL);
    if (!screen)
        return false;
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFOHEADER info;
    ZeroMemory(&info, sizeof(info));
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    void* bits = NULL;
    HBITMAP bitmap = memory ? CreateDIBSection(screen, (BITMAPINFO*)&info, DIB_RGB_COLORS, &bits, NULL, 0) : NULL;
    bool ok = false;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != FALSE;
        GdiFlush();
        SelectObject(memory, old);
        DWORD rowBytes = ((DWORD)width * 3 + 3) & ~3u;
        DWORD imageBytes = rowBytes * (DWORD)height;
        BITMAPFILEHEADER file;
        ZeroMemory(&file, sizeof(file));
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(file) + sizeof(info);
        file.bfSize = file.bfOffBits + imageBytes;
        HANDLE out = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD written;
        ok = ok && out != INVALID_HANDLE_VALUE && WriteFile(out, &file, sizeof(file), &written, NULL) &&
             WriteFile(out, &info, sizeof(info), &written, NULL) && WriteFile(out, bits, imageBytes, &written, NULL);
        if (out != INVALID_HANDLE_VALUE)
            CloseHandle(out);
        DeleteObject(bitmap);
    }
    if (memory)
        DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    const char* screenshot = argc > 1 ? argv[1] : NULL;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    g_ticksPerMs = (double)frequency.QuadPart / 1000.0;
    DWORD begin = GetTickCount();

    Say("Drivers\n");
    bool installed = InstallDriverService("qvfilter", SimDir() + "\\qvfilter.sys") &&
                     InstallDriverService("hkport", SimDir() + "\\hkport.sys");
    Say("  qvfilter and hkport installed as kernel-driver services: %s\n", installed ? "yes" : "NO");
    bool filter = installed && StartDriverService("qvfilter");
    Say("  qvfilter started (the keyboard's filter devices): %s\n", filter ? "yes" : "NO");
    DWORD net = installed ? NetCommand("start", "hkport") : kNoExit;
    Say("  \"net start hkport\" exit code: %lu\n", net);
    if (!filter || net != 0 || !SimReset() || !SimPortReset()) {
        Say("demo: the driver stand-ins did not come up\n");
        return 1;
    }
    // Only the USB keyboard, unplugged until the daemon runs.
    SimRemove(SIM_DEV_NT);
    SimRemove(SIM_DEV_USB);

    Say("Daemon\n");
    SetProgramMode("QV5120DM.exe", "winxp");
    DaemonRun daemon;
    if (!LaunchDaemon(&daemon, DaemonPath())) {
        Say("demo: QV5120DM.exe did not start (%s)\n", daemon.exe.c_str());
        return 1;
    }
    Say("  %s running (Windows XP mode), main window %p\n", daemon.exe.c_str(), (void*)daemon.window);
    Say("  tray icon with no keyboard: %s\n", TrayIconShown(daemon.window) ? "shown" : "none");

    Say("Keyboard\n");
    bool plugged = SimSetCount(SIM_DEV_USB, 1) && Keysim("add usb notify", NULL);
    Say("  plugged in (device count 1, DBT_DEVICEARRIVAL): %s\n", plugged ? "yes" : "NO");
    bool shown = TrayIconShown(daemon.window);
    Say("  tray icon: %s\n", shown ? "shown, \"Tavimon (Lumeno Keyboard)\"" : "none");
    if (!WaitForPendingReads(SIM_DEV_USB, 1, 10000))
        Say("  the daemon's reader is not waiting on the keyboard\n");

    Say("Keys (keysim inject usb CODE 0x1000)\n");
    std::vector<LONGLONG> injected;
    for (size_t i = 0; i < kKeyCount; i++) {
        char args[64];
        wsprintfA(args, "inject usb 0x%lx 0x1000", kKeys[i].code);
        std::string out;
        LONGLONG stamp = 0;
        if (Keysim(args, &out)) {
            const char* at = strstr(out.c_str(), "stamp=");
            if (at)
                stamp = _strtoi64(at + 6, NULL, 10);
        }
        injected.push_back(stamp);
    }
    WaitForPortBytes(kKeyCount, 5000);

    std::vector<SIM_RECEIVED> received;
    std::vector<SIM_DELIVERY> deliveries;
    ULONG total = 0;
    SimReadReceived(0, &received, &total);
    SimReadDeliveries(0, &deliveries, &total);
    size_t arrived = 0;
    for (size_t i = 0; i < kKeyCount; i++) {
        UCHAR expected = (UCHAR)(kKeys[i].code & 0xFF);
        const SIM_DELIVERY* handed = NULL;
        for (const SIM_DELIVERY& d : deliveries) {
            if (d.device == SIM_DEV_USB && d.injected == injected[i])
                handed = &d;
        }
        const SIM_RECEIVED* got = i < received.size() ? &received[i] : NULL;
        bool ok = injected[i] && got && got->length == 1 && got->bytes[0] == expected;
        if (ok)
            arrived++;
        Say("  %-15s code 0x%03lX -> ", kKeys[i].name, kKeys[i].code);
        if (handed)
            Say("daemon's read completed +%.3f ms -> ", Ms(handed->delivered - injected[i]));
        else
            Say("not read by the daemon -> ");
        if (ok)
            Say("hkport byte 0x%02X +%.3f ms\n", got->bytes[0], Ms(got->stamp - injected[i]));
        else
            Say("LOST (expected byte 0x%02X at hkport)\n", expected);
    }
    if (received.size() > kKeyCount)
        Say("  hkport received %u bytes more than were typed\n", (unsigned)(received.size() - kKeyCount));

    if (screenshot) {
        bool saved = SaveScreen(screenshot);
        Say("Screenshot\n  %s: %s\n", screenshot, saved ? "saved" : "FAILED");
    }

    Say("Session end\n");
    DWORD start = GetTickCount();
    DWORD code = StopDaemon(&daemon);
    Say("  WM_ENDSESSION (log-off cancelled, wParam FALSE): daemon exit code %lu after %lu ms\n", code,
        GetTickCount() - start);
    SIM_DEVICE_STATE usb;
    ZeroMemory(&usb, sizeof(usb));
    SimState(SIM_DEV_USB, &usb);
    Say("  keyboard link after shut-down: %lu open handles, active %lu\n", usb.openHandles, usb.active);

    bool lost = arrived != kKeyCount || received.size() != kKeyCount;
    Say("Result: %u of %u keys reached hkport in %.1f s%s\n", (unsigned)arrived, (unsigned)kKeyCount,
        (GetTickCount() - begin) / 1000.0, lost ? " -- KEYS LOST" : "");
    return lost || code != 0 || !shown ? 1 : 0;
}
