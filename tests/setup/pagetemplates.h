// The wizard's dialog templates as the test programs see them: read straight from the
// resources (so a language block that went missing or drifted shows), parsed within the
// resource's size, and shown the way the pages show them, with the product name filled in.
#ifndef QV_PAGETEMPLATES_H
#define QV_PAGETEMPLATES_H

#include <windows.h>

#include <string>
#include <vector>

namespace qvtest {

struct PageLanguage {
    LANGID id;
    UINT codePage;    // the ANSI code page a system of this language reads the texts in
    const char* tag;  // as in res/setup-lang and the screenshots' names
};
// The 14 interface languages, in the installer's search order.
extern const PageLanguage kPageLanguages[14];
const PageLanguage* FindPageLanguage(LANGID id);

// The name the texts' "%s" get in the tests: longer than most.
extern const wchar_t kLongProductName[];

struct TemplateItem {
    DWORD id = 0, style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring className;  // "#128" style for an ordinal class
    std::wstring text;
    bool textIsOrdinal = false;  // an icon's resource number, not words
};

struct DialogTemplate {
    const void* data = NULL;
    DWORD size = 0;
    DWORD style = 0, exStyle = 0;
    short cx = 0, cy = 0;
    WORD pointSize = 0;
    BYTE charset = 0;
    std::wstring caption, face;
    std::vector<TemplateItem> items;
    DWORD faceAt = 0, itemsAt = 0;  // offsets of the face name and the first control
};

// Template `id` in exactly language `lang` of `module`; false when it is not there or does
// not parse as a DIALOGEX within its size.
bool LoadDialogTemplate(HMODULE module, int id, LANGID lang, DialogTemplate* out);

// Every dialog template id of `module`, and the languages each is carried in.
struct TemplateLanguages {
    int id;
    std::vector<LANGID> languages;
};
std::vector<TemplateLanguages> ListDialogTemplates(HMODULE module);

// Every "%s" of `text` replaced by `name`.
std::wstring FillProductName(const std::wstring& text, const wchar_t* name);

// The template as a system honouring its font's character set shows it: Wine's dialog
// manager takes every template's font as DEFAULT_CHARSET (the system code page's), so a
// Chinese or Japanese template is given the face the system picks for its character set.
std::vector<BYTE> TemplateForCharset(const DialogTemplate& tpl);

// Fills every "%s" of the dialog's controls with `name`, as the page code does.
void FillDialogTexts(HWND dialog, const wchar_t* name);

// Creates the dialog from `tpl` (a child template as a child of `parent`, a popup owned by
// it) and fills every control's "%s" with `name`, as the page code does. NULL on failure.
HWND CreateFilledDialog(HMODULE module, const DialogTemplate& tpl, HWND parent, const wchar_t* name);

} // namespace qvtest

#endif
