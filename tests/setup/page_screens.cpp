// Shows each of the wizard's templates in each language as the user meets it (a page in a
// wizard frame, the exit confirmation on its own; the progress and result pages also in
// their other states), one after the other, for tools/screenshots
// to photograph: the name of what is shown is written to SIGNALFILE, and the next one comes
// when the script has removed the file.
//   page_screens SIGNALFILE [LANGUAGE-TAG...]
#include "pagetemplates.h"
#include "resource.h"

#include <commctrl.h>
#include <prsht.h>
#include <stdio.h>
#include <string.h>

using namespace qvtest;

namespace {

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        FillDialogTexts(page, kLongProductName);
        return TRUE;
    }
    if (message == WM_NOTIFY && ((NMHDR*)lParam)->code == PSN_SETACTIVE) {
        LONG id = GetWindowLongW(page, GWLP_USERDATA);
        PropSheet_SetWizButtons(GetParent(page), id == IDD_RESULT ? PSWIZB_FINISH
                                                 : id == IDD_WELCOME ? PSWIZB_NEXT
                                                                      : PSWIZB_BACK | PSWIZB_NEXT);
        return TRUE;
    }
    return FALSE;
}

HWND Show(const DialogTemplate& tpl, int id)
{
    HMODULE module = GetModuleHandleW(NULL);
    if (!(tpl.style & WS_CHILD)) {
        HWND dialog = CreateFilledDialog(module, tpl, NULL, kLongProductName);
        if (dialog)
            ShowWindow(dialog, SW_SHOW);
        return dialog;
    }
    static std::vector<BYTE> bytes;  // the sheet reads the page's template until it is gone
    bytes = TemplateForCharset(tpl);
    PROPSHEETPAGEW page = {};
    page.dwSize = sizeof(page);
    page.dwFlags = PSP_DLGINDIRECT;
    page.hInstance = module;
    page.pResource = (LPCDLGTEMPLATEW)bytes.data();
    page.pfnDlgProc = PageProc;
    HPROPSHEETPAGE handle = CreatePropertySheetPageW(&page);
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_WIZARD | PSH_MODELESS | PSH_NOAPPLYNOW;
    header.hInstance = module;
    header.nPages = 1;
    header.phpage = &handle;
    HWND frame = (HWND)PropertySheetW(&header);
    if (!frame || frame == (HWND)-1)
        return NULL;
    HWND shown = PropSheet_GetCurrentPageHwnd(frame);
    SetWindowLongW(shown, GWLP_USERDATA, id);
    NMHDR active = { frame, 0, (UINT)PSN_SETACTIVE };
    PageProc(shown, WM_NOTIFY, 0, (LPARAM)&active);
    RECT rect;
    GetWindowRect(frame, &rect);
    SetWindowPos(frame, HWND_TOP, (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    return frame;
}

// Pumps messages until the script has taken its picture; false when it never did.
bool WaitForPicture(const char* signal, const char* name)
{
    FILE* file = fopen(signal, "w");
    if (!file)
        return false;
    fputs(name, file);
    fclose(file);
    for (int i = 0; i < 3000; ++i) {
        MSG msg;
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (GetFileAttributesA(signal) == INVALID_FILE_ATTRIBUTES)
            return true;
        Sleep(10);
    }
    return false;
}

// The other states the page code puts a page in, each photographed as well.
struct Variant {
    int page;
    const char* suffix;
    int hide[8], show[4];
};
const Variant kVariants[] = {
    { IDD_PROGRESS, "driver", { 1450, 1500, 2, 1400, 1002, 1001, 1009 }, { 1003, 1010 } },
    { IDD_RESULT, "done", { 711, 502, 503, 712, 1004, 1005, 1007 }, { 713 } },
    { IDD_RESULT, "failed", { 711, 502, 503, 712, 713, 1005 }, { 1004, 1007 } },
    { IDD_RESULT, "privilege", { 711, 502, 503, 712, 713, 1007 }, { 1004, 1005 } },
};

void Apply(HWND page, const Variant& variant)
{
    for (int id : variant.hide)
        if (id)
            ShowWindow(GetDlgItem(page, id), SW_HIDE);
    for (int id : variant.show)
        if (id)
            ShowWindow(GetDlgItem(page, id), SW_SHOW);
}

bool Asked(int argc, char** argv, const char* tag)
{
    if (argc <= 2)
        return true;
    for (int i = 2; i < argc; ++i)
        if (!strcmp(argv[i], tag))
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: page_screens SIGNALFILE [LANGUAGE-TAG...]\n");
        return 2;
    }
    INITCOMMONCONTROLSEX controls = { sizeof(controls), ICC_ANIMATE_CLASS | ICC_WIN95_CLASSES };
    InitCommonControlsEx(&controls);
    std::vector<TemplateLanguages> list = ListDialogTemplates(GetModuleHandleW(NULL));
    int status = 0;
    for (const PageLanguage& language : kPageLanguages) {
        if (!Asked(argc, argv, language.tag))
            continue;
        for (const TemplateLanguages& entry : list) {
            DialogTemplate tpl;
            if (!LoadDialogTemplate(GetModuleHandleW(NULL), entry.id, language.id, &tpl))
                continue;
            char name[64];
            sprintf(name, "%s-%d", language.tag, entry.id);
            HWND shown = Show(tpl, entry.id);
            if (!shown) {
                fprintf(stderr, "page_screens: %s could not be shown\n", name);
                status = 1;
                continue;
            }
            HWND page = (tpl.style & WS_CHILD) ? PropSheet_GetCurrentPageHwnd(shown) : shown;
            // What the copy shows while it runs.
            SetDlgItemTextW(page, 1002, L"QV5120DM.EXE");
            SetDlgItemTextW(page, 1001, L"C:\\WINDOWS\\SYSTEM32");
            if (!WaitForPicture(argv[1], name)) {
                fprintf(stderr, "page_screens: no picture taken of %s\n", name);
                status = 1;
            }
            for (const Variant& variant : kVariants) {
                if (variant.page != entry.id)
                    continue;
                Apply(page, variant);
                sprintf(name, "%s-%d-%s", language.tag, entry.id, variant.suffix);
                if (!WaitForPicture(argv[1], name)) {
                    fprintf(stderr, "page_screens: no picture taken of %s\n", name);
                    status = 1;
                }
            }
            DestroyWindow(shown);
        }
    }
    return status;
}
